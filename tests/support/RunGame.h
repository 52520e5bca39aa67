// Runs the built game binary as a player would, and collects what it says.
#pragma once

#include <string>
#include <vector>

struct GameRun {
    int status = -1;  // exit status, or -1 when it did not exit normally
    std::string out;
    std::string err;
};

// Runs `dir`/skelvo with `args` in the working directory `dir`; gives up after `seconds`.
GameRun runGame(const std::string& dir, const std::vector<std::string>& args = {},
                int seconds = 60);
