// Start-up, the front end and the lifetime of everything a match needs.
#include "core/Game.h"

#include "core/Conf.h"
#include "core/InputFile.h"
#include "core/Menus.h"
#include "core/Random.h"
#include "core/Selection.h"
#include "display/Check.h"
#include "display/Color.h"
#include "display/Info.h"
#include "display/MainWindow.h"
#include "display/ScreenFile.h"
#include "input/CpuInput.h"
#include "input/Input.h"
#include "input/InputBase.h"
#include "input/JoystickMgr.h"
#include "input/KeyConf.h"
#include "objects/BuzzEffect.h"
#include "objects/Enemy.h"
#include "objects/Player.h"
#include "objects/Shot.h"
#include "script/EnemyCommand.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <stdexcept>

namespace {

const char* const BACKGROUND = "bmp/black.bmp";
const char* const SCREEN_FILE = "screen";
const Uint32 ALPHA_FLAGS = SDL_SRCALPHA | SDL_RLEACCEL;
// How far a threat may lie from the point asked about.
const double THREAT_RADIUS = 100.0;
// The after-match waits look at the input this often, in milliseconds.
const Uint32 WAIT_STEP = 50;
// Buttons of the after-match choice.
const int BUTTON_MENU_A = 0;
const int BUTTON_MENU_B = 1;
const int BUTTON_QUIT = 3;
// Where the players start each match, and with how many lives.
const Point START[2] = {Point(100, 350), Point(200, 350)};
const int START_LIVES = 2;
// The players' pictures are made in this depth, then converted to the display's.
const int PICTURE_DEPTH = 16;
// Added partners appear in this box.
const int PARTNER_LEFT = 50;
const int PARTNER_TOP = 50;
const int PARTNER_WIDTH = 200;
const int PARTNER_HEIGHT = 100;

std::unique_ptr<Window> load(const char* name) {
    return std::make_unique<Window>(std::string("bmp/") + name + ".bmp");
}

}  // namespace

Game::Game() : joysticks(std::make_unique<MSDL::JoystickMgr>()) {}

Game::~Game() {
    // Field objects first: they may still point at the players, the images and the window;
    // the enemies' runners also at the documents of the action library.
    enemies.clear();
    buzzEffects.clear();
    shots.clear();
    for (auto& p : players) p.reset();
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
    actions.load();
}

void Game::openWindow() {
    // Only a missing file means the plain window: one that is there but cannot be read was
    // written to ask for a size, and is refused rather than ignored.
    InputFile screen(SCREEN_FILE);
    if (screen.state() == InputFile::State::Missing) {
        window = std::make_unique<MainWindow>(BACKGROUND);
        return;
    }
    const ScreenFile size = ScreenFile::read(screen);
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
    for (int c = 0; c < 2; ++c) dyeImages[c]->setAlpha(ALPHA_FLAGS, kDyeStampAlpha);

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
    return selectPlayers() == 0 ? 0 : 1;
}

int Game::selectPlayers() {
    Selection selection;
    selection.window = window.get();
    selection.input = inputs[0].get();
    if (modeMenu(selection) != 0 || playerSelect(selection) != 0) return 1;

    // A bad key file fails here, before anything of the last match is replaced.
    auto second = makeSecondInput(selection.vsCpu);
    // The old players point at the device and the pictures about to be replaced.
    for (auto& p : players) p.reset();
    inputs[1] = std::move(second);
    for (int side = 0; side < 2; ++side) makePlayerPicture(side, selection.artColor[side]);
    for (int side = 0; side < 2; ++side) {
        players[side] = std::make_unique<Player>(START[side], playerImages[side].get(),
                                                 inputs[side].get(), side,
                                                 selection.artColor[side], START_LIVES);
    }
    return 0;
}

std::unique_ptr<MSDL::InputBase> Game::makeSecondInput(bool vsCpu) const {
    // Read before every match, so the file can be edited between matches.
    if (!vsCpu) return MSDL::generateConfMap("2Pkey.conf");
    // A fresh one, so no plan or careless spell carries over from the last match.
    return std::make_unique<CpuInput>();
}

