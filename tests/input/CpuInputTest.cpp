// The computer player: how it scores moves, when it decides, and which buttons it holds.
#include "core/Random.h"
#include "input/CpuInput.h"
#include "input/Direction.h"
#include "objects/Shot.h"
#include "support/HeadlessGame.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <utility>

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

}  // namespace

TEST(CpuInputScore, ThreatHeadingStraightAtTheCandidate) {
    // 10 px away at 100 px/s: ratio 10, fully on course.
    const Threats headOn = {{Q - Point(0, 10), Point(0, 100)}};
    EXPECT_NEAR(CpuInput::score(Q, headOn, OPEN_RANGE, DT, false), 100 * std::pow(QUARTER_PI, 2),
                1e-6);
    // Going away, too slow for its distance, or more than 45 degrees off course: no danger.
    const Threats harmless = {{Q - Point(0, 10), Point(0, -100)},
                              {Q - Point(0, 80), Point(0, 20)},
                              {Q - Point(0, 10), Point(100, 50)}};
    EXPECT_EQ(CpuInput::score(Q, harmless, OPEN_RANGE, DT, false), 0.0);
    // Headings are compared by size alone, so a mirrored course is taken for a straight one.
    const Threats mirrored = {{Q + Point(10, 10), Point(100, -100) * (1 / std::sqrt(2.0))}};
    EXPECT_NEAR(CpuInput::score(Q, mirrored, OPEN_RANGE, DT, false),
                std::pow(100 / std::hypot(10, 10), 2) * std::pow(QUARTER_PI, 2), 1e-6);
}

TEST(CpuInputScore, ImminentHitsUnlessCarelessOrHopeless) {
    // Crossing 3 px in front: on the candidate after the frame, and within 4 px now.
    const Threats crossing = {{Q - Point(0, 3), Point(100, 0)}};
    EXPECT_EQ(CpuInput::score(Q, crossing, OPEN_RANGE, DT, false), 1000000.0);
    // Faster, it is past the candidate after the frame but still on it now.
    const Threats passing = {{Q - Point(0, 3), Point(300, 0)}};
    EXPECT_EQ(CpuInput::score(Q, passing, OPEN_RANGE, DT, false), 100000.0);
    EXPECT_EQ(CpuInput::score(Q, crossing, OPEN_RANGE, DT, true), 0.0);

    // Past 100 of danger, or past 49 threats adding some, a hit is not dodged at every price.
    Threats crowd = crossing;
    const CpuInput::Threat slow = {Q - Point(0, 90), Point(0, 30)};
    crowd.insert(crowd.end(), 49, slow);
    EXPECT_EQ(CpuInput::score(Q, crowd, OPEN_RANGE, DT, false), 1000000.0);
    crowd.push_back(slow);
    EXPECT_LT(CpuInput::score(Q, crowd, OPEN_RANGE, DT, false), 100.0);
    Threats headOn = crossing;
    headOn.push_back({Q - Point(0, 5), Point(0, 100)});
    EXPECT_LT(CpuInput::score(Q, headOn, OPEN_RANGE, DT, false), 1000.0);
}

TEST(CpuInputScore, WallsAndRange) {
    const Point range(280, 380);
    EXPECT_EQ(CpuInput::score(Point(0, 300), {}, range, DT, false),
              std::numeric_limits<double>::infinity());
    std::array<Point, CpuInput::MOVES> at;
    // Ties go to the lower index: 3 and 5 lie 50 px from opposite walls.
    at.fill(Point(20, 300));
    at[0] = Point(0, 300);
    at[3] = Point(50, 300);
    at[5] = Point(230, 300);
    EXPECT_EQ(CpuInput::choose(at, {}, range, DT, false), 3);
    // Far outside the range the walls hardly count, but it is never a move.
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
}

TEST(CpuInputScore, EachMoveGoesWhereItsDirectionSays) {
    const auto at = CpuInput::candidates(Q, DT);
    EXPECT_EQ(at[0], Q);
    for (int i = 0; i < CpuInput::MOVES; ++i) {
        SCOPED_TRACE(i);
        const Point step = at[i] - Q;
        const int d = CpuInput::directionOf(i);
        EXPECT_EQ(step.x > 0, (d & RIGHT) != 0);
        EXPECT_EQ(step.x < 0, (d & LEFT) != 0);
        EXPECT_EQ(step.y < 0, (d & UP) != 0);
        EXPECT_EQ(step.y > 0, (d & DOWN) != 0);
        EXPECT_NEAR(step.length(), i == 0 ? 0.0 : 150 * DT, 0.1);
    }
}

