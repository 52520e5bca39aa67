// Runs the built game binary as a player would, and collects what it says.
#pragma once

#include <string>
#include <vector>

struct GameRun {
    int status = -1;      // exit status, or -1 when it did not exit normally
    bool closed = false;  // the harness asked the game to quit
    std::string out;
    std::string err;
};

// The line the game writes once its window is open: from then on SDL catches SIGTERM.
extern const std::string WINDOW_LINE;

// Runs `dir`/skelvo with `args` in the working directory `dir`; gives up after `seconds`.
// For runs that end by themselves: one that reaches the menu waits there until killed.
GameRun runGame(const std::string& dir, const std::vector<std::string>& args = {},
                int seconds = 60);

// The same, but once standard output shows `closeAfter` the game is sent SIGTERM, which SDL
// turns into the quit event that closing the window makes. Sent before SDL is up, the signal
// would kill the game instead, so `closeAfter` should be the window line or come after it;
// empty, the signal is never sent.
GameRun runGameAndClose(const std::string& dir, const std::vector<std::string>& args = {},
                        const std::string& closeAfter = WINDOW_LINE, int seconds = 60);
