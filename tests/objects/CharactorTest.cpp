// Field objects: proximity, movement, the boundary rule, the dye trail, blinking, and the graze
// and eat sparks: flight to the owner, expiry, the flash, and staying on the surface.
#include "objects/BuzzEffect.h"
#include "objects/Charactor.h"
#include "objects/Player.h"
#include "objects/Shot.h"
#include "objects/Sprite.h"
#include "support/HeadlessGame.h"

#include <vector>

namespace {

struct CharactorTest : HeadlessGameTest {
    // Colour 0, white's own, is an eat spark: only its plus sign. Colour 1 is a graze spark,
    // which also flashes a square of the opposite colour.
    BuzzEffect spark(const Point& at, int c = 0) { return {game.players[0].get(), at, c}; }
    bool untouched(int x, int y) const { return screenAt(x, y) == canvasAt(x, y); }
};

// An object without a picture, placed by its centre alone.
struct Dot : Charactor {
    explicit Dot(const Point& c) : Charactor(c, nullptr, 0) { pos = center = c; }
};

}  // namespace

// Under 20 pixels strictly, between centres truncated toward zero.
TEST_F(CharactorTest, NearMeansUnderTwentyPixelsOfTruncatedCentres) {
    const struct {
        Point a, b;
        bool near;
    } table[] = {{{150, 200}, {170, 200}, false},  {{150, 200}, {150, 180}, false},
                 {{150, 200}, {169, 200}, true},   {{150, 200}, {138, 215}, true},
                 {{150, 200}, {166, 212}, false},  {{150, 200}, {134, 188}, false},
                 {{150, 200}, {170, 220}, false},  {{150, 200}, {150, 200}, true},
                 {{0.9, 5}, {20.5, 5}, false},     {{-0.9, 5}, {19.9, 5}, true},
                 {{5, -0.9}, {5, 19.9}, true}};
    for (const auto& row : table)
        EXPECT_EQ(Dot(row.a).isNear(Dot(row.b)), row.near) << row.b.x << "," << row.b.y;
}

TEST_F(CharactorTest, ObjectsAreClampedByTheirOwnSizeAndDyeingOnesDieOnlyBeyondTheEdge) {
    // A partner-sized object clamped first must not lend its bounds to the player.
    Charactor partner(Point(150, 100), game.enemyImages[0].get(), 0);
    Player& white = *game.players[0];
    partner.pos = Point(1000, 1000);
    partner.checkField();
    EXPECT_EQ(partner.center, Point(288, 388));
    const struct {
        Point from, to;
    } table[] = {{{1000, 1000}, {280, 380}}, {{-5, 170}, {0, 170}}, {{280, -0.5}, {280, 0}}};
    for (const auto& row : table) {
        white.pos = row.from;
        white.checkField();
        EXPECT_EQ(white.pos, row.to);
        EXPECT_EQ(white.center, row.to + Point(10, 10));
    }
    EXPECT_TRUE(white.alive);

    const double w = field().x, h = field().y;
    const struct {
        Point at;
        bool alive;
    } shots[] = {{{w, 200}, true},          {{0, 0}, true},          {{150, h}, true},
                 {{w, h}, true},            {{w + 0.01, 200}, false}, {{-0.01, 5}, false},
                 {{5, h + 1}, false},       {{7, -1}, false}};
    for (const auto& row : shots) {
        Shot& s = game.addShot(row.at, Point(0, 0), 1);
        const Point before = s.pos;
        s.checkField();
        EXPECT_EQ(s.alive, row.alive) << row.at.x << "," << row.at.y;
        EXPECT_EQ(s.pos, before);  // dyeing objects are not pushed back
    }
}

