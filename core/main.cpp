// Entry point of skelvo: start-up, the outer loop, and the one place failures are reported.
#include "core/Conf.h"
#include "core/Game.h"

#include <SDL.h>

#include <iostream>
#include <memory>
#include <stdexcept>

int main(int argc, char** argv) {
    auto game = std::make_unique<Game>();
    std::unique_ptr<Conf> conf;
    try {
        conf = std::make_unique<Conf>(argc, argv);
        std::cout << conf->playerName << ":" << std::endl;
        game->init();
        while (game->menu() == 0) {
            if (game->play() != 0) break;
            game->reset();
        }
    } catch (const std::runtime_error& e) {
        std::cerr << e.what() << "\n" << "SDL: " << SDL_GetError() << "\n";
        game.reset();
        return 1;
    } catch (...) {
        std::cerr << "unknown exception.\n";
        game.reset();
        return 1;
    }
    game.reset();
    return 0;
}
