// The computer player: how it scores moves, when it decides, and which buttons it holds.
#include "input/CpuInput.h"
#include "input/Direction.h"
#include "objects/Shot.h"
#include "support/HeadlessGame.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

using namespace MSDL;
using Threats = std::vector<CpuInput::Threat>;

namespace {

// Far from every wall of this range, so only threats count.
const Point OPEN_RANGE(1000, 1000);
const Point Q(500, 500);
const double DT = 0.02;
const double QUARTER_PI = std::atan(1.0);

class CpuInputTest : public HeadlessGameTest {
protected:
    CpuInputTest() {
        std::srand(1);
        game.frameSeconds = DT;
    }
    Player& black() { return *game.players[1]; }
    // A new frame's decision for black standing at `at`.
    int decideAt(const Point& at) {
        black().center = at;
        ++game.frameCount;
        return cpu.getDirection();
    }

    CpuInput cpu;
};

double score(const Threats& threats, bool careless = false) {
    return CpuInput::score(Q, threats, OPEN_RANGE, DT, careless);
}

}  // namespace

TEST(CpuInputScore, DangerAndImminentHitsUnlessCarelessOrHopeless) {
    // 10 px away at 100 px/s: ratio 10, fully on course.
    EXPECT_NEAR(score({{Q - Point(0, 10), Point(0, 100)}}), 100 * std::pow(QUARTER_PI, 2), 1e-6);
    // Going away, too slow for its distance, or more than 45 degrees off course: no danger.
    EXPECT_EQ(score({{Q - Point(0, 10), Point(0, -100)},
                     {Q - Point(0, 80), Point(0, 20)},
                     {Q - Point(0, 10), Point(100, 50)}}),
              0.0);
    // Headings are compared by size alone, so a mirrored course is taken for a straight one.
    EXPECT_NEAR(score({{Q + Point(10, 10), Point(100, -100) * (1 / std::sqrt(2.0))}}),
                std::pow(100 / std::hypot(10, 10), 2) * std::pow(QUARTER_PI, 2), 1e-6);

    // Crossing 3 px in front: on the candidate after the frame; faster, past it but on it now.
    const Threats crossing = {{Q - Point(0, 3), Point(100, 0)}};
    EXPECT_EQ(score(crossing), 1000000.0);
    EXPECT_EQ(score({{Q - Point(0, 3), Point(300, 0)}}), 100000.0);
    EXPECT_EQ(score(crossing, true), 0.0);
    // Past 100 of danger, or past 49 threats adding some, a hit is not dodged at every price.
    Threats crowd = crossing;
    crowd.insert(crowd.end(), 49, {Q - Point(0, 90), Point(0, 30)});
    EXPECT_EQ(score(crowd), 1000000.0);
    crowd.push_back(crowd.back());
    EXPECT_LT(score(crowd), 100.0);
    Threats headOn = crossing;
    headOn.push_back({Q - Point(0, 5), Point(0, 100)});
    EXPECT_LT(score(headOn), 1000.0);
}

TEST(CpuInputScore, WallsRangeTiesAndTheMoves) {
    const Point range(280, 380);
    EXPECT_EQ(CpuInput::score(Point(0, 300), {}, range, DT, false),
              std::numeric_limits<double>::infinity());
    std::array<Point, CpuInput::MOVES> at;
    // Ties go to the lower index: 3 and 5 lie 50 px from opposite walls; 7 is never a move.
    at.fill(Point(20, 300));
    at[0] = Point(0, 300);
    at[3] = Point(50, 300);
    at[5] = Point(230, 300);
    at[7] = Point(1000, 300);
    EXPECT_EQ(CpuInput::choose(at, {}, range, DT, false), 3);
    // Standing still is favoured by a twentieth of its score.
    at.fill(Point(50, 300));
    at[0] = Point(49, 300);
    EXPECT_EQ(CpuInput::choose(at, {}, range, DT, false), 0);
    at[0] = Point(47, 300);
    EXPECT_EQ(CpuInput::choose(at, {}, range, DT, false), 1);
    at.fill(Point(-1, 300));
    EXPECT_EQ(CpuInput::choose(at, {}, range, DT, false), 0);

    const auto moves = CpuInput::candidates(Q, DT);
    for (int i = 0; i < CpuInput::MOVES; ++i) {
        SCOPED_TRACE(i);
        const Point step = moves[i] - Q;
        const int d = CpuInput::directionOf(i);
        EXPECT_EQ(step.x > 0, (d & RIGHT) != 0);
        EXPECT_EQ(step.x < 0, (d & LEFT) != 0);
        EXPECT_EQ(step.y < 0, (d & UP) != 0);
        EXPECT_EQ(step.y > 0, (d & DOWN) != 0);
        EXPECT_NEAR(step.length(), i == 0 ? 0.0 : 150 * DT, 0.1);
    }
}

