// What the fuzz targets share: each writes its input to a file and reads it with the game.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

// Where the fuzzer was started. libFuzzer opens its seeds and writes its finds and crash files
// by paths relative to it, so the targets read in their own directories and come back.
inline const int startDir = open(".", O_RDONLY);

template <class Work>
void inDirectory(const char* dir, Work work) {
    if (startDir < 0 || !dir || chdir(dir) != 0) std::abort();
    work();
    if (fchdir(startDir) != 0) std::abort();
}

// Writes the bytes to `name` in the working directory.
inline void writeInput(const char* name, const std::uint8_t* data, std::size_t size) {
    FILE* f = std::fopen(name, "wb");
    if (!f || std::fwrite(data, 1, size, f) != size) std::abort();
    std::fclose(f);
}

// Writes the input to `name` in a scratch directory and reads it there, as the game reads its
// files in its own; every refusal a reader may give is an error it names.
template <class Read>
int readInput(const char* name, const std::uint8_t* data, std::size_t size, Read read) {
    static char scratch[] = "/tmp/skelvo-fuzz-XXXXXX";
    static const char* dir = mkdtemp(scratch);
    inDirectory(dir, [&] {
        writeInput(name, data, size);
        try {
            read();
        } catch (const std::runtime_error&) {
        }
    });
    return 0;
}
