// The floor of a frame: the same SDL blits straight onto the game's own surfaces and the same
// BulletML runners (FloorRunner), over flat vectors, with nothing else around them. What the
// game spends beyond this is its own overhead.
#pragma once

#include "FloorBody.h"

#include <SDL.h>

#include <array>
#include <memory>
#include <vector>

class ActionList;
class BulletMLState;
class Game;

class FloorField {
public:
    // Borrows the game's screen, canvas and images, and reads its players' places and ranks.
    explicit FloorField(Game& game);
    FloorField(const FloorField&) = delete;
    FloorField& operator=(const FloorField&) = delete;

    // Empties the field; the canvas is wiped as the game's reset wipes it.
    void clear();
    // The players' places and ranks as the game has them now.
    void readPlayers();

    FloorBody& addShot(const Point& center, const Point& vel, int c);
    // The state goes to the new body's runner, which frees it while being built.
    FloorBody& addBullet(const Point& center, const Point& vel,
                         std::unique_ptr<BulletMLState> state, int c);
    FloorBody& addPartner(const Point& center, ActionList* list, int c);
    bool hasRoom() const;

    // One frame at the clock's `now` and `seconds`: the runners, then moving and drawing,
    // the flip, the canvas onto the screen, the sweep and the events. When both are given,
    // `bulletmlMicros` and `sdlMicros` get the time spent in the runners and in the rest.
    void frame(double* bulletmlMicros = nullptr, double* sdlMicros = nullptr);

    std::size_t objectCount() const { return enemies.size() + shots.size(); }

    Uint32 now = 0;
    double seconds = 0.0;
    std::array<Point, 2> targets;
    std::array<double, 2> ranks{};

    std::vector<std::unique_ptr<FloorBody>> enemies;
    std::vector<FloorBody> shots;

private:
    static void opaque(SDL_Surface* sprite);
    void step(FloorBody& e);
    void countdown(const FloorBody& e, Uint32 k);
    void moveAndDraw(FloorBody& b);
    void blit(SDL_Surface* source, SDL_Surface* target, const Point& at);
    FloorBody body(const Point& center, const Point& vel, SDL_Surface* sprite, int c) const;

    Game& game_;  // not owned
    // The game's surfaces, not owned.
    SDL_Surface* screen_;
    SDL_Surface* canvas_;
    std::array<SDL_Surface*, 2> shotImages_;
    std::array<SDL_Surface*, 2> firingImages_;
    std::array<SDL_Surface*, 2> plainImages_;
    std::array<SDL_Surface*, 2> enemyImages_;
    std::array<SDL_Surface*, 2> dyeImages_;
    std::array<SDL_Surface*, 2> lifeIcons_;
    std::array<SDL_Surface*, 2> playerImages_;
    std::array<Point, 2> playerPos_;
    std::array<int, 2> lives_{};
    Point field_;
};
