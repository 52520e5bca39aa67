// The staged game in a real X window, driven by key presses through the shipped 1Pkey.conf.
#include "support/TestDirs.h"
#include "support/XSession.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

// The game's 300 x 400 field sits at the top-left of the X screen, as no window manager
// places it elsewhere.
int countPixels(const SDL_Surface* s, int x0, int y0, int x1, int y1, bool (*match)(Rgb8)) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) n += match(pixelAt(s, x, y));
    return n;
}

bool isBlack(Rgb8 c) { return c.r < 40 && c.g < 40 && c.b < 40; }
bool isSlate(Rgb8 c) { return c.r > 80 && c.r < 130 && c.b > 95 && c.b < 140; }

}  // namespace

TEST(RealWindow, MenuShowsAndEscapeLeaves) {
    GameCopy game;
    XServer x(640, 480);
    GameProcess skelvo(x, game.path());
    ASSERT_TRUE(skelvo.waitForOutput("300*400*16\n", 1, 20)) << skelvo.err();
    skelvo.window();
    SDL_Surface* menu = x.screenshot(game.file("menu.bmp"));
    // The field's slate, and dark text where "vs CPU" and the cursor stand (rows 10 to 13).
    EXPECT_GT(countPixels(menu, 0, 0, 300, 400, isSlate), 100000);
    EXPECT_GT(countPixels(menu, 64, 200, 140, 220, isBlack), 30);
    EXPECT_GT(countPixels(menu, 80, 240, 130, 260, isBlack), 20);
    EXPECT_EQ(countPixels(menu, 300, 0, 640, 480, isSlate), 0);
    SDL_FreeSurface(menu);
    skelvo.press("Escape");
    EXPECT_EQ(skelvo.wait(20), 0) << skelvo.err();
    EXPECT_EQ(skelvo.out(), "KLV:\n300*400*16\nfailed open joystick 0\n");
}

TEST(RealWindow, ScreenFileStretchesTheWindow) {
    GameCopy game;
    game.write("screen", "450 600\n");
    XServer x(800, 700);
    GameProcess skelvo(x, game.path());
    ASSERT_TRUE(skelvo.waitForOutput("300*400*16\n", 1, 20)) << skelvo.err();
    const std::string geometry = x.run("xdotool getwindowgeometry " + skelvo.window());
    EXPECT_NE(geometry.find("Geometry: 450x600"), std::string::npos) << geometry;
    SDL_Surface* shot = x.screenshot(game.file("stretched.bmp"));
    // The field fills the whole 450 x 600 window.
    EXPECT_TRUE(isSlate(pixelAt(shot, 440, 590)));
    EXPECT_FALSE(isSlate(pixelAt(shot, 460, 610)));
    SDL_FreeSurface(shot);
    skelvo.press("Escape");
    EXPECT_EQ(skelvo.wait(20), 0) << skelvo.err();
}
