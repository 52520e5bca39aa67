// How long one frame of a match takes with N bullets on the field, a quarter of them bullets
// with actions: the median of the enemies' pattern steps, the update, collision and sweep
// passes, and of the whole frame without the clock's wait.
#include "core/Game.h"
#include "input/InputBase.h"
#include "display/MainWindow.h"
#include "objects/Enemy.h"
#include "objects/Player.h"
#include "objects/Shot.h"
#include "script/BulletMLDocument.h"
#include "script/EnemyCommand.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <random>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

const int WARM_UP_FRAMES = 50;
const int MEASURED_FRAMES = 400;
// A fast machine's frame: at 2 ms a bullet moves well under a pixel, as in a real match.
const double FRAME_SECONDS = 0.002;
// Of every four bullets one carries actions of its own.
const std::size_t BULLETS_PER_BULLET_ENEMY = 4;

double micros(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::micro>(b - a).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Where the benchmark's bullets with actions come from: a runner over the benchmark's
// document fires one for its owner, which stands off the field.
struct Launcher {
    explicit Launcher(Game& game)
        : document(BulletMLDocument::load(SKELVO_BENCH_DATA "/bullet-enemy.xml")),
          owner(Point(-100, -100), game.enemyImages[0].get(), game.actions.defaultList(), 0) {}

    void fire(int color) {
        owner.color = color;
        EnemyCommand(document.get(), &owner).run();
    }

    std::unique_ptr<BulletMLDocument> document;
    Enemy owner;
};

// Keeps the field at n bullets of both colours, flying every way at 50 to 250 pixels per
// second from anywhere on the field, so some cross the players and some leave each frame.
void fill(Game& game, Launcher& launcher, std::size_t n, std::mt19937& rng) {
    const Point& field = game.window->getSize();
    std::uniform_real_distribution<double> x(0, field.x), y(0, field.y), speed(50, 250),
        heading(0, 2 * GAME_PI);
    const auto velocity = [&] {
        const double a = heading(rng);
        const double s = speed(rng);
        return Point(s * std::sin(a), -s * std::cos(a));
    };
    const std::size_t bulletEnemies = n / BULLETS_PER_BULLET_ENEMY;
    while (game.enemies.size() < bulletEnemies) {
        launcher.fire(static_cast<int>(game.enemies.size() % 2));
        Enemy& fired = *game.enemies.back();
        fired.pos = Point(x(rng), y(rng));
        fired.updateCenter();
        fired.vel = velocity();
    }
    while (game.shots.size() < n - bulletEnemies)
        game.addShot(Point(x(rng), y(rng)), velocity(), static_cast<int>(game.shots.size() % 2));
}

// The clock is not run: the benchmark advances it by hand, as the tests do.
void advance(Game& game) {
    game.lastTicks += 2;
    game.frameSeconds = FRAME_SECONDS;
    ++game.frameCount;
}

void measure(Game& game, Launcher& launcher, std::size_t n) {
    std::mt19937 rng(20240607u + static_cast<unsigned>(n));
    game.reset();
    fill(game, launcher, n, rng);
    for (int i = 0; i < WARM_UP_FRAMES; ++i) {
        advance(game);
        game.frame();
        fill(game, launcher, n, rng);
    }

    std::vector<double> think, update, collide, sweep, whole;
    for (int i = 0; i < MEASURED_FRAMES; ++i) {
        // The steps one by one, in the frame's own order.
        advance(game);
        game.controlPlayers();
        const auto s0 = Clock::now();
        game.thinkEnemies();
        const auto s1 = Clock::now();
        game.drawLives();
        const auto t0 = Clock::now();
        game.updateAll();
        const auto t1 = Clock::now();
        game.window->clear();
        const auto t2 = Clock::now();
        game.collide();
        const auto t3 = Clock::now();
        game.sweep();
        const auto t4 = Clock::now();
        game.pollEvents();
        think.push_back(micros(s0, s1));
        update.push_back(micros(t0, t1));
        collide.push_back(micros(t2, t3));
        sweep.push_back(micros(t3, t4));
        fill(game, launcher, n, rng);

        // And the frame as play() runs it after the clock.
        advance(game);
        const auto f0 = Clock::now();
        game.frame();
        const auto f1 = Clock::now();
        whole.push_back(micros(f0, f1));
        fill(game, launcher, n, rng);
    }
    const double frame = median(whole);
    std::printf("%6zu %10.1f %10.1f %10.1f %10.1f %10.1f %10.0f\n", n, median(think),
                median(update), median(collide), median(sweep), frame,
                1000.0 * frame / static_cast<double>(n));
}

}  // namespace

int main() {
    // Headless by design: the game itself never chooses a video driver.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    try {
        std::filesystem::current_path(SKELVO_GAME_DIR);
        Game game;
        game.init();
        for (int c = 0; c < 2; ++c) {
            game.lifeIcons[c] = std::make_unique<Window>(*game.ballImage);
            game.playerImages[c] = std::make_unique<Window>(*game.haloImages[c]);
        }
        // Both sides read the first player's keys, which nobody presses here.
        MSDL::InputBase* keys = game.inputs[0].get();
        game.players[0] = std::make_unique<Player>(Point(100, 350), game.playerImages[0].get(),
                                                   keys, 0, 0, 2);
        game.players[1] = std::make_unique<Player>(Point(200, 350), game.playerImages[1].get(),
                                                   keys, 1, 5, 2);
        game.lastTicks = SDL_GetTicks();

        Launcher launcher(game);

        std::printf("median of %d frames, microseconds (last column: nanoseconds per bullet);\n"
                    "one bullet in %zu carries actions\n",
                    MEASURED_FRAMES, BULLETS_PER_BULLET_ENEMY);
        std::printf("%6s %10s %10s %10s %10s %10s %10s\n", "N", "think", "update", "collide",
                    "sweep", "frame", "ns/N");
        for (std::size_t n : {100, 1000, 5000}) measure(game, launcher, n);
        // The bullets' runners play the launcher's document: they go first.
        game.reset();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\nSDL: %s\n", e.what(), SDL_GetError());
        return 1;
    }
    return 0;
}
