#include "input/InputBase.h"

#include <algorithm>

namespace MSDL {

InputBase::~InputBase() = default;

std::unique_ptr<ButtonStates> InputBase::getButtons() { return std::make_unique<ButtonStates>(); }

bool InputBase::isAnyPressed() {
    if (getDirection() != 0) return true;
    return isAnyButtonPressed();
}

bool InputBase::isAnyButtonPressed() {
    const std::unique_ptr<ButtonStates> buttons = getButtons();
    if (!buttons) return false;
    return std::any_of(buttons->begin(), buttons->end(),
                       [](const ButtonStates::value_type& entry) { return entry.second; });
}

}  // namespace MSDL