TEST_F(CpuInputTest, TheWallsAndTheShotsDecideOncePerFrame) {
    EXPECT_EQ(decideAt(Point(140, 250)), NONE);
    EXPECT_EQ(decideAt(Point(0, 250)), RIGHT);
    // The top wall reaches twice as far as the others.
    EXPECT_EQ(decideAt(Point(140, 110)), DOWN);
    EXPECT_EQ(decideAt(Point(200, 350)), UP);

    // Asked again in the same frame it keeps its answer.
    EXPECT_EQ(decideAt(Point(0, 250)), RIGHT);
    black().center = Point(140, 250);
    EXPECT_EQ(cpu.getDirection(), RIGHT);

    game.addShot(Point(140, 247), Point(100, 0), 0);
    cpu.carelessFrames = 1;  // runs out before this frame is scored
    EXPECT_NE(decideAt(Point(140, 250)), NONE);
    cpu.carelessFrames = 5;
    EXPECT_EQ(decideAt(Point(140, 250)), NONE);
    EXPECT_EQ(cpu.carelessFrames, 4);
}

// About one in 700 of the frames that are not already careless starts a spell of 10 to 30; the
// plan is drawn on the first frame, 1 to 3.
TEST_F(CpuInputTest, CarelessSpellsAreRareAndShortAndTheArtPlanIsDrawnOnce) {
    int spells = 0, seen[5] = {};
    for (int f = 0; f < 20000; ++f) {
        const int before = cpu.carelessFrames;
        decideAt(Point(140, 250));
        if (before == 0 && cpu.carelessFrames > 0) {
            ++spells;
            EXPECT_GE(cpu.carelessFrames, 10);
            EXPECT_LE(cpu.carelessFrames, 30);
        }
        if (f < 300) {
            CpuInput fresh;
            fresh.getDirection();
            ++seen[fresh.artPlan];
        }
    }
    EXPECT_GT(spells, 10);
    EXPECT_LT(spells, 60);
    EXPECT_EQ(seen[0], 0);
    for (int plan = 1; plan <= 3; ++plan) EXPECT_GT(seen[plan], 60) << plan;
    EXPECT_LE(seen[4], 2);
}

TEST_F(CpuInputTest, TheArtButtonByPlanAndBuzzOrAtRandomWithAFullGauge) {
    // Plans (0 being before the first frame) that press at a buzz: 1 waits for 31, 2 for 61,
    // 3 for 100, 4 forever.
    const std::pair<int, std::string> pressing[] = {
        {30, ""}, {31, "1"}, {60, "1"}, {61, "12"}, {99, "12"}, {100, "123"}};
    for (const auto& [buzz, plans] : pressing) {
        black().buzz = buzz;
        for (int plan = 0; plan <= 4; ++plan) {
            cpu.artPlan = plan;
            EXPECT_EQ(cpu.isPressed(1), plans.find(char('0' + plan)) != std::string::npos)
                << buzz << " plan " << plan;
            EXPECT_FALSE(cpu.isPressed(0));
        }
    }
    black().eatings = 500;
    cpu.artPlan = 4;
    int zero = 0, one = 0;
    for (int i = 0; i < 10000; ++i) {
        zero += cpu.isPressed(0);
        one += cpu.isPressed(1);
        ASSERT_FALSE(cpu.isPressed(2));
    }
    EXPECT_NEAR(zero, 5000, 300);
    EXPECT_NEAR(one, 1000, 150);
    black().eatings = 499;
    EXPECT_FALSE(cpu.isPressed(0));
    black().eatings = 500;
    black().artLatch = 1;
    for (int i = 0; i < 100; ++i) ASSERT_FALSE(cpu.isPressed(1));
}
