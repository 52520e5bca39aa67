// The staged game in a real X window (Xvfb), played with keys, checked by pixels and output.
#include "support/Process.h"

#include <gtest/gtest.h>

#include <iostream>
#include <regex>

namespace {

// The X screen, three bytes a pixel: the game's 300 x 400 window, placed by no window manager.
using Screen = std::string;

// How many pixels of [x0, x1) x [y0, y1) are `colour`.
int count(const Screen& s, int x0, int y0, int x1, int y1, bool (*colour)(int r, int g, int b)) {
    if (s.size() != 3u * 300 * 400) throw std::runtime_error("no screenshot");
    const auto* rgb = reinterpret_cast<const unsigned char*>(s.data());
    int n = 0;
    for (int y = y0; y < y1; ++y) {
        for (const auto* p = rgb + 3 * (y * 300 + x0); p < rgb + 3 * (y * 300 + x1); p += 3)
            n += colour(p[0], p[1], p[2]);
    }
    return n;
}

// An Xvfb server on a free display. Its start-up and SDL's are tried at most three times.
class XServer {
public:
    XServer() {
        // The display is named once it takes clients; -noreset: a reset would refuse a game.
        const std::vector<std::string> args = {"Xvfb", "-displayfd", "1", "-screen", "0",
                                               "300x400x24", "-nolisten", "tcp", "-noreset"};
        for (int attempt = 1; attempt <= 3; ++attempt) {
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
        Process shell(shellDir.path(), {"sh", "-c", command}, name);
        shell.wait();
        return shell.out();
    }
    Screen screen() const {  // /usr/bin/convert is ImageMagick's
        return run("xwd -root -silent | /usr/bin/convert xwd:- -depth 8 rgb:-");
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
    // Without a window manager the game has the keyboard once focused (and a game that ended
    // gets nothing); keys sent by the finding xdotool would reach it as events of their own.
    void keys(const std::string& actions) const {
        run("timeout 20 xdotool search --limit 1 --name 'kelvo arena' windowfocus --sync && "
            "timeout 20 xdotool " + actions);
    }
    // Taps `key` until `done` holds within 20 seconds of a tap, at most three times: a loaded
    // machine may not run the game during a tap. A tap the game saw is not repeated.
    bool tapUntil(const std::string& key, const std::function<bool()>& done) const {
        for (int tap = 1; tap <= 3; ++tap) {
            keys("keydown " + key + " sleep 0.25 keyup " + key);
            if (waitUntil(done, 20)) return true;
            std::cerr << "no answer to " << key << " in 20 seconds (tap " << tap << " of 3)\n";
        }
        return false;
    }

private:
    ScratchDir logs, shellDir;
    std::unique_ptr<Process> xvfb;
    std::string name;
};

bool isBlack(int r, int g, int b) { return r < 40 && g < 40 && b < 40; }
bool isWhite(int r, int g, int b) { return r > 215 && g > 215 && b > 215; }
bool isField(int r, int, int b) { return b - r >= 6; }

// The mode menu: dark text where "vs CPU" and the cursor stand.
bool modeMenuShown(const Screen& s) { return count(s, 64, 200, 140, 220, isBlack) > 30; }
// The player select: its title in white across the top row.
bool selectShown(const Screen& s) { return count(s, 64, 0, 230, 20, isWhite) > 60; }
// Black's turn: its "LEVEL1" in black at cell (11, 11).
bool blackTurnShown(const Screen& s) { return count(s, 88, 220, 140, 240, isBlack) > 30; }
// A match: the field (still blue-tinted when washed by a death), partners and bullets of both.
bool matchShown(const Screen& s) {
    return count(s, 0, 0, 300, 340, isField) > 20000 &&
           count(s, 0, 0, 300, 340, isWhite) > 40 && count(s, 0, 0, 300, 340, isBlack) > 40;
}

}  // namespace

// A match against the computer as a player plays it: choose "vs CPU" (z confirms), then the
// first character for each side, end the match with Escape and quit at the after-match choice.
TEST(RealWindow, AMatchAgainstTheComputer) {
    GameCopy dir;
    // c, a button that chooses nothing, is held around Escape: a match that a death ends just
    // before the key then waits for c to be let go instead of taking Escape as "quit".
    dir.write("1Pkey.conf", readFile(dir.file("1Pkey.conf")) + "BUTTON_3 = KEY_c\n");
    XServer x;
    const auto game = x.startGame(dir.path());
    ASSERT_TRUE(game->waitForOutput(WINDOW_LINE)) << game->err();
    ASSERT_TRUE(waitUntil(x.shows(modeMenuShown)));
    ASSERT_TRUE(x.tapUntil("z", x.shows(selectShown)));
    ASSERT_TRUE(x.tapUntil("z", x.shows(blackTurnShown)));
    ASSERT_TRUE(x.tapUntil("z", x.shows(matchShown)));
    const auto over = [&game] { return game->out().find("fps\n") != std::string::npos; };
    x.keys("keydown c");
    // Two frames drawn since c went down: the game has read it.
    for (int frame = 0; frame < 2; ++frame) {
        const Screen before = x.screen();
        ASSERT_TRUE(waitUntil([&] { return over() || x.screen() != before; }));
    }
    ASSERT_TRUE(over() || x.tapUntil("Escape", over)) << game->out() << game->err();
    x.keys("keyup c");
    ASSERT_FALSE(game->ended()) << game->err();
    ASSERT_TRUE(x.tapUntil("Escape", [&game] { return game->ended(); }));
    EXPECT_EQ(game->wait(), 0) << game->err();
    EXPECT_TRUE(std::regex_match(
        game->out(), std::regex("KLV:\n300\\*400\\*16\nfailed open joystick 0\n[1-9][0-9]*fps\n")))
        << game->out();
    EXPECT_EQ(game->err(), "");
}