TEST_F(CpuInputTest, WithoutThreatsTheWallsDecide) {
    EXPECT_EQ(decideAt(Point(140, 250)), NONE);
    EXPECT_EQ(decideAt(Point(0, 250)), RIGHT);
    // The top wall reaches twice as far as the others.
    EXPECT_EQ(decideAt(Point(140, 110)), DOWN);
    // The start is near the bottom wall and nearer the bottom than the right.
    EXPECT_EQ(decideAt(Point(200, 350)), UP);
}

TEST_F(CpuInputTest, DodgesAShotUnlessCareless) {
    game.addShot(Point(140, 247), Point(100, 0), 0);
    cpu.carelessFrames = 1;  // runs out before this frame is scored
    EXPECT_NE(decideAt(Point(140, 250)), NONE);
    cpu.carelessFrames = 5;
    EXPECT_EQ(decideAt(Point(140, 250)), NONE);
    EXPECT_EQ(cpu.carelessFrames, 4);
    // Its own colour's shots are no threat.
    game.shots.clear();
    game.addShot(Point(140, 247), Point(100, 0), 1);
    cpu.carelessFrames = 0;
    EXPECT_EQ(decideAt(Point(140, 250)), NONE);
}

TEST_F(CpuInputTest, CarelessSpellsAreRareAndShort) {
    int spells = 0;
    for (int f = 0; f < 20000; ++f) {
        const int before = cpu.carelessFrames;
        decideAt(Point(140, 250));
        if (before == 0 && cpu.carelessFrames > 0) {
            ++spells;
            EXPECT_GE(cpu.carelessFrames, 10);
            EXPECT_LE(cpu.carelessFrames, 30);
        }
    }
    // About one in 700 of the frames that are not already careless.
    EXPECT_GT(spells, 10);
    EXPECT_LT(spells, 60);
}

TEST_F(CpuInputTest, DecidesOncePerFrame) {
    black().center = Point(0, 250);
    ++game.frameCount;
    std::srand(7);
    CpuInput once;
    once.getDirection();
    const int afterOneDecision = std::rand();

    std::srand(7);
    EXPECT_EQ(cpu.getDirection(), RIGHT);
    black().center = Point(140, 250);
    EXPECT_EQ(cpu.getDirection(), RIGHT);
    EXPECT_EQ(std::rand(), afterOneDecision);

    ++game.frameCount;
    EXPECT_EQ(cpu.getDirection(), NONE);
}

TEST_F(CpuInputTest, ArtPlanIsChosenOnTheFirstFrameAndKept) {
    int seen[5] = {};
    for (int i = 0; i < 300; ++i) {
        CpuInput c;
        c.getDirection();
        ++seen[c.artPlan];
    }
    EXPECT_EQ(seen[0], 0);
    for (int plan = 1; plan <= 3; ++plan) EXPECT_GT(seen[plan], 60) << plan;
    EXPECT_LE(seen[4], 2);

    // Plan 4 takes the top draw: find a seed that starts with it, and keep the draw for the plan.
    unsigned seed = 0;
    for (std::srand(seed); randomDraw() != 32767; std::srand(++seed)) ASSERT_LT(seed, 1u << 30);
    std::srand(seed);
    cpu.carelessFrames = 5;
    decideAt(Point(140, 250));
    decideAt(Point(140, 250));
    EXPECT_EQ(cpu.artPlan, 4);
}

TEST_F(CpuInputTest, ArtButtonByPlanAndBuzz) {
    // Below a full eatings gauge, the plans (0 being before the first frame) that press at a
    // buzz: 1 waits for 31, 2 for 61, 3 for 100, 4 forever.
    const std::pair<int, std::string> pressing[] = {
        {30, ""}, {31, "1"}, {60, "1"}, {61, "12"}, {99, "12"}, {100, "123"}};
    for (const auto& [buzz, plans] : pressing) {
        black().buzz = buzz;
        for (int plan = 0; plan <= 4; ++plan) {
            cpu.artPlan = plan;
            const bool expected = plans.find(char('0' + plan)) != std::string::npos;
            EXPECT_EQ(cpu.isPressed(1), expected) << buzz << " plan " << plan;
            EXPECT_FALSE(cpu.isPressed(0));
        }
    }
    black().artLatch = 1;
    EXPECT_FALSE(cpu.isPressed(1));
    EXPECT_FALSE(cpu.isPressed(2));
    EXPECT_FALSE(cpu.isPressed(3));
}

TEST_F(CpuInputTest, FullEatingsPressesAtRandom) {
    black().eatings = 500;
    cpu.artPlan = 4;
    int zero = 0, one = 0;
    for (int i = 0; i < 10000; ++i) {
        zero += cpu.isPressed(0);
        one += cpu.isPressed(1);
    }
    EXPECT_NEAR(zero, 5000, 300);
    EXPECT_NEAR(one, 1000, 150);
    black().artLatch = 1;
    for (int i = 0; i < 100; ++i) ASSERT_FALSE(cpu.isPressed(1));
}
