// Fuzzes the reader of the "screen" file: any bytes give a size or a named error.
#include "display/ScreenFile.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <stdexcept>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    try {
        const ScreenFile s = ScreenFile::read(in, "screen");
        if (s.width <= 0 || s.height <= 0) std::abort();
    } catch (const std::runtime_error&) {
    }
    return 0;
}
