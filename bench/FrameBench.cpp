// One frame of a match against its floor: the game's own frame (every step after the clock,
// without the clock's wait) beside the same field run by FloorField, which does only the SDL
// blits and the BulletML runners, with the shipped patterns at levels 0, 5 and 10 and with
// 100, 1000 and 5000 bullets held on the field.
//   bench_frame                       times of both, side by side
//   bench_frame --callgrind WHO N     N bullets, WHO game or floor, collecting only the
//                                     measured frames (run under valgrind --tool=callgrind
//                                     --collect-atstart=no)
//   bench_frame --play SECONDS        plays levels 0, 5 and 10 for SECONDS of game time each
//                                     and reports the peak resident memory
//   bench_frame --hostile DIR         plays every document of DIR that the game accepts on a
//                                     partner of its own for 10 s of game time and reports the
//                                     slowest frame of each
#include "BenchGame.h"
#include "FloorField.h"
#include "display/MainWindow.h"
#include "objects/Enemy.h"
#include "objects/Player.h"
#include "objects/Shot.h"
#include "script/ActionList.h"
#include "script/BulletMLDocument.h"
#include "script/EnemyCommand.h"

#include <bulletmlerror.h>

#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define TOGGLE_COLLECT() CALLGRIND_TOGGLE_COLLECT
#else
#define TOGGLE_COLLECT() \
    do {                 \
    } while (0)
#endif

namespace {

using Clock = std::chrono::steady_clock;

// Of every four bullets held on the field one carries actions of its own.
const std::size_t BULLETS_PER_BULLET_ENEMY = 4;
const unsigned SEED = 20240607u;
const int FULL_FIELD_FRAMES = 200;
// The game and the floor take turns in blocks this long, so a change in the machine's load
// meets both; each keeps its own rand() state (glibc's initstate and setstate), so both fields
// still play out alike.
const int BLOCK = 100;
const std::size_t RANDOM_STATE_BYTES = 128;

struct Case {
    std::string name;
    int level;            // the partners' level, or -1 for a field held at `bullets`
    std::size_t bullets;  // 0 for a level
    int warmUp;
    int frames;
};

const Case CASES[] = {
    {"level 0", 0, 0, 1500, 4000},       {"level 5", 5, 0, 1500, 4000},
    {"level 10", 10, 0, 1500, 4000},     {"100 bullets", -1, 100, 50, 2000},
    {"1000 bullets", -1, 1000, 50, 2000}, {"5000 bullets", -1, 5000, 50, 1000},
};

double micros(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::micro>(b - a).count();
}

// The thread's own processor time: a frame's work, less what other programs on a busy
// machine took of the processor meanwhile.
double cpuMicros() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

double percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    const std::size_t rank = static_cast<std::size_t>(std::ceil(p * static_cast<double>(v.size())));
    return v[std::min(v.size() - 1, rank == 0 ? 0 : rank - 1)];
}
double median(const std::vector<double>& v) { return percentile(v, 0.5); }

// A place and a velocity for a new bullet: anywhere on the field, flying any way at 50 to 250
// pixels per second. Drawn in a fixed order, so the game and the floor get the same ones.
struct Spawn {
    Point at;
    Point vel;
};

Spawn draw(std::mt19937& rng, const Point& field) {
    std::uniform_real_distribution<double> unit(0, 1);
    Spawn s;
    s.at.x = unit(rng) * field.x;
    s.at.y = unit(rng) * field.y;
    const double speed = 50 + 200 * unit(rng);
    const double heading = 2 * GAME_PI * unit(rng);
    s.vel = Point(speed * std::sin(heading), -speed * std::cos(heading));
    return s;
}

// The benchmark's bullets with actions come from a runner over this document, fired for an
// owner that stands off the field.
const char* const BULLET_DOCUMENT = SKELVO_BENCH_DATA "/bullet-enemy.xml";
const Point OFF_FIELD(-100, -100);

