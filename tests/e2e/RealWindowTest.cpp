// The staged game in a real X window (Xvfb), driven by key presses through the shipped
// 1Pkey.conf and checked by its screens' pixels and its output.
#include "support/Process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <memory>
#include <regex>

namespace {

struct Rgb8 {
    int r, g, b;
};

// The X screen at one moment, three bytes a pixel.
struct Screen {
    int width;
    std::string rgb;

    Rgb8 at(int x, int y) const {
        const auto* p = reinterpret_cast<const unsigned char*>(rgb.data()) + 3 * (y * width + x);
        return {p[0], p[1], p[2]};
    }
    // How many pixels of [x0, x1) x [y0, y1) match.
    int count(int x0, int y0, int x1, int y1, bool (*match)(Rgb8)) const {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += match(at(x, y));
        return n;
    }
};

// An Xvfb server on a free display. A start-up that fails for the server's or SDL's own
// reasons is tried again, at most three times, saying so.
class XServer {
public:
    XServer(int w, int h) : width(w), height(h) {
        const std::string screen = std::to_string(w) + "x" + std::to_string(h) + "x24";
        for (int attempt = 1; attempt <= 3; ++attempt) {
            // Xvfb chooses a free display and writes its number once it accepts clients, so
            // the servers of tests side by side never race for one. -noreset: a server resets
            // when its last client leaves, and a game connecting then is refused its display.
            xvfb = std::make_unique<Process>(logs.path(), std::vector<std::string>{
                "Xvfb", "-displayfd", "1", "-screen", "0", screen, "-nolisten", "tcp", "-noreset"});
            const bool told = xvfb->waitForOutput("\n");
            name = ":" + xvfb->out().substr(0, xvfb->out().find('\n'));
            // Only a server that answers a client is ready for the game.
            if (told && waitUntil([this] { return run("xdotool getdisplaygeometry") != ""; }, 10))
                return;
            std::cerr << "Xvfb did not start (try " << attempt << " of 3): " << xvfb->err();
        }
        throw std::runtime_error("Xvfb did not start in 3 tries");
    }

    // A shell command run with DISPLAY set to this server; its standard output.
    std::string run(const std::string& command) const {
        FILE* p = popen(("export DISPLAY=" + name + "; " + command + " 2>/dev/null").c_str(), "r");
        if (!p) throw std::runtime_error("cannot run " + command);
        std::string out;
        char buf[65536];
        for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
        pclose(p);
        return out;
    }
    // /usr/bin/convert is ImageMagick's.
    Screen screen() const {
        Screen s{width, run("xwd -root -silent | /usr/bin/convert xwd:- -depth 8 rgb:-")};
        if (s.rgb.size() != 3u * width * height) throw std::runtime_error("no screenshot");
        return s;
    }
    std::function<bool()> shows(bool (*seen)(const Screen&)) const {
        return [this, seen] { return seen(screen()); };
    }
    // The staged game in `dir`, with its window open unless it failed for its own reasons.
    std::unique_ptr<Process> startGame(const std::string& dir) const {
        for (int attempt = 1;; ++attempt) {
            auto game = Process::game(dir, {}, name);
            // SDL now and then finds a fresh server's display closed to it.
            if (game->waitForOutput(WINDOW_LINE) ||
                game->err().find("Couldn't open X11 display") == std::string::npos)
                return game;
            if (attempt == 3) throw std::runtime_error("SDL could not open " + name + " 3 times");
            std::cerr << "SDL could not open " << name << " (try " << attempt << " of 3)\n";
        }
    }
    // Taps `key` in the game's window until `done` holds within 20 seconds of a tap: false
    // after three taps. A tap lasts a few of the screens' 50 ms looks, but a loaded machine
    // may not run the game meanwhile; a tap the game saw is never repeated.
    bool tapUntil(const std::string& key, const std::function<bool()>& done) const {
        for (int tap = 1; tap <= 3; ++tap) {
            // Without a window manager the game has the keyboard only once it is focused; one
            // that has ended has no window to find, and nothing is pressed. (Keys sent by the
            // xdotool command that found the window would go to it as events of its own.)
            run("timeout 20 xdotool search --limit 1 --name 'kelvo arena' windowfocus --sync && "
                "timeout 20 xdotool keydown " + key + " sleep 0.25 keyup " + key);
            if (waitUntil(done, 20)) return true;
            std::cerr << "no answer to " << key << " in 20 seconds (tap " << tap << " of 3)\n";
        }
        return false;
    }

