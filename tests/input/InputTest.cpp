// Devices from key sources and snapshots, the stick's rule, the joystick manager, and the key
// configuration files: their format, their words and the devices they describe (ours too).
#include "core/InputFile.h"
#include "input/ButtonAxisInput.h"
#include "input/Direction.h"
#include "input/Error.h"
#include "input/InputState.h"
#include "input/JoystickAxisButtonInput.h"
#include "input/JoystickButtonInput.h"
#include "input/JoystickMgr.h"
#include "input/KeyButtonInput.h"
#include "input/KeyConf.h"
#include "support/TestDirs.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

using namespace MSDL;

namespace {

// SDL's own key table is writable: a test holds a key by setting it. Keys are released, and a
// JoystickMgr destroyed, before SDL_Quit.
struct Keys : ::testing::Test {
    void SetUp() override {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        keys = SDL_GetKeyState(&keyCount);
    }
    void TearDown() override {
        joysticks.reset();
        holdOnly({});
        SDL_Quit();
    }
    void holdOnly(const std::vector<int>& held) {
        std::fill(keys, keys + keyCount, Uint8(0));
        for (int k : held) keys[k] = 1;
    }
    // Skips the test where a joystick is attached; leaves the sub-system stopped, so the
    // manager still starts it (and says so).
    JoystickMgr* joysticksOrSkip() {
        SDL_InitSubSystem(SDL_INIT_JOYSTICK);
        const int attached = SDL_NumJoysticks();
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
        if (attached > 0) return nullptr;
        joysticks = std::make_unique<JoystickMgr>();
        return joysticks.get();
    }
    // The device a file describes, and what reading it wrote on standard output.
    std::unique_ptr<Input> load(const std::string& file, std::string* out) {
        testing::internal::CaptureStdout();
        auto input = generateConfMap(file);
        *out = testing::internal::GetCapturedStdout();
        return input;
    }

    Uint8* keys = nullptr;
    int keyCount = 0;
    std::unique_ptr<JoystickMgr> joysticks;
};

// The message of the MSDL::Error that `read` throws, or "" if none.
template <class F>
std::string errorOf(F read) {
    try {
        read();
    } catch (const Error& e) {
        return e.what();
    }
    return "";
}

}  // namespace

TEST_F(Keys, HeldKeysGiveTheOrOfTheirBitsAndTheButtonsTheySourceEvenInASnapshot) {
    auto axis = std::make_unique<ButtonAxisInput>();
    for (auto [d, key] :
         {std::pair{UP, SDLK_UP}, {DOWN, SDLK_DOWN}, {RIGHT, SDLK_RIGHT}, {LEFT, SDLK_LEFT}})
        axis->add(d, std::make_unique<KeyButtonInput>(key));
    axis->add(LEFT, nullptr);
    EXPECT_EQ(errorOf([&] { axis->add(UP | RIGHT, std::make_unique<KeyButtonInput>(SDLK_a)); }),
              "ButtonAxisInput::add: bad direction.");
    Input input;
    input.addAxis(std::move(axis));
    input.addAxis(nullptr);
    input.addButton(0, std::make_unique<KeyButtonInput>(SDLK_z));
    input.addButton(0, std::make_unique<KeyButtonInput>(SDLK_LSHIFT));
    input.addButton(3, std::make_unique<KeyButtonInput>(SDLK_ESCAPE));
    EXPECT_EQ(input.getAxes().size(), 1u);
    EXPECT_EQ(input.sourceCount(0), 2u);
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
                 {{SDLK_z, SDLK_ESCAPE, SDLK_7, SDLK_a}, NONE, true, true, true}};
    for (const auto& row : table) {
        SCOPED_TRACE(row.keys.size() * 100 + row.direction);
        holdOnly(row.keys);
        EXPECT_EQ(input.getDirection(), row.direction);
        EXPECT_EQ(input.isPressed(0), row.button0);
        EXPECT_EQ(input.isPressed(3), row.button3);
        EXPECT_FALSE(input.isPressed(7));
        EXPECT_EQ(input.isAnyPressed(), row.any);
        EXPECT_EQ(input.isAnyButtonPressed(), row.button0 || row.button3);
        InputState snapshot(input);
        holdOnly({});
        EXPECT_EQ(snapshot.getDirection(), row.direction);
        EXPECT_EQ(*snapshot.getButtons(), (ButtonStates{{0, row.button0}, {3, row.button3}}));
        EXPECT_EQ(snapshot.isAnyPressed(), row.any);
        EXPECT_EQ(snapshot.isPressed(3), row.button3);
        (*snapshot.getButtons())[7] = true;  // the map handed out is the caller's own
        EXPECT_FALSE(snapshot.isPressed(7));
    }
    std::fill(keys, keys + keyCount, Uint8(1));  // codes outside the table read as released
    for (int code : {-1, keyCount, 1 << 20}) EXPECT_FALSE(KeyButtonInput(code).isPressed());
}