class GameSide {
public:
    explicit GameSide(BenchGame& bench)
        : bench(bench), game(bench.game), document_(BulletMLDocument::load(BULLET_DOCUMENT)),
          owner_(OFF_FIELD, game.enemyImages[0].get(), game.actions.defaultList(), 0) {}

    // The bullets' runners play the launcher's document: they go first.
    ~GameSide() { game.reset(); }

    void start(const Case& c) {
        game.reset();
        bench.placePlayers();
        game.lastTicks = BenchGame::kStartTicks;
        initstate(SEED, randomState_, sizeof randomState_);
        rng_.seed(SEED + static_cast<unsigned>(c.bullets));
        if (c.level >= 0) {
            ActionList* list = game.actions.listForLevel(c.level);
            game.enemies.push_back(std::make_unique<Enemy>(
                Point(Game::kWhiteStartX, Game::kStartY), game.enemyImages[0].get(), list, 0));
            game.enemies.push_back(std::make_unique<Enemy>(
                Point(Game::kBlackStartX, Game::kStartY), game.enemyImages[1].get(), list, 1));
        }
        fill(c);
    }

    // Tops the field up to the case's bullets, one in four with actions.
    void fill(const Case& c) {
        if (c.bullets == 0) return;
        const Point& field = game.window->getSize();
        const std::size_t withActions = c.bullets / BULLETS_PER_BULLET_ENEMY;
        while (game.enemies.size() < withActions) {
            owner_.color = static_cast<int>(game.enemies.size() % 2);
            EnemyCommand(document_.get(), &owner_).run();
            Enemy& fired = *game.enemies.back();
            const Spawn s = draw(rng_, field);
            fired.pos = s.at;
            fired.updateCenter();
            fired.vel = s.vel;
        }
        while (game.shots.size() < c.bullets - withActions) {
            const Spawn s = draw(rng_, field);
            game.addShot(s.at, s.vel, static_cast<int>(game.shots.size() % 2));
        }
    }

    void frame() {
        game.runFrame(bench.nextTick());
    }

    std::size_t objects() const { return game.enemies.size() + game.shots.size(); }
    // rand()'s state for this side's patterns (random lists, $rand) from now on.
    void useRandom() { setstate(randomState_); }

    BenchGame& bench;
    Game& game;

private:
    std::unique_ptr<BulletMLDocument> document_;
    Enemy owner_;
    std::mt19937 rng_;
    char randomState_[RANDOM_STATE_BYTES];
};

class FloorSide {
public:
    explicit FloorSide(Game& game)
        : game(game), document_(BulletMLDocument::load(BULLET_DOCUMENT)), floor(game) {
        owner_.pos = owner_.center = OFF_FIELD;
        // Lists of their own: a list played in order keeps one cursor for all its enemies.
        actions_.load();
    }

    void start(const Case& c) {
        floor.clear();
        floor.readPlayers();
        floor.now = BenchGame::kStartTicks;
        initstate(SEED, randomState_, sizeof randomState_);
        rng_.seed(SEED + static_cast<unsigned>(c.bullets));
        if (c.level >= 0) {
            ActionList* list = actions_.listForLevel(c.level);
            floor.addPartner(Point(Game::kWhiteStartX, Game::kStartY), list, 0);
            floor.addPartner(Point(Game::kBlackStartX, Game::kStartY), list, 1);
        }
        fill(c);
    }

    void fill(const Case& c) {
        if (c.bullets == 0) return;
        const Point& field = game.window->getSize();
        const std::size_t withActions = c.bullets / BULLETS_PER_BULLET_ENEMY;
        while (floor.enemies.size() < withActions) {
            owner_.color = static_cast<int>(floor.enemies.size() % 2);
            FloorRunner(document_.get(), floor, owner_).run();
            FloorBody& fired = *floor.enemies.back();
            const Spawn s = draw(rng_, field);
            fired.pos = s.at;
            fired.center = fired.pos + fired.half;
            fired.vel = s.vel;
        }
        while (floor.shots.size() < c.bullets - withActions) {
            const Spawn s = draw(rng_, field);
            floor.addShot(s.at, s.vel, static_cast<int>(floor.shots.size() % 2));
        }
    }

