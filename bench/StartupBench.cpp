// Start-up of the real staged game: from exec to the first flip that shows the mode menu
// (FirstFlipProbe, preloaded, reports it), headless on SDL's dummy driver, and the peak
// resident memory of the process at that moment.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const int RUNS = 21;
const int REPORT_FD = 3;

std::int64_t monotonicNs() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t{now.tv_sec} * 1000000000 + now.tv_nsec;
}

struct Run {
    double ms;
    long peakKiB;
};

// The child notes the clock just before exec and the probe at the menu's flip, both on the
// same pipe.
bool startOnce(Run& run) {
    int fds[2];
    if (pipe(fds) != 0) return false;
    const pid_t pid = fork();
    if (pid < 0) return false;
    if (pid == 0) {
        close(fds[0]);
        if (fds[1] != REPORT_FD) {
            dup2(fds[1], REPORT_FD);
            close(fds[1]);
        }
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        if (chdir(SKELVO_GAME_DIR) != 0) _exit(127);
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("LD_PRELOAD", SKELVO_PROBE, 1);
        const std::int64_t start = monotonicNs();
        if (write(REPORT_FD, &start, sizeof start) != sizeof start) _exit(127);
        execl("./skelvo", "skelvo", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::int64_t times[2];
    std::size_t got = 0;
    char* into = reinterpret_cast<char*>(times);
    for (ssize_t n; got < sizeof times && (n = read(fds[0], into + got, sizeof times - got)) > 0;)
        got += static_cast<std::size_t>(n);
    close(fds[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (got != sizeof times || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return false;
    run.ms = static_cast<double>(times[1] - times[0]) / 1e6;
    run.peakKiB = usage.ru_maxrss;
    return true;
}

}  // namespace

int main() {
    std::vector<Run> runs;
    // The first start fills the file cache; it is not counted.
    for (int i = 0; i <= RUNS; ++i) {
        Run run{};
        if (!startOnce(run)) {
            std::fprintf(stderr, "the staged game in %s did not reach its mode menu\n",
                         SKELVO_GAME_DIR);
            return 1;
        }
        if (i > 0) runs.push_back(run);
    }
    std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.ms < b.ms; });
    const Run& mid = runs[runs.size() / 2];
    std::printf("start-up to the first menu frame over %d starts: median %.1f ms, fastest %.1f "
                "ms, slowest %.1f ms; peak resident memory then %ld KiB\n",
                RUNS, mid.ms, runs.front().ms, runs.back().ms, mid.peakKiB);
    return 0;
}
