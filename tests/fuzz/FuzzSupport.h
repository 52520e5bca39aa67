// What the fuzz targets share: each writes its input to a file and reads it with the game.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <unistd.h>

// Writes the bytes to `name` in a scratch directory, which the first call makes and enters.
inline void writeInput(const char* name, const std::uint8_t* data, std::size_t size) {
    static char dir[] = "/tmp/skelvo-fuzz-XXXXXX";
    static const bool inScratch = mkdtemp(dir) && chdir(dir) == 0;
    FILE* f = std::fopen(name, "wb");
    if (!inScratch || !f || std::fwrite(data, 1, size, f) != size) std::abort();
    std::fclose(f);
}

// Writes the input to `name` and reads it; every refusal a reader may give is an error it names.
template <class Read>
int readInput(const char* name, const std::uint8_t* data, std::size_t size, Read read) {
    writeInput(name, data, size);
    try {
        read();
    } catch (const std::runtime_error&) {
    }
    return 0;
}
