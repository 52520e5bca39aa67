// Fuzzes BulletML documents through the game's loader: refused with a message, or safe to build.
#include "FuzzSupport.h"
#include "script/BulletMLDocument.h"

#include <bulletmlerror.h>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    writeInput("fuzz.xml", data, size);
    try {
        auto document = BulletMLDocument::load(fuzzDir() + "/fuzz.xml");
    } catch (const BulletMLError&) {
    }
    return 0;
}
