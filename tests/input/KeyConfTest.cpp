// The key configuration format, its source words, and the devices files (ours too) describe.
#include "InputTestSupport.h"

#include "input/ButtonAxisInput.h"
#include "input/Direction.h"
#include "input/Error.h"
#include "input/KeyButtonInput.h"
#include "input/KeyConf.h"
#include "support/TestDirs.h"

#include <sstream>
#include <string>

using namespace MSDL;

namespace {

// The message of the MSDL::Error that reading `word` throws, or "" if none.
std::string wordError(const std::string& word) {
    try {
        generateButtonInputFromString(word);
    } catch (const Error& e) {
        return e.what();
    }
    return "";
}

int keyOf(const std::string& word) {
    const auto source = generateButtonInputFromString(word);
    const auto* key = dynamic_cast<const KeyButtonInput*>(source.get());
    return key ? key->getKey() : -1;
}

// What generateConfMap writes on standard output and standard error, and the device.
std::unique_ptr<Input> loadQuietly(const std::string& file, std::string* out, std::string* err) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    auto input = generateConfMap(file);
    *out = testing::internal::GetCapturedStdout();
    *err = testing::internal::GetCapturedStderr();
    return input;
}

using KeyConf = inputtest::SdlTest;

}  // namespace

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
        std::istringstream in(row.text);
        EXPECT_EQ(readConfMap(in), row.expected);
    }
}

TEST(ConfWords, KeysByCharacterOrNameAndJoystickRests) {
    // The shipped files' test reads the other names through the keys they hold.
    const std::pair<std::string, int> keys[] = {{"z", 122},      {"A", 65},       {"\xE9", 0xE9},
                                                {"tab", 9},      {"insert", 277}, {"rctrl", 305},
                                                {"lalt", 308},   {"lctrl", 306}};
    for (const auto& [rest, code] : keys) EXPECT_EQ(keyOf("KEY_" + rest), code) << rest;
    const std::pair<std::string, JoystickPart> parts[] = {
        {"0", {false, 0}},      {"9", {false, 9}},         {"UP", {true, UP}},
        {"RIGHT", {true, RIGHT}}, {"DOWN", {true, DOWN}}, {"LEFT", {true, LEFT}}};
    for (const auto& [rest, part] : parts) {
        EXPECT_EQ(joystickPartFromRest(rest).isAxis, part.isAxis) << rest;
        EXPECT_EQ(joystickPartFromRest(rest).value, part.value) << rest;
    }
    for (const char* rest : {"10", "x", "up", "", "-", "UPPER", "/"}) {
        try {
            joystickPartFromRest(rest);
            ADD_FAILURE() << "read the joystick rest \"" << rest << "\"";
        } catch (const Error& e) {
            EXPECT_EQ(e.what(), rest + std::string(": unknown key"));
        }
    }
}

// Each message a bad word in a key file ends the game with.
TEST(ConfWords, UnreadableWords) {
    const std::pair<const char*, const char*> table[] = {
        {"KEY_f1", "f1: unknown key"},
        {"KEY_UP", "UP: unknown key"},
        {"KEY_", ": unknown key"},
        {"KEY_a_b", "a_b: unknown key"},
        {"XYZ", "generateButtonInputFromString: unknown string format"},
        {"key_a", "generateButtonInputFromString: unknown string format"},
        {"JOY3_1", "generateButtonInputFromString: unknown string format"},
        {"", "generateButtonInputFromString: unknown string format"}};
    for (const auto& [word, message] : table) EXPECT_EQ(wordError(word), message) << word;
    // Joystick words need a JoystickMgr.
    EXPECT_THROW(generateButtonInputFromString("JOY_0"), Error);
}

