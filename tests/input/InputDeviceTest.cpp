// Devices built from key sources: direction bits, numbered buttons, snapshots.
#include "InputTestSupport.h"

#include "input/ButtonAxisInput.h"
#include "input/Direction.h"
#include "input/Error.h"
#include "input/Input.h"
#include "input/InputState.h"
#include "input/KeyButtonInput.h"

#include <gtest/gtest.h>

#include <memory>

using namespace MSDL;
using inputtest::ScriptedButton;

namespace {

class Device : public inputtest::SdlTest {
protected:
    // A device steered by the arrow keys, with z and lshift on button 0 and escape on button 3.
    std::unique_ptr<Input> arrowsDevice() {
        auto axis = std::make_unique<ButtonAxisInput>();
        axis->add(UP, std::make_unique<KeyButtonInput>(SDLK_UP));
        axis->add(DOWN, std::make_unique<KeyButtonInput>(SDLK_DOWN));
        axis->add(RIGHT, std::make_unique<KeyButtonInput>(SDLK_RIGHT));
        axis->add(LEFT, std::make_unique<KeyButtonInput>(SDLK_LEFT));
        auto input = std::make_unique<Input>();
        input->addAxis(std::move(axis));
        input->addButton(0, std::make_unique<KeyButtonInput>(SDLK_z));
        input->addButton(0, std::make_unique<KeyButtonInput>(SDLK_LSHIFT));
        input->addButton(3, std::make_unique<KeyButtonInput>(SDLK_ESCAPE));
        return input;
    }
};

// Only the base's part of the interface: a direction and nothing else (as the computer player).
class DirectionOnly : public InputBase {
public:
    explicit DirectionOnly(int d) : direction(d) {}
    int getDirection() override { return direction; }
    bool isPressed(int) override { return false; }
    int direction;
};

}  // namespace

TEST_F(Device, KeyCodesNoKeyProducesAreNeverHeld) {
    // 'A' (65) is not a key of SDL: the a key is 97.
    KeyButtonInput capitalA(65);
    hold(SDLK_a);
    EXPECT_FALSE(capitalA.isPressed());
    // Codes outside the key table read as released instead of reading past it.
    EXPECT_FALSE(KeyButtonInput(-1).isPressed());
    EXPECT_FALSE(KeyButtonInput(keyCount).isPressed());
    EXPECT_FALSE(KeyButtonInput(1 << 20).isPressed());
}

TEST_F(Device, HeldArrowsGiveTheOrOfTheirBitsEvenWhenOpposite) {
    auto input = arrowsDevice();
    const struct {
        std::initializer_list<int> keys;
        int bits;
    } table[] = {{{}, NONE},
                 {{SDLK_UP}, 1},
                 {{SDLK_LEFT}, 8},
                 {{SDLK_UP, SDLK_RIGHT}, 5},
                 {{SDLK_DOWN, SDLK_RIGHT}, 6},
                 {{SDLK_DOWN, SDLK_LEFT}, 10},
                 {{SDLK_UP, SDLK_LEFT}, 9},
                 {{SDLK_UP, SDLK_DOWN}, 3},
                 {{SDLK_UP, SDLK_DOWN, SDLK_RIGHT}, 7},
                 {{SDLK_UP, SDLK_DOWN, SDLK_RIGHT, SDLK_LEFT}, 15},
                 {{SDLK_RIGHT, SDLK_LEFT}, 12}};
    for (const auto& row : table) {
        std::fill(keys, keys + keyCount, Uint8(0));
        for (int k : row.keys) hold(k);
        EXPECT_EQ(input->getDirection(), row.bits) << row.bits;
    }
}

TEST(ButtonAxis, EachListStopsAtItsFirstHeldSource) {
    int firstAsked = 0, secondAsked = 0, rightAsked = 0;
    ButtonAxisInput axis;
    axis.add(UP, std::make_unique<ScriptedButton>(true, &firstAsked));
    axis.add(UP, std::make_unique<ScriptedButton>(true, &secondAsked));
    axis.add(RIGHT, std::make_unique<ScriptedButton>(false, &rightAsked));
    axis.add(RIGHT, std::make_unique<ScriptedButton>(true));
    EXPECT_EQ(axis.getDirection(), UP | RIGHT);
    EXPECT_EQ(firstAsked, 1);
    EXPECT_EQ(secondAsked, 0);
    EXPECT_EQ(rightAsked, 1);
}

TEST(ButtonAxis, AddKeepsCountsIgnoresNullAndRefusesOtherDirections) {
    ButtonAxisInput axis;
    axis.add(LEFT, std::make_unique<ScriptedButton>());
    axis.add(LEFT, nullptr);
    EXPECT_EQ(axis.sourceCount(LEFT), 1u);
    EXPECT_EQ(axis.sourceCount(UP), 0u);
    EXPECT_EQ(axis.sourceCount(UP | LEFT), 0u);
    try {
        axis.add(UP | RIGHT, std::make_unique<ScriptedButton>(true));
        FAIL() << "a diagonal is not a list";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "ButtonAxisInput::add: bad direction.");
    }
    EXPECT_EQ(axis.getDirection(), NONE);
}

