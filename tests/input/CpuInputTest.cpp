// The computer player: how it scores moves, when it decides, and which buttons it holds.
#include "input/CpuInput.h"
#include "input/Direction.h"
#include "support/HeadlessGame.h"

#include <cmath>
#include <string>
#include <tuple>

using namespace MSDL;
using Threats = std::vector<CpuInput::Threat>;
using CpuInputTest = HeadlessGameTest;

// Inside RANGE and out of every wall's reach.
const Point Q(140, 240);
const Point RANGE(280, 380);
const double DT = 0.02;

TEST(CpuInputScore, DangerHitsAndWalls) {
    const double w2 = std::pow(std::atan(1.0), 2);  // the weight of a threat heading straight in
    const CpuInput::Threat crossing = {Q - Point(0, 3), Point(100, 0)};
    Threats crowd50(50, {Q - Point(0, 90), Point(0, 30)});  // each a ninth of w2
    crowd50.push_back(crossing);
    const Threats crowd(crowd50.begin() + 1, crowd50.end());
    const std::pair<Threats, double> dangers[] = {
        {{{Q - Point(0, 10), Point(0, 100)}}, 100 * w2},
        {{{Q - Point(0, 80), Point(0, 20)}}, 0},        // closing a quarter a second
        {{crossing}, 1000000},                         // on it after the frame
        {{{Q - Point(0, 3), Point(300, 0)}}, 100000},  // past it, but on it now
        // Past 49 dangers or 100 of danger a hit is not dodged at every price.
        {crowd, 1000000},
        {crowd50, 50 * w2 / 9},
        {{crossing, {Q - Point(0, 5), Point(0, 100)}}, 400 * w2},
    };
    for (const auto& [threats, expected] : dangers)
        EXPECT_NEAR(CpuInput::score(Q, threats, RANGE, DT, false), expected, 1e-9) << expected;
    EXPECT_EQ(CpuInput::score(Q, {crossing}, RANGE, DT, true), 0);  // crossing, so no danger
    const double side = 10 / (99.0 * 99);
    const std::pair<Point, double> walls[] = {
        {{140, 199}, 40 / (199.0 * 199)}, {{140, 200}, 0}, {{99, 250}, side}, {{100, 250}, 0},
        {{181, 250}, side}, {{180, 250}, 0}, {{140, 281}, side}, {{140, 280}, 0}};
    for (const auto& [at, expected] : walls)
        EXPECT_NEAR(CpuInput::score(at, {}, RANGE, DT, false), expected, 1e-12)
            << testing::PrintToString(at);
}

// In the open staying still, the first move, wins; under the top wall it wins by its bonus.
TEST_F(CpuInputTest, ItDecidesOncePerFrameAndDodgesUnlessCareless) {
    game.frameSeconds = DT;
    CpuInput cpu;
    const auto decideAt = [&](const Point& at) {
        game.players[1]->center = at;
        ++game.frameCount;
        return cpu.getDirection();
    };
    EXPECT_EQ(decideAt(Point(140, 250)), NONE);
    EXPECT_EQ(decideAt(Point(140, 190)), NONE);
    // On each edge and corner of RANGE (the player's too) the step that gets furthest away wins.
    const std::pair<Point, int> edges[] = {
        {{140, 0}, DOWN},         {{280, 0}, DOWN | LEFT}, {{280, 250}, LEFT},
        {{280, 380}, UP | LEFT},  {{140, 380}, UP},        {{0, 380}, UP | RIGHT},
        {{0, 0}, DOWN | RIGHT},   {{0, 250}, RIGHT}};
    for (const auto& [at, direction] : edges)
        EXPECT_EQ(decideAt(at), direction) << testing::PrintToString(at);
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

// Plan 1 presses at a buzz of 31, 2 at 61, 3 at 100, 0 (before the first frame) and 4 never. A
// full eatings gauge (500) presses at random instead: button 0 half the time, button 1 a tenth.
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
        }
    }
    cpu.artPlan = 3;
    black.artLatch = 1;
    EXPECT_FALSE(cpu.isPressed(1));
    black.artLatch = 0;
    black.buzz = 0;
    for (const auto& [eatings, zero, one] : {std::tuple{499, 0, 0}, {500, 5000, 1000}}) {
        black.eatings = eatings;
        int pressed[2] = {0, 0};
        for (int i = 0; i < 20000; ++i) pressed[i % 2] += cpu.isPressed(i % 2);
        EXPECT_NEAR(pressed[0], zero, 300) << eatings;
        EXPECT_NEAR(pressed[1], one, 150) << eatings;
    }
}