    void frame(double* runners = nullptr, double* drawing = nullptr) {
        floor.now += BenchGame::kFrameTicks;
        floor.seconds = BenchGame::kFrameSeconds;
        floor.frame(runners, drawing);
    }

    std::size_t objects() const { return floor.objectCount(); }
    void useRandom() { setstate(randomState_); }

    Game& game;

private:
    // Before the field: its runners play these documents.
    std::unique_ptr<BulletMLDocument> document_;
    ActionLibrary actions_;

public:
    FloorField floor;

private:
    FloorBody owner_;
    std::mt19937 rng_;
    char randomState_[RANDOM_STATE_BYTES];
};

struct Row {
    std::vector<double> game, gameWall, floor, objects, floorObjects;
    std::vector<double> think, update, clear, collide, sweep, runners, drawing;
};

Row measure(GameSide& g, FloorSide& f, const Case& c) {
    Row r;
    g.start(c);
    f.start(c);
    g.useRandom();
    for (int i = 0; i < c.warmUp; ++i) {
        g.frame();
        g.fill(c);
    }
    f.useRandom();
    for (int i = 0; i < c.warmUp; ++i) {
        f.frame();
        f.fill(c);
    }
    for (int done = 0; done < c.frames; done += BLOCK) {
        const int n = std::min(BLOCK, c.frames - done);
        g.useRandom();
        for (int i = 0; i < n; ++i) {
            const Uint32 now = g.bench.nextTick();
            const auto w0 = Clock::now();
            const double c0 = cpuMicros();
            g.game.runFrame(now);
            const double c1 = cpuMicros();
            const auto w1 = Clock::now();
            r.game.push_back(c1 - c0);
            r.gameWall.push_back(micros(w0, w1));
            r.objects.push_back(static_cast<double>(g.objects()));
            g.fill(c);
        }
        f.useRandom();
        for (int i = 0; i < n; ++i) {
            f.floor.now += BenchGame::kFrameTicks;
            f.floor.seconds = BenchGame::kFrameSeconds;
            const double c0 = cpuMicros();
            f.floor.frame();
            const double c1 = cpuMicros();
            r.floor.push_back(c1 - c0);
            r.floorObjects.push_back(static_cast<double>(f.objects()));
            f.fill(c);
        }
    }

    // Where the time goes, on frames after the measured ones: the game's steps one by one in
    // the frame's own order, and the floor's runners apart from the rest.
    Game& game = g.game;
    g.useRandom();
    for (int i = 0; i < c.frames / 4; ++i) {
        game.tick(g.bench.nextTick());
        game.controlPlayers();
        const auto t0 = Clock::now();
        game.thinkEnemies();
        game.drawLives();
        const auto t1 = Clock::now();
        game.updateAll();
        const auto t2 = Clock::now();
        game.window->clear();
        const auto t3 = Clock::now();
        game.collide();
        const auto t4 = Clock::now();
        game.sweep();
        const auto t5 = Clock::now();
        game.pollEvents();
        r.think.push_back(micros(t0, t1));
        r.update.push_back(micros(t1, t2));
        r.clear.push_back(micros(t2, t3));
        r.collide.push_back(micros(t3, t4));
        r.sweep.push_back(micros(t4, t5));
        g.fill(c);
    }
    f.useRandom();
    for (int i = 0; i < c.frames / 4; ++i) {
        double runners = 0, drawing = 0;
        f.frame(&runners, &drawing);
        r.runners.push_back(runners);
        r.drawing.push_back(drawing);
        f.fill(c);
    }
    return r;
}

