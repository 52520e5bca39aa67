// Fuzzes BulletML documents through the loader, then plays what it accepts for two seconds.
#include "FuzzSupport.h"
#include "core/Game.h"
#include "display/Window.h"
#include "objects/Enemy.h"
#include "objects/Player.h"
#include "script/BulletMLDocument.h"
#include "script/EnemyCommand.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Game& game = []() -> Game& {
        auto* g = new Game;
        if (chdir(SKELVO_GAME_DIR) != 0) std::abort();
        g->init();
        if (fchdir(startDir) != 0) std::abort();
        g->playerImages[0] = std::make_unique<Window>(*g->haloImages[0]);
        for (int c = 0; c < 2; ++c) {
            g->players[c] = std::make_unique<Player>(Point(100 + 100 * c, 350),
                                                     g->haloImages[c].get(), nullptr, c, c, 2);
        }
        return *g;
    }();
    return readInput("fuzz.xml", data, size, [] {
        const auto document = BulletMLDocument::load("fuzz.xml");
        Enemy& partner = *game.enemies.emplace_front(std::make_unique<Enemy>(
            Point(150, 100), game.enemyImages[0].get(), game.actions.defaultList(), 0));
        partner.actions = nullptr;  // so that only the input plays
        partner.command = std::make_unique<EnemyCommand>(document.get(), &partner);
        for (int frame = 0; frame < 120; ++frame) {
            game.lastTicks += 16;
            game.thinkEnemies();
            game.sweep();
            if (game.shots.size() + game.enemies.size() > Game::kMaxBullets) std::abort();
        }
        game.reset();
    });
}
