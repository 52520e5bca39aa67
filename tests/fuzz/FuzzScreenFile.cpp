// Fuzzes the reader of the "screen" file: any bytes give a size or a named error.
#include "FuzzSupport.h"
#include "core/InputFile.h"
#include "display/ScreenFile.h"

#include <cstdint>
#include <cstdlib>
#include <stdexcept>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    writeInput("screen", data, size);
    InputFile in("screen");
    try {
        const ScreenFile s = ScreenFile::read(in);
        if (s.width <= 0 || s.height <= 0) std::abort();
    } catch (const std::runtime_error&) {
    }
    return 0;
}
