// Fuzzes the key configuration reader, from the file to a finished device.
#include "FuzzSupport.h"
#include "input/JoystickMgr.h"
#include "input/KeyConf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static MSDL::JoystickMgr joysticks;
    return readInput("key.conf", data, size,
                     [] { MSDL::generateConfMap("key.conf")->isPressed(3); });
}
