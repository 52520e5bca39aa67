// Shared helpers of the input tests: SDL with a writable key table, a scripted button source.
#pragma once

#include "input/ButtonInput.h"
#include "input/JoystickMgr.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace inputtest {

// SDL's video sub-system on the dummy driver: SDL_GetKeyState(NULL) is SDL 1.2's own key table
// and can be written, so a test holds a key by setting its entry. Every key is released and SDL
// shut down after the test; a JoystickMgr made with makeJoysticks() is destroyed first.
class SdlTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        keys = SDL_GetKeyState(&keyCount);
        ASSERT_NE(keys, nullptr);
        ASSERT_GE(keyCount, static_cast<int>(SDLK_LAST));
    }

    void TearDown() override {
        joysticks.reset();
        if (keys) std::fill(keys, keys + keyCount, Uint8(0));
        SDL_Quit();
    }

    void hold(int key) { keys[key] = 1; }
    void release(int key) { keys[key] = 0; }

    MSDL::JoystickMgr& makeJoysticks() {
        joysticks = std::make_unique<MSDL::JoystickMgr>();
        return *joysticks;
    }

    // How many joysticks SDL sees. Leaves the joystick sub-system as it found it, so the
    // JoystickMgr still starts it (and says so) at its first request.
    static int attachedJoysticks() {
        if (SDL_WasInit(SDL_INIT_JOYSTICK) != 0) return SDL_NumJoysticks();
        SDL_InitSubSystem(SDL_INIT_JOYSTICK);
        const int count = SDL_NumJoysticks();
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
        return count;
    }

    Uint8* keys = nullptr;
    int keyCount = 0;
    std::unique_ptr<MSDL::JoystickMgr> joysticks;
};

// A button source whose state the test sets, counting how often it was asked.
class ScriptedButton : public MSDL::ButtonInput {
public:
    explicit ScriptedButton(bool held_ = false, int* asked_ = nullptr)
        : held(held_), asked(asked_) {}
    bool isPressed() const override {
        if (asked) ++*asked;
        return held;
    }
    bool held;
    int* asked;
};

}  // namespace inputtest
