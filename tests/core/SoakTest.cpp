// The computer on both sides of many whole matches: every level list and every character's
// Arts come round, each match ends with a winner, and the field stays bounded.
#include "input/CpuInput.h"
#include "objects/Art.h"
#include "objects/ArtNames.h"
#include "objects/BuzzEffect.h"
#include "objects/Enemy.h"
#include "objects/Shot.h"
#include "support/HeadlessGame.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <set>
#include <string>
#include <typeindex>

namespace {

// Every character's every Art comes round on either side in this many matches, and so every
// level list too.
const int ART_ROUND = ART_COLORS * ART_LEVELS;
static_assert(ART_ROUND >= Player::kTopLevel + 1, "a level list left out");

// The computer on a given art plan, noting the type of every Art its player starts. The
// player asks its device for the slow button first and the end button last in its control,
// with the Art button pressed in between: an Art there at the end and not at the start is
// new, even one that ends within its first frame.
struct ArtCountingCpu : CpuInput {
    ArtCountingCpu(int side, int plan, std::set<std::type_index>& arts) : arts(arts) {
        playerIndex = side;
        artPlan = plan;
    }
    bool isPressed(int button) override {
        const Player& p = *Game::instance()->players[playerIndex];
        if (button == Player::kSlowButton) hadArt = p.art != nullptr;
        if (button == Player::kEndButton && !hadArt && p.art) {
            arts.insert(typeid(*p.art));
            hadArt = started = true;
        }
        return CpuInput::isPressed(button);
    }

    std::set<std::type_index>& arts;
    bool hadArt = false;
    bool started = false;  // an Art, through this device
};

}  // namespace

using Soak = HeadlessGameTest;

TEST_F(Soak, ComputerMatchesEndWithAWinnerAndStayBounded) {
    std::srand(8);
    const char* asked = std::getenv("SKELVO_SOAK_MATCHES");
    // About a minute under the sanitizers on two cores.
    const int matches = asked && std::atoi(asked) > 0 ? std::atoi(asked) : 2 * ART_ROUND;
    // An hour of play on a 16 ms clock, so that a seeded run repeats itself. Two computers
    // take a while at the low levels, where the rank climbs slowly and the field stays
    // sparse, but a match still going at the cap has stopped ending.
    const int maxFrames = 60 * 60 * 1000 / 16;
    std::set<std::type_index> arts;
    long long frames = 0;
    for (int match = 0; match < matches; ++match) {
        SCOPED_TRACE("match " + std::to_string(match));
        // As the front end makes a match: fresh devices, then the players in their places.
        // Every (character, plan) pair comes round on each side once in ART_ROUND matches.
        for (auto& p : game.players) p.reset();
        ArtCountingCpu* cpus[2];
        for (int side = 0; side < 2; ++side) {
            const int plan = 1 + (match / ART_COLORS + side) % ART_LEVELS;
            game.inputs[side] = std::make_unique<ArtCountingCpu>(side, plan, arts);
            cpus[side] = static_cast<ArtCountingCpu*>(game.inputs[side].get());
            game.players[side] = std::make_unique<Player>(
                Point(100 + 100 * side, 350), game.haloImages[side].get(), cpus[side], side,
                (match + 3 * side) % ART_COLORS, 2);
        }
        game.startMatch(game.lastTicks);
        for (int side = 0; side < 2; ++side) {
            game.players[side]->level = match % (Player::kTopLevel + 1);
            game.setLevel(side, game.players[side]->level);
        }
        std::string unbounded;
        int frame = 0;
        while (!game.matchOver && frame < maxFrames && unbounded.empty()) {
            game.runFrame(game.lastTicks + 16);
            ++frame;
            // Until a side's first Art, a graze now and then on top of the computer's own, so
            // that even a short match reaches the plan's price. The gauge climbs one at a time,
            // so each plan buys its own level; after that the match goes on as it would.
            for (int side = 0; side < 2; ++side) {
                int& buzz = game.players[side]->buzz;
                if (!cpus[side]->started && frame % 4 == 0)
                    buzz = std::min(buzz + 1, Player::kMaxBuzz);
            }
            const std::size_t objects = game.shots.size() + game.enemies.size();
            // Sparks have no cap of their own: none outlives its 200 ms, and the front one is
            // the oldest. The shipped patterns never come near the frame's pattern budget.
            const bool staleSpark = !game.buzzEffects.empty() &&
                                    game.buzzEffects.front()->expireTime < game.lastTicks;
            if (objects > Game::kMaxBullets || staleSpark ||
                game.patternWork >= Game::kPatternWorkPerFrame / 2)
                unbounded = "frame " + std::to_string(frame) + ": " + std::to_string(objects) +
                            " shots and enemies, " + (staleSpark ? "a" : "no") +
                            " spark past its time, pattern work " +
                            std::to_string(game.patternWork);
        }
        frames += frame;
        ASSERT_EQ(unbounded, "");
        ASSERT_TRUE(game.matchOver) << "no winner after " << frame << " frames";
        EXPECT_FALSE(game.quitRequested);
        EXPECT_EQ(std::min(game.players[0]->lives, game.players[1]->lives), 0);
        // Both computers steered their players away from the starting places.
        EXPECT_NE(game.players[0]->center, Point(100, 350));
        EXPECT_NE(game.players[1]->center, Point(200, 350));
        game.reset();
    }
    std::cout << "soak: " << matches << " matches, " << frames << " frames, " << arts.size()
              << " of " << ART_ROUND << " Arts" << std::endl;
    EXPECT_TRUE(matches < ART_ROUND || arts.size() == std::size_t(ART_ROUND)) << arts.size();
}
