// Whole matches with the computer on both sides: a couple through the front end to a winner, and
// a long run over every level list and every character's Arts with the field kept bounded.
#include "input/CpuInput.h"
#include "input/Direction.h"
#include "objects/Art.h"
#include "objects/ArtNames.h"
#include "objects/BuzzEffect.h"
#include "objects/Enemy.h"
#include "objects/Shot.h"
#include "support/HeadlessGame.h"
#include "support/MenuScript.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <typeindex>
#include <vector>

namespace {

const Uint32 FRAME_MS = 16;
// An hour of play. Two computers take a while at the low levels, where the rank climbs slowly
// and the field stays sparse (a quarter of an hour for the longest of 66 seeded matches), but
// a match still going at the cap has stopped ending.
const int MAX_FRAMES = 60 * 60 * 1000 / FRAME_MS;
// Every character's every Art comes round on either side in this many matches, and so every
// level list too.
const int ART_ROUND = ART_COLORS * ART_LEVELS;
static_assert(ART_ROUND >= Player::kTopLevel + 1, "a level list left out");
// About a minute under the sanitizers on two cores.
const int DEFAULT_SOAK_MATCHES = 2 * ART_ROUND;

// The frames of a match as play() runs them, on a simulated 16 ms clock so that a seeded run
// repeats itself, to the end or the cap. `afterFrame` runs after every frame. The number of
// frames played.
int playMatch(Game& game, const std::function<void()>& afterFrame) {
    int frames = 0;
    while (!game.matchOver && frames < MAX_FRAMES) {
        ++frames;
        game.runFrame(game.lastTicks + FRAME_MS);
        afterFrame();
    }
    return frames;
}

// A match is won only by the other side's death with no spare life left.
bool someoneLost(const Game& game) {
    return game.players[0]->lives == 0 || game.players[1]->lives == 0;
}

// The computer on a given art plan, noting the type of every Art its player starts. The
// player asks its device for the slow button first and the end button last in its control,
// with the Art button pressed in between: an Art there at the end and not at the start is
// new, even one that ends within its first frame.
class ArtCountingCpu : public CpuInput {
public:
    ArtCountingCpu(int side, int plan, std::map<std::type_index, int>& created)
        : created(created) {
        playerIndex = side;
        artPlan = plan;
    }
    bool isPressed(int button) override {
        const Player& p = *Game::instance()->players[playerIndex];
        if (button == Player::kSlowButton) hadArt = p.art != nullptr;
        if (button == Player::kEndButton && !hadArt && p.art) {
            ++created[typeid(*p.art)];
            ++started;
            hadArt = true;
        }
        return CpuInput::isPressed(button);
    }

    // Arts started through this device.
    int started = 0;

private:
    std::map<std::type_index, int>& created;
    bool hadArt = false;
};

using CpuMatch = HeadlessGameTest;
using Soak = HeadlessGameTest;

}  // namespace

TEST_F(CpuMatch, ComputerAgainstComputerPlaysToAWinner) {
    std::srand(11);
    const int CHOOSE = 0;
    for (int match = 0; match < 2; ++match) {
        SCOPED_TRACE(match);
        // "vs CPU"; white takes the first character, black the fourth in the first match and
        // the first in the second.
        std::vector<MenuStep> steps = {{0, {CHOOSE}}, {0, {CHOOSE}}};
        if (match == 0) steps.insert(steps.end(), {{MSDL::DOWN}, {MSDL::DOWN}});
        steps.emplace_back(match == 0 ? MSDL::DOWN : 0, std::vector<int>{CHOOSE});
        {
            MenuScript menus(*input, steps);
            ASSERT_EQ(game.selectPlayers(), 0);
        }
        // Black is the front end's own computer; white gets a second one through the first
        // device, which the menus have let go of.
        ASSERT_NE(dynamic_cast<CpuInput*>(game.inputs[1].get()), nullptr);
        ASSERT_EQ(game.players[0]->input, input);
        CpuInput white;
        white.playerIndex = 0;
        input->direction = [&white] { return white.getDirection(); };
        input->pressed = [&white](int b) { return white.isPressed(b); };

        game.startMatch(game.lastTicks);
        const int frames = playMatch(game, [] {});
        ASSERT_TRUE(game.matchOver) << "no winner after " << frames << " frames";
        EXPECT_FALSE(game.quitRequested);
        EXPECT_TRUE(someoneLost(game));
        // Both computers moved their players from the starting places.
        EXPECT_NE(game.players[0]->center, Point(100, 350));
        EXPECT_NE(game.players[1]->center, Point(200, 350));
        input->direction = [] { return 0; };
        input->pressed = [](int) { return false; };
        game.reset();
    }
}

