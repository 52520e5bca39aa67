// The staged game in a real X window (Xvfb), driven by key presses and checked by its screens'
// pixels and its output.
#include "support/Process.h"

#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <regex>

namespace {

struct Rgb8 {
    int r, g, b;
};

// The game's 300 x 400 field, three bytes a pixel, as a screenshot of the X screen's top-left
// corner: no window manager places the window elsewhere.
using Screen = std::string;

// How many pixels of [x0, x1) x [y0, y1) match.
int count(const Screen& s, int x0, int y0, int x1, int y1, bool (*match)(Rgb8)) {
    int n = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const auto* p = reinterpret_cast<const unsigned char*>(s.data()) + 3 * (y * 300 + x);
            n += match({p[0], p[1], p[2]});
        }
    }
    return n;
}

// An Xvfb server on a free display. A start-up that fails for the server's or SDL's own
// reasons is tried again, at most three times, saying so.
class XServer {
public:
    XServer() {
        for (int attempt = 1; attempt <= 3; ++attempt) {
            // Xvfb picks a free display and names it once it accepts clients. -noreset: a server
            // resetting when its last client leaves refuses a game connecting then.
            const std::vector<std::string> args = {"Xvfb",     "-displayfd", "1", "-screen",
                                                   "0",        "640x480x24", "-nolisten",
                                                   "tcp",      "-noreset"};
            xvfb = std::make_unique<Process>(logs.path(), args);
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
    Screen screen() const {  // /usr/bin/convert is ImageMagick's
        const Screen s = run("xwd -root -silent | /usr/bin/convert xwd:- -crop 300x400+0+0 "
                             "+repage -depth 8 rgb:-");
        if (s.size() != 3u * 300 * 400) throw std::runtime_error("no screenshot");
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
    // Without a window manager the game has the keyboard only once it is focused; one that
    // has ended has no window to find, and nothing is pressed. (Keys sent by the xdotool
    // command that found the window would go to it as events of its own.)
    void keys(const std::string& actions) const {
        run("timeout 20 xdotool search --limit 1 --name 'kelvo arena' windowfocus --sync && "
            "timeout 20 xdotool " + actions);
    }
    // Taps `key` until `done` holds within 20 seconds of a tap: false after three taps. A
    // loaded machine may not run the game during a tap; a tap the game saw is not repeated.
    bool tapUntil(const std::string& key, const std::function<bool()>& done) const {
        for (int tap = 1; tap <= 3; ++tap) {
            keys("keydown " + key + " sleep 0.25 keyup " + key);
            if (waitUntil(done, 20)) return true;
            std::cerr << "no answer to " << key << " in 20 seconds (tap " << tap << " of 3)\n";
        }
        return false;
    }

private:
    ScratchDir logs;
    std::unique_ptr<Process> xvfb;
    std::string name;
};

bool isBlack(Rgb8 c) { return c.r < 40 && c.g < 40 && c.b < 40; }
bool isWhite(Rgb8 c) { return c.r > 215 && c.g > 215 && c.b > 215; }
bool isRed(Rgb8 c) { return c.r > 215 && c.g < 40 && c.b < 40; }
bool isField(Rgb8 c) { return c.b - c.r >= 6; }

// The mode menu: dark text where "vs CPU" and the cursor stand.
bool modeMenuShown(const Screen& s) { return count(s, 64, 200, 140, 220, isBlack) > 30; }
// The player select: its title in white across the top row.
bool selectShown(const Screen& s) { return count(s, 64, 0, 230, 20, isWhite) > 60; }
// White's cursor has left the first character, whose word is red while chosen.
bool cursorMoved(const Screen& s) { return count(s, 8, 20, 40, 40, isRed) == 0; }
// Black's turn: its "LEVEL1" in black at cell (11, 11).
bool blackTurnShown(const Screen& s) { return count(s, 88, 220, 140, 240, isBlack) > 30; }
// A match: the field (its slate, or washed toward a colour after a death keeps its blue tint),
// partners and bullets of both colours.
bool matchShown(const Screen& s) {
    return count(s, 0, 0, 300, 340, isField) > 20000 &&
           count(s, 0, 0, 300, 340, isWhite) > 40 && count(s, 0, 0, 300, 340, isBlack) > 40;
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
    XServer x;
    const auto game = x.startGame(dir.path());
    ASSERT_TRUE(game->waitForOutput(WINDOW_LINE)) << game->err();
    ASSERT_TRUE(waitUntil(x.shows(modeMenuShown)));
    for (int match = 1; match <= 2; ++match) {
        SCOPED_TRACE(match);
        ASSERT_TRUE(x.tapUntil("z", x.shows(selectShown)));
        ASSERT_TRUE(match == 2 || x.tapUntil("Down", x.shows(cursorMoved)));
        ASSERT_TRUE(x.tapUntil("z", x.shows(blackTurnShown)));
        ASSERT_TRUE(x.tapUntil("z", x.shows(matchShown)));
        const auto over = [&game, match] { return occurrences(game->out(), "fps\n") >= match; };
        x.keys("keydown c");
        // Two frames drawn since c went down: the game has read it.
        for (int frame = 0; frame < 2; ++frame) {
            const Screen before = x.screen();
            ASSERT_TRUE(waitUntil([&] { return over() || x.screen() != before; }));
        }
        ASSERT_TRUE(over() || x.tapUntil("Escape", over)) << game->out() << game->err();
        x.keys("keyup c");
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
