// The stick's rule and the joystick manager on a machine without joysticks.
#include "InputTestSupport.h"

#include "input/Direction.h"
#include "input/Error.h"
#include "input/JoystickAxisButtonInput.h"
#include "input/JoystickButtonInput.h"
#include "input/JoystickMgr.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace MSDL;

namespace {

using JoystickManager = inputtest::SdlTest;

// What getJoystick writes on standard output.
std::string requestOutput(JoystickMgr& mgr, std::initializer_list<int> indices, bool* allNull) {
    testing::internal::CaptureStdout();
    *allNull = true;
    for (int index : indices) *allNull = *allNull && mgr.getJoystick(index).expired();
    return testing::internal::GetCapturedStdout();
}

}  // namespace

// The dead zone ends at 8192 inclusive; past it right beats left beats up beats down, so a
// diagonal stick holds one half only.
TEST(StickDirection, DeadZoneAndTheFirstMatchingBit) {
    const struct {
        int x, y, direction;
    } table[] = {{0, 0, NONE},          {8192, 0, NONE},           {-8192, 0, NONE},
                 {0, 8192, NONE},       {0, -8192, NONE},          {8192, -8192, NONE},
                 {8193, 0, RIGHT},      {-8193, 0, LEFT},          {0, -8193, UP},
                 {0, 8193, DOWN},       {32767, 0, RIGHT},         {-32768, 0, LEFT},
                 {0, -32768, UP},       {0, 32767, DOWN},          {8193, -8193, RIGHT},
                 {32767, 32767, RIGHT}, {-8193, -32768, LEFT},     {-32768, 32767, LEFT},
                 {8192, -8193, UP},     {-8192, 8193, DOWN}};
    for (const auto& row : table)
        EXPECT_EQ(stickDirection(row.x, row.y), row.direction) << row.x << "," << row.y;
}

TEST_F(JoystickManager, FirstRequestStartsTheSubSystemAndAFailureIsReportedOnce) {
    if (attachedJoysticks() > 0) GTEST_SKIP() << "a joystick is attached";
    JoystickMgr& mgr = makeJoysticks();
    ASSERT_EQ(SDL_WasInit(SDL_INIT_JOYSTICK), 0u);
    bool allNull = false;
    const std::string out = requestOutput(mgr, {0, 0, 1, 0, 1, 1}, &allNull);
    EXPECT_TRUE(allNull);
    EXPECT_EQ(out, "joystick inited.\nfailed open joystick 0\nfailed open joystick 1\n");
    EXPECT_NE(SDL_WasInit(SDL_INIT_JOYSTICK), 0u);
    // Nothing is retried or reported again.
    EXPECT_EQ(requestOutput(mgr, {1, 0}, &allNull), "");
    EXPECT_TRUE(allNull);
}

TEST_F(JoystickManager, AnIndexBeyondTheAttachedJoysticksFailsOnceAndStaysNull) {
    // Beyond whatever is attached: 2 on a machine with none or one.
    const int index = std::max(2, attachedJoysticks());
    JoystickMgr& mgr = makeJoysticks();
    bool allNull = false;
    const std::string out = requestOutput(mgr, {index, index, index}, &allNull);
    EXPECT_TRUE(allNull);
    EXPECT_EQ(out, "joystick inited.\nfailed open joystick " + std::to_string(index) + "\n");
    EXPECT_EQ(requestOutput(mgr, {index}, &allNull), "");
    EXPECT_TRUE(allNull);
}

TEST_F(JoystickManager, NegativeIndicesAreNeverOpened) {
    JoystickMgr& mgr = makeJoysticks();
    bool allNull = false;
    EXPECT_EQ(requestOutput(mgr, {-1, -5}, &allNull), "joystick inited.\n");
    EXPECT_TRUE(allNull);
    EXPECT_EQ(requestOutput(mgr, {-1}, &allNull), "");
}

TEST_F(JoystickManager, ThereIsOneAndANewOneForgetsTheOldFailures) {
    if (attachedJoysticks() > 0) GTEST_SKIP() << "a joystick is attached";
    {
        JoystickMgr& mgr = makeJoysticks();
        EXPECT_EQ(JoystickMgr::instance(), &mgr);
        EXPECT_EQ(&JoystickMgr::current(), &mgr);
        try {
            JoystickMgr second;
            FAIL() << "a second JoystickMgr was made";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "Singleton is made twice.\n");
        }
        EXPECT_EQ(JoystickMgr::instance(), &mgr);
        bool allNull = false;
        requestOutput(mgr, {0}, &allNull);
        joysticks.reset();
    }
    EXPECT_EQ(JoystickMgr::instance(), nullptr);
    JoystickMgr& again = makeJoysticks();
    bool allNull = false;
    // The sub-system still runs; the new manager asks SDL afresh.
    EXPECT_EQ(requestOutput(again, {0}, &allNull), "failed open joystick 0\n");
    EXPECT_TRUE(allNull);
}

TEST_F(JoystickManager, CurrentWithoutAManagerThrows) {
    EXPECT_EQ(JoystickMgr::instance(), nullptr);
    EXPECT_THROW(JoystickMgr::current(), Error);
    EXPECT_THROW(JoystickButtonInput(0, 0), Error);
    EXPECT_THROW(JoystickAxisButtonInput(0, UP), Error);
}

TEST_F(JoystickManager, SourcesOfAMissingJoystickAreRefused) {
    if (attachedJoysticks() > 0) GTEST_SKIP() << "a joystick is attached";
    JoystickMgr& mgr = makeJoysticks();
    testing::internal::CaptureStdout();
    try {
        JoystickButtonInput button(0, 1);
        FAIL() << "made a button of a missing joystick";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "JoystickButtonInput::JoystickButtonInput:bad joystick index.");
    }
    try {
        JoystickAxisButtonInput half(0, LEFT);
        FAIL() << "made a stick half of a missing joystick";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(),
                     "JoystickAxisButtonInput::JoystickAxisButtonInput: bad joystick index.");
    }
    // Both asked for joystick 0; it was tried once.
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "joystick inited.\nfailed open joystick 0\n");
    EXPECT_TRUE(mgr.getJoystick(0).expired());
}

TEST_F(JoystickManager, AStickHalfMustBeOneOfTheFourDirections) {
    makeJoysticks();
    for (int direction : {NONE, UP | RIGHT, UP | DOWN, 16, -1}) {
        try {
            JoystickAxisButtonInput half(0, direction);
            FAIL() << "made a stick half for direction " << direction;
        } catch (const Error& e) {
            EXPECT_STREQ(e.what(),
                         "JoystickAxisButtonInput::JoystickAxisButtonInput: bad direction.");
        }
    }
}