int runTimes(BenchGame& bench) {
    GameSide g(bench);
    FloorSide f(bench.game);
    std::printf("work of one frame in microseconds of the thread's processor time: median and "
                "99th percentile;\nratio: game / floor; wall: the game's frames by the clock "
                "on the wall;\nobjects: median shots and enemies on the field after a frame "
                "(game / floor)\n\n");
    std::printf("%-13s %6s %13s %9s %9s %9s %9s %7s %7s %9s %9s\n", "case", "frames", "objects",
                "game", "game p99", "floor", "floor p99", "ratio", "p99 r.", "wall", "wall p99");
    std::vector<Row> rows;
    for (const Case& c : CASES) {
        Row r = measure(g, f, c);
        const double gm = median(r.game), fm = median(r.floor);
        const double gp = percentile(r.game, 0.99), fp = percentile(r.floor, 0.99);
        const std::string objects = std::to_string(static_cast<long>(median(r.objects))) + " / " +
                                    std::to_string(static_cast<long>(median(r.floorObjects)));
        std::printf("%-13s %6d %13s %9.1f %9.1f %9.1f %9.1f %7.2f %7.2f %9.1f %9.1f\n",
                    c.name.c_str(), c.frames, objects.c_str(), gm, gp, fm, fp, gm / fm, gp / fp,
                    median(r.gameWall), percentile(r.gameWall, 0.99));
        std::fflush(stdout);
        rows.push_back(std::move(r));
    }
    std::printf("\nwhere the time goes, medians in microseconds by the wall clock: the game's "
                "steps (think\nincludes the life icons) and the floor's runners and the rest "
                "(bml, sdl)\n");
    std::printf("%-13s %9s %9s %9s %9s %9s %9s %9s %9s\n", "case", "think", "update", "clear",
                "collide", "sweep", "ns/object", "floor bml", "floor sdl");
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Row& r = rows[i];
        const double objects = std::max(1.0, median(r.objects));
        std::printf("%-13s %9.1f %9.1f %9.1f %9.1f %9.1f %9.0f %9.1f %9.1f\n",
                    CASES[i].name.c_str(), median(r.think), median(r.update), median(r.clear),
                    median(r.collide), median(r.sweep), 1000.0 * median(r.game) / objects,
                    median(r.runners), median(r.drawing));
    }
    return 0;
}

// Only the measured frames are collected; the field is topped up outside them.
int runCallgrind(BenchGame& bench, const std::string& who, std::size_t bullets) {
    const int warmUp = 50;
    const int frames = 100;
    const Case c{std::to_string(bullets) + " bullets", -1, bullets, warmUp, frames};
    std::size_t objects = 0;
    if (who == "game") {
        GameSide g(bench);
        g.start(c);
        for (int i = 0; i < warmUp; ++i) {
            g.frame();
            g.fill(c);
        }
        for (int i = 0; i < frames; ++i) {
            const Uint32 now = g.bench.nextTick();
            TOGGLE_COLLECT();
            g.game.runFrame(now);
            TOGGLE_COLLECT();
            objects += g.objects();
            g.fill(c);
        }
    } else if (who == "floor") {
        FloorSide f(bench.game);
        f.start(c);
        for (int i = 0; i < warmUp; ++i) {
            f.frame();
            f.fill(c);
        }
        for (int i = 0; i < frames; ++i) {
            f.floor.now += BenchGame::kFrameTicks;
            f.floor.seconds = BenchGame::kFrameSeconds;
            TOGGLE_COLLECT();
            f.floor.frame();
            TOGGLE_COLLECT();
            objects += f.objects();
            f.fill(c);
        }
    } else {
        std::fprintf(stderr, "--callgrind takes game or floor, not %s\n", who.c_str());
        return 2;
    }
    std::printf("frames %d objects %zu\n", frames, objects / frames);
    return 0;
}

