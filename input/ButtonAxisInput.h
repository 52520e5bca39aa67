// A direction made of four lists of button sources.
#pragma once

#include "input/AxisInput.h"
#include "input/ButtonInput.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace MSDL {

class ButtonAxisInput : public AxisInput {
public:
    using Sources = std::vector<std::unique_ptr<ButtonInput>>;

    ButtonAxisInput();
    ~ButtonAxisInput() override;

    // 0, plus UP if any source of `up` is held, RIGHT if any of `right`, DOWN if any of `down`,
    // LEFT if any of `left`; each list stops at its first held source. Opposite sources held
    // together give their sum (UP | DOWN = 3).
    int getDirection() const override;

    // Appends a source to the list of `direction` (UP, DOWN, RIGHT or LEFT; anything else throws
    // MSDL::Error "ButtonAxisInput::add: bad direction."). A null source is ignored.
    void add(int direction, std::unique_ptr<ButtonInput> source);

    // How many sources the list of `direction` holds; 0 for anything but the four directions.
    std::size_t sourceCount(int direction) const;

private:
    // The list of `direction` in `self`, null for anything but the four directions.
    template <class Self>
    static auto* listOf(Self& self, int direction);

    Sources up;
    Sources right;
    Sources down;
    Sources left;
};

}  // namespace MSDL
