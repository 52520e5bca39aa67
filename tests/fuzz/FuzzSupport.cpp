// What the fuzz targets share.
#include "FuzzSupport.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

const std::string& fuzzDir() {
    static const std::string dir = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "skelvo-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data()) || chdir(pattern.c_str()) != 0) std::abort();
        return pattern;
    }();
    return dir;
}

void writeInput(const std::string& name, const std::uint8_t* data, std::size_t size) {
    FILE* f = std::fopen((fuzzDir() + "/" + name).c_str(), "wb");
    if (!f) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
    std::fclose(f);
}
