// The staged game run as a player starts it, in a directory of its own.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

// The line the game writes once its window is open: from then on SDL turns SIGTERM into the
// quit event that closing the window makes.
inline const std::string WINDOW_LINE = "300*400*16\n";

// Asks `done` about every 50 ms until it holds: false after `seconds`.
bool waitUntil(const std::function<bool()>& done, double seconds = 60);

// What the game writes goes to files in its directory, read at any time.
class GameProcess {
public:
    // `dir`/skelvo with `args`, in the working directory `dir`, on the X server `display`
    // or, when that is empty, on the video driver the tests run with.
    GameProcess(const std::string& dir, const std::vector<std::string>& args = {},
                const std::string& display = "");
    // Kills a game still running.
    ~GameProcess();
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    std::string out() const;
    std::string err() const;
    bool ended();
    // Standard output holds `text` `count` times; false once the game ended or after a minute.
    bool waitForOutput(const std::string& text, int count = 1);
    void close() const;
    // The exit status, or -1 when the game died of a signal or had to be killed after
    // `seconds`.
    int wait(double seconds = 60);

private:
    std::string dir;
    pid_t pid = -1;
    int status = -1;
};
