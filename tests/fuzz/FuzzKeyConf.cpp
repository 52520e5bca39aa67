// Fuzzes the key configuration reader, from the file to a finished device.
#include "FuzzSupport.h"
#include "input/Error.h"
#include "input/Input.h"
#include "input/JoystickMgr.h"
#include "input/KeyConf.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static MSDL::JoystickMgr joysticks;
    writeInput("key.conf", data, size);
    try {
        auto device = MSDL::generateConfMap(fuzzDir() + "/key.conf");
        if (!device) std::abort();
        device->getDirection();
        for (int b = 0; b < 4; ++b) device->isPressed(b);
    } catch (const MSDL::Error&) {
    }
    return 0;
}
