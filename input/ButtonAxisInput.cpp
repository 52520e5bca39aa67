#include "input/ButtonAxisInput.h"

#include "input/Direction.h"
#include "input/Error.h"

#include <algorithm>

namespace MSDL {

namespace {

bool anyHeld(const ButtonAxisInput::Sources& sources) {
    return std::any_of(sources.begin(), sources.end(),
                       [](const std::unique_ptr<ButtonInput>& s) { return s->isPressed(); });
}

}  // namespace

ButtonAxisInput::ButtonAxisInput() = default;

ButtonAxisInput::~ButtonAxisInput() = default;

int ButtonAxisInput::getDirection() const {
    int direction = NONE;
    if (anyHeld(up)) direction |= UP;
    if (anyHeld(right)) direction |= RIGHT;
    if (anyHeld(down)) direction |= DOWN;
    if (anyHeld(left)) direction |= LEFT;
    return direction;
}

template <class Self>
auto* ButtonAxisInput::listOf(Self& self, int direction) {
    decltype(&self.up) sources = nullptr;
    switch (direction) {
        case UP:
            sources = &self.up;
            break;
        case RIGHT:
            sources = &self.right;
            break;
        case DOWN:
            sources = &self.down;
            break;
        case LEFT:
            sources = &self.left;
            break;
        default:
            break;
    }
    return sources;
}

void ButtonAxisInput::add(int direction, std::unique_ptr<ButtonInput> source) {
    Sources* sources = listOf(*this, direction);
    if (!sources) throw Error("ButtonAxisInput::add: bad direction.");
    if (source) sources->push_back(std::move(source));
}

std::size_t ButtonAxisInput::sourceCount(int direction) const {
    const Sources* sources = listOf(*this, direction);
    return sources ? sources->size() : 0;
}

}  // namespace MSDL
