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

TEST_F(KeyFileTest, FormatWordsMessagesAndTheShippedFiles) {
    SDL_InitSubSystem(SDL_INIT_JOYSTICK);
    if (SDL_NumJoysticks() > 0) GTEST_SKIP() << "a joystick is attached";
    JoystickMgr joysticks;
    const std::string key = "UP_AXIS KEY_i";
    const std::string line255 = key + std::string(CONF_LINE_MAX - key.size(), ' ');
    // Each file's keys and values, and its message if any. A key that comes again replaces its
    // value; with no joystick attached joystick words are skipped before their rest is read;
    // keys the game has no use for are not read; a last line needs no end.
    const std::tuple<std::string, std::string, ConfMap> rows[] = {
        {"UP_AXIS = KEY_up KEY_w\n  \t LEFT_AXIS   =   KEY_left\t JOY2_x \nRIGHT_AXIS =\n"
         "END KEY_a\n# comment\n\n   # indented\nBUTTON_1 JOY_10 KEY_z # shot\nBUTTON_4 XYZ\n"
         "END KEY_x KEY_f1#c", "f1: unknown key",
         {{"UP_AXIS", "KEY_up KEY_w"}, {"LEFT_AXIS", "KEY_left JOY2_x"}, {"RIGHT_AXIS", ""},
          {"BUTTON_1", "JOY_10 KEY_z"}, {"BUTTON_4", "XYZ"}, {"END", "KEY_x KEY_f1"}}},
        // Only an "=" standing apart is skipped, and only the first.
        {"UP_AXIS=KEY_up\nDOWN_AXIS= KEY_k\nEND = = KEY_a\n",
         "generateButtonInputFromString: unknown string format",
         {{"UP_AXIS=KEY_up", ""}, {"DOWN_AXIS=", "KEY_k"}, {"END", "= KEY_a"}}},
        // A line too long ends the file; the lines before it count.
        {"DOWN_AXIS KEY_k\n" + line255 + "\n" + line255 + "x\nLEFT_AXIS KEY_j\n", "",
         {{"DOWN_AXIS", "KEY_k"}, {"UP_AXIS", "KEY_i"}}},
    };
    for (const auto& [text, message, expected] : rows) {
        SCOPED_TRACE(text);
        ScratchDir dir;
        dir.write("k.conf", text);
        InputFile in(dir.file("k.conf"));
        std::string error;
        try {
            generateConfMap(dir.file("k.conf"));
        } catch (const Error& e) {
            error = e.what();
        }
        EXPECT_EQ(std::make_pair(readConfMap(in), error), std::make_pair(expected, message));
    }

    EXPECT_EQ(keyCodeFromRest("\xE9"), 0xE9);  // a byte above 127 is no negative key
    EXPECT_EQ(std::make_pair(keyCodeFromRest("lshift"), keyCodeFromRest("rshift")),
              std::make_pair(int(SDLK_LSHIFT), int(SDLK_RSHIFT)));
    EXPECT_THROW(joystickPartFromRest("x"), Error);
    EXPECT_EQ(joystickPartFromRest("9").value, 9);

    const auto device = generateConfMap(SKELVO_SOURCE_DIR "/data/1Pkey.conf");
    // SDL_Init clears SDL's key table, which a test writes to hold keys. Held keys add their
    // bits, single characters and named keys alike; button 2 has no key.
    for (int key : {SDLK_w, SDLK_d, SDLK_x, SDLK_ESCAPE}) SDL_GetKeyState(nullptr)[key] = 1;
    EXPECT_EQ(std::make_pair(device->getDirection(), *device->getButtons()),
              std::make_pair(UP | RIGHT, ButtonStates{{0, false}, {1, true}, {3, true}}));
    for (int key : {SDLK_w, SDLK_d}) SDL_GetKeyState(nullptr)[key] = 0;
    for (int key : {SDLK_a, SDLK_s}) SDL_GetKeyState(nullptr)[key] = 1;
    EXPECT_EQ(device->getDirection(), DOWN | LEFT);
}

// Past the dead zone right beats left beats up beats down, so a diagonal holds one half only.
TEST(StickDirection, DeadZoneAndTheFirstMatchingBit) {
    const std::tuple<int, int, int> table[] = {
        {8192, 8192, NONE}, {-8192, -8192, NONE}, {8193, 0, RIGHT},     {-8193, 0, LEFT},
        {0, -8193, UP},     {0, 8193, DOWN},      {8193, -8193, RIGHT}, {-8193, 8193, LEFT}};
    for (const auto& [x, y, direction] : table)
        EXPECT_EQ(stickDirection(x, y), direction) << x << "," << y;
}
