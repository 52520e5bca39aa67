// One joystick button as a button source.
#pragma once

#include "input/ButtonInput.h"
#include "input/JoystickMgr.h"

namespace MSDL {

class JoystickButtonInput : public ButtonInput {
public:
    // Asks JoystickMgr::current() for joystick `index`; throws MSDL::Error
    // "JoystickButtonInput::JoystickButtonInput:bad joystick index." when it cannot be opened.
    // The button number is not checked: SDL reads a button the joystick lacks as released.
    JoystickButtonInput(int index, int button);

    // SDL_JoystickGetButton returns 1. False once the JoystickMgr is gone.
    bool isPressed() const override;

private:
    JoystickHandle joystick;
    int button;
};

}  // namespace MSDL