// Past the dead zone right beats left beats up beats down, so a diagonal holds one half only.
TEST(StickDirection, DeadZoneAndTheFirstMatchingBit) {
    const struct {
        int x, y, direction;
    } table[] = {{0, 0, NONE},         {8192, 0, NONE},     {-8192, 0, NONE},  {0, 8192, NONE},
                 {0, -8192, NONE},     {8192, -8192, NONE}, {8193, 0, RIGHT},  {-8193, 0, LEFT},
                 {0, -8193, UP},       {0, 8193, DOWN},     {32767, 0, RIGHT}, {-32768, 0, LEFT},
                 {8193, -8193, RIGHT}, {8192, -8193, UP},   {-8192, 8193, DOWN},
                 {-8193, -32768, LEFT}};
    for (const auto& row : table)
        EXPECT_EQ(stickDirection(row.x, row.y), row.direction) << row.x << "," << row.y;
}

TEST_F(Keys, JoystickRequestsStartTheSubSystemOnceAndReportEachFailureOnce) {
    EXPECT_THROW(JoystickMgr::current(), Error);
    EXPECT_THROW(generateButtonInputFromString("JOY_0"), Error);
    JoystickMgr* mgr = joysticksOrSkip();
    if (!mgr) GTEST_SKIP() << "a joystick is attached";
    EXPECT_EQ(&JoystickMgr::current(), mgr);
    const auto requests = [&](std::initializer_list<int> indices) {
        testing::internal::CaptureStdout();
        for (int index : indices) EXPECT_TRUE(mgr->getJoystick(index).expired()) << index;
        return testing::internal::GetCapturedStdout();
    };
    EXPECT_EQ(requests({-1, 0, 0, 1, -5, 0, 9, 1}),
              "joystick inited.\nfailed open joystick 0\nfailed open joystick 1\n"
              "failed open joystick 9\n");
    EXPECT_EQ(requests({1, 0, 9}), "");
    testing::internal::CaptureStdout();
    EXPECT_THROW(JoystickButtonInput(0, 1), Error);
    EXPECT_THROW(JoystickAxisButtonInput(2, LEFT), Error);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "failed open joystick 2\n");
    for (int direction : {NONE, UP | RIGHT, UP | DOWN, 16, -1})
        EXPECT_EQ(errorOf([&] { JoystickAxisButtonInput(0, direction); }),
                  "JoystickAxisButtonInput::JoystickAxisButtonInput: bad direction.");
    // A new manager asks SDL afresh; the sub-system still runs.
    joysticks.reset();
    joysticks = std::make_unique<JoystickMgr>();
    mgr = joysticks.get();
    EXPECT_EQ(requests({0}), "failed open joystick 0\n");
}

