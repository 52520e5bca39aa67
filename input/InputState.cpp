#include "input/InputState.h"

namespace MSDL {

namespace {

ButtonStates takeButtons(InputBase& source) {
    const std::unique_ptr<ButtonStates> buttons = source.getButtons();
    return buttons ? *buttons : ButtonStates();
}

}  // namespace

InputState::InputState(InputBase& source)
    : direction(source.getDirection()), buttonStates(takeButtons(source)) {}

InputState::~InputState() = default;

int InputState::getDirection() { return direction; }

bool InputState::isPressed(int button) {
    const auto it = buttonStates.find(button);
    return it != buttonStates.end() && it->second;
}

std::unique_ptr<ButtonStates> InputState::getButtons() {
    return std::make_unique<ButtonStates>(buttonStates);
}

}  // namespace MSDL
