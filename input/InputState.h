// A snapshot of what a device reports at one moment; the menus act on one.
#pragma once

#include "input/InputBase.h"

#include <memory>

namespace MSDL {

class InputState : public InputBase {
public:
    // Takes source.getDirection() and source.getButtons() now; keeps no link to the source.
    explicit InputState(InputBase& source);
    ~InputState() override;

    int getDirection() override;

    // The stored value; a number that is not in the snapshot reads as false.
    bool isPressed(int button) override;

    // A copy of the stored map.
    std::unique_ptr<ButtonStates> getButtons() override;

private:
    int direction;
    ButtonStates buttonStates;
};

}  // namespace MSDL
