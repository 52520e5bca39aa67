// The staged game in a real X window (Xvfb), played with keys, checked by pixels and output.
#include "support/Process.h"

#include <gtest/gtest.h>

#include <iostream>

namespace {

// The X screen: three bytes a pixel of the game's 300 x 400 window, placed by no window manager.
using Screen = std::string;

// How many pixels of [x0, x1) x [y0, y1) are `colour`.
int count(const Screen& screen, int x0, int y0, int x1, int y1, bool (*colour)(int, int, int)) {
    if (screen.size() != 3u * 300 * 400) throw std::runtime_error("no screenshot");
    const auto* rgb = reinterpret_cast<const unsigned char*>(screen.data());
    int n = 0;
    for (int y = y0; y < y1; ++y) {
        for (const auto* p = rgb + 3 * (y * 300 + x0); p < rgb + 3 * (y * 300 + x1); p += 3)
            n += colour(p[0], p[1], p[2]);
    }
    return n;
}

bool isBlack(int r, int g, int b) { return r < 40 && g < 40 && b < 40; }
bool isWhite(int r, int g, int b) { return r > 215 && g > 215 && b > 215; }

// The mode menu: dark text where "vs CPU" and the cursor stand.
bool modeMenuShown(const Screen& s) { return count(s, 64, 200, 140, 220, isBlack) > 30; }
// The player select: its title in white across the top row.
bool selectShown(const Screen& s) { return count(s, 64, 0, 230, 20, isWhite) > 60; }
// Black's turn: its "LEVEL1" in black at cell (11, 11).
bool blackTurnShown(const Screen& s) { return count(s, 88, 220, 140, 240, isBlack) > 30; }
// A match: partners and bullets of both sides on the field.
bool matchShown(const Screen& s) {
    return count(s, 0, 0, 300, 340, isWhite) > 40 && count(s, 0, 0, 300, 340, isBlack) > 40;
}

// Runs `attempt` until it holds, at most three times: a loaded machine may miss a start or a tap.
void retry(const std::string& failure, const std::function<bool()>& attempt) {
    for (int n = 1; n <= 3; ++n) {
        if (attempt()) return;
        std::cerr << failure << " (try " << n << " of 3)\n";
    }
    throw std::runtime_error(failure + " 3 times");
}

// An Xvfb server on a free display with the staged game of `dir` in it.
struct XServer {
    explicit XServer(const std::string& dir) {
        // The display is named once it takes clients; -noreset: a reset would refuse a game.
        const std::vector<std::string> args = {"Xvfb", "-displayfd", "1", "-screen", "0",
                                               "300x400x24", "-nolisten", "tcp", "-noreset"};
        retry("Xvfb did not start", [&] {
            xvfb = std::make_unique<Process>(logs.path(), args);
            const bool told = xvfb->waitForOutput("\n");
            display = "DISPLAY=:" + xvfb->out().substr(0, xvfb->out().find('\n'));
            // Only a server that answers a client is ready for the game.
            return told && waitUntil([&] { return run("xdotool getdisplaygeometry") != ""; }, 10);
        });
        const std::vector<std::string> play = {"env", "-u", "SDL_VIDEODRIVER", display, "./skelvo"};
        // SDL now and then finds a fresh server's display closed to it.
        retry("SDL could not open the display", [&] {
            game = std::make_unique<Process>(dir, play);
            const bool opened = game->waitForOutput(WINDOW_LINE);
            return opened || game->err().find("open X11") == std::string::npos;
        });
    }
    std::string run(const std::string& command) const {
        Process shell(shellDir.path(), {"env", display, "sh", "-c", command});
        shell.wait();
        return shell.out();
    }
    Screen screen() const {  // /usr/bin/convert is ImageMagick's
        return run("xwd -root -silent | /usr/bin/convert xwd:- -depth 8 rgb:-");
    }
    // Without a window manager the game has the keyboard once focused (and a game that ended
    // gets nothing); keys sent by the finding xdotool would reach it as events of their own.
    void keys(const std::string& actions) const {
        run("timeout 20 xdotool search --limit 1 --name 'kelvo arena' windowfocus --sync && "
            "timeout 20 xdotool " + actions);
    }
    // Taps `key` until `done` holds within 20 seconds of a tap: a tap the game saw is not repeated.
    void tapUntil(const std::string& key, const std::function<bool()>& done) const {
        retry("no answer to " + key + " in 20 seconds", [&] {
            keys("keydown " + key + " sleep 0.25 keyup " + key);
            return waitUntil(done, 20);
        });
    }

    ScratchDir logs, shellDir;
    std::unique_ptr<Process> xvfb;
    std::string display;
    std::unique_ptr<Process> game;
};

}  // namespace

// A match against the computer: "vs CPU" and each side's first character (z confirms), Escape
// ends the match, z goes back to the mode menu and Escape quits there.
TEST(RealWindow, AMatchAgainstTheComputer) {
    GameCopy dir;
    // c, a button that chooses nothing, is held around Escape: a match that a death ends just
    // before the key then waits for c to be let go instead of taking Escape as "quit".
    dir.write("1Pkey.conf", readFile(dir.file("1Pkey.conf")) + "BUTTON_3 = KEY_c\n");
    XServer x(dir.path());
    Process& game = *x.game;
    ASSERT_TRUE(waitUntil([&] { return modeMenuShown(x.screen()); })) << game.err();
    x.tapUntil("z", [&] { return selectShown(x.screen()); });
    x.tapUntil("z", [&] { return blackTurnShown(x.screen()); });
    x.tapUntil("z", [&] { return matchShown(x.screen()); });
    const auto over = [&game] { return game.out().find("fps\n") != std::string::npos; };
    x.keys("keydown c");
    // Two frames drawn since c went down: the game has read it.
    for (int frame = 0; frame < 2; ++frame) {
        const Screen before = x.screen();
        ASSERT_TRUE(waitUntil([&] { return over() || x.screen() != before; }));
    }
    if (!over()) x.tapUntil("Escape", over);
    x.keys("keyup c");
    // Back at the mode menu (not compared byte for byte: sdl12-compat redraws it otherwise).
    x.tapUntil("z", [&] { return modeMenuShown(x.screen()); });
    x.tapUntil("Escape", [&game] { return game.ended(); });
    EXPECT_EQ(game.wait(), 0) << game.err();
    const std::string out = game.out(), start = "KLV:\n" + WINDOW_LINE + "failed open joystick 0\n";
    // The start lines, then the match's frame rate (digits without a leading 0) and no more.
    const std::size_t rate = out.find_first_not_of("0123456789", start.size());
    EXPECT_TRUE(out.rfind(start, 0) == 0 && rate > start.size() && out[start.size()] != '0' &&
                rate == out.size() - 4 && out.substr(rate) == "fps\n") << out;
    EXPECT_EQ(game.err(), "");
}
