// What the fuzz targets share: each writes its input to a file and reads it with the game.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

// Where the fuzzer was started. libFuzzer opens its seeds and writes its finds by paths relative
// to it, so a target that reads elsewhere comes back here.
inline const int startDir = open(".", O_RDONLY);

// Writes the input to `name` in a scratch directory and reads it there, as the game reads its
// files in its own; every refusal a reader may give is an error it names.
template <class Read>
int readInput(const char* name, const std::uint8_t* data, std::size_t size, Read read) {
    static char scratch[] = "/tmp/skelvo-fuzz-XXXXXX";
    static const char* dir = mkdtemp(scratch);
    if (!dir || chdir(dir) != 0) std::abort();
    if (!std::ofstream(name, std::ios::binary).write(reinterpret_cast<const char*>(data), size))
        std::abort();
    try {
        read();
    } catch (const std::runtime_error&) {
    }
    if (fchdir(startDir) != 0) std::abort();
    return 0;
}
