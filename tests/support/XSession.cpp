// A real X server with the game running in it.
#include "support/XSession.h"

#include "support/TestDirs.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <thread>

namespace {

void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace

XServer::XServer(int width, int height) {
    // Xvfb chooses a free display itself and tells its number once it accepts clients, so
    // servers of tests running side by side never race for one.
    int ready[2];
    if (pipe(ready) != 0) throw std::runtime_error("pipe failed");
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    pid = fork();
    if (pid == 0) {
        close(ready[0]);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        const std::string fd = std::to_string(ready[1]);
        // -noreset: a server resets when its last client leaves, and a game connecting during
        // that reset is refused its display.
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(),
               "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(ready[1]);
    std::string number;
    char c;
    while (read(ready[0], &c, 1) == 1 && c != '\n') number += c;
    close(ready[0]);
    if (number.empty()) throw std::runtime_error("Xvfb did not start");
    name = ":" + number;
    // Only a server that answers a client is ready for the game.
    for (int i = 0; i < 100; ++i) {
        if (run("xdotool getdisplaygeometry 2>/dev/null").find(' ') != std::string::npos) return;
        sleepMs(100);
    }
    throw std::runtime_error("Xvfb on " + name + " does not answer");
}

XServer::~XServer() {
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
}

std::string XServer::run(const std::string& command) const {
    const std::string full = "DISPLAY=" + name + " " + command;
    FILE* p = popen(full.c_str(), "r");
    if (!p) throw std::runtime_error("cannot run " + command);
    std::string out;
    char buf[4096];
    std::size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    pclose(p);
    return out;
}

SDL_Surface* XServer::screenshot(const std::string& bmpPath) const {
    // /usr/bin/convert is ImageMagick's; a BMP3 is what SDL loads.
    run("xwd -root -silent | /usr/bin/convert xwd:- bmp3:" + bmpPath);
    SDL_Surface* s = SDL_LoadBMP(bmpPath.c_str());
    if (!s) throw std::runtime_error("no screenshot in " + bmpPath);
    return s;
}

bool XServer::waitForScreen(const std::string& bmpPath, bool (*seen)(const SDL_Surface*),
                            double seconds) const {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    do {
        SDL_Surface* s = screenshot(bmpPath);
        const bool ok = seen(s);
        SDL_FreeSurface(s);
        if (ok) return true;
        sleepMs(100);
    } while (std::chrono::steady_clock::now() < end);
    return false;
}

void XServer::savePng(const std::string& pngPath, int x, int y, int w, int h) const {
    run("xwd -root -silent | /usr/bin/convert xwd:- -crop " + std::to_string(w) + "x" +
        std::to_string(h) + "+" + std::to_string(x) + "+" + std::to_string(y) + " +repage png:" +
        pngPath);
}

GameProcess::GameProcess(const XServer& server, const std::string& d) : x(server), dir(d) {
    pid = fork();
    if (pid == 0) {
        if (chdir(dir.c_str()) != 0) _exit(126);
        const int out = open("stdout.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 1);
        dup2(err, 2);
        setenv("DISPLAY", x.display().c_str(), 1);
        unsetenv("SDL_VIDEODRIVER");
        setenv("LSAN_OPTIONS", "suppressions=" SKELVO_LSAN_SUPPRESSIONS ":print_suppressions=0", 1);
        execl("./skelvo", "./skelvo", static_cast<char*>(nullptr));
        _exit(127);
    }
}

GameProcess::~GameProcess() {
    if (pid > 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
}

std::string GameProcess::out() const {
    try {
        return readFile(dir + "/stdout.txt");
    } catch (const std::runtime_error&) {
        return "";
    }
}

std::string GameProcess::err() const {
    try {
        return readFile(dir + "/stderr.txt");
    } catch (const std::runtime_error&) {
        return "";
    }
}

bool GameProcess::waitForOutput(const std::string& text, int count, double seconds) const {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        const std::string o = out();
        int found = 0;
        for (std::size_t at = o.find(text); at != std::string::npos; at = o.find(text, at + 1))
            ++found;
        if (found >= count) return true;
        sleepMs(50);
    }
    return false;
}

std::string GameProcess::window() const {
    std::string id = x.run("xdotool search --sync --limit 1 --name 'kelvo arena'");
    while (!id.empty() && (id.back() == '\n' || id.back() == ' ')) id.pop_back();
    return id;
}

void GameProcess::press(const std::string& key, int ms) const {
    // Without a window manager the game gets the keyboard only once it is focused; a press
    // must last longer than the menus' 50 ms polls to be seen.
    x.run("xdotool windowfocus --sync " + window() + " keydown " + key);
    sleepMs(ms);
    x.run("xdotool keyup " + key);
}

int GameProcess::wait(double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            pid = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        sleepMs(50);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    pid = -1;
    return -1;
}

Rgb8 pixelAt(const SDL_Surface* s, int x, int y) {
    const int bpp = s->format->BytesPerPixel;
    const Uint8* p = static_cast<const Uint8*>(s->pixels) + y * s->pitch + x * bpp;
    Uint32 v = 0;
    for (int i = 0; i < bpp; ++i) v |= static_cast<Uint32>(p[i]) << (8 * i);
    Uint8 r, g, b;
    SDL_GetRGB(v, s->format, &r, &g, &b);
    return {r, g, b};
}
