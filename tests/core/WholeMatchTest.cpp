// A whole match with the default configuration: both sides scripted from the first frame to a
// winner, through the same frame steps as play().
#include "input/Direction.h"
#include "objects/Player.h"
#include "support/HeadlessGame.h"

#include <cstdlib>

namespace {

const Uint32 FRAME_MS = 16;
// Three minutes of play; the shipped partners settle a match of idle players in well under one.
const int MAX_FRAMES = 3 * 60 * 1000 / FRAME_MS;

// Taps the Art button every `period` frames and holds the direction the script gives.
void script(ScriptedInput& device, const int& frame, int period, int (*direction)(int)) {
    device.direction = [&frame, direction] { return direction(frame); };
    device.pressed = [&frame, period](int b) {
        return b == Player::kArtButton && frame % period == 0;
    };
}

}  // namespace

using WholeMatch = HeadlessGameTest;

TEST_F(WholeMatch, TwoScriptedPlayersPlayAMatchToAWinner) {
    std::srand(7);
    int frame = 0;
    // White keeps sidestepping; black stands still. Both tap the Art button now and then.
    script(*input, frame, 40, [](int f) { return f / 30 % 2 ? MSDL::LEFT : MSDL::RIGHT; });
    script(*input2, frame, 25, [](int) { return 0; });
    game.startMatch(game.lastTicks);
    while (!game.matchOver && frame < MAX_FRAMES) {
        ++frame;
        game.runFrame(game.lastTicks + FRAME_MS);
    }
    ASSERT_TRUE(game.matchOver) << "no winner after " << frame << " frames";
    EXPECT_FALSE(game.quitRequested);
    // The winner's word is on the screen in its character's colour: red for white, purple for
    // black. The loser has no life left.
    const auto inked = [this](Color c) {
        int n = 0;
        for (int y = 200; y < 230; ++y)
            for (int x = 150; x < 300; ++x) n += screenAt(x, y) == mapped(c);
        return n > 20;
    };
    ASSERT_EQ(game.players[0]->artColor, 0);
    ASSERT_EQ(game.players[1]->artColor, 5);
    ASSERT_NE(inked(RED), inked(PURPLE));
    const int loser = inked(RED) ? 1 : 0;
    EXPECT_EQ(game.players[loser]->lives, 0);
}
