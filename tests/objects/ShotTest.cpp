// Shots: straight flight, the dye trail, and death at the field's edge.
#include "objects/Shot.h"
#include "support/HeadlessGame.h"

#include <vector>

using ShotTest = HeadlessGameTest;

TEST_F(ShotTest, FliesStraightAtItsVelocityOverTheFrame) {
    Shot& s = game.addShot(Point(100.7, 100.2), Point(100, -50), 1);
    EXPECT_TRUE(s.dyeing);
    EXPECT_EQ(s.color, 1);
    EXPECT_EQ(s.sprite->image, game.shotImages[1].get());
    game.frameSeconds = 0.1;
    for (const Point& at : {Point(110.7, 95.2), Point(120.7, 90.2)}) {
        s.update();
        EXPECT_NEAR(s.center.x, at.x, 1e-9);
        EXPECT_NEAR(s.center.y, at.y, 1e-9);
    }
}

// The game's own stamps, as loaded at start-up, on its 16-bit canvas: a dye too faint for the
// canvas to show, or stamps too far apart, leave pixels of the path as they were.
TEST_F(ShotTest, ACrossingShotLeavesAnUnbrokenTrailOfItsColour) {
    const int y = 200;
    const SDL_PixelFormat* format = game.window->getCanvas().getSurface()->format;
    for (int colour : {0, 1}) {
        for (int fps : {1000, 60}) {
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