    // Holds or lets go of `key` in the game's window.
    void press(const std::string& key, bool down) const {
        run("timeout 20 xdotool search --limit 1 --name 'kelvo arena' windowfocus --sync && "
            "timeout 20 xdotool " + std::string(down ? "keydown " : "keyup ") + key);
    }

private:
    int width, height;
    ScratchDir logs;
    std::unique_ptr<Process> xvfb;
    std::string name;
};

bool isBlack(Rgb8 c) { return c.r < 40 && c.g < 40 && c.b < 40; }
bool isWhite(Rgb8 c) { return c.r > 215 && c.g > 215 && c.b > 215; }
bool isRed(Rgb8 c) { return c.r > 215 && c.g < 40 && c.b < 40; }
bool isGrey(Rgb8 c) { return std::max({c.r, c.g, c.b}) < 135 && std::min({c.r, c.g, c.b}) > 115; }
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

}  // namespace

// Two matches against the computer as a player plays them: choose "vs CPU" (z confirms), pick
// a character for each side, play, end the match with Escape, go back to the menu, play
// again, and quit at the after-match choice.
TEST(RealWindow, TwoMatchesAgainstTheComputer) {
    GameCopy dir;
    // c, a button that chooses nothing, is held around each Escape: a match that a death ends
    // just before the key then waits for c to be let go instead of taking Escape as "quit".
    dir.write("1Pkey.conf", readFile(dir.file("1Pkey.conf")) + "BUTTON_3 = KEY_c\n");
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
            ASSERT_TRUE(x.tapUntil("Down", x.shows(cursorMoved)));
        }
        ASSERT_TRUE(x.tapUntil("z", x.shows(blackTurnShown)));
        ASSERT_TRUE(x.tapUntil("z", x.shows(matchShown)));
        const auto over = [&game, match] { return occurrences(game->out(), "fps\n") >= match; };
        x.press("c", true);
        // Two frames drawn since c went down: the game has read it.
        for (int frame = 0; frame < 2; ++frame) {
            const std::string before = x.screen().rgb;
            ASSERT_TRUE(waitUntil([&] { return over() || x.screen().rgb != before; }));
        }
        ASSERT_TRUE(over() || x.tapUntil("Escape", over)) << game->out() << game->err();
        x.press("c", false);
        ASSERT_FALSE(game->ended()) << game->err();
        ASSERT_TRUE(match == 2 || x.tapUntil("z", x.shows(modeMenuShown)));
    }
    ASSERT_TRUE(x.tapUntil("Escape", [&game] { return game->ended(); }));
    EXPECT_EQ(game->wait(), 0) << game->err();
    EXPECT_TRUE(std::regex_match(game->out(), std::regex("KLV:\n300\\*400\\*16\n"
                                                         "failed open joystick 0\n"
                                                         "[1-9][0-9]*fps\n[1-9][0-9]*fps\n")))
        << game->out();
    EXPECT_EQ(game->err(), "");
}

// The field fills the whole window, once the game has drawn its first frame; Escape in the
// menu ends the game.
TEST(RealWindow, ScreenFileStretchesTheWindow) {
    GameCopy dir;
    dir.write("screen", "450 600\n");
    XServer x(800, 700);
    const auto game = x.startGame(dir.path());
    ASSERT_TRUE(game->waitForOutput(WINDOW_LINE)) << game->err();
    const std::string geometry =
        x.run("xdotool search --limit 1 --name 'kelvo arena' getwindowgeometry");
    EXPECT_NE(geometry.find("Geometry: 450x600"), std::string::npos) << geometry;
    ASSERT_TRUE(waitUntil([&x] { return isSlate(x.screen().at(440, 590)); }));
    EXPECT_FALSE(isSlate(x.screen().at(460, 610)));
    ASSERT_TRUE(x.tapUntil("Escape", [&game] { return game->ended(); }));
    EXPECT_EQ(game->wait(), 0) << game->err();
}
