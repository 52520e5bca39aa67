// Graze and eat sparks: flight to the owner, expiry, the flash, and staying on the surface.
#include "objects/BuzzEffect.h"
#include "support/HeadlessGame.h"

#include <cmath>

namespace {

struct BuzzEffectTest : HeadlessGameTest {
    BuzzEffectTest() { game.frameSeconds = 0.0; }  // sparks stay where they are put

    Player& white() { return *game.players[0]; }
    // An eat spark draws only its plus sign, in its own colour.
    BuzzEffect eat(const Point& at) { return BuzzEffect(&white(), at, 0); }
    // A graze spark also flashes a square of the opposite colour.
    BuzzEffect graze(const Point& at) { return BuzzEffect(&white(), at, 1); }
    bool untouched(int x, int y) const { return screenAt(x, y) == canvasAt(x, y); }
};

}  // namespace

TEST_F(BuzzEffectTest, PlusSignStaysOnTheSurfaceAtEveryEdge) {
    const int w = static_cast<int>(field().x);
    const int h = static_cast<int>(field().y);
    const Uint32 ink = mapped(WHITE);

    BuzzEffect right = eat(Point(w - 1, 200));
    right.update();
    EXPECT_TRUE(right.alive);
    EXPECT_EQ(screenAt(w - 1, 200), ink);
    EXPECT_EQ(screenAt(w - 3, 200), ink);
    // Past the right edge a row wraps onto the start of the next.
    EXPECT_TRUE(untouched(0, 201));
    EXPECT_TRUE(untouched(1, 201));

    game.window->clear();
    BuzzEffect left = eat(Point(1, 100));
    left.update();
    EXPECT_EQ(screenAt(0, 100), ink);
    EXPECT_EQ(screenAt(3, 100), ink);
    EXPECT_TRUE(untouched(w - 1, 99));  // x = -1 would be the end of the row above

    // Past the bottom and above the top lies memory that is not the surface's.
    game.window->clear();
    BuzzEffect bottom = eat(Point(150, h - 1));
    bottom.update();
    EXPECT_EQ(screenAt(150, h - 1), ink);
    EXPECT_EQ(screenAt(150, h - 3), ink);
    BuzzEffect top = eat(Point(150, 1));
    top.update();
    EXPECT_EQ(screenAt(150, 0), ink);
    EXPECT_EQ(screenAt(150, 3), ink);
}

TEST_F(BuzzEffectTest, FlashIsClippedAtTheCorners) {
    const int w = static_cast<int>(field().x);
    const int h = static_cast<int>(field().y);
    const Uint32 flash = mapped(WHITE);  // a black spark flashes white

    BuzzEffect low = graze(Point(w - 1, h - 1));
    low.update();
    EXPECT_EQ(screenAt(w - 1, h - 1), flash);
    EXPECT_EQ(screenAt(w - 6, h - 6), flash);
    EXPECT_TRUE(untouched(w - 7, h - 1));
    EXPECT_TRUE(untouched(w - 1, h - 7));
    EXPECT_TRUE(untouched(0, 0));

    BuzzEffect high = graze(Point(1, 1));
    high.update();
    EXPECT_EQ(screenAt(0, 0), flash);
    EXPECT_EQ(screenAt(6, 6), flash);
    EXPECT_TRUE(untouched(7, 1));
    EXPECT_TRUE(untouched(1, 7));
}

TEST_F(BuzzEffectTest, VanishesAtTheTopAndLeftEdgesAndBeyondTheOthers) {
    const double w = field().x;
    const double h = field().y;
    for (const Point& gone : {Point(0.9, 200), Point(200, 0.5), Point(-3, 200), Point(w, 200),
                              Point(150, h), Point(150, h + 20)}) {
        BuzzEffect s = eat(gone);
        s.update();
        EXPECT_FALSE(s.alive) << gone.x << "," << gone.y;
    }
    // A vanished spark leaves no mark.
    EXPECT_TRUE(untouched(1, 200));
    EXPECT_TRUE(untouched(200, 1));
    for (const Point& kept : {Point(1, 1), Point(w - 0.1, 200), Point(150, h - 0.5)}) {
        BuzzEffect s = eat(kept);
        s.update();
        EXPECT_TRUE(s.alive) << kept.x << "," << kept.y;
    }
}

TEST_F(BuzzEffectTest, FliesToItsOwnerAndStopsOnIt) {
    game.frameSeconds = 0.1;
    const Point owner = white().center;
    BuzzEffect below = eat(owner + Point(0, -100));
    below.update();
    EXPECT_EQ(below.pos, owner + Point(0, -90));
    // Off the axes the pull is slower: (0.5, 0.5) of 100 pixels per second.
    BuzzEffect diagonal = eat(owner + Point(-50, -50));
    diagonal.update();
    EXPECT_EQ(diagonal.pos, owner + Point(-45, -45));
    // Sitting on the owner it stays there rather than becoming not-a-number.
    BuzzEffect on = eat(owner);
    on.update();
    EXPECT_EQ(on.pos, owner);
    EXPECT_TRUE(on.alive);
}

TEST_F(BuzzEffectTest, LivesFor200msAndThenDrawsNothing) {
    BuzzEffect s = eat(Point(150, 200));
    EXPECT_EQ(s.expireTime, 1200u);
    game.lastTicks = 1200;
    s.update();
    EXPECT_TRUE(s.alive);
    game.window->clear();
    game.lastTicks = 1201;
    s.update();
    EXPECT_FALSE(s.alive);
    EXPECT_TRUE(untouched(150, 200));
    game.lastTicks = 1100;
    s.update();
    EXPECT_TRUE(untouched(150, 200));
}

TEST_F(BuzzEffectTest, OnlyAGrazeFlashesAndOnlyInItsFirst50ms) {
    const Uint32 flash = mapped(WHITE);
    BuzzEffect g = graze(Point(150, 200));
    BuzzEffect e = eat(Point(50, 200));
    game.lastTicks = 1049;
    g.update();
    e.update();
    EXPECT_EQ(screenAt(155, 205), flash);
    EXPECT_TRUE(untouched(55, 205));

    game.window->clear();
    game.lastTicks = 1050;
    g.update();
    EXPECT_TRUE(untouched(155, 205));
    EXPECT_EQ(screenAt(150, 200), mapped(BLACK));  // the plus alone, in the spark's colour
}
