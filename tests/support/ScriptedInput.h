// A device whose answers a test scripts, frame by frame if it likes.
#pragma once

#include "input/InputBase.h"

#include <functional>

class ScriptedInput : public MSDL::InputBase {
public:
    std::function<int()> direction = [] { return 0; };
    std::function<bool(int)> pressed = [](int) { return false; };
    // Unset: any of the buttons 0 to 3.
    std::function<bool()> anyButtonPressed;

    int getDirection() override { return direction(); }
    bool isPressed(int button) override { return pressed(button); }
    std::unique_ptr<MSDL::ButtonStates> getButtons() override {
        auto states = std::make_unique<MSDL::ButtonStates>();
        for (int b = 0; b < 4; ++b) (*states)[b] = pressed(b);
        return states;
    }
    bool isAnyButtonPressed() override {
        return anyButtonPressed ? anyButtonPressed() : InputBase::isAnyButtonPressed();
    }
};
