// SDL for the input tests, with its own key table writable: a test holds a key by setting it.
#pragma once

#include "input/JoystickMgr.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace inputtest {

// Keys are released, and a JoystickMgr from makeJoysticks() destroyed, before SDL_Quit.
struct SdlTest : ::testing::Test {
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
    void releaseAll() { std::fill(keys, keys + keyCount, Uint8(0)); }
    MSDL::JoystickMgr& makeJoysticks() { return *(joysticks = std::make_unique<MSDL::JoystickMgr>()); }
    // Leaves the sub-system stopped, so the JoystickMgr still starts it (and says so).
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
