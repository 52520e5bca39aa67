// A real X server with the game running in it.
#include "support/XSession.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <stdexcept>

XServer::XServer(int w, int h) : width(w), height(h) {
    for (int attempt = 1; attempt <= 3; ++attempt) {
        if (start()) return;
        stop();
        std::cerr << "Xvfb did not start or does not answer (try " << attempt << " of 3)\n";
    }
    throw std::runtime_error("Xvfb did not start in 3 tries");
}

bool XServer::start() {
    // Xvfb chooses a free display and tells its number once it accepts clients, so servers of
    // tests running side by side never race for one.
    int ready[2];
    if (pipe(ready) != 0) return false;
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    pid = fork();
    if (pid == 0) {
        close(ready[0]);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        // -noreset: a server resets when its last client leaves, and a game connecting during
        // that reset is refused its display.
        execlp("Xvfb", "Xvfb", "-displayfd", std::to_string(ready[1]).c_str(), "-screen", "0",
               screen.c_str(), "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(ready[1]);
    std::string number;
    char c;
    while (read(ready[0], &c, 1) == 1 && c != '\n') number += c;
    close(ready[0]);
    name = ":" + number;
    // Only a server that answers a client is ready for the game.
    return pid > 0 && !number.empty() && waitUntil([this] {
        return run("xdotool getdisplaygeometry 2>/dev/null").find(' ') != std::string::npos;
    }, 10);
}

void XServer::stop() {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    pid = -1;
}

std::string XServer::run(const std::string& command) const {
    FILE* p = popen(("export DISPLAY=" + name + "; " + command).c_str(), "r");
    if (!p) throw std::runtime_error("cannot run " + command);
    std::string out;
    char buf[65536];
    for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    pclose(p);
    return out;
}

Screen XServer::screen() const {
    // /usr/bin/convert is ImageMagick's.
    const std::string rgb = run("xwd -root -silent | /usr/bin/convert xwd:- -depth 8 rgb:-");
    if (rgb.size() != 3u * width * height) throw std::runtime_error("no screenshot of " + name);
    Screen s;
    s.width = width;
    for (std::size_t i = 0; i < rgb.size(); i += 3)
        s.pixels.push_back({static_cast<unsigned char>(rgb[i]), static_cast<unsigned char>(rgb[i + 1]),
                            static_cast<unsigned char>(rgb[i + 2])});
    return s;
}

std::unique_ptr<GameProcess> XServer::startGame(const std::string& dir) const {
    for (int attempt = 1;; ++attempt) {
        auto game = std::make_unique<GameProcess>(dir, std::vector<std::string>{}, name);
        if (game->waitForOutput(WINDOW_LINE)) return game;
        // SDL now and then finds a fresh server's display closed to it: the server's doing.
        if (game->err().find("Couldn't open X11 display") == std::string::npos) return game;
        if (attempt == 3)
            throw std::runtime_error("SDL could not open the display " + name + " in 3 tries");
        std::cerr << "SDL could not open the display " << name << " (try " << attempt
                  << " of 3)\n";
    }
}

bool XServer::tapUntil(const std::string& key, const std::function<bool()>& done) const {
    for (int tap = 0; tap < 3; ++tap) {
        if (tap > 0) std::cerr << "no answer to " << key << " in 20 seconds: tapping again\n";
        // Without a window manager the game gets the keyboard only once it is focused. A game
        // that has ended has no window to find, and nothing is pressed. (A window named in the
        // same xdotool command would be sent events of its own instead of the keyboard's.)
        run("timeout 20 xdotool search --limit 1 --name 'kelvo arena' windowfocus --sync && "
            "timeout 20 xdotool keydown " + key + " sleep 0.25 keyup " + key);
        if (waitUntil(done, 20)) return true;
    }
    return false;
}

void XServer::savePng(const std::string& path, int w, int h) const {
    run("xwd -root -silent | /usr/bin/convert xwd:- -crop " + std::to_string(w) + "x" +
        std::to_string(h) + "+0+0 +repage png:" + path);
}
