#include "input/JoystickButtonInput.h"

#include "input/Error.h"

namespace MSDL {

JoystickButtonInput::JoystickButtonInput(int index, int button_)
    : joystick(JoystickMgr::current().getJoystick(index)), button(button_) {
    if (joystick.expired()) {
        throw Error(std::string("JoystickButtonInput::JoystickButtonInput:") +
                    "bad joystick index.");
    }
}

bool JoystickButtonInput::isPressed() const {
    const auto slot = joystick.lock();
    return slot && *slot && SDL_JoystickGetButton(*slot, button) == 1;
}

}  // namespace MSDL
