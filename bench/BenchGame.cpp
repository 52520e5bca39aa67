// A started game for the benchmarks.
#include "BenchGame.h"

#include "IdleInput.h"
#include "display/Window.h"
#include "objects/Player.h"

#include <cstdlib>
#include <filesystem>

namespace {

const Point START[2] = {Point(100, 350), Point(200, 350)};
// Red for white, purple for black: any pair would do while the players stand still.
const int ART_COLOR[2] = {0, 5};
const int START_LIVES = 2;

}  // namespace

BenchGame::BenchGame() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    std::filesystem::current_path(SKELVO_GAME_DIR);
    game.init();
    // The menus make these for each match from the chosen character; the plain ball will do.
    for (int c = 0; c < 2; ++c) {
        game.lifeIcons[c] = std::make_unique<Window>(*game.ballImage);
        game.playerImages[c] = std::make_unique<Window>(*game.haloImages[c]);
    }
    for (int c = 0; c < 2; ++c) game.inputs[c] = std::make_unique<IdleInput>();
    placePlayers();
    game.lastTicks = kStartTicks;
}

void BenchGame::placePlayers() {
    for (int side = 0; side < 2; ++side) game.players[side] = makePlayer(side);
}

std::unique_ptr<Player> BenchGame::makePlayer(int side) {
    return std::make_unique<Player>(START[side], game.playerImages[side].get(),
                                    game.inputs[side].get(), side, ART_COLOR[side], START_LIVES);
}