TEST(InputDevice, DirectionIsTheOrOfEveryAxis) {
    Input input;
    EXPECT_EQ(input.getDirection(), NONE);
    auto first = std::make_unique<ButtonAxisInput>();
    first->add(UP, std::make_unique<ScriptedButton>(true));
    auto second = std::make_unique<ButtonAxisInput>();
    second->add(LEFT, std::make_unique<ScriptedButton>(true));
    input.addAxis(std::move(first));
    input.addAxis(std::move(second));
    input.addAxis(nullptr);
    EXPECT_EQ(input.getAxes().size(), 2u);
    EXPECT_EQ(input.getDirection(), UP | LEFT);
}

TEST_F(Device, AnUnknownButtonIsNotPressedOnTheDeviceNorOnItsSnapshot) {
    auto input = arrowsDevice();
    hold(SDLK_z);
    hold(SDLK_ESCAPE);
    hold(SDLK_7);
    EXPECT_EQ(input->sourceCount(7), 0u);
    EXPECT_FALSE(input->isPressed(7));
    InputState snapshot(*input);
    EXPECT_FALSE(snapshot.isPressed(7));
    EXPECT_FALSE(snapshot.isPressed(-1));
    EXPECT_TRUE(snapshot.isPressed(0));
}

TEST_F(Device, IsAnyPressedWithOnlyADirection) {
    auto input = arrowsDevice();
    EXPECT_FALSE(input->isAnyPressed());
    EXPECT_FALSE(input->isAnyButtonPressed());
    hold(SDLK_LEFT);
    EXPECT_TRUE(input->isAnyPressed());
    EXPECT_FALSE(input->isAnyButtonPressed());
    release(SDLK_LEFT);
    hold(SDLK_LSHIFT);
    EXPECT_TRUE(input->isAnyPressed());
    EXPECT_TRUE(input->isAnyButtonPressed());
    // Opposite keys make no known direction, but something is held.
    release(SDLK_LSHIFT);
    hold(SDLK_UP);
    hold(SDLK_DOWN);
    EXPECT_TRUE(input->isAnyPressed());
}

TEST(InputBaseDefaults, NoButtonsAndADirectionStillCounts) {
    DirectionOnly idle(NONE);
    const auto buttons = idle.getButtons();
    ASSERT_NE(buttons, nullptr);
    EXPECT_TRUE(buttons->empty());
    EXPECT_FALSE(idle.isAnyButtonPressed());
    EXPECT_FALSE(idle.isAnyPressed());
    DirectionOnly moving(DOWN | RIGHT);
    EXPECT_TRUE(moving.isAnyPressed());
    EXPECT_FALSE(moving.isAnyButtonPressed());
    InputState snapshot(moving);
    EXPECT_EQ(snapshot.getDirection(), DOWN | RIGHT);
    EXPECT_TRUE(snapshot.getButtons()->empty());
    EXPECT_TRUE(snapshot.isAnyPressed());
}

TEST_F(Device, ASnapshotKeepsWhatTheDeviceSaidThen) {
    auto input = arrowsDevice();
    hold(SDLK_UP);
    hold(SDLK_RIGHT);
    hold(SDLK_z);
    InputState snapshot(*input);
    std::fill(keys, keys + keyCount, Uint8(0));
    EXPECT_EQ(input->getDirection(), NONE);
    EXPECT_FALSE(input->isAnyPressed());

    EXPECT_EQ(snapshot.getDirection(), UP | RIGHT);
    EXPECT_TRUE(snapshot.isPressed(0));
    EXPECT_FALSE(snapshot.isPressed(3));
    EXPECT_TRUE(snapshot.isAnyPressed());
    EXPECT_TRUE(snapshot.isAnyButtonPressed());
    const ButtonStates expected{{0, true}, {3, false}};
    auto copy = snapshot.getButtons();
    EXPECT_EQ(*copy, expected);
    // The map handed out is the caller's own: changing it leaves the snapshot alone.
    (*copy)[0] = false;
    (*copy)[7] = true;
    EXPECT_TRUE(snapshot.isPressed(0));
    EXPECT_FALSE(snapshot.isPressed(7));

}

TEST_F(Device, DevicesAreDeletedThroughTheBase) {
    std::unique_ptr<InputBase> base = arrowsDevice();
    hold(SDLK_DOWN);
    EXPECT_EQ(base->getDirection(), DOWN);
    base.reset();  // the sanitizer build checks that every source goes with it
}
