// What the fuzz targets share: each writes its input to a file and reads it with the game.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <unistd.h>

// Writes the bytes to the file `name` of a scratch directory, which the first call makes and
// makes the working directory.
inline void writeInput(const char* name, const std::uint8_t* data, std::size_t size) {
    static const bool inScratch = [] {
        std::string dir = (std::filesystem::temp_directory_path() / "skelvo-fuzz-XXXXXX").string();
        return mkdtemp(dir.data()) && chdir(dir.c_str()) == 0;
    }();
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
