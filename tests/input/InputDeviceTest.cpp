// Devices built from key sources, their snapshots, the stick's rule and the joystick manager.
#include "InputTestSupport.h"

#include "input/ButtonAxisInput.h"
#include "input/Direction.h"
#include "input/Error.h"
#include "input/Input.h"
#include "input/InputState.h"
#include "input/JoystickAxisButtonInput.h"
#include "input/JoystickButtonInput.h"
#include "input/KeyButtonInput.h"

#include <string>
#include <vector>

using namespace MSDL;

namespace {

using Device = inputtest::SdlTest;

// Steered by the arrow keys, with z and lshift on button 0 and escape on button 3.
std::unique_ptr<Input> arrowsDevice() {
    auto axis = std::make_unique<ButtonAxisInput>();
    for (auto [direction, key] : {std::pair{UP, SDLK_UP}, {DOWN, SDLK_DOWN}, {RIGHT, SDLK_RIGHT},
                                  {LEFT, SDLK_LEFT}})
        axis->add(direction, std::make_unique<KeyButtonInput>(key));
    axis->add(LEFT, nullptr);
    auto input = std::make_unique<Input>();
    input->addAxis(std::move(axis));
    input->addAxis(nullptr);
    input->addButton(0, std::make_unique<KeyButtonInput>(SDLK_z));
    input->addButton(0, std::make_unique<KeyButtonInput>(SDLK_LSHIFT));
    input->addButton(3, std::make_unique<KeyButtonInput>(SDLK_ESCAPE));
    return input;
}

// What the manager writes on standard output for these requests; each must give no joystick.
std::string requests(JoystickMgr& mgr, std::initializer_list<int> indices) {
    testing::internal::CaptureStdout();
    for (int index : indices) EXPECT_TRUE(mgr.getJoystick(index).expired()) << index;
    return testing::internal::GetCapturedStdout();
}

}  // namespace

TEST_F(Device, HeldKeysGiveTheOrOfTheirBitsAndTheButtonsTheySourceEvenInASnapshot) {
    const struct {
        std::vector<int> keys;
        int direction;
        bool button0, button3, any;
    } table[] = {{{}, NONE, false, false, false},
                 {{SDLK_UP}, UP, false, false, true},
                 {{SDLK_DOWN, SDLK_LEFT}, DOWN | LEFT, false, false, true},
                 {{SDLK_UP, SDLK_RIGHT}, UP | RIGHT, false, false, true},
                 {{SDLK_UP, SDLK_DOWN}, UP | DOWN, false, false, true},
                 {{SDLK_UP, SDLK_DOWN, SDLK_RIGHT, SDLK_LEFT}, 15, false, false, true},
                 {{SDLK_LSHIFT}, NONE, true, false, true},
                 {{SDLK_z, SDLK_ESCAPE, SDLK_7}, NONE, true, true, true}};
    auto input = arrowsDevice();
    EXPECT_EQ(input->getAxes().size(), 1u);
    EXPECT_EQ(input->sourceCount(0), 2u);
    EXPECT_EQ(input->sourceCount(7), 0u);
    for (const auto& row : table) {
        SCOPED_TRACE(row.direction);
        releaseAll();
        for (int k : row.keys) keys[k] = 1;
        EXPECT_EQ(input->getDirection(), row.direction);
        EXPECT_EQ(input->isPressed(0), row.button0);
        EXPECT_EQ(input->isPressed(3), row.button3);
        EXPECT_FALSE(input->isPressed(7));
        EXPECT_EQ(input->isAnyPressed(), row.any);
        EXPECT_EQ(input->isAnyButtonPressed(), row.button0 || row.button3);
        InputState snapshot(*input);
        releaseAll();
        EXPECT_EQ(snapshot.getDirection(), row.direction);
        EXPECT_EQ(*snapshot.getButtons(), (ButtonStates{{0, row.button0}, {3, row.button3}}));
        EXPECT_EQ(snapshot.isAnyPressed(), row.any);
        EXPECT_EQ(snapshot.isPressed(3), row.button3);
        EXPECT_FALSE(snapshot.isPressed(7));
        // The map handed out is the caller's own.
        (*snapshot.getButtons())[7] = true;
        EXPECT_FALSE(snapshot.isPressed(7));
    }
}

TEST_F(Device, KeyCodesOutsideTheTableAreNeverHeldAndAxesTakeOnlyTheFourDirections) {
    std::fill(keys, keys + keyCount, Uint8(1));  // codes outside are read as released
    for (int code : {-1, keyCount, 1 << 20}) EXPECT_FALSE(KeyButtonInput(code).isPressed());
    ButtonAxisInput axis;
    try {
        axis.add(UP | RIGHT, std::make_unique<KeyButtonInput>(SDLK_a));
        FAIL() << "a diagonal is not a list";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "ButtonAxisInput::add: bad direction.");
    }
    EXPECT_EQ(axis.getDirection(), NONE);
}

// Past the dead zone right beats left beats up beats down, so a diagonal holds one half only.
TEST(StickDirection, DeadZoneAndTheFirstMatchingBit) {
    const struct {
        int x, y, direction;
    } table[] = {{0, 0, NONE},         {8192, 0, NONE},      {-8192, 0, NONE},   {0, 8192, NONE},
                 {0, -8192, NONE},     {8192, -8192, NONE},  {8193, 0, RIGHT},   {-8193, 0, LEFT},
                 {0, -8193, UP},       {0, 8193, DOWN},      {32767, 0, RIGHT},  {-32768, 0, LEFT},
                 {8193, -8193, RIGHT}, {-8193, -32768, LEFT}, {8192, -8193, UP}, {-8192, 8193, DOWN}};
    for (const auto& row : table)
        EXPECT_EQ(stickDirection(row.x, row.y), row.direction) << row.x << "," << row.y;
}

TEST_F(Device, JoystickRequestsStartTheSubSystemOnceAndReportEachFailureOnce) {
    if (joystickAttached()) GTEST_SKIP() << "a joystick is attached";
    EXPECT_THROW(JoystickMgr::current(), Error);
    EXPECT_THROW(JoystickButtonInput(0, 0), Error);
    JoystickMgr& mgr = makeJoysticks();
    EXPECT_EQ(&JoystickMgr::current(), &mgr);
    EXPECT_EQ(requests(mgr, {-1, 0, 0, 1, -5, 0, 9, 1}),
              "joystick inited.\nfailed open joystick 0\nfailed open joystick 1\n"
              "failed open joystick 9\n");
    EXPECT_EQ(requests(mgr, {1, 0, 9}), "");
    testing::internal::CaptureStdout();
    EXPECT_THROW(JoystickButtonInput(0, 1), Error);
    EXPECT_THROW(JoystickAxisButtonInput(2, LEFT), Error);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "failed open joystick 2\n");
    for (int direction : {NONE, UP | RIGHT, UP | DOWN, 16, -1}) {
        try {
            JoystickAxisButtonInput half(0, direction);
            ADD_FAILURE() << "made a stick half for direction " << direction;
        } catch (const Error& e) {
            EXPECT_STREQ(e.what(),
                         "JoystickAxisButtonInput::JoystickAxisButtonInput: bad direction.");
        }
    }
    // A new manager asks SDL afresh; the sub-system still runs.
    joysticks.reset();
    EXPECT_EQ(requests(makeJoysticks(), {0}), "failed open joystick 0\n");
}
