// Fuzzes BulletML documents through the loader, then plays what it accepts for two seconds of
// whole frames, as a match does.
#include "FuzzSupport.h"
#include "core/Game.h"
#include "display/Window.h"
#include "input/InputBase.h"
#include "objects/Enemy.h"
#include "objects/Player.h"
#include "script/BulletMLDocument.h"
#include "script/EnemyCommand.h"

// A device that shows nothing: the players stand still, so the patterns alone make the play.
struct Idle : MSDL::InputBase {
    int getDirection() override { return 0; }
    bool isPressed(int) override { return false; }
};

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Game& game = []() -> Game& {
        auto* g = new Game;
        if (chdir(SKELVO_GAME_DIR) != 0) std::abort();
        g->init();
        if (fchdir(startDir) != 0) std::abort();
        for (int c = 0; c < 2; ++c) {
            g->inputs[c] = std::make_unique<Idle>();
            g->lifeIcons[c] = std::make_unique<Window>(*g->ballImage);
            g->playerImages[c] = std::make_unique<Window>(*g->haloImages[c]);
            g->players[c] = std::make_unique<Player>(Point(100 + 100 * c, 350),
                                                     g->playerImages[c].get(), g->inputs[c].get(),
                                                     c, c, 2);
        }
        return *g;
    }();
    return readInput("fuzz.xml", data, size, [] {
        const auto document = BulletMLDocument::load("fuzz.xml");
        Enemy& partner = *game.enemies.emplace_front(std::make_unique<Enemy>(
            Point(150, 100), game.enemyImages[0].get(), game.actions.defaultList(), 0));
        partner.actions = nullptr;  // so that only the input plays
        partner.command = std::make_unique<EnemyCommand>(document.get(), &partner);
        for (int frame = 0; frame < 120 && !game.matchOver; ++frame) {
            game.runFrame(game.lastTicks + 16);
            if (game.shots.size() + game.enemies.size() > Game::kMaxBullets) std::abort();
        }
        game.reset();
        for (auto& p : game.players) p->lives = 2;
    });
}
