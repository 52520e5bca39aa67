// The staged game in a real X window, driven by key presses through the shipped 1Pkey.conf.
#include "support/TestDirs.h"
#include "support/XSession.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {

bool isBlack(Rgb8 c) { return c.r < 40 && c.g < 40 && c.b < 40; }
bool isWhite(Rgb8 c) { return c.r > 215 && c.g > 215 && c.b > 215; }
bool isRed(Rgb8 c) { return c.r > 215 && c.g < 40 && c.b < 40; }
bool isGrey(Rgb8 c) { return c.r > 115 && c.r < 135 && c.g > 115 && c.g < 135 && c.b > 115 && c.b < 135; }
bool isField(Rgb8 c) { return c.b - c.r >= 6; }
// A gauge's grey frame or its bar in either side's colour.
bool isGauge(Rgb8 c) { return isGrey(c) || isWhite(c) || isBlack(c); }
bool isSlate(Rgb8 c) { return c.r > 80 && c.r < 130 && c.b > 95 && c.b < 140; }

// The game's 300 x 400 field sits at the top-left of the X screen, as no window manager
// places it elsewhere. The mode menu: dark text where "vs CPU" and the cursor stand.
bool modeMenuShown(const Screen& s) { return s.count(64, 200, 140, 220, isBlack) > 30; }
// The player select: its title in white across the top row.
bool selectShown(const Screen& s) { return s.count(64, 0, 230, 20, isWhite) > 60; }
// White's cursor has left the first character, whose word is red while chosen.
bool cursorMoved(const Screen& s) { return s.count(8, 20, 40, 40, isRed) == 0; }
// Black's turn: its "LEVEL1" in black at cell (11, 11).
bool blackTurnShown(const Screen& s) { return s.count(88, 220, 140, 240, isBlack) > 30; }
// A match: the field (its slate, or washed toward a colour after a death keeps its blue tint),
// partners and bullets of both colours, and the four gauges below.
bool matchShown(const Screen& s) {
    bool gauges = true;
    for (int x : {20, 180})
        for (int y : {372, 387}) gauges = gauges && s.count(x, y, x + 101, y + 9, isGauge) > 800;
    return gauges && s.count(0, 0, 300, 340, isField) > 20000 &&
           s.count(0, 0, 300, 340, isWhite) > 40 && s.count(0, 0, 300, 340, isBlack) > 40;
}
bool stretchedFieldShown(const Screen& s) { return isSlate(s.at(440, 590)); }

void keep(const XServer& x, const char* name) {
    if (const char* dir = std::getenv("SKELVO_SCREENSHOTS"))
        x.savePng(std::string(dir) + "/" + name, 300, 400);
}

}  // namespace

// Two matches against the computer as a player plays them: choose "vs CPU" (z confirms), pick
// a character for each side, play, end the match with Escape, go back to the menu, play
// again, and quit at the after-match choice.
TEST(RealWindow, TwoMatchesAgainstTheComputer) {
    GameCopy dir;
    XServer x(640, 480);
    const auto game = x.startGame(dir.path());
    ASSERT_TRUE(game->waitForOutput(WINDOW_LINE)) << game->err();
    ASSERT_TRUE(waitUntil(x.shows(modeMenuShown)));
    const Screen menu = x.screen();
    EXPECT_GT(menu.count(0, 0, 300, 400, isSlate), 100000);
    EXPECT_GT(menu.count(80, 240, 130, 260, isBlack), 20);  // "vs 2P"
    EXPECT_EQ(menu.count(300, 0, 640, 480, isSlate), 0);
    for (int match = 1; match <= 2; ++match) {
        SCOPED_TRACE(match);
        ASSERT_TRUE(x.tapUntil("z", x.shows(selectShown)));
        if (match == 1) {
            // The six words in both colours.
            const Screen select = x.screen();
            EXPECT_GT(select.count(8, 20, 80, 140, isWhite), 150);
            EXPECT_GT(select.count(8, 220, 80, 340, isBlack), 150);
            keep(x, "select.png");
            ASSERT_TRUE(x.tapUntil("Down", x.shows(cursorMoved)));
        }
        ASSERT_TRUE(x.tapUntil("z", x.shows(blackTurnShown)));
        ASSERT_TRUE(x.tapUntil("z", x.shows(matchShown)));
        if (match == 1) keep(x, "match.png");
        // A match that a death has ended already would take Escape as the choice to quit.
        const auto over = [&game, match] {
            const std::string out = game->out();
            int lines = 0;
            for (auto at = out.find("fps\n"); at != std::string::npos; at = out.find("fps\n", at + 1))
                ++lines;
            return lines >= match;
        };
        ASSERT_TRUE(over() || x.tapUntil("Escape", over)) << game->out() << game->err();
        ASSERT_TRUE(match == 2 || x.tapUntil("z", x.shows(modeMenuShown)));
    }
    ASSERT_TRUE(x.tapUntil("Escape", [&game] { return game->ended(); }));
    EXPECT_EQ(game->wait(), 0) << game->err();
    const std::string out = game->out();
    const std::string head = "KLV:\n300*400*16\nfailed open joystick 0\n";
    int fps[2] = {0, 0};
    if (out.size() > head.size()) std::sscanf(out.c_str() + head.size(), "%dfps %dfps", &fps[0], &fps[1]);
    EXPECT_EQ(out, head + std::to_string(fps[0]) + "fps\n" + std::to_string(fps[1]) + "fps\n");
    EXPECT_GT(fps[0], 0);
    EXPECT_GT(fps[1], 0);
    EXPECT_EQ(game->err(), "");
}

// Escape in the menu ends the game.
TEST(RealWindow, ScreenFileStretchesTheWindow) {
    GameCopy dir;
    dir.write("screen", "450 600\n");
    XServer x(800, 700);
    const auto game = x.startGame(dir.path());
    ASSERT_TRUE(game->waitForOutput(WINDOW_LINE)) << game->err();
    const std::string geometry =
        x.run("xdotool search --limit 1 --name 'kelvo arena' getwindowgeometry");
    EXPECT_NE(geometry.find("Geometry: 450x600"), std::string::npos) << geometry;
    // The field fills the whole window, once the game has drawn its first frame.
    ASSERT_TRUE(waitUntil(x.shows(stretchedFieldShown)));
    EXPECT_FALSE(isSlate(x.screen().at(460, 610)));
    ASSERT_TRUE(x.tapUntil("Escape", [&game] { return game->ended(); }));
    EXPECT_EQ(game->wait(), 0) << game->err();
}
