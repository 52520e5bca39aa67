// Field objects: proximity, movement, the boundary rule, the dye trail and blinking.
#include "objects/Charactor.h"
#include "objects/Player.h"
#include "objects/Shot.h"
#include "objects/Sprite.h"
#include "support/HeadlessGame.h"

#include <vector>

namespace {

using CharactorTest = HeadlessGameTest;

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
