// The computer player: how it scores moves, when it decides, and which buttons it holds.
#include "input/CpuInput.h"
#include "input/Direction.h"
#include "support/HeadlessGame.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

using namespace MSDL;
using Threats = std::vector<CpuInput::Threat>;

namespace {

// Inside RANGE and out of every wall's reach.
const Point Q(140, 240);
const Point RANGE(280, 380);
const double DT = 0.02;

}  // namespace

using CpuInputTest = HeadlessGameTest;

// The top wall pushes four times as hard and twice as far as the others.
TEST(CpuInputScore, DangerHitsAndWalls) {
    const double w2 = std::pow(std::atan(1.0), 2);  // the weight of a threat heading straight in
    const double side = 10 / (99.0 * 99);
    const CpuInput::Threat crossing = {Q - Point(0, 3), Point(100, 0)};
    Threats crowd(49, {Q - Point(0, 90), Point(0, 30)});  // each a ninth of w2
    crowd.push_back(crossing);
    Threats crowd50 = crowd;
    crowd50.push_back(crowd[0]);
    const struct {
        Point at;
        Threats threats;
        bool careless;
        double expected;
    } rows[] = {
        {Q, {{Q - Point(0, 10), Point(0, 100)}}, false, 100 * w2},
        {Q, {{Q - Point(0, 80), Point(0, 20)}}, false, 0},  // closing a quarter a second
        {Q, {{Q - Point(0, 10), Point(100, 50)}}, false, 0},  // off course
        // Headings are compared by size alone, so a mirrored course is taken for a straight one.
        {Q, {{Q + Point(10, 10), Point(100, -100) * (1 / std::sqrt(2.0))}}, false, 50 * w2},
        {Q, {crossing}, false, 1000000},  // on it after the frame
        {Q, {{Q - Point(0, 3), Point(300, 0)}}, false, 100000},  // past it, but on it now
        {Q, {crossing}, true, 0},
        // Past 49 dangers or 100 of danger a hit is not dodged at every price.
        {Q, crowd, false, 1000000},
        {Q, crowd50, false, 50 * w2 / 9},
        {Q, {crossing, {Q - Point(0, 5), Point(0, 100)}}, false, 400 * w2},
        {{140, 199}, {}, false, 40 / (199.0 * 199)}, {{140, 200}, {}, false, 0},
        {{99, 250}, {}, false, side},  {{100, 250}, {}, false, 0},
        {{181, 250}, {}, false, side}, {{180, 250}, {}, false, 0},
        {{140, 281}, {}, false, side}, {{140, 280}, {}, false, 0},
        {{0, 250}, {}, false, std::numeric_limits<double>::infinity()},
    };
    for (const auto& row : rows) {
        const double score = CpuInput::score(row.at, row.threats, RANGE, DT, row.careless);
        EXPECT_TRUE(score == row.expected || std::fabs(score - row.expected) < 1e-9)
            << &row - rows << ": " << score;
    }
}

// Stay first, then up and on clockwise, each a step at 150 px/s.
TEST(CpuInputScore, TheMoves) {
    const auto moves = CpuInput::candidates(Q, DT);
    for (int i = 0; i < CpuInput::MOVES; ++i) {
        const Point step = moves[i] - Q;
        EXPECT_EQ(CpuInput::directionOf(i), (step.x > 0 ? RIGHT : 0) | (step.x < 0 ? LEFT : 0) |
                                                (step.y < 0 ? UP : 0) | (step.y > 0 ? DOWN : 0));
        EXPECT_NEAR(step.length(), i == 0 ? 0.0 : 150 * DT, 0.1) << i;
    }
}

// In the open every move scores alike and staying still, the first, wins.
TEST_F(CpuInputTest, ItDecidesOncePerFrameAndDodgesUnlessCareless) {
    std::srand(1);
    game.frameSeconds = DT;
    CpuInput cpu;
    const auto decideAt = [&](const Point& at) {
        game.players[1]->center = at;
        ++game.frameCount;
        return cpu.getDirection();
    };
    EXPECT_EQ(decideAt(Point(140, 250)), NONE);
    EXPECT_EQ(decideAt(Point(0, 250)), RIGHT);
    game.players[1]->center = Point(140, 250);
    EXPECT_EQ(cpu.getDirection(), RIGHT);  // the same frame's answer
    game.addShot(Point(140, 247), Point(100, 0), 0);
    cpu.carelessFrames = 1;  // runs out before this frame is scored
    EXPECT_NE(decideAt(Point(140, 250)), NONE);
    cpu.carelessFrames = 5;
    EXPECT_EQ(decideAt(Point(140, 250)), NONE);
    EXPECT_EQ(cpu.carelessFrames, 4);
    EXPECT_TRUE(cpu.artPlan >= 1 && cpu.artPlan <= 3) << cpu.artPlan;
}

// The plans that press at a buzz: 1 waits for 31, 2 for 61, 3 for 100, 0 (before the first
// frame) and 4 forever. A full eatings gauge spends itself at random instead.
TEST_F(CpuInputTest, TheArtButtonByPlanAndBuzzOrAtRandomWithAFullGauge) {
    CpuInput cpu;
    Player& black = *game.players[1];
    const std::pair<int, std::string> pressing[] = {
        {30, ""}, {31, "1"}, {60, "1"}, {61, "12"}, {99, "12"}, {100, "123"}};
    for (const auto& [buzz, plans] : pressing) {
        black.buzz = buzz;
        for (cpu.artPlan = 0; cpu.artPlan <= 4; ++cpu.artPlan) {
            EXPECT_EQ(cpu.isPressed(1), plans.find(char('0' + cpu.artPlan)) != std::string::npos)
                << buzz << " plan " << cpu.artPlan;
            EXPECT_FALSE(cpu.isPressed(0));
        }
    }
    cpu.artPlan = 3;
    black.artLatch = 1;
    EXPECT_FALSE(cpu.isPressed(1));
    black.artLatch = 0;
    black.eatings = 500;
    int zero = 0, one = 0;
    for (int i = 0; i < 10000; ++i) {
        zero += cpu.isPressed(0);
        one += cpu.isPressed(1);
    }
    EXPECT_NEAR(zero, 5000, 300);
    EXPECT_NEAR(one, 1000, 150);
    black.eatings = 499;
    EXPECT_FALSE(cpu.isPressed(0));
}
