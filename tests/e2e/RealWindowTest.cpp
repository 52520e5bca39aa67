// The staged game in a real X window, driven by key presses through the shipped 1Pkey.conf.
#include "support/TestDirs.h"
#include "support/XSession.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <regex>
#include <thread>

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
bool isWhite(Rgb8 c) { return c.r > 215 && c.g > 215 && c.b > 215; }
bool isGrey(Rgb8 c) { return c.r > 115 && c.r < 135 && c.g > 115 && c.g < 135 && c.b > 115 && c.b < 135; }
bool isField(Rgb8 c) { return c.b - c.r >= 6; }
// A gauge's grey frame or its bar in either side's colour.
bool isGauge(Rgb8 c) { return isGrey(c) || isWhite(c) || isBlack(c); }
bool isSlate(Rgb8 c) { return c.r > 80 && c.r < 130 && c.b > 95 && c.b < 140; }

// Each screen is waited for before a key is pressed on it: a press and release that both
// come before the game looks at its keys would go unseen.
bool modeMenuShown(const SDL_Surface* s) { return countPixels(s, 64, 200, 140, 220, isBlack) > 30; }
bool selectShown(const SDL_Surface* s) { return countPixels(s, 64, 0, 230, 20, isWhite) > 60; }
// Black's turn in the player select: its "LEVEL1" in black at cell (11, 11).
bool blackTurnShown(const SDL_Surface* s) {
    return countPixels(s, 88, 220, 140, 240, isBlack) > 30;
}
bool stretchedFieldShown(const SDL_Surface* s) { return isSlate(pixelAt(s, 440, 590)); }
bool matchShown(const SDL_Surface* s) { return countPixels(s, 20, 387, 121, 396, isGauge) > 800; }

}  // namespace

TEST(RealWindow, MenuShowsAndEscapeLeaves) {
    GameCopy game;
    XServer x(640, 480);
    GameProcess skelvo(x, game.path());
    ASSERT_TRUE(skelvo.waitForOutput("300*400*16\n", 1, 60)) << skelvo.err();
    skelvo.window();
    ASSERT_TRUE(x.waitForScreen(game.file("menu.bmp"), modeMenuShown, 30));
    SDL_Surface* menu = x.screenshot(game.file("menu.bmp"));
    // The field's slate, and dark text where "vs CPU" and the cursor stand (rows 10 to 13).
    EXPECT_GT(countPixels(menu, 0, 0, 300, 400, isSlate), 100000);
    EXPECT_GT(countPixels(menu, 64, 200, 140, 220, isBlack), 30);
    EXPECT_GT(countPixels(menu, 80, 240, 130, 260, isBlack), 20);
    EXPECT_EQ(countPixels(menu, 300, 0, 640, 480, isSlate), 0);
    SDL_FreeSurface(menu);
    skelvo.press("Escape");
    EXPECT_EQ(skelvo.wait(60), 0) << skelvo.err();
    EXPECT_EQ(skelvo.out(), "KLV:\n300*400*16\nfailed open joystick 0\n");
}