TEST(ConfFormat, LinesKeysValuesCommentsAndTheLengthLimit) {
    const std::string key = "UP_AXIS KEY_i";
    const std::string line255 = key + std::string(CONF_LINE_MAX - key.size(), ' ');
    const std::string line256 = key + " #" + std::string(256 - key.size() - 2, 'x');
    ASSERT_EQ(line255.size(), 255u);
    const struct {
        std::string text;
        ConfMap expected;
    } table[] = {
        {"UP_AXIS = KEY_up KEY_w\nDOWN_AXIS KEY_down\n  \t LEFT_AXIS   =   KEY_left\t JOY_LEFT \n"
         "RIGHT_AXIS =\n",
         {{"UP_AXIS", "KEY_up KEY_w"}, {"DOWN_AXIS", "KEY_down"},
          {"LEFT_AXIS", "KEY_left JOY_LEFT"}, {"RIGHT_AXIS", ""}}},
        {"UP_AXIS=KEY_up\n", {{"UP_AXIS=KEY_up", ""}}},
        {"UP_AXIS= KEY_up\n", {{"UP_AXIS=", "KEY_up"}}},
        {"UP_AXIS =KEY_up\n", {{"UP_AXIS", "=KEY_up"}}},
        {"END = = KEY_a\n", {{"END", "= KEY_a"}}},
        {"= KEY_a\n", {{"=", "KEY_a"}}},
        {"# comment\n\n      \n   # indented\nBUTTON_1 KEY_z KEY_lshift # shot\n"
         "END KEY_escape#no blank\n#UP_AXIS KEY_i\n",
         {{"BUTTON_1", "KEY_z KEY_lshift"}, {"END", "KEY_escape"}}},
        {"UP_AXIS = KEY_up KEY_w\nUP_AXIS KEY_i\n", {{"UP_AXIS", "KEY_i"}}},
        {"UP_AXIS KEY_i\nUP_AXIS\n", {{"UP_AXIS", ""}}},
        // A line too long ends the file; the lines before it count, a last line needs no end.
        {"DOWN_AXIS KEY_k\n" + line255 + "\nLEFT_AXIS KEY_j\n",
         {{"DOWN_AXIS", "KEY_k"}, {"UP_AXIS", "KEY_i"}, {"LEFT_AXIS", "KEY_j"}}},
        {"DOWN_AXIS KEY_k\n" + line256 + "\nLEFT_AXIS KEY_j\n", {{"DOWN_AXIS", "KEY_k"}}},
        {"END KEY_a\n" + line255, {{"END", "KEY_a"}, {"UP_AXIS", "KEY_i"}}},
        {"END KEY_a\n" + line256, {{"END", "KEY_a"}}},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.text);
        ScratchDir dir;
        dir.write("k.conf", row.text);
        InputFile in(dir.file("k.conf"));
        EXPECT_EQ(readConfMap(in), row.expected);
    }
}

// Each message a bad word in a key file ends the game with; the names the shipped files do not
// hold; joystick rests.
TEST(ConfWords, KeysByCharacterOrNameJoystickRestsAndTheUnreadable) {
    for (const auto& [rest, code] : {std::pair{"z", 122}, {"A", 65}, {"\xE9", 0xE9}, {"tab", 9},
                                     {"insert", 277}, {"rctrl", 305}, {"lalt", 308},
                                     {"lctrl", 306}}) {
        const auto source = generateButtonInputFromString(std::string("KEY_") + rest);
        EXPECT_EQ(dynamic_cast<const KeyButtonInput&>(*source).getKey(), code) << rest;
    }
    for (const auto& [rest, axis, value] :
         {std::tuple{"0", false, 0}, {"9", false, 9}, {"UP", true, UP}, {"RIGHT", true, RIGHT},
          {"DOWN", true, DOWN}, {"LEFT", true, LEFT}}) {
        EXPECT_EQ(joystickPartFromRest(rest).isAxis, axis) << rest;
        EXPECT_EQ(joystickPartFromRest(rest).value, value) << rest;
    }
    for (const char* rest : {"10", "x", "up", "", "-", "UPPER", "/"})
        EXPECT_EQ(errorOf([&] { joystickPartFromRest(rest); }), rest + std::string(": unknown key"))
            << rest;
    const char* const format = "generateButtonInputFromString: unknown string format";
    for (const auto& [word, message] :
         {std::pair{"KEY_f1", "f1: unknown key"}, {"KEY_UP", "UP: unknown key"},
          {"KEY_", ": unknown key"}, {"KEY_a_b", "a_b: unknown key"}, {"XYZ", format},
          {"key_a", format}, {"JOY3_1", format}, {"", format}})
        EXPECT_EQ(errorOf([&] { generateButtonInputFromString(word); }), message) << word;
}

