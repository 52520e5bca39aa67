// The computer on both sides of whole matches, every character and level list coming round:
// each match ends with a winner and the field stays bounded.
#include "input/CpuInput.h"
#include "objects/ArtNames.h"
#include "objects/BuzzEffect.h"
#include "support/HeadlessGame.h"

#include <algorithm>
#include <cstdlib>

using Soak = HeadlessGameTest;

TEST_F(Soak, ComputerMatchesEndWithAWinnerAndStayBounded) {
    std::srand(8);
    const char* asked = std::getenv("SKELVO_SOAK_MATCHES");
    const int matches =
        asked && std::atoi(asked) > 0 ? std::atoi(asked) : 2 * ART_COLORS * ART_LEVELS;
    for (int match = 0; match < matches; ++match) {
        SCOPED_TRACE("match " + std::to_string(match));
        // As the front end makes a match: fresh devices, then the players in their places.
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
        bool artSeen = false;
        // An hour of play on a 16 ms clock: a match still going then has stopped ending.
        for (int frame = 0; !game.matchOver && frame < 60 * 60 * 1000 / 16; ++frame) {
            game.runFrame(game.lastTicks + 16);
            // Until the first Art, a graze now and then, so even a short match reaches a price.
            for (auto& p : game.players) {
                artSeen = artSeen || p->art;
                if (!artSeen && frame % 4 == 0) p->buzz = std::min(p->buzz + 1, Player::kMaxBuzz);
            }
            // Sparks have no cap of their own: none outlives its 200 ms, the front one oldest.
            ASSERT_LE(game.shots.size() + game.enemies.size(), Game::kMaxBullets) << frame;
            ASSERT_TRUE(game.buzzEffects.empty() ||
                        game.buzzEffects.front()->expireTime >= game.lastTicks);
        }
        ASSERT_TRUE(game.matchOver);
        EXPECT_EQ(std::make_tuple(game.quitRequested, artSeen), std::make_tuple(false, true));
        EXPECT_EQ(std::min(game.players[0]->lives, game.players[1]->lives), 0);
        game.reset();
    }
}
