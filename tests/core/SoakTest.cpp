// The computer on both sides of many whole matches, every character and level list coming
// round: each match ends with a winner and the field stays bounded.
#include "input/CpuInput.h"
#include "objects/ArtNames.h"
#include "objects/BuzzEffect.h"
#include "objects/Shot.h"
#include "support/HeadlessGame.h"

#include <algorithm>
#include <cstdlib>

using Soak = HeadlessGameTest;

TEST_F(Soak, ComputerMatchesEndWithAWinnerAndStayBounded) {
    std::srand(8);
    const char* asked = std::getenv("SKELVO_SOAK_MATCHES");
    // About a minute under the sanitizers on two cores.
    const int matches =
        asked && std::atoi(asked) > 0 ? std::atoi(asked) : 2 * ART_COLORS * ART_LEVELS;
    // An hour of play on a 16 ms clock: a match still going then has stopped ending.
    const int maxFrames = 60 * 60 * 1000 / 16;
    for (int match = 0; match < matches; ++match) {
        SCOPED_TRACE("match " + std::to_string(match));
        // As the front end makes a match: fresh devices, then the players in their places,
        // each side on its own character, Art plan and level list.
        for (auto& p : game.players) p.reset();
        for (int side = 0; side < 2; ++side) {
            auto cpu = std::make_unique<CpuInput>(side);
            cpu->artPlan = 1 + (match / ART_COLORS + side) % ART_LEVELS;
            game.players[side] = std::make_unique<Player>(
                Point(100 + 100 * side, 350), game.haloImages[side].get(), cpu.get(), side,
                (match + 3 * side) % ART_COLORS, 2);
            game.inputs[side] = std::move(cpu);
        }
        game.startMatch(game.lastTicks);
        for (int side = 0; side < 2; ++side) {
            game.players[side]->level = match % (Player::kTopLevel + 1);
            game.setLevel(side, game.players[side]->level);
        }
        bool artSeen[2] = {false, false};
        int frame = 0;
        for (; !game.matchOver && frame < maxFrames; ++frame) {
            game.runFrame(game.lastTicks + 16);
            // Until a side's first Art, a graze now and then, so that even a short match
            // reaches the plan's price.
            for (int side = 0; side < 2; ++side) {
                Player& p = *game.players[side];
                artSeen[side] = artSeen[side] || p.art;
                if (!artSeen[side] && frame % 4 == 0)
                    p.buzz = std::min(p.buzz + 1, Player::kMaxBuzz);
            }
            // Sparks have no cap of their own: none outlives its 200 ms, the front one oldest.
            ASSERT_LE(game.shots.size() + game.enemies.size(), Game::kMaxBullets) << frame;
            ASSERT_TRUE(game.buzzEffects.empty() ||
                        game.buzzEffects.front()->expireTime >= game.lastTicks)
                << frame;
        }
        ASSERT_TRUE(game.matchOver) << "no winner after " << frame << " frames";
        EXPECT_FALSE(game.quitRequested);
        EXPECT_EQ(std::min(game.players[0]->lives, game.players[1]->lives), 0);
        EXPECT_TRUE(artSeen[0] || artSeen[1]);
        game.reset();
    }
}
