// Shots: straight flight, the dye trail, and death at the field's edge.
#include "objects/Shot.h"
#include "support/HeadlessGame.h"

#include <vector>

namespace {

struct ShotTest : HeadlessGameTest {
    // An opaque stamp, so that where the dye lands can be seen exactly.
    void opaqueDye(int c) {
        game.dyeImages[c] = std::make_unique<Window>(Point(8, 8), 16, 0);
        game.dyeImages[c]->fillRect(nullptr, RED);
    }
};

}  // namespace

TEST_F(ShotTest, FliesStraightAndStampsItsDyeWhereItIsDrawn) {
    opaqueDye(1);
    Shot& s = game.addShot(Point(100.7, 100.2), Point(100, -50), 1);
    EXPECT_TRUE(s.dyeing);
    EXPECT_EQ(s.color, 1);
    EXPECT_EQ(s.sprite->image, game.shotImages[1].get());

    game.frameSeconds = 0.1;
    s.update();
    EXPECT_NEAR(s.center.x, 110.7, 1e-9);
    EXPECT_NEAR(s.center.y, 95.2, 1e-9);
    // The stamp's corner is the shot's corner (106.7, 91.2), truncated.
    const Uint32 red = mapped(RED);
    EXPECT_EQ(canvasAt(106, 91), red);
    EXPECT_EQ(canvasAt(113, 98), red);
    EXPECT_NE(canvasAt(105, 91), red);
    EXPECT_NE(canvasAt(106, 90), red);
    EXPECT_NE(canvasAt(114, 98), red);
    // The sprite goes to the screen only; the canvas keeps the dye alone.
    EXPECT_NE(screenAt(110, 95), red);

    s.update();
    EXPECT_NEAR(s.center.x, 120.7, 1e-9);
    EXPECT_NEAR(s.center.y, 90.2, 1e-9);
    EXPECT_EQ(canvasAt(116, 86), red);
}

// The game's own stamps, as loaded at start-up, on its 16-bit canvas: a dye too faint for the
// canvas to show, or stamps too far apart, leaves pixels of the path as they were.
TEST_F(ShotTest, ACrossingShotLeavesAnUnbrokenTrailOfItsColour) {
    const int y = 200;
    const auto rgb = [&](int x, int row) {
        Uint8 c[3];
        SDL_GetRGB(canvasAt(x, row), game.window->getCanvas().getSurface()->format, &c[0], &c[1],
                   &c[2]);
        return std::vector<int>(c, c + 3);
    };
    for (int colour : {0, 1}) {
        for (int fps : {1000, 60}) {
            game.window->resetCanvas();
            std::vector<std::vector<int>> before;
            for (int x = 0; x < field().x; ++x) before.push_back(rgb(x, y));
            game.addShot(Point(0, y), Point(150, 0), colour);
            game.frameSeconds = 1.0 / fps;
            for (int frame = 0; !game.shots.empty(); ++frame) {
                game.lastTicks += 1;
                game.updateAll();
                game.sweep();
                ASSERT_LT(frame, 10 * fps);
            }
            // White lightens every channel, black darkens it, all along the centre line.
            const int toward = colour == 0 ? 1 : -1;
            for (int x = 4; x < field().x - 4; ++x) {
                const std::vector<int> now = rgb(x, y);
                for (int ch = 0; ch < 3; ++ch)
                    ASSERT_GT((now[ch] - before[x][ch]) * toward, 0)
                        << "colour " << colour << " at " << fps << " fps, x " << x;
            }
        }
    }
}

TEST_F(ShotTest, DiesOnlyWhenItsCentreIsBeyondTheEdge) {
    const double w = field().x;
    const double h = field().y;
    for (const Point& on : {Point(w, 200), Point(0, 0), Point(150, h), Point(w, h)}) {
        Shot& s = game.addShot(on, Point(0, 0), 0);
        s.checkField();
        EXPECT_TRUE(s.alive) << on.x << "," << on.y;
        EXPECT_EQ(s.center, on);
    }
    for (const Point& off :
         {Point(w + 0.01, 200), Point(-0.01, 5), Point(5, h + 1), Point(7, -1)}) {
        Shot& s = game.addShot(off, Point(0, 0), 1);
        const Point before = s.pos;
        s.checkField();
        EXPECT_FALSE(s.alive) << off.x << "," << off.y;
        EXPECT_EQ(s.pos, before);  // dyeing objects are not pushed back
    }
}
