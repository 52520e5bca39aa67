// Fuzzes BulletML documents through the game's loader, then plays what it accepts for a few
// seconds of game time in a headless match with the real runner, partner and bullets.
#include "FuzzSupport.h"
#include "core/Game.h"
#include "display/MainWindow.h"
#include "input/InputBase.h"
#include "objects/Enemy.h"
#include "objects/Player.h"
#include "script/ActionList.h"
#include "script/BulletMLDocument.h"
#include "script/EnemyCommand.h"

#include <bulletmlerror.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <unistd.h>

namespace {

// Two seconds of game time: long enough for a pattern's bullets to fire theirs; the busiest
// sound documents take a few seconds each under the sanitizers.
const int FRAMES = 120;
const Uint32 FRAME_MS = 16;

struct Idle : MSDL::InputBase {
    int getDirection() override { return 0; }
    bool isPressed(int) override { return false; }
};

Game& headlessGame() {
    static Game* game = [] {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        if (chdir(SKELVO_GAME_DIR) != 0) std::abort();
        auto* g = new Game;
        g->init();
        for (int c = 0; c < 2; ++c) {
            g->inputs[c] = std::make_unique<Idle>();
            g->lifeIcons[c] = std::make_unique<Window>(*g->ballImage);
            g->playerImages[c] = std::make_unique<Window>(*g->haloImages[c]);
            g->players[c] = std::make_unique<Player>(Point(100.0 + 100 * c, 350), g->playerImages[c].get(),
                                                     g->inputs[c].get(), c, c, 2);
        }
        writeInput("none.act", nullptr, 0);
        return g;
    }();
    return *game;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Game& game = headlessGame();
    static ActionList idle(fuzzDir() + "/none.act");
    writeInput("fuzz.xml", data, size);
    std::unique_ptr<BulletMLDocument> document;
    try {
        document = BulletMLDocument::load(fuzzDir() + "/fuzz.xml");
    } catch (const BulletMLError&) {
        return 0;
    }
    game.enemies.push_front(std::make_unique<Enemy>(Point(150, 100), game.enemyImages[0].get(), &idle, 0));
    Enemy& partner = *game.enemies.front();
    partner.command = std::make_unique<EnemyCommand>(document.get(), &partner);
    for (int f = 0; f < FRAMES && !game.matchOver; ++f) {
        game.runFrame(game.lastTicks + FRAME_MS);
        if (game.shots.size() + game.enemies.size() > Game::kMaxBullets) std::abort();
    }
    game.reset();
    for (auto& p : game.players) p->lives = 2;
    return 0;
}