long peakKilobytes() {
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

int runPlay(BenchGame& bench, double seconds) {
    const long started = peakKilobytes();
    GameSide g(bench);
    std::size_t most = 0;
    const int frames = static_cast<int>(seconds / BenchGame::kFrameSeconds);
    for (int level : {0, 5, 10}) {
        const Case c{"level", level, 0, 0, 0};
        g.start(c);
        for (int i = 0; i < frames; ++i) {
            g.frame();
            most = std::max(most, g.objects());
        }
    }
    const long played = peakKilobytes();
    // The most a pattern can ever put on the field.
    const Case full{"full", -1, Game::kMaxBullets, 0, 0};
    g.start(full);
    for (int i = 0; i < FULL_FIELD_FRAMES; ++i) {
        g.frame();
        g.fill(full);
    }
    std::printf("peak resident memory: %ld KiB after start-up, %ld KiB after playing levels 0, 5 "
                "and 10 for %.0f s of game time each (at most %zu objects on the field), %ld KiB "
                "with the field held full (%zu objects) for %d frames\n",
                started, played, seconds, most, peakKilobytes(), Game::kMaxBullets,
                FULL_FIELD_FRAMES);
    return 0;
}

// The slowest frame, in processor time, of each document that plays: the frame's budget for
// pattern work is what keeps these short however a document is written.
int runHostile(BenchGame& bench, const std::string& dir) {
    namespace fs = std::filesystem;
    const std::string none = (fs::temp_directory_path() / "skelvo-bench-none.act").string();
    std::ofstream(none).close();
    ActionList idle(none);
    const int frames = 10000 / 16;
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(dir)) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    double worst = 0;
    std::string worstName;
    std::printf("%-36s %12s %12s %10s\n", "document", "slowest (us)", "median (us)", "objects");
    for (const fs::path& file : files) {
        std::unique_ptr<BulletMLDocument> document;
        try {
            document = BulletMLDocument::load(file.string());
        } catch (const BulletMLError&) {
            continue;
        }
        Game& game = bench.game;
        game.reset();
        bench.placePlayers();
        game.lastTicks = BenchGame::kStartTicks;
        game.enemies.push_front(std::make_unique<Enemy>(Point(150, 100), game.enemyImages[0].get(), &idle, 0));
        Enemy& partner = *game.enemies.front();
        partner.command = std::make_unique<EnemyCommand>(document.get(), &partner);
        std::vector<double> times;
        std::size_t most = 0;
        for (int i = 0; i < frames; ++i) {
            const double c0 = cpuMicros();
            game.runFrame(game.lastTicks + 16);
            times.push_back(cpuMicros() - c0);
            most = std::max(most, game.shots.size() + game.enemies.size());
            for (auto& p : game.players) p->lives = 2;
        }
        const double slowest = *std::max_element(times.begin(), times.end());
        std::printf("%-36s %12.1f %12.1f %10zu\n", file.filename().c_str(), slowest, median(times), most);
        if (slowest > worst) {
            worst = slowest;
            worstName = file.filename().string();
        }
        game.reset();
    }
    std::printf("slowest frame of all: %.1f ms (%s)\n", worst / 1000, worstName.c_str());
    std::remove(none.c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        BenchGame bench;
        if (argc == 4 && std::strcmp(argv[1], "--callgrind") == 0)
            return runCallgrind(bench, argv[2], std::stoul(argv[3]));
        if (argc == 3 && std::strcmp(argv[1], "--play") == 0)
            return runPlay(bench, std::stod(argv[2]));
        if (argc == 3 && std::strcmp(argv[1], "--hostile") == 0) return runHostile(bench, argv[2]);
        if (argc != 1) {
            std::fprintf(stderr, "usage: bench_frame [--callgrind game|floor N | --play SECONDS | --hostile DIR]\n");
            return 2;
        }
        return runTimes(bench);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\nSDL: %s\n", e.what(), SDL_GetError());
        return 1;
    }
}
