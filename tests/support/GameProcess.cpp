// The staged game run as a player starts it.
#include "support/GameProcess.h"

#include "support/TestDirs.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

bool waitUntil(const std::function<bool()>& done, double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

GameProcess::GameProcess(const std::string& d, const std::vector<std::string>& args,
                         const std::string& display)
    : dir(d) {
    // Made before the game starts, so they can be read at once.
    for (const char* name : {"/stdout.txt", "/stderr.txt"}) std::ofstream(dir + name).flush();
    pid = fork();
    if (pid < 0) throw std::runtime_error("cannot start the game in " + dir);
    if (pid > 0) return;
    if (chdir(dir.c_str()) != 0) _exit(126);
    dup2(open("stdout.txt", O_WRONLY | O_TRUNC), 1);
    dup2(open("stderr.txt", O_WRONLY | O_TRUNC), 2);
    if (!display.empty()) {
        setenv("DISPLAY", display.c_str(), 1);
        unsetenv("SDL_VIDEODRIVER");
    }
    // A sanitized game gets the same library-only leak suppression as the tests.
    setenv("LSAN_OPTIONS", "suppressions=" SKELVO_LSAN_SUPPRESSIONS ":print_suppressions=0", 1);
    std::vector<std::string> words = {"./skelvo"};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
}

GameProcess::~GameProcess() {
    if (!ended()) wait(0);
}

std::string GameProcess::out() const { return readFile(dir + "/stdout.txt"); }
std::string GameProcess::err() const { return readFile(dir + "/stderr.txt"); }

bool GameProcess::ended() {
    int s = 0;
    if (pid < 0 || waitpid(pid, &s, WNOHANG) != pid) return pid < 0;
    pid = -1;
    status = WIFEXITED(s) ? WEXITSTATUS(s) : -1;
    return true;
}

bool GameProcess::waitForOutput(const std::string& text, int count) {
    const auto seen = [&] {
        const std::string o = out();
        int found = 0;
        for (auto at = o.find(text); at != std::string::npos; at = o.find(text, at + 1)) ++found;
        return found >= count;
    };
    waitUntil([&] { return seen() || ended(); });
    return seen();
}

void GameProcess::close() const {
    if (pid > 0) kill(pid, SIGTERM);
}

int GameProcess::wait(double seconds) {
    if (!waitUntil([this] { return ended(); }, seconds)) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        pid = -1;
    }
    return status;
}
