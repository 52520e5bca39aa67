// A started game without a visible window.
#include "support/HeadlessGame.h"

HeadlessGameTest::HeadlessGameTest() : HeadlessGameTest(SKELVO_GAME_DIR) {}

HeadlessGameTest::HeadlessGameTest(const std::string& dir) : in(dir) {
    game.init();
    auto first = std::make_unique<ScriptedInput>();
    auto second = std::make_unique<ScriptedInput>();
    input = first.get();
    input2 = second.get();
    game.inputs[0] = std::move(first);
    game.inputs[1] = std::move(second);
    game.lastTicks = 1000;
    game.frameSeconds = 0.0;
    // The menus build these per match; the halo and the plain ball stand in for them.
    for (int c = 0; c < 2; ++c) {
        game.lifeIcons[c] = std::make_unique<Window>(*game.ballImage);
        game.playerImages[c] = std::make_unique<Window>(*game.haloImages[c]);
    }
    placePlayers();
}

void HeadlessGameTest::placePlayers() {
    game.players[0] =
        std::make_unique<Player>(Point(100, 350), game.haloImages[0].get(), input, 0, 0, 2);
    game.players[1] =
        std::make_unique<Player>(Point(200, 350), game.haloImages[1].get(), input2, 1, 5, 2);
}

Uint32 HeadlessGameTest::mapped(Color c) const {
    return SDL_MapRGB(game.window->getSurface()->format, static_cast<Uint8>(redOf(c)),
                      static_cast<Uint8>(greenOf(c)), static_cast<Uint8>(blueOf(c)));
}
