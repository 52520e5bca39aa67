// The computer player: how it scores a place, where it steps, and which buttons it holds.
#include "input/CpuInput.h"
#include "input/Direction.h"
#include "support/HeadlessGame.h"

#include <string>
#include <tuple>
#include <vector>

using namespace MSDL;
using CpuInputTest = HeadlessGameTest;

// Q lies inside the range and out of every wall's reach; the walls push from just inside it.
TEST(CpuInputScore, HitsDangerAndWalls) {
    const Point Q(140, 240);
    const std::tuple<Point, std::vector<CpuInput::Threat>, double> rows[] = {
        {Q, {{Q - Point(0, 3), Point(100, 0)}}, 1000000},  // on it after the frame
        {Q, {{Q - Point(0, 3), Point(300, 0)}}, 100000},  // past it, but on it now
        {Q, {{Q - Point(0, 80), Point(0, 20)}}, 0},       // closing only a quarter a second
        {Q, {{Q - Point(0, 10), Point(0, 100)}}, 61.68502750680849},  // 10 squared by (pi/4)^2
        {{99, 199}, {}, 10 / (99.0 * 99) + 40 / (199.0 * 199)}, {{100, 200}, {}, 0},
        {{181, 281}, {}, 20 / (99.0 * 99)},                     {{180, 280}, {}, 0}};
    for (const auto& [at, threats, expected] : rows)
        EXPECT_NEAR(CpuInput::score(at, threats, Point(280, 380), 0.02, false), expected, 1e-9)
            << testing::PrintToString(at) << " " << expected;
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
