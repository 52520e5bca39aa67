// Fuzzes the key configuration reader, from the file to a device asked what a player asks.
#include "FuzzSupport.h"
#include "input/JoystickMgr.h"
#include "input/KeyConf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static MSDL::JoystickMgr joysticks;
    return readInput("key.conf", data, size, [] {
        const auto device = MSDL::generateConfMap("key.conf");
        device->getDirection();
        for (int button = 0; button < 4; ++button) device->isPressed(button);
    });
}
