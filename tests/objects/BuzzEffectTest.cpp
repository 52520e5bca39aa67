// Graze and eat sparks: flight to the owner, expiry, the flash, and staying on the surface.
#include "objects/BuzzEffect.h"
#include "support/HeadlessGame.h"

#include <vector>

namespace {

struct BuzzEffectTest : HeadlessGameTest {
    Player& white() { return *game.players[0]; }
    // Colour 0, white's own, is an eat spark: only its plus sign. Colour 1 is a graze spark,
    // which also flashes a square of the opposite colour.
    BuzzEffect spark(const Point& at, int c = 0) { return BuzzEffect(&white(), at, c); }
    bool untouched(int x, int y) const { return screenAt(x, y) == canvasAt(x, y); }
};

}  // namespace

// Past the right edge a row wraps onto the next; past the bottom and above the top lies memory
// that is not the surface's.
TEST_F(BuzzEffectTest, SparksStayOnTheSurfaceAndVanishAtTheTopAndLeftEdgesAndBeyondTheOthers) {
    const double w = field().x, h = field().y;
    const int W = static_cast<int>(w), H = static_cast<int>(h);
    const struct {
        Point at;
        int color;
        bool alive;
        std::vector<std::pair<int, int>> inked, untouched;
    } table[] = {
        {{w - 1, 200}, 0, true, {{W - 1, 200}, {W - 3, 200}}, {{0, 201}, {1, 201}}},
        {{1, 100}, 0, true, {{0, 100}, {3, 100}}, {{W - 1, 99}}},
        {{150, h - 1}, 0, true, {{150, H - 1}, {150, H - 3}}, {}},
        {{150, 1}, 0, true, {{150, 0}, {150, 3}}, {}},
        {{w - 1, h - 1}, 1, true, {{W - 1, H - 1}, {W - 6, H - 6}}, {{W - 7, H - 1}, {W - 1, H - 7}, {0, 0}}},
        {{1, 1}, 1, true, {{0, 0}, {6, 6}}, {{7, 1}, {1, 7}}},
        {{0.9, 200}, 0, false, {}, {{1, 200}}},
        {{200, 0.5}, 0, false, {}, {{200, 1}}},
        {{-3, 200}, 0, false, {}, {}},
        {{w, 200}, 0, false, {}, {}},
        {{150, h}, 0, false, {}, {}},
        {{w - 0.1, 210}, 0, true, {}, {}},
        {{150, h - 0.5}, 0, true, {}, {}},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(testing::Message() << row.at.x << "," << row.at.y);
        game.window->clear();
        BuzzEffect s = spark(row.at, row.color);
        s.update();
        EXPECT_EQ(s.alive, row.alive);
        for (auto [x, y] : row.inked) EXPECT_EQ(screenAt(x, y), mapped(WHITE)) << x << "," << y;
        for (auto [x, y] : row.untouched) EXPECT_TRUE(untouched(x, y)) << x << "," << y;
    }
}

TEST_F(BuzzEffectTest, FliesToItsOwnerAndStopsOnIt) {
    game.frameSeconds = 0.1;
    const Point owner = white().center;
    // Off the axes the pull is slower: (0.5, 0.5) of 100 pixels per second.
    for (auto [from, to] : {std::pair{Point(0, -100), Point(0, -90)},
                            {Point(-50, -50), Point(-45, -45)}, {Point(0, 0), Point(0, 0)}}) {
        BuzzEffect s = spark(owner + from);
        s.update();
        EXPECT_EQ(s.pos, owner + to);
        EXPECT_TRUE(s.alive);
    }
}

TEST_F(BuzzEffectTest, LivesFor200msAndOnlyAGrazeFlashesInItsFirst50ms) {
    BuzzEffect graze = spark(Point(150, 200), 1);
    BuzzEffect eat = spark(Point(50, 200));
    game.lastTicks = 1049;
    graze.update();
    eat.update();
    EXPECT_EQ(screenAt(155, 205), mapped(WHITE));
    EXPECT_TRUE(untouched(55, 205));
    game.window->clear();
    game.lastTicks = 1050;
    graze.update();
    EXPECT_TRUE(untouched(155, 205));
    EXPECT_EQ(screenAt(150, 200), mapped(BLACK));  // the plus alone, in the spark's colour
    game.lastTicks = 1200;
    graze.update();
    EXPECT_TRUE(graze.alive);
    game.window->clear();
    game.lastTicks = 1201;
    graze.update();
    EXPECT_FALSE(graze.alive);
    EXPECT_TRUE(untouched(150, 200));
    game.lastTicks = 1100;
    graze.update();
    EXPECT_TRUE(untouched(150, 200));
}
