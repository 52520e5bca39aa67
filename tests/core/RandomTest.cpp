// The 0..32767 scale of the game's random draws, whatever the C library's RAND_MAX.
#include "core/Random.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(Random, DrawsStayOnTheRulesScaleAndRandomIntRunsFromZeroToN) {
    std::srand(12345);
    int top = 0;
    bool sawZero = false;
    for (int i = 0; i < 200000; ++i) {
        const int r = randomDraw();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 32767);
        top = std::max(top, r);
        const int v = randomInt(200);
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 200);
        sawZero = sawZero || v == 0;
    }
    // Spread over the whole scale, not squeezed into a corner of it; that the top draw gives
    // n itself is tested where it picks the last document of an action list.
    EXPECT_GT(top, 32000);
    EXPECT_TRUE(sawZero);
    EXPECT_EQ(randomInt(0), 0);
}
