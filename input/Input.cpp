#include "input/Input.h"

#include <algorithm>

namespace MSDL {

Input::Input() = default;

Input::~Input() = default;

int Input::getDirection() {
    int direction = 0;
    for (const auto& axis : axes) direction |= axis->getDirection();
    return direction;
}

bool Input::isPressed(int button) {
    const auto range = buttons.equal_range(button);
    return std::any_of(range.first, range.second,
                       [](const auto& entry) { return entry.second->isPressed(); });
}

std::unique_ptr<ButtonStates> Input::getButtons() {
    auto states = std::make_unique<ButtonStates>();
    for (auto it = buttons.begin(); it != buttons.end(); it = buttons.upper_bound(it->first)) {
        (*states)[it->first] = isPressed(it->first);
    }
    return states;
}

void Input::addAxis(std::unique_ptr<AxisInput> axis) {
    if (axis) axes.push_back(std::move(axis));
}

void Input::addButton(int button, std::unique_ptr<ButtonInput> source) {
    if (source) buttons.emplace(button, std::move(source));
}

}  // namespace MSDL
