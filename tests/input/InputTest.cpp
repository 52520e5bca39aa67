// The key files (their format, words and messages, the devices they make), the stick's rule,
// and the computer player: where it steps, and which buttons it holds.
#include "core/InputFile.h"
#include "input/CpuInput.h"
#include "input/Direction.h"
#include "input/Error.h"
#include "input/JoystickAxisButtonInput.h"
#include "input/JoystickMgr.h"
#include "input/KeyConf.h"
#include "support/HeadlessGame.h"
#include "support/SdlTest.h"
#include "support/TestDirs.h"

#include <string>
#include <tuple>
#include <vector>

using namespace MSDL;
using KeyFileTest = SdlTest;
using CpuInputTest = HeadlessGameTest;

TEST_F(KeyFileTest, FormatWordsMessagesTheShippedFilesAndTheStick) {
    // A stick past its dead zone: right beats left beats up beats down (a diagonal holds one).
    const int stick[][3] = {{8192, 8192, NONE},   {-8192, -8192, NONE}, {8193, 0, RIGHT},
                            {-8193, 0, LEFT},     {0, -8193, UP},       {0, 8193, DOWN},
                            {8193, -8193, RIGHT}, {-8193, 8193, LEFT}};
    for (const auto& [x, y, direction] : stick)
        EXPECT_EQ(stickDirection(x, y), direction) << x << "," << y;
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

// Stays when safe (by its bonus under the top wall), leaves each corner, dodges unless careless.
TEST_F(CpuInputTest, WhereItSteps) {
    game.frameSeconds = 0.02;
    CpuInput cpu;
    const auto decideAt = [&](const Point& at) {
        game.players[1]->center = at;
        ++game.frameCount;
        return cpu.getDirection();
    };
    const std::vector<int> moves = {decideAt({140, 250}), decideAt({140, 190}), decideAt({280, 0}),
                                    decideAt({280, 380}), decideAt({0, 380}),   decideAt({0, 0})};
    EXPECT_EQ(moves, std::vector<int>({NONE, NONE, DOWN | LEFT, UP | LEFT, UP | RIGHT,
                                       DOWN | RIGHT}));
    game.addShot(Point(140, 247), Point(100, 0), 0);
    cpu.carelessFrames = 1;  // runs out before this frame is scored
    EXPECT_EQ(decideAt(Point(140, 250)), DOWN | RIGHT);
    int dodges = 0;  // a careless spell starts about one frame in 700
    for (int i = 0; i < 100; ++i, cpu.carelessFrames = 0) dodges += decideAt({140, 250}) != NONE;
    EXPECT_GE(dodges, 95);
    cpu.carelessFrames = 2;
    EXPECT_EQ(decideAt(Point(140, 250)), NONE);
    EXPECT_TRUE(cpu.artPlan >= 1 && cpu.artPlan <= 3) << cpu.artPlan;
}

// Plan 1 presses at a buzz of 31, 2 at 61, 3 at 100, 0 (before the first frame) and 4 never. A
// full eatings gauge (500) presses at random instead: button 0 half the time, button 1 a tenth.
TEST_F(CpuInputTest, TheArtButtonByPlanAndBuzzOrAtRandomWithAFullGauge) {
    CpuInput cpu;
    Player& black = *game.players[1];
    black.eatings = 499;  // one short of full
    std::string presses;
    for (int buzz : {30, 31, 60, 61, 99, 100}) {
        black.buzz = buzz;
        presses += cpu.isPressed(0) ? '0' : ' ';
        for (cpu.artPlan = 0; cpu.artPlan <= 4; ++cpu.artPlan)
            presses += cpu.isPressed(1) ? 'x' : '-';
    }
    EXPECT_EQ(presses, " ----- -x--- -x--- -xx-- -xx-- -xxx-");
    black.eatings = 500;
    int pressed[2] = {0, 0};
    for (int i = 0; i < 20000; ++i) pressed[i % 2] += cpu.isPressed(i % 2);
    EXPECT_NEAR(pressed[0], 5000, 300);
    EXPECT_NEAR(pressed[1], 1000, 150);
}
