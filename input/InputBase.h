// What every player and menu reads: a direction and numbered buttons.
#pragma once

#include <map>
#include <memory>

namespace MSDL {

// Button number -> held.
using ButtonStates = std::map<int, bool>;

// Devices are handed out as std::unique_ptr and deleted through this base. The queries are not
// const: a device may compute its answer when asked (the computer player does).
class InputBase {
public:
    virtual ~InputBase();

    // The direction held now: an or of UP, DOWN, RIGHT and LEFT (input/Direction.h). Sums of
    // opposite bits (3, 12, ...) can be reported and mean no known direction.
    virtual int getDirection() = 0;

    // Whether that button is held now; a number the device has no source for is not held.
    virtual bool isPressed(int button) = 0;

    // A new map from button number to held, owned by the caller. The base gives an empty map.
    virtual std::unique_ptr<ButtonStates> getButtons();

    // getDirection() is not 0, or else isAnyButtonPressed().
    virtual bool isAnyPressed();

    // Whether any entry of getButtons() is true.
    virtual bool isAnyButtonPressed();

protected:
    InputBase() = default;
    InputBase(const InputBase&) = default;
    InputBase& operator=(const InputBase&) = default;
};

}  // namespace MSDL