TEST_F(Keys, AFileGivesOneAxisAndFourButtonsSkippingMissingJoysticksAndUnknownKeys) {
    if (!joysticksOrSkip()) GTEST_SKIP() << "a joystick is attached";
    ScratchDir dir;
    dir.write("test.conf",
              "UP_AXIS = KEY_up JOY2_UP JOY_x\nRIGHT_AXIS = KEY_right KEY_d\nDOWN_AXIS KEY_down\n"
              "LEFT_AXIS = KEY_left JOY_10\nBUTTON_1 KEY_z JOY1_nonsense KEY_lshift\n"
              "BUTTON_2 = KEY_x JOY_0\nBUTTON_3 = KEY_c\nEND = KEY_escape JOY2_3\n"
              "SOMETHING_ELSE = KEY_f1 XYZ\n");
    std::string out;
    auto input = load(dir.file("test.conf"), &out);
    EXPECT_EQ(out, "joystick inited.\nfailed open joystick 1\nfailed open joystick 0\n");
    ASSERT_EQ(input->getAxes().size(), 1u);
    const auto& axis = dynamic_cast<const ButtonAxisInput&>(*input->getAxes()[0]);
    for (int d : {UP, DOWN, LEFT}) EXPECT_EQ(axis.sourceCount(d), 1u) << d;
    EXPECT_EQ(axis.sourceCount(RIGHT), 2u);
    const std::size_t counts[] = {2, 1, 1, 1, 0};
    for (int b = 0; b < 5; ++b) EXPECT_EQ(input->sourceCount(b), counts[b]) << b;
    holdOnly({SDLK_d, SDLK_UP, SDLK_LSHIFT, SDLK_c});
    EXPECT_EQ(input->getDirection(), UP | RIGHT);
    EXPECT_EQ(*input->getButtons(), (ButtonStates{{0, true}, {1, false}, {2, true}, {3, false}}));

    dir.write("bad.conf", "UP_AXIS KEY_up\nBUTTON_1 KEY_z KEY_f1\n");
    EXPECT_EQ(errorOf([&] { generateConfMap(dir.file("bad.conf")); }), "f1: unknown key");
    // A missing file says so and gives a device that never reports anything.
    std::fill(keys, keys + keyCount, Uint8(1));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(generateConfMap(dir.file("nowhere.conf"))->isAnyPressed());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              dir.file("nowhere.conf") + ": file not found in generateConfMap\n");
}

// Two people share one keyboard: no key of one file moves or presses for the other.
TEST_F(Keys, TheShippedFilesLoadAndDriveOnlyTheirOwnPlayer) {
    if (!joysticksOrSkip()) GTEST_SKIP() << "a joystick is attached";
    std::string out;
    std::unique_ptr<Input> devices[] = {load(SKELVO_SOURCE_DIR "/data/1Pkey.conf", &out),
                                        load(SKELVO_SOURCE_DIR "/data/2Pkey.conf", &out)};
    const struct {
        int key, player, direction, button;
    } table[] = {{SDLK_w, 0, UP, -1},       {SDLK_UP, 0, UP, -1},       {SDLK_a, 0, LEFT, -1},
                 {SDLK_LEFT, 0, LEFT, -1},  {SDLK_s, 0, DOWN, -1},      {SDLK_DOWN, 0, DOWN, -1},
                 {SDLK_d, 0, RIGHT, -1},    {SDLK_RIGHT, 0, RIGHT, -1}, {SDLK_z, 0, NONE, 0},
                 {SDLK_LSHIFT, 0, NONE, 0}, {SDLK_SPACE, 0, NONE, 1},   {SDLK_x, 0, NONE, 1},
                 {SDLK_ESCAPE, 0, NONE, 3}, {SDLK_i, 1, UP, -1},        {SDLK_j, 1, LEFT, -1},
                 {SDLK_k, 1, DOWN, -1},     {SDLK_l, 1, RIGHT, -1},     {SDLK_DELETE, 1, NONE, 3},
                 {SDLK_RSHIFT, 1, NONE, 0}, {SDLK_RALT, 1, NONE, 1},    {SDLK_RETURN, 1, NONE, 1},
                 {SDLK_SEMICOLON, 1, NONE, 0}};
    for (const auto& row : table) {
        SCOPED_TRACE(row.key);
        holdOnly({row.key});
        for (int p = 0; p < 2; ++p) {
            EXPECT_EQ(devices[p]->getDirection(), p == row.player ? row.direction : NONE) << p;
            for (int b = 0; b < 4; ++b)
                EXPECT_EQ(devices[p]->isPressed(b), p == row.player && b == row.button) << p << b;
        }
    }
}
