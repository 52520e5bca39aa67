// A headless SDL with a 300 x 400 x 16 video mode, for tests that draw.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

struct SdlTest : ::testing::Test {
    void SetUp() override {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        ASSERT_NE(SDL_SetVideoMode(300, 400, 16, 0), nullptr) << SDL_GetError();
    }
    void TearDown() override { SDL_Quit(); }
};
