// Runs the built game binary and collects its output.
#include "support/RunGame.h"

#include <poll.h>
#include <stdlib.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <stdexcept>

const std::string WINDOW_LINE = "300*400*16\n";

GameRun runGameAndClose(const std::string& dir, const std::vector<std::string>& args,
                        const std::string& closeAfter, int seconds) {
    int outPipe[2];
    int errPipe[2];
    if (pipe(outPipe) != 0 || pipe(errPipe) != 0) throw std::runtime_error("pipe failed");
    const pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        dup2(outPipe[1], 1);
        dup2(errPipe[1], 2);
        close(outPipe[0]);
        close(errPipe[0]);
        if (chdir(dir.c_str()) != 0) _exit(126);
        std::vector<char*> argv;
        std::string program = "./skelvo";
        argv.push_back(program.data());
        std::vector<std::string> copies(args);
        for (auto& a : copies) argv.push_back(a.data());
        argv.push_back(nullptr);
        // A sanitized game gets the same library-only leak suppression as the tests.
        setenv("LSAN_OPTIONS", "suppressions=" SKELVO_LSAN_SUPPRESSIONS ":print_suppressions=0", 1);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    GameRun run;
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    std::string* sinks[2] = {&run.out, &run.err};
    int open = 2;
    timespec start;
    clock_gettime(CLOCK_MONOTONIC, &start);
    while (open > 0) {
        timespec now;
        clock_gettime(CLOCK_MONOTONIC, &now);
        if (now.tv_sec - start.tv_sec > seconds) {
            kill(pid, SIGKILL);
            break;
        }
        if (poll(fds, 2, 200) <= 0) continue;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
            char buf[4096];
            const ssize_t n = read(fds[i].fd, buf, sizeof buf);
            if (n > 0) {
                sinks[i]->append(buf, static_cast<std::size_t>(n));
                if (!run.closed && !closeAfter.empty() &&
                    run.out.find(closeAfter) != std::string::npos) {
                    kill(pid, SIGTERM);
                    run.closed = true;
                }
            } else {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    for (auto& f : fds)
        if (f.fd >= 0) close(f.fd);
    int wstatus = 0;
    waitpid(pid, &wstatus, 0);
    run.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    return run;
}

GameRun runGame(const std::string& dir, const std::vector<std::string>& args, int seconds) {
    return runGameAndClose(dir, args, "", seconds);
}