// On the game's own 16-bit canvas with its own stamps: a dye too faint for the canvas to show,
// or stamps too far apart, leave pixels of the path as they were.
TEST_F(CharactorTest, AShotFliesStraightAndLeavesAnUnbrokenTrailOfItsColour) {
    Shot& s = game.addShot(Point(100.7, 100.2), Point(100, -50), 1);
    EXPECT_EQ(s.sprite->image, game.shotImages[1].get());
    game.frameSeconds = 0.1;
    s.update();
    s.update();
    EXPECT_NEAR(s.center.x, 120.7, 1e-9);
    EXPECT_NEAR(s.center.y, 90.2, 1e-9);

    const int y = 200;
    const SDL_PixelFormat* format = game.window->getCanvas().getSurface()->format;
    for (int colour : {0, 1}) {
        for (int fps : {1000, 60}) {
            game.shots.clear();
            game.window->resetCanvas();
            std::vector<Uint32> before;
            for (int x = 0; x < field().x; ++x) before.push_back(canvasAt(x, y));
            game.addShot(Point(0, y), Point(150, 0), colour);
            game.frameSeconds = 1.0 / fps;
            for (int frame = 0; !game.shots.empty() && frame < 10 * fps; ++frame) {
                game.updateAll();
                game.sweep();
            }
            // White lightens every channel, black darkens it, all along the centre line.
            for (int x = 4; x < field().x - 4; ++x) {
                Uint8 was[3], now[3];
                SDL_GetRGB(before[x], format, &was[0], &was[1], &was[2]);
                SDL_GetRGB(canvasAt(x, y), format, &now[0], &now[1], &now[2]);
                for (int ch = 0; ch < 3; ++ch)
                    ASSERT_TRUE(colour == 0 ? now[ch] > was[ch] : now[ch] < was[ch])
                        << "colour " << colour << " at " << fps << " fps, x " << x;
            }
        }
    }
}

TEST_F(CharactorTest, AStillObjectStampsOnceItHasSavedAStampsWorthOfItsColoursRate) {
    for (const auto& [colour, frames] : {std::pair{0, 8}, {1, 16}}) {
        Shot& still = game.addShot(Point(150, 300), Point(0, 0), colour);
        still.dyeCredit = 0;
        still.lastStamp = still.pos;
        for (int f = 1; f < frames; ++f) still.dye();
        EXPECT_GT(still.dyeCredit, 0) << colour;
        still.dye();
        EXPECT_EQ(still.dyeCredit, 0) << colour;
    }
}

TEST_F(CharactorTest, BlinkingHidesTheFirstHalfOfEvery128ms) {
    Sprite s(game.shotImages[0].get());
    for (Uint32 now : {0u, 63u, 127u, 0xffffffffu}) EXPECT_TRUE(s.isVisible(now));
    s.blink = true;
    for (Uint32 now : {0u, 63u, 128u, 191u, 0xffffff80u}) EXPECT_FALSE(s.isVisible(now)) << now;
    for (Uint32 now : {64u, 127u, 192u, 255u, 0xffffffffu}) EXPECT_TRUE(s.isVisible(now)) << now;
    const Uint32 field = screenAt(54, 54);
    s.draw(*game.window, Point(50, 50), 1024);  // hidden
    EXPECT_EQ(screenAt(54, 54), field);
    s.draw(*game.window, Point(50, 50), 1010);  // shown
    EXPECT_NE(screenAt(54, 54), field);
}

// Past the right edge a row wraps onto the next; past the bottom and above the top lies memory
// that is not the surface's.
TEST_F(CharactorTest, SparksStayOnTheSurfaceAndVanishAtTheTopAndLeftEdgesAndBeyondTheOthers) {
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
        {{w - 1, h - 1}, 1, true, {{W - 1, H - 1}, {W - 6, H - 6}},
         {{W - 7, H - 1}, {W - 1, H - 7}, {0, 0}}},
        {{1, 1}, 1, true, {{0, 0}, {6, 6}}, {{7, 1}, {1, 7}}},
        {{0.9, 200}, 0, false, {}, {{1, 200}}},
        {{200, 0.5}, 0, false, {}, {{200, 1}}},
        {{-3, 200}, 0, false, {}, {}},      {{w, 200}, 0, false, {}, {}},
        {{150, h}, 0, false, {}, {}},       {{w - 0.1, 210}, 0, true, {}, {}},
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

TEST_F(CharactorTest, ASparkFliesToItsOwnerAndStopsOnIt) {
    game.frameSeconds = 0.1;
    const Point owner = game.players[0]->center;
    // Off the axes the pull is slower: (0.5, 0.5) of 100 pixels per second.
    for (auto [from, to] : {std::pair{Point(0, -100), Point(0, -90)},
                            {Point(-50, -50), Point(-45, -45)}, {Point(0, 0), Point(0, 0)}}) {
        BuzzEffect s = spark(owner + from);
        s.update();
        EXPECT_EQ(s.pos, owner + to);
        EXPECT_TRUE(s.alive);
    }
}

TEST_F(CharactorTest, ASparkLivesFor200msAndOnlyAGrazeFlashesInItsFirst50ms) {
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
