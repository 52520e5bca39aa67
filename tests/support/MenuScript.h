// Drives the front-end screens through a scripted device, one step per snapshot they take.
#pragma once

#include "support/ScriptedInput.h"

#include <SDL.h>

#include <algorithm>
#include <functional>
#include <vector>

// What the device shows to one snapshot. `onShow` runs as the snapshot is taken, after the
// screen has drawn and presented everything it shows while waiting.
struct MenuStep {
    int direction = 0;
    std::vector<int> buttons = {};
    std::function<void()> onShow = nullptr;
};

// Each step is a tap: shown to one snapshot and let go before anything else asks, so the
// screens' waits for release return at once. A screen that asks for more steps than the
// script holds sees the window closed, so it returns -1 instead of waiting forever.
class MenuScript {
public:
    MenuScript(ScriptedInput& input, std::vector<MenuStep> script) : steps(std::move(script)) {
        // A snapshot asks for the direction first, then for the buttons of the same moment.
        input.direction = [this] {
            current = taken < steps.size() ? steps[taken] : MenuStep();
            if (taken++ >= steps.size()) {
                SDL_Event quit;
                quit.type = SDL_QUIT;
                SDL_PushEvent(&quit);
            }
            if (current.onShow) current.onShow();
            return current.direction;
        };
        input.pressed = [this](int b) {
            return std::count(current.buttons.begin(), current.buttons.end(), b) > 0;
        };
        input.anyButtonPressed = [] { return false; };
    }
    MenuScript(const MenuScript&) = delete;
    MenuScript& operator=(const MenuScript&) = delete;

    // Snapshots taken so far, the ones past the end of the script included.
    std::size_t taken = 0;

private:
    std::vector<MenuStep> steps;
    MenuStep current;
};
