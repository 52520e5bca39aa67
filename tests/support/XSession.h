// A real X server (Xvfb) with the game in a window on it, driven by synthetic key presses.
#pragma once

#include "support/GameProcess.h"

#include <sys/types.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

struct Rgb8 {
    int r, g, b;
};

// The X screen at one moment.
struct Screen {
    int width = 0;
    std::vector<Rgb8> pixels;

    Rgb8 at(int x, int y) const { return pixels[y * width + x]; }
    // How many pixels of [x0, x1) x [y0, y1) match.
    int count(int x0, int y0, int x1, int y1, bool (*match)(Rgb8)) const {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += match(at(x, y));
        return n;
    }
};

// An Xvfb server on a free display, stopped by the destructor. Start-ups that fail for the
// server's or SDL's own reasons are tried again a few times, saying so on standard error.
class XServer {
public:
    XServer(int width, int height);
    ~XServer() { stop(); }
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    // Runs a shell command with DISPLAY set to this server; its standard output.
    std::string run(const std::string& command) const;
    Screen screen() const;
    // Whether a screenshot taken now satisfies `seen`.
    std::function<bool()> shows(bool (*seen)(const Screen&)) const {
        return [this, seen] { return seen(screen()); };
    }
    // The staged game started in `dir`; it has opened its window unless it failed.
    std::unique_ptr<GameProcess> startGame(const std::string& dir) const;
    // Taps `key` in the game's window, again if `done` does not hold within 20 seconds of the
    // tap: a tap the game could not see (it is long enough for the screens' 50 ms looks, but
    // a loaded machine may not run the game meanwhile) does not fail the test, and a tap it
    // saw is never repeated. False after three taps.
    bool tapUntil(const std::string& key, const std::function<bool()>& done) const;
    // The area (0, 0, w, h) of the screen as a PNG file.
    void savePng(const std::string& path, int w, int h) const;

private:
    bool start();
    void stop();

    int width, height;
    std::string name;
    pid_t pid = -1;
};
