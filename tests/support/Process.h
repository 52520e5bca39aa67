// A program the tests start and watch: the staged game as a player starts it, or an X server.
#pragma once

#include "support/TestDirs.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <thread>
#include <vector>

// The line the game writes once its window is open: from then on SDL turns SIGTERM into the
// quit event that closing the window makes.
inline const std::string WINDOW_LINE = "300*400*16\n";

// Asks `done` about every 50 ms until it holds: false after `seconds`.
inline bool waitUntil(const std::function<bool()>& done, double seconds = 60) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    for (; !done(); std::this_thread::sleep_for(std::chrono::milliseconds(50)))
        if (std::chrono::steady_clock::now() > end) return false;
    return true;
}

// `args` run in `dir`, their output going to files there; "./skelvo" is the staged game. The
// destructor ends a program still running as closing its window would.
class Process {
public:
    Process(const std::string& d, std::vector<std::string> args) : dir(d) {
        for (const char* name : {"/stdout.txt", "/stderr.txt"}) std::ofstream(dir + name).flush();
        if ((pid = fork()) < 0) throw std::runtime_error("cannot start " + args[0]);
        if (pid > 0) return;
        if (chdir(dir.c_str()) != 0) _exit(126);
        dup2(open("stdout.txt", O_WRONLY), 1);
        dup2(open("stderr.txt", O_WRONLY), 2);
        // A sanitized game gets the same library-only leak suppression as the tests.
        setenv("LSAN_OPTIONS", "suppressions=" SKELVO_LSAN_SUPPRESSIONS ":print_suppressions=0", 1);
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    ~Process() {
        close();
        wait(10);
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    std::string out() const { return readFile(dir + "/stdout.txt"); }
    std::string err() const { return readFile(dir + "/stderr.txt"); }
    bool ended() {
        int s = 0;
        if (pid > 0 && waitpid(pid, &s, WNOHANG) == pid) {
            status = WIFEXITED(s) ? WEXITSTATUS(s) : -1;
            pid = -1;
        }
        return pid < 0;
    }
    // Standard output holds `text`; false once the program ended or after a minute.
    bool waitForOutput(const std::string& text) {
        waitUntil([&] { return out().find(text) != std::string::npos || ended(); });
        return out().find(text) != std::string::npos;
    }
    void close() const { if (pid > 0) kill(pid, SIGTERM); }
    // The exit status, or -1 when the program died of a signal or is killed after `seconds`.
    int wait(double seconds = 60) {
        if (!waitUntil([this] { return ended(); }, seconds)) kill(pid, SIGKILL);
        waitUntil([this] { return ended(); });
        return status;
    }

private:
    std::string dir;
    pid_t pid = -1;
    int status = -1;
};