// Two matches against the computer as a player plays them: choose "vs CPU" (z confirms),
// pick a character for each side, play, end the match with Escape, go back to the menu,
// play again, and quit at the after-match choice.
TEST(RealWindow, TwoMatchesAgainstTheComputer) {
    GameCopy game;
    XServer x(640, 480);
    GameProcess skelvo(x, game.path());
    ASSERT_TRUE(skelvo.waitForOutput("300*400*16\n", 1, 60)) << skelvo.err();
    skelvo.window();
    const std::string shot = game.file("shot.bmp");

    ASSERT_TRUE(x.waitForScreen(shot, modeMenuShown, 30));
    skelvo.press("z");
    ASSERT_TRUE(x.waitForScreen(shot, selectShown, 60));
    // The player select: its title in white across the top row, the six words in both colours.
    SDL_Surface* select = x.screenshot(game.file("select.bmp"));
    EXPECT_GT(countPixels(select, 64, 0, 230, 20, isWhite), 60);
    EXPECT_GT(countPixels(select, 8, 20, 80, 140, isWhite), 150);
    EXPECT_GT(countPixels(select, 8, 220, 80, 340, isBlack), 150);
    SDL_FreeSurface(select);
    if (const char* keep = std::getenv("SKELVO_SCREENSHOTS"))
        x.savePng(std::string(keep) + "/select.png", 0, 0, 300, 400);
    skelvo.press("Down");
    skelvo.press("z");
    ASSERT_TRUE(x.waitForScreen(shot, blackTurnShown, 60));
    skelvo.press("z");

    ASSERT_TRUE(x.waitForScreen(shot, matchShown, 60));
    // A match in progress: the field (its slate, or washed toward a colour after a death keeps
    // its blue tint), partners and bullets of both colours, and the gauges below.
    std::this_thread::sleep_for(std::chrono::seconds(4));
    SDL_Surface* match = x.screenshot(game.file("match.bmp"));
    EXPECT_GT(countPixels(match, 0, 0, 300, 340, isField), 20000);
    EXPECT_GT(countPixels(match, 0, 0, 300, 340, isWhite), 40);
    EXPECT_GT(countPixels(match, 0, 0, 300, 340, isBlack), 40);
    EXPECT_GT(countPixels(match, 20, 387, 121, 396, isGauge), 800);
    EXPECT_GT(countPixels(match, 180, 387, 281, 396, isGauge), 800);
    EXPECT_GT(countPixels(match, 20, 372, 121, 381, isGauge), 800);
    EXPECT_GT(countPixels(match, 180, 372, 281, 381, isGauge), 800);
    SDL_FreeSurface(match);
    if (const char* keep = std::getenv("SKELVO_SCREENSHOTS"))
        x.savePng(std::string(keep) + "/match.png", 0, 0, 300, 400);

    skelvo.press("Escape");
    ASSERT_TRUE(skelvo.waitForOutput("fps\n", 1, 60)) << skelvo.out() << skelvo.err();
    skelvo.press("z");
    ASSERT_TRUE(x.waitForScreen(shot, modeMenuShown, 60));
    skelvo.press("z");
    ASSERT_TRUE(x.waitForScreen(shot, selectShown, 60));
    skelvo.press("z");
    ASSERT_TRUE(x.waitForScreen(shot, blackTurnShown, 60));
    skelvo.press("z");
    ASSERT_TRUE(x.waitForScreen(shot, matchShown, 60));
    std::this_thread::sleep_for(std::chrono::seconds(2));
    skelvo.press("Escape");
    ASSERT_TRUE(skelvo.waitForOutput("fps\n", 2, 60)) << skelvo.out() << skelvo.err();
    skelvo.press("Escape");
    EXPECT_EQ(skelvo.wait(60), 0) << skelvo.err();
    const std::regex lines("KLV:\n300\\*400\\*16\nfailed open joystick 0\n[1-9][0-9]*fps\n"
                           "[1-9][0-9]*fps\n");
    EXPECT_TRUE(std::regex_match(skelvo.out(), lines)) << skelvo.out();
    EXPECT_EQ(skelvo.err(), "");
}

TEST(RealWindow, ScreenFileStretchesTheWindow) {
    GameCopy game;
    game.write("screen", "450 600\n");
    XServer x(800, 700);
    GameProcess skelvo(x, game.path());
    ASSERT_TRUE(skelvo.waitForOutput("300*400*16\n", 1, 60)) << skelvo.err();
    const std::string geometry = x.run("xdotool getwindowgeometry " + skelvo.window());
    EXPECT_NE(geometry.find("Geometry: 450x600"), std::string::npos) << geometry;
    // The field fills the whole 450 x 600 window, once the game has drawn its first frame.
    ASSERT_TRUE(x.waitForScreen(game.file("stretched.bmp"), stretchedFieldShown, 60));
    SDL_Surface* shot = x.screenshot(game.file("stretched.bmp"));
    EXPECT_TRUE(isSlate(pixelAt(shot, 440, 590)));
    EXPECT_FALSE(isSlate(pixelAt(shot, 460, 610)));
    SDL_FreeSurface(shot);
    skelvo.press("Escape");
    EXPECT_EQ(skelvo.wait(60), 0) << skelvo.err();
}
