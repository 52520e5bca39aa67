// Drives the front-end screens through a scripted device, one step per snapshot they take.
#pragma once

#include "support/ScriptedInput.h"

#include <SDL.h>

#include <algorithm>
#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

// What the device shows to one snapshot. `onShow` runs as the snapshot is taken, after the
// screen has drawn and presented everything it shows while waiting.
struct MenuStep {
    MenuStep(int direction = 0, std::vector<int> buttons = {},
             std::function<void()> onShow = nullptr)
        : direction(direction), buttons(std::move(buttons)), onShow(std::move(onShow)) {}

    int direction;
    std::vector<int> buttons;
    std::function<void()> onShow;
};

// Each step is a tap: shown to one snapshot and let go before anything else asks, so the
// screens' waits for release return at once. A screen that asks for more steps than the
// script holds sees the window closed, so it returns -1 instead of waiting forever.
class MenuScript {
public:
    MenuScript(ScriptedInput& input, std::vector<MenuStep> steps) : steps(std::move(steps)) {
        input.direction = [this] { return next().direction; };
        input.pressed = [this](int b) {
            return std::find(current.buttons.begin(), current.buttons.end(), b) !=
                   current.buttons.end();
        };
        input.anyButtonPressed = [] { return false; };
    }
    MenuScript(const MenuScript&) = delete;
    MenuScript& operator=(const MenuScript&) = delete;

    // Snapshots taken so far, the ones past the end of the script included.
    std::size_t shown() const { return taken; }

private:
    // A snapshot asks for the direction first, then for the buttons of the same moment.
    const MenuStep& next() {
        if (taken < steps.size()) {
            current = steps[taken];
        } else {
            current = MenuStep();
            SDL_Event quit;
            quit.type = SDL_QUIT;
            SDL_PushEvent(&quit);
        }
        ++taken;
        if (current.onShow) current.onShow();
        return current;
    }

    std::vector<MenuStep> steps;
    MenuStep current;
    std::size_t taken = 0;
};
