// How hard each level is: the computer against itself with both sides' partners held at one
// level, counting its deaths and the bullets on the field.
//   bench_difficulty [SEEDS [LEVEL ...]]   SEEDS seeded matches (default 16) per level, at
//                                          the levels given (default 0 to 10)
//   bench_difficulty --list FILE ...       the partners play the action file FILE instead of
//                                          the level's list, to weigh patterns one by one
// Each match runs two minutes of game time on a 16 ms clock through the game's own start and
// frame. Before every frame both players' eatings and buzz are set to 0 (so no level changes
// and no Art starts) and their lives topped up (so the match never ends); the rank climbs by
// the rules.
#include "BenchGame.h"
#include "input/CpuInput.h"
#include "objects/Enemy.h"
#include "objects/Player.h"
#include "script/ActionList.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <vector>

namespace {

// One turn of the patterns per frame, as at 62.5 frames a second.
const Uint32 FRAME_TICKS = 16;
const int MATCH_MINUTES = 2;
const int MATCH_FRAMES = MATCH_MINUTES * 60 * 1000 / FRAME_TICKS;
const int DEFAULT_SEEDS = 16;
const unsigned FIRST_SEED = 1000u;
const int LIVES = 2;

struct Match {
    int deaths[2] = {0, 0};
    double bulletFrames = 0.0;  // bullets on the field, summed over the frames
    std::size_t peakBullets = 0;
    long peakWork = 0;  // the most pattern work of a frame, against Game::kPatternWorkPerFrame
    double rank[2] = {0.0, 0.0};  // at the end
};

// Shots and the enemies that dye: the bullets a player meets.
std::size_t bullets(const Game& game) {
    std::size_t n = game.shots.size();
    for (const auto& e : game.enemies) n += e->dyeing;
    return n;
}

// The partners play `list` when it is set, their level's list otherwise.
Match play(BenchGame& bench, int level, ActionList* list, unsigned seed) {
    Game& game = bench.game;
    game.reset();
    for (int side = 0; side < 2; ++side) game.inputs[side] = std::make_unique<CpuInput>(side);
    bench.placePlayers();
    std::srand(seed);
    game.startMatch(BenchGame::kStartTicks);
    for (int side = 0; side < 2; ++side) {
        game.players[side]->level = level;
        game.setLevel(side, level);
    }
    if (list) {
        std::vector<Enemy*> partners;
        for (int side = 0; side < 2; ++side) game.collectStillEnemies(side, partners);
        for (Enemy* e : partners) e->setActions(list);
    }
    Match m;
    for (int frame = 0; frame < MATCH_FRAMES; ++frame) {
        for (auto& p : game.players) {
            p->eatings = 0;
            p->buzz = 0;
            p->lives = LIVES;
        }
        game.runFrame(game.lastTicks + FRAME_TICKS);
        for (int side = 0; side < 2; ++side) m.deaths[side] += LIVES - game.players[side]->lives;
        const std::size_t n = bullets(game);
        m.bulletFrames += static_cast<double>(n);
        m.peakBullets = std::max(m.peakBullets, n);
        m.peakWork = std::max(m.peakWork, game.patternWork);
    }
    for (int side = 0; side < 2; ++side) m.rank[side] = game.players[side]->rank;
    return m;
}

void report(BenchGame& bench, int level, ActionList* list, int seeds) {
    // Each side's deaths in each match are one sample of the rate.
    std::vector<double> rates;
    double bulletFrames = 0.0, rank = 0.0;
    std::size_t peak = 0;
    long work = 0;
    for (int s = 0; s < seeds; ++s) {
        const Match m = play(bench, level, list, FIRST_SEED + static_cast<unsigned>(s));
        for (int side = 0; side < 2; ++side) {
            rates.push_back(m.deaths[side] / static_cast<double>(MATCH_MINUTES));
            rank += m.rank[side] / (2.0 * seeds);
        }
        bulletFrames += m.bulletFrames;
        peak = std::max(peak, m.peakBullets);
        work = std::max(work, m.peakWork);
    }
    double mean = 0.0;
    for (double r : rates) mean += r / static_cast<double>(rates.size());
    double variance = 0.0;
    for (double r : rates) variance += (r - mean) * (r - mean) / (rates.size() - 1.0);
    const double error = std::sqrt(variance / static_cast<double>(rates.size()));
    std::printf("%5d %10.2f %6.2f %12.1f %12zu %9.2f %10ld\n", level, mean, error,
                bulletFrames / (static_cast<double>(seeds) * MATCH_FRAMES), peak, rank, work);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    try {
        int first = 1;
        const char* listFile = nullptr;
        if (argc > 2 && std::strcmp(argv[1], "--list") == 0) {
            listFile = argv[2];
            first = 3;
        }
        const int seeds = argc > first ? std::atoi(argv[first]) : DEFAULT_SEEDS;
        if (seeds < 2) {
            std::fprintf(stderr,
                         "usage: bench_difficulty [--list FILE] [SEEDS (2 or more) [LEVEL ...]]\n");
            return 1;
        }
        std::vector<int> levels;
        for (int i = first + 1; i < argc; ++i) levels.push_back(std::atoi(argv[i]));
        if (levels.empty())
            for (int l = 0; l <= Player::kTopLevel; ++l) levels.push_back(l);

        BenchGame bench;
        // Read from the game's directory, where BenchGame has gone, like the game's own lists.
        std::unique_ptr<ActionList> list;
        if (listFile) list = std::make_unique<ActionList>(listFile);
        std::printf("computer against computer, %d seeds x %d minutes per level, %u ms frames\n",
                    seeds, MATCH_MINUTES, FRAME_TICKS);
        std::printf("%5s %10s %6s %12s %12s %9s %10s\n", "level", "deaths/min", "+-", "mean bullets",
                    "peak bullets", "end rank", "peak work");
        for (int level : levels) report(bench, level, list.get(), seeds);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
