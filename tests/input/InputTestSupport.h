// SDL with a writable key table, for the input tests: a test holds a key by setting its entry.
#pragma once

#include "input/JoystickMgr.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace inputtest {

// SDL_GetKeyState(NULL) is SDL 1.2's own key table; every key is released after the test, and
// a JoystickMgr made with makeJoysticks() goes before SDL_Quit.
class SdlTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        keys = SDL_GetKeyState(&keyCount);
        ASSERT_GE(keyCount, static_cast<int>(SDLK_LAST));
    }
    void TearDown() override {
        joysticks.reset();
        releaseAll();
        SDL_Quit();
    }
    void hold(int key) { keys[key] = 1; }
    void releaseAll() { std::fill(keys, keys + keyCount, Uint8(0)); }
    MSDL::JoystickMgr& makeJoysticks() {
        joysticks = std::make_unique<MSDL::JoystickMgr>();
        return *joysticks;
    }
    // Whether SDL sees a joystick; leaves the sub-system as it found it, so the JoystickMgr
    // still starts it (and says so) at its first request.
    static bool joystickAttached() {
        SDL_InitSubSystem(SDL_INIT_JOYSTICK);
        const int count = SDL_NumJoysticks();
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
        return count > 0;
    }

    Uint8* keys = nullptr;
    int keyCount = 0;
    std::unique_ptr<MSDL::JoystickMgr> joysticks;
};

}  // namespace inputtest
