// Start-up, the front end and the lifetime of everything a match needs.
#include "core/Game.h"

#include "display/Check.h"
#include "display/Color.h"
#include "display/Info.h"
#include "display/MainWindow.h"
#include "display/ScreenFile.h"
#include "input/InputBase.h"
#include "input/JoystickMgr.h"
#include "input/KeyConf.h"

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iostream>
#include <stdexcept>

namespace {

const char* const BACKGROUND = "bmp/black.bmp";
const char* const SCREEN_FILE = "screen";
const Uint32 ALPHA_FLAGS = SDL_SRCALPHA | SDL_RLEACCEL;

std::unique_ptr<Window> load(const char* name) {
    return std::make_unique<Window>(std::string("bmp/") + name + ".bmp");
}

}  // namespace

Game::Game() : joysticks(std::make_unique<MSDL::JoystickMgr>()) {}

Game::~Game() {
    // Devices go before the joystick manager, so none reads a joystick it has closed.
    for (auto& input : inputs) input.reset();
    joysticks.reset();
    info.reset();
    for (auto* images : {&haloImages, &enemyImages, &firingBulletImages, &plainBulletImages,
                         &shotImages, &dyeImages, &playerImages, &lifeIcons})
        for (auto& image : *images) image.reset();
    ballImage.reset();
    window.reset();
}

void Game::init() {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) throw std::runtime_error("cannot init video\n");
    if (SDL_Init(SDL_INIT_TIMER) != 0) throw std::runtime_error("cannot init timer\n");
    if (SDL_Init(SDL_INIT_JOYSTICK) != 0) throw std::runtime_error("cannot init joystick\n");
    std::atexit(SDL_Quit);
    SDL_WM_SetCaption("kelvo arena", "sakelvo");
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    matchOver = false;
    quitRequested = false;
    frameCount = 0;
    frameSeconds = 0;

    openWindow();
    const SDL_Surface* s = window->getSurface();
    std::cout << s->w << "*" << s->h << "*" << static_cast<int>(s->format->BitsPerPixel)
              << std::endl;
    info = std::make_unique<Info>(&window->getCanvas());
    loadImages();
    inputs[0] = MSDL::generateConfMap("1Pkey.conf");
}

void Game::openWindow() {
    std::ifstream screen(SCREEN_FILE);
    if (!screen) {
        window = std::make_unique<MainWindow>(BACKGROUND);
        return;
    }
    const ScreenFile size = ScreenFile::read(screen, SCREEN_FILE);
    window = std::make_unique<MainWindow>(BACKGROUND, size.width, size.height,
                                          size.fullScreen ? SDL_FULLSCREEN : 0);
}

void Game::loadImages() {
    ballImage = load("ball_w");
    haloImages[0] = load("halo_w");
    haloImages[1] = load("halo_b");
    enemyImages[0] = load("enemy_white");
    firingBulletImages[0] = load("ball_wg");
    plainBulletImages[0] = load("ball_wr");
    enemyImages[1] = load("enemy_black");
    firingBulletImages[1] = load("ball_bg");
    plainBulletImages[1] = load("ball_br");
    shotImages[0] = load("ball_w");
    shotImages[1] = load("ball_b");
    dyeImages[0] = load("ball_white");
    dyeImages[1] = load("ball_black");

    ballImage->setColorKey(CYAN_KEY);
    shotImages[0]->setColorKey(CYAN_KEY);
    for (int c = 0; c < 2; ++c) {
        enemyImages[c]->setColorKey(MAGENTA_KEY);
        firingBulletImages[c]->setColorKey(MAGENTA_KEY);
        plainBulletImages[c]->setColorKey(MAGENTA_KEY);
        dyeImages[c]->setColorKey(MAGENTA_KEY);
    }
    shotImages[1]->setColorKey(MAGENTA_KEY);
    dyeImages[0]->setAlpha(ALPHA_FLAGS, 4);
    dyeImages[1]->setAlpha(ALPHA_FLAGS, 2);

    ballImage->displayFormat();
    for (int c = 0; c < 2; ++c) {
        enemyImages[c]->displayFormat();
        firingBulletImages[c]->displayFormat();
        plainBulletImages[c]->displayFormat();
        shotImages[c]->displayFormat();
        dyeImages[c]->displayFormat();
    }
}

int Game::menu() {
    window->clear();
    window->flip();
    // No match can be played yet: the front end ends the program cleanly.
    return 1;
}

int Game::play() { return 1; }

void Game::reset() {
    matchOver = false;
    frameCount = 0;
    window->resetCanvas();
}