void Game::makePlayerPicture(int side, int artColor) {
    const Window& halo = *haloImages[side];
    auto picture = std::make_unique<Window>(halo.getSize(), PICTURE_DEPTH, SDL_SWSURFACE);
    picture->blit(halo);
    auto ball = std::make_unique<Window>(*ballImage);
    ball->colorize(artColorValue(artColor));
    const Point offset = (halo.getSize() - ball->getSize()) * 0.5;
    picture->blit(*ball, Point(std::trunc(offset.x), std::trunc(offset.y)));
    picture->setColorKey(CYAN_KEY);
    picture->displayFormat();
    playerImages[side] = std::move(picture);
    lifeIcons[side] = std::move(ball);
}

int Game::play() {
    startMatch(SDL_GetTicks());
    while (!matchOver) runFrame(waitForTick());
    if (quitRequested) return 1;
    std::cout << fpsLine(frameCount, startTicks, lastTicks) << std::endl;
    waitRelease();
    const int decision = waitDecision();
    // The button that chose the menu would otherwise still be down when the mode menu first
    // looks, and choose there too.
    if (decision == 0) waitRelease();
    return decision;
}

void Game::reset() {
    matchOver = false;
    frameCount = 0;
    enemies.clear();
    resume_ = enemies.end();
    shots.clear();
    buzzEffects.clear();
    window->resetCanvas();
}

void Game::spawnInitialEnemies() {
    // Without a configuration (as in tests) the game runs as with no command line.
    const Conf* conf = Conf::instance();
    if (conf && conf->confKind == Conf::DEFINITIONS) return;
    const int pairs = conf ? conf->startPairs : Conf::DEFAULT_START_PAIRS;
    for (int i = 0; i < pairs; ++i) {
        const double y = kStartY + kStartPairSpacing * i;
        enemies.push_back(std::make_unique<Enemy>(Point(kWhiteStartX, y), enemyImages[0].get(),
                                                  actions.defaultList(), 0));
        enemies.push_back(std::make_unique<Enemy>(Point(kBlackStartX, y), enemyImages[1].get(),
                                                  actions.defaultList(), 1));
    }
}

void Game::startMatch(Uint32 now) {
    lastTicks = startTicks = now;
    spawnInitialEnemies();
    // Places and draws what the match starts with, at the last match's frame length.
    updateAll();
    window->clear();
}

Uint32 Game::waitForTick() const {
    Uint32 now;
    do {
        now = SDL_GetTicks();
    } while (now == lastTicks);
    return now;
}

void Game::tick(Uint32 now) {
    frameSeconds = (now - lastTicks) / 1000.0;
    lastTicks = now;
    ++frameCount;
}

void Game::runFrame(Uint32 now) {
    tick(now);
    controlPlayers();
    thinkEnemies();
    drawLives();
    updateAll();
    window->clear();
    collide();
    sweep();
    pollEvents();
}

void Game::controlPlayers() {
    players[0]->step();
    players[1]->step();
}

void Game::thinkEnemies() {
    patternWork = 0;
    // After a walk cut short: those it did not reach first, then round to where this one began.
    const bool resuming = resume_ != enemies.end();
    const auto start = resuming ? resume_ : enemies.begin();
    resume_ = walkEnemies(start, enemies.end());
    if (resuming && resume_ == enemies.end()) {
        resume_ = walkEnemies(enemies.begin(), start);
        if (resume_ == start) resume_ = enemies.end();
    }
}

Game::EnemyList::iterator Game::walkEnemies(EnemyList::iterator from, EnemyList::iterator to) {
    // end() is read afresh at every step: a bullet appended by a pattern on the way gets its
    // first step in this same walk, as it moves and is drawn in this same frame.
    for (auto it = from; it != to && it != enemies.end(); ++it) {
        if (patternWork >= kPatternWorkPerFrame) return it;
        patternWork += (*it)->step();
    }
    return to;
}

void Game::drawLives() {
    for (int i = 0; i < players[0]->lives; ++i)
        window->blit(*lifeIcons[0], Point(2 + 10 * i, 355));
    for (int i = 0; i < players[1]->lives; ++i)
        window->blit(*lifeIcons[1], Point(290 - 10 * i, 355));
}

void Game::updateAll() {
    for (auto& e : enemies) e->update();
    for (auto& e : enemies) e->checkField();
    for (auto& s : shots) s->update();
    for (auto& s : shots) s->checkField();
    for (auto& b : buzzEffects) b->update();
    players[0]->update();
    players[1]->update();
    players[0]->checkField();
    players[1]->checkField();
    window->flip();
}

