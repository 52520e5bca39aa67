// A started game for the benchmarks: the staged directory, headless, two idle players and a
// clock the benchmark runs by hand.
#pragma once

#include "core/Game.h"

#include <SDL.h>

#include <memory>

class Player;

class BenchGame {
public:
    // One frame of a fast machine: at 2 ms a bullet moves well under a pixel, as in a match.
    static constexpr Uint32 kFrameTicks = 2;
    static constexpr double kFrameSeconds = kFrameTicks / 1000.0;
    // Where the clock stands when a run starts, so runs that start alike play alike.
    static constexpr Uint32 kStartTicks = 10000;

    // Chooses SDL's dummy driver (the game itself never does), starts the game in the staged
    // directory and places both players.
    BenchGame();

    // Both players in their starting places, with idle devices.
    void placePlayers();
    // The tick one frame after the game's clock, without waiting for it.
    Uint32 nextTick() const { return game.lastTicks + kFrameTicks; }

    Game game;

private:
    // The one place the benchmarks make a player.
    std::unique_ptr<Player> makePlayer(int side);
};
