// A real X server (Xvfb) with the game running in it, driven by synthetic key presses.
#pragma once

#include <SDL.h>

#include <memory>
#include <string>

// An Xvfb server on a free display, stopped by the destructor.
class XServer {
public:
    XServer(int width, int height);
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    const std::string& display() const { return name; }
    // Runs a shell command with DISPLAY set to this server; returns its standard output.
    std::string run(const std::string& command) const;
    // The whole screen, as a surface in the screen's own pixel layout (caller frees).
    SDL_Surface* screenshot(const std::string& bmpPath) const;
    // Takes screenshots until `seen` holds for one; false after `seconds`.
    bool waitForScreen(const std::string& bmpPath, bool (*seen)(const SDL_Surface*),
                       double seconds) const;
    // Writes a PNG of the area (x, y, w, h) of the screen.
    void savePng(const std::string& pngPath, int x, int y, int w, int h) const;

private:
    std::string name;
    int pid = -1;
};

// The staged game started in a directory on an X server; its output goes to files there.
class GameProcess {
public:
    GameProcess(const XServer& x, const std::string& dir);
    ~GameProcess();
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    std::string out() const;
    std::string err() const;
    // Waits until standard output holds `text` `count` times; false after `seconds`.
    bool waitForOutput(const std::string& text, int count, double seconds) const;
    // The game's window id, found by its caption.
    std::string window() const;
    // Holds a key down for `ms` milliseconds with the game's window focused.
    void press(const std::string& key, int ms = 250) const;
    // Waits for the game to end; its exit status, or -1 when it had to be killed.
    int wait(double seconds);

private:
    const XServer& x;
    std::string dir;
    int pid = -1;
};

// Red, green and blue of a pixel of a screenshot.
struct Rgb8 {
    int r, g, b;
};
Rgb8 pixelAt(const SDL_Surface* s, int x, int y);
