#include "input/JoystickAxisButtonInput.h"

#include "input/Direction.h"
#include "input/Error.h"

namespace MSDL {

int stickDirection(int axis0, int axis1) {
    if (axis0 > STICK_DEAD_ZONE) return RIGHT;
    if (axis0 < -STICK_DEAD_ZONE) return LEFT;
    if (axis1 < -STICK_DEAD_ZONE) return UP;
    if (axis1 > STICK_DEAD_ZONE) return DOWN;
    return NONE;
}

namespace {

int checkedDirection(int direction) {
    if (!isSingleDirection(direction)) {
        throw Error("JoystickAxisButtonInput::JoystickAxisButtonInput: bad direction.");
    }
    return direction;
}

}  // namespace

JoystickAxisButtonInput::JoystickAxisButtonInput(int index, int direction_)
    : direction(checkedDirection(direction_)) {
    joystick = JoystickMgr::current().getJoystick(index);
    if (joystick.expired()) {
        throw Error("JoystickAxisButtonInput::JoystickAxisButtonInput: bad joystick index.");
    }
}

bool JoystickAxisButtonInput::isPressed() const {
    const auto slot = joystick.lock();
    if (!slot || !*slot) return false;
    return stickDirection(SDL_JoystickGetAxis(*slot, 0), SDL_JoystickGetAxis(*slot, 1)) ==
           direction;
}

}  // namespace MSDL