TEST_F(Soak, ManyComputerMatchesStayBoundedAndClean) {
    std::srand(8);
    const char* asked = std::getenv("SKELVO_SOAK_MATCHES");
    const int matches = asked && std::atoi(asked) > 0 ? std::atoi(asked) : DEFAULT_SOAK_MATCHES;
    // Until a side's first Art, a graze now and then on top of the computer's own, so that
    // even a short match reaches the plan's price. The gauge climbs one at a time, so each
    // plan buys its own level; after that the match goes on as it would (a steady top-up
    // keeps an aura running for good, and a match under one does not end).
    const int BUZZ_EVERY = 4;

    std::map<std::type_index, int> arts;
    long long totalFrames = 0;
    int longest = 0;
    std::size_t peakObjects = 0, peakSparks = 0;
    for (int match = 0; match < matches; ++match) {
        SCOPED_TRACE("match " + std::to_string(match));
        // Every (character, plan) pair comes round on each side once in ART_ROUND matches.
        const int level = match % (Player::kTopLevel + 1);
        const int character[2] = {match % ART_COLORS, (match + 3) % ART_COLORS};
        // As the front end makes a match: fresh devices, then the players in their places.
        for (auto& p : game.players) p.reset();
        ArtCountingCpu* cpus[2];
        for (int side = 0; side < 2; ++side) {
            const int plan = 1 + (match / ART_COLORS + side) % ART_LEVELS;
            auto cpu = std::make_unique<ArtCountingCpu>(side, plan, arts);
            cpus[side] = cpu.get();
            game.inputs[side] = std::move(cpu);
        }
        game.players[0] = std::make_unique<Player>(Point(100, 350), game.haloImages[0].get(),
                                                   game.inputs[0].get(), 0, character[0], 2);
        game.players[1] = std::make_unique<Player>(Point(200, 350), game.haloImages[1].get(),
                                                   game.inputs[1].get(), 1, character[1], 2);
        game.startMatch(game.lastTicks);
        for (int side = 0; side < 2; ++side) {
            game.players[side]->level = level;
            game.setLevel(side, level);
        }
        int frame = 0;
        std::string unbounded;
        const int frames = playMatch(game, [&] {
            ++frame;
            for (int side = 0; side < 2; ++side) {
                int& buzz = game.players[side]->buzz;
                if (cpus[side]->started == 0 && frame % BUZZ_EVERY == 0)
                    buzz = std::min(buzz + 1, Player::kMaxBuzz);
            }
            const std::size_t objects = game.shots.size() + game.enemies.size();
            peakObjects = std::max(peakObjects, objects);
            peakSparks = std::max(peakSparks, game.buzzEffects.size());
            // Sparks have no cap of their own: what bounds them is that none outlives its
            // 200 ms, so the deque holds what the last 13 frames made and no more. They are
            // oldest first, so the front one is the one to look at.
            const bool staleSpark = !game.buzzEffects.empty() &&
                                    game.buzzEffects.front()->expireTime < game.lastTicks;
            // The shipped patterns never come near the frame's budget for pattern work.
            const bool busy = game.patternWork >= Game::kPatternWorkPerFrame / 2;
            if (unbounded.empty() && (objects > Game::kMaxBullets || staleSpark || busy)) {
                unbounded = "frame " + std::to_string(frame) + ": " + std::to_string(objects) +
                            " shots and enemies, " + (staleSpark ? "a" : "no") +
                            " spark past its time, pattern work " + std::to_string(game.patternWork);
            }
        });
        totalFrames += frames;
        longest = std::max(longest, frames);
        ASSERT_TRUE(unbounded.empty()) << unbounded;
        ASSERT_TRUE(game.matchOver) << "no winner after " << frames << " frames";
        ASSERT_TRUE(someoneLost(game));
        game.reset();
    }
    std::cout << "soak: " << matches << " matches, " << totalFrames << " frames (longest "
              << longest << "), peak " << peakObjects << " shots and enemies and " << peakSparks
              << " sparks, " << arts.size() << " of " << ART_COLORS * ART_LEVELS << " Arts"
              << std::endl;
    if (matches >= ART_ROUND) {
        EXPECT_EQ(arts.size(), std::size_t(ART_COLORS * ART_LEVELS));
    }
}
