// Fuzzes the reader of the "screen" file: any bytes give a size or a named error.
#include "FuzzSupport.h"
#include "core/InputFile.h"
#include "display/ScreenFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return readInput("screen", data, size, [] {
        InputFile in("screen");
        const ScreenFile s = ScreenFile::read(in);
        if (s.width <= 0 || s.height <= 0) std::abort();
    });
}
