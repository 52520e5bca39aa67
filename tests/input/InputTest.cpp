// The key files: their format, words and messages, the devices they make; the stick's rule.
#include "core/InputFile.h"
#include "input/Direction.h"
#include "input/Error.h"
#include "input/JoystickAxisButtonInput.h"
#include "input/JoystickMgr.h"
#include "input/KeyConf.h"
#include "support/SdlTest.h"
#include "support/TestDirs.h"

#include <string>
#include <tuple>

using namespace MSDL;

using KeyFileTest = SdlTest;

// Each row's file is read for its keys and values, and refused with the row's message if any.
TEST_F(KeyFileTest, FormatWordsMessagesAndTheShippedFiles) {
    // With no joystick attached every joystick word is skipped.
    SDL_InitSubSystem(SDL_INIT_JOYSTICK);
    if (SDL_NumJoysticks() > 0) GTEST_SKIP() << "a joystick is attached";
    JoystickMgr joysticks;
    const std::string key = "UP_AXIS KEY_i";
    const std::string line255 = key + std::string(CONF_LINE_MAX - key.size(), ' ');
    const std::string line256 = key + " #" + std::string(256 - key.size() - 2, 'x');
    const std::string format = "generateButtonInputFromString: unknown string format";
    const struct {
        std::string text, error;
        ConfMap expected;
    } rows[] = {
        // A key that comes again replaces its value. Joystick words are skipped before their
        // rest is read; keys the game has no use for are not read.
        {"UP_AXIS = KEY_up KEY_w\n  \t LEFT_AXIS   =   KEY_left\t JOY2_x \nRIGHT_AXIS =\n"
         "END KEY_a\n# comment\n\n   # indented\nBUTTON_1 KEY_z # shot\nEND JOY_10 KEY_x#c\n"
         "OTHER XYZ\n",
         "",
         {{"UP_AXIS", "KEY_up KEY_w"}, {"LEFT_AXIS", "KEY_left JOY2_x"}, {"RIGHT_AXIS", ""},
          {"BUTTON_1", "KEY_z"}, {"END", "JOY_10 KEY_x"}, {"OTHER", "XYZ"}}},
        // Only an "=" standing apart is skipped, and only the first.
        {"UP_AXIS=KEY_up\nDOWN_AXIS= KEY_k\nEND = = KEY_a\n", format,
         {{"UP_AXIS=KEY_up", ""}, {"DOWN_AXIS=", "KEY_k"}, {"END", "= KEY_a"}}},
        // A line too long ends the file; the lines before it count.
        {"DOWN_AXIS KEY_k\n" + line255 + "\n" + line256 + "\nLEFT_AXIS KEY_j\n", "",
         {{"DOWN_AXIS", "KEY_k"}, {"UP_AXIS", "KEY_i"}}},
        // A last line needs no end.
        {"BUTTON_1 KEY_z KEY_f1", "f1: unknown key", {{"BUTTON_1", "KEY_z KEY_f1"}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        ScratchDir dir;
        dir.write("k.conf", row.text);
        InputFile in(dir.file("k.conf"));
        EXPECT_EQ(readConfMap(in), row.expected);
        std::string error;
        try {
            generateConfMap(dir.file("k.conf"));
        } catch (const Error& e) {
            error = e.what();
        }
        EXPECT_EQ(error, row.error);
    }

    // One name of each kind: a single character (above 127 too) and a word.
    const std::pair<const char*, int> names[] = {{"A", 'A'}, {"\xE9", 0xE9}, {"lctrl", SDLK_LCTRL}};
    for (const auto& [rest, code] : names) EXPECT_EQ(keyCodeFromRest(rest), code) << rest;
    EXPECT_THROW(joystickPartFromRest("10"), Error);

    const auto device = generateConfMap(SKELVO_SOURCE_DIR "/data/1Pkey.conf");
    // SDL's own key table is writable (and cleared by SDL_Init): a test holds a key by setting
    // it. Held keys add their bits; each button key has its own button, button 2 none.
    for (int key : {SDLK_w, SDLK_d, SDLK_x, SDLK_ESCAPE}) SDL_GetKeyState(nullptr)[key] = 1;
    EXPECT_EQ(std::make_pair(device->getDirection(), *device->getButtons()),
              std::make_pair(UP | RIGHT, ButtonStates{{0, false}, {1, true}, {3, true}}));
}

// Past the dead zone right beats left beats up beats down, so a diagonal holds one half only.
TEST(StickDirection, DeadZoneAndTheFirstMatchingBit) {
    const std::tuple<int, int, int> table[] = {
        {8192, 8192, NONE}, {-8192, -8192, NONE}, {8193, 0, RIGHT},     {-8193, 0, LEFT},
        {0, -8193, UP},     {0, 8193, DOWN},      {8193, -8193, RIGHT}, {-8193, 8193, LEFT}};
    for (const auto& [x, y, direction] : table)
        EXPECT_EQ(stickDirection(x, y), direction) << x << "," << y;
}
