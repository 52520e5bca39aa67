// One half of a joystick's stick as a button source.
#pragma once

#include "input/ButtonInput.h"
#include "input/JoystickMgr.h"

namespace MSDL {

// Axis values from -STICK_DEAD_ZONE to STICK_DEAD_ZONE inclusive hold nothing (0x2000, a
// quarter of full deflection).
constexpr int STICK_DEAD_ZONE = 8192;

// The one direction bit a stick at (axis0, axis1) holds, the first match counting:
// RIGHT when axis0 > 8192, else LEFT when axis0 < -8192, else UP when axis1 < -8192, else DOWN
// when axis1 > 8192, else NONE. So a stick pushed up and right holds RIGHT only.
int stickDirection(int axis0, int axis1);

class JoystickAxisButtonInput : public ButtonInput {
public:
    // direction: UP, DOWN, RIGHT or LEFT (anything else throws MSDL::Error
    // "JoystickAxisButtonInput::JoystickAxisButtonInput: bad direction.").
    // Asks JoystickMgr::current() for joystick `index`; throws MSDL::Error
    // "JoystickAxisButtonInput::JoystickAxisButtonInput: bad joystick index." when it cannot be
    // opened.
    JoystickAxisButtonInput(int index, int direction);

    // stickDirection of the joystick's axes 0 and 1 is this source's direction. False once the
    // JoystickMgr is gone.
    bool isPressed() const override;

private:
    JoystickHandle joystick;
    int direction;
};

}  // namespace MSDL