TEST_F(KeyConf, AFileGivesOneAxisAndFourButtonsSkippingMissingJoysticksAndUnknownKeys) {
    if (joystickAttached()) GTEST_SKIP() << "a joystick is attached";
    makeJoysticks();
    ScratchDir dir;
    dir.write("test.conf",
              "UP_AXIS = KEY_up JOY2_UP JOY_x\nRIGHT_AXIS = KEY_right KEY_d\nDOWN_AXIS KEY_down\n"
              "LEFT_AXIS = KEY_left JOY_10\nBUTTON_1 KEY_z JOY1_nonsense KEY_lshift\n"
              "BUTTON_2 = KEY_x JOY_0\nBUTTON_3 = KEY_c\nEND = KEY_escape JOY2_3\n"
              "SOMETHING_ELSE = KEY_f1 XYZ\n");
    std::string out, err;
    auto input = loadQuietly(dir.file("test.conf"), &out, &err);
    EXPECT_EQ(out, "joystick inited.\nfailed open joystick 1\nfailed open joystick 0\n");
    ASSERT_EQ(input->getAxes().size(), 1u);
    const auto& axis = dynamic_cast<const ButtonAxisInput&>(*input->getAxes()[0]);
    for (int d : {UP, DOWN, LEFT}) EXPECT_EQ(axis.sourceCount(d), 1u) << d;
    EXPECT_EQ(axis.sourceCount(RIGHT), 2u);
    const int counts[] = {2, 1, 1, 1, 0};
    for (int b = 0; b < 5; ++b) EXPECT_EQ(input->sourceCount(b), counts[b]) << b;
    for (int k : {SDLK_d, SDLK_UP, SDLK_LSHIFT, SDLK_c}) keys[k] = 1;
    EXPECT_EQ(input->getDirection(), UP | RIGHT);
    EXPECT_EQ(*input->getButtons(), (ButtonStates{{0, true}, {1, false}, {2, true}, {3, false}}));

    dir.write("bad.conf", "UP_AXIS KEY_up\nBUTTON_1 KEY_z KEY_f1\n");
    try {
        generateConfMap(dir.file("bad.conf"));
        FAIL() << "read KEY_f1";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "f1: unknown key");
    }

    // A missing file says so and gives a device that never reports anything.
    std::fill(keys, keys + keyCount, Uint8(1));
    auto none = loadQuietly(dir.file("nowhere.conf"), &out, &err);
    EXPECT_EQ(err, dir.file("nowhere.conf") + ": file not found in generateConfMap\n");
    EXPECT_FALSE(none->isAnyPressed());
}

// Two people share one keyboard: no key of one file moves or presses for the other.
TEST_F(KeyConf, TheShippedFilesLoadAndDriveOnlyTheirOwnPlayer) {
    if (joystickAttached()) GTEST_SKIP() << "a joystick is attached";
    makeJoysticks();
    std::unique_ptr<Input> devices[2];
    std::string out, err;
    for (int p = 0; p < 2; ++p) {
        const char* name = p == 0 ? "/data/1Pkey.conf" : "/data/2Pkey.conf";
        devices[p] = loadQuietly(SKELVO_SOURCE_DIR + std::string(name), &out, &err);
        EXPECT_EQ(err, "") << name;
    }
    const struct {
        int key, player, direction, button;
    } table[] = {{SDLK_w, 0, UP, -1},        {SDLK_UP, 0, UP, -1},        {SDLK_a, 0, LEFT, -1},
                 {SDLK_s, 0, DOWN, -1},      {SDLK_RIGHT, 0, RIGHT, -1},
                 {SDLK_DOWN, 0, DOWN, -1},   {SDLK_LEFT, 0, LEFT, -1},    {SDLK_LSHIFT, 0, NONE, 0},  {SDLK_z, 0, NONE, 0},
                 {SDLK_SPACE, 0, NONE, 1},   {SDLK_ESCAPE, 0, NONE, 3},   {SDLK_i, 1, UP, -1},
                 {SDLK_j, 1, LEFT, -1},      {SDLK_k, 1, DOWN, -1},       {SDLK_l, 1, RIGHT, -1},
                 {SDLK_SEMICOLON, 1, NONE, 0}, {SDLK_RSHIFT, 1, NONE, 0}, {SDLK_RALT, 1, NONE, 1},
                 {SDLK_RETURN, 1, NONE, 1},  {SDLK_DELETE, 1, NONE, 3}};
    for (const auto& row : table) {
        SCOPED_TRACE(row.key);
        releaseAll();
        keys[row.key] = 1;
        for (int p = 0; p < 2; ++p) {
            EXPECT_EQ(devices[p]->getDirection(), p == row.player ? row.direction : NONE) << p;
            for (int b = 0; b < 4; ++b)
                EXPECT_EQ(devices[p]->isPressed(b), p == row.player && b == row.button) << p << b;
        }
    }
}