void Game::collide() {
    for (auto& s : shots) meetPlayers(*s);
    for (auto& e : enemies) meetPlayers(*e);
}

void Game::meetPlayers(Charactor& object) {
    for (auto& p : players) {
        if (p->isNear(object)) {
            object.hit(*p);
            p->hit(object);
        }
    }
}

void Game::sweep() {
    shots.remove_if([](const std::unique_ptr<Shot>& s) { return !s->alive; });
    while (resume_ != enemies.end() && !(*resume_)->alive) ++resume_;
    enemies.remove_if([](const std::unique_ptr<Enemy>& e) { return !e->alive; });
    // Sparks leave in the order they came: a dead one waits behind a live one.
    while (!buzzEffects.empty() && !buzzEffects.front()->alive) buzzEffects.pop_front();
}

void Game::pollEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT) {
            matchOver = true;
            quitRequested = true;
        }
    }
}

void Game::waitRelease() {
    while (inputs[0]->isAnyButtonPressed()) {
        SDL_Delay(WAIT_STEP);
        SDL_PumpEvents();
    }
}

int Game::waitDecision() {
    for (;;) {
        SDL_Delay(WAIT_STEP);
        SDL_PumpEvents();
        pollEvents();
        if (quitRequested) return 1;
        if (inputs[0]->isPressed(BUTTON_QUIT)) return 1;
        if (inputs[0]->isPressed(BUTTON_MENU_A) || inputs[0]->isPressed(BUTTON_MENU_B)) return 0;
    }
}

std::string Game::fpsLine(int frames, Uint32 startTicks, Uint32 endTicks) {
    // Unsigned difference: right across the tick counter's wrap after 49 days. Wide product:
    // a long match at a high frame rate overflows 32 bits.
    const Uint32 elapsed = endTicks - startTicks;
    const std::uint64_t fps =
        elapsed == 0 ? 0 : static_cast<std::uint64_t>(frames) * 1000 / elapsed;
    return std::to_string(fps) + "fps";
}

Shot& Game::addShot(const Point& center, const Point& vel, int c) {
    shots.push_back(std::make_unique<Shot>(center, vel, shotImages[c].get(), c));
    return *shots.back();
}

Enemy& Game::addBulletEnemy(const Point& center, const Point& vel,
                            std::unique_ptr<BulletMLState> state, int c) {
    // The image is read from the state now: building the runner frees it.
    Window* image = EnemyCommand::canFire(*state) ? firingBulletImages[c].get()
                                                  : plainBulletImages[c].get();
    enemies.push_back(std::make_unique<Enemy>(center, vel, image, std::move(state), c));
    return *enemies.back();
}

Enemy& Game::addPartner(int c) {
    const int y = PARTNER_TOP + randomInt(PARTNER_HEIGHT);
    const int x = PARTNER_LEFT + randomInt(PARTNER_WIDTH);
    enemies.push_front(
        std::make_unique<Enemy>(Point(x, y), enemyImages[c].get(), actions.defaultList(), c));
    return *enemies.front();
}

void Game::setLevel(int c, int level) {
    std::vector<Enemy*> partners;
    collectStillEnemies(c, partners);
    ActionList* list = actions.listForLevel(level);
    for (Enemy* e : partners) e->setActions(list);
}

void Game::collectStillEnemies(int c, std::vector<Enemy*>& out) const {
    for (const auto& e : enemies)
        if (e->color == c && !e->dyeing) out.push_back(e.get());
}

void Game::addBuzzEffect(std::unique_ptr<BuzzEffect> effect) {
    buzzEffects.push_back(std::move(effect));
}

void Game::collect(int c, std::vector<Charactor*>& out) const {
    for (const auto& s : shots)
        if (s->color == c) out.push_back(s.get());
    for (const auto& e : enemies)
        if (e->color == c && e->dyeing) out.push_back(e.get());
}

void Game::collectThreats(std::vector<std::pair<Point, Point>>& out, int c,
                          const Point& p) const {
    const auto add = [&](const Charactor& o) {
        if (o.color != c && o.pos.distance(p) < THREAT_RADIUS) out.emplace_back(o.center, o.vel);
    };
    for (const auto& e : enemies) add(*e);
    for (const auto& s : shots) add(*s);
}

void Game::stampDye(const Point& pos, int c) { window->getCanvas().blit(*dyeImages[c], pos); }
