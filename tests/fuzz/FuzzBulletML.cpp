// Fuzzes BulletML documents through the game's loader, then plays what it accepts for a few
// seconds of game time on a headless field with the real runner, partner and bullets.
#include "FuzzSupport.h"
#include "core/Game.h"
#include "display/MainWindow.h"
#include "objects/Enemy.h"
#include "objects/Player.h"
#include "script/ActionList.h"

#include <bulletmlerror.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <unistd.h>

namespace {

const int FRAMES = 250;
const Uint32 FRAME_MS = 16;

Game& headlessGame() {
    static Game* game = [] {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        fuzzDir();
        if (chdir(SKELVO_GAME_DIR) != 0) std::abort();
        auto* g = new Game;
        g->init();
        // Players stand where a match puts them; nobody steers them here.
        for (int c = 0; c < 2; ++c) g->playerImages[c] = std::make_unique<Window>(*g->haloImages[c]);
        for (int c = 0; c < 2; ++c) {
            g->players[c] = std::make_unique<Player>(Point(100.0 + 100 * c, 350),
                                                     g->playerImages[c].get(), nullptr, c, c, 2);
        }
        return g;
    }();
    return *game;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Game& game = headlessGame();
    writeInput("fuzz.xml", data, size);
    {
        std::ofstream act(fuzzDir() + "/fuzz.act");
        act << "Commands List\n" << fuzzDir() << "/fuzz.xml\n";
    }
    std::unique_ptr<ActionList> list;
    try {
        list = std::make_unique<ActionList>(fuzzDir() + "/fuzz.act");
    } catch (const std::runtime_error&) {
        return 0;
    }
    game.lastTicks = 10000;
    game.frameSeconds = FRAME_MS / 1000.0;
    auto partner = std::make_unique<Enemy>(Point(150, 100), game.enemyImages[0].get(), list.get(), 0);
    partner->nextStart = game.lastTicks;
    game.enemies.push_front(std::move(partner));
    for (int f = 0; f < FRAMES; ++f) {
        game.lastTicks += FRAME_MS;
        game.thinkEnemies();
        game.updateAll();
        game.collide();
        game.sweep();
        if (game.shots.size() + game.enemies.size() > Game::kMaxBullets) std::abort();
    }
    game.reset();
    return 0;
}
