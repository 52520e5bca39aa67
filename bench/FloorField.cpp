// The floor of a frame over flat vectors.
#include "FloorField.h"

#include "core/Game.h"
#include "display/Color.h"
#include "display/MainWindow.h"
#include "objects/Player.h"
#include "script/ActionList.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>

namespace {

using Clock = std::chrono::steady_clock;

// The game's limits and timings, which the floor must keep to play the same field.
const std::size_t MAX_BULLETS = Game::kMaxBullets;
const Uint32 FIRST_WAIT = 1500;
const Uint32 PATTERN_PAUSE = 1000;
const Uint32 COUNTDOWN = 1000;
const Uint32 COUNTDOWN_MS_PER_PIXEL = 10;
const Uint32 COUNTDOWN_ALPHA_PER_PIXEL = 2;
const Uint32 ALPHA_FLAGS = SDL_SRCALPHA | SDL_RLEACCEL;
const int LIFE_Y = 355;

SDL_Surface* surfaceOf(const std::unique_ptr<Window>& w) { return w->getSurface(); }

bool canFire(const BulletMLState& state) {
    for (const BulletMLNode* node : state.getNode()) {
        if (node->findNode(BulletMLNode::fire) || node->findNode(BulletMLNode::fireRef) ||
            node->findNode(BulletMLNode::actionRef))
            return true;
    }
    return false;
}

double micros(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::micro>(b - a).count();
}

}  // namespace

FloorField::FloorField(Game& game)
    : game_(game), screen_(game.window->getSurface()),
      canvas_(game.window->getCanvas().getSurface()), field_(game.window->getSize()) {
    for (int c = 0; c < 2; ++c) {
        shotImages_[c] = surfaceOf(game.shotImages[c]);
        firingImages_[c] = surfaceOf(game.firingBulletImages[c]);
        plainImages_[c] = surfaceOf(game.plainBulletImages[c]);
        enemyImages_[c] = surfaceOf(game.enemyImages[c]);
        dyeImages_[c] = surfaceOf(game.dyeImages[c]);
        lifeIcons_[c] = surfaceOf(game.lifeIcons[c]);
        for (SDL_Surface* s : {shotImages_[c], firingImages_[c], plainImages_[c], enemyImages_[c]})
            opaque(s);
    }
    readPlayers();
}

void FloorField::opaque(SDL_Surface* sprite) {
    // The game's sprites set this before every blit; only the first call changes anything (it
    // lets SDL run-length encode the image), so the floor makes it once.
    SDL_SetAlpha(sprite, ALPHA_FLAGS, SDL_ALPHA_OPAQUE);
}

void FloorField::clear() {
    enemies.clear();
    shots.clear();
    game_.window->resetCanvas();
}

void FloorField::readPlayers() {
    for (int c = 0; c < 2; ++c) {
        const Player& p = *game_.players[c];
        playerImages_[c] = p.sprite->image->getSurface();
        opaque(playerImages_[c]);
        playerPos_[c] = p.pos;
        targets[c] = p.center;
        ranks[c] = p.currentRank();
        lives_[c] = p.lives;
    }
}

FloorBody FloorField::body(const Point& center, const Point& vel, SDL_Surface* sprite,
                           int c) const {
    FloorBody b;
    b.size = Point(sprite->w, sprite->h);
    b.half = Point(b.size.x / 2, b.size.y / 2);
    b.pos = center - b.half;
    b.center = b.pos + b.half;
    b.vel = vel;
    b.sprite = sprite;
    b.color = c;
    b.dyeCredit = game_.firstDyeCredit();
    b.lastStamp = b.pos;
    return b;
}

bool FloorField::hasRoom() const { return objectCount() < MAX_BULLETS; }

FloorBody& FloorField::addShot(const Point& center, const Point& vel, int c) {
    shots.push_back(body(center, vel, shotImages_[c], c));
    return shots.back();
}

FloorBody& FloorField::addBullet(const Point& center, const Point& vel,
                                 std::unique_ptr<BulletMLState> state, int c) {
    SDL_Surface* sprite = canFire(*state) ? firingImages_[c] : plainImages_[c];
    enemies.push_back(std::make_unique<FloorBody>(body(center, vel, sprite, c)));
    FloorBody& b = *enemies.back();
    b.runner = std::make_unique<FloorRunner>(state.release(), *this, b);
    return b;
}

FloorBody& FloorField::addPartner(const Point& center, ActionList* list, int c) {
    enemies.push_back(std::make_unique<FloorBody>(body(center, Point(0, 0), enemyImages_[c], c)));
    FloorBody& b = *enemies.back();
    b.actions = list;
    b.dyeing = list->isZako();
    b.nextStart = now + FIRST_WAIT;
    list->rewind();
    return b;
}

void FloorField::step(FloorBody& e) {
    if (e.runner) {
        e.runner->run();
        if (e.runner->isEnd()) {
            e.runner.reset();
            e.nextStart = now + PATTERN_PAUSE;
        }
        return;
    }
    if (!e.actions) return;
    if (now >= e.nextStart) {
        if (BulletMLParser* document = e.actions->next())
            e.runner = std::make_unique<FloorRunner>(document, *this, e);
        else
            e.nextStart = now + PATTERN_PAUSE;
    } else if (e.nextStart < now + COUNTDOWN) {
        countdown(e, (e.nextStart - now) / COUNTDOWN_MS_PER_PIXEL);
    }
}

void FloorField::countdown(const FloorBody& e, Uint32 k) {
    if (k <= 1) return;
    SDL_Surface* square = SDL_CreateRGBSurface(0, static_cast<int>(k), static_cast<int>(k),
                                               MainWindow::DEPTH, 0, 0, 0, 0);
    if (!square) throw std::runtime_error("cannot create a surface");
    const Color ink = sideColor(e.color);
    SDL_FillRect(square, nullptr,
                 SDL_MapRGB(square->format, static_cast<Uint8>(redOf(ink)),
                            static_cast<Uint8>(greenOf(ink)), static_cast<Uint8>(blueOf(ink))));
    SDL_SetAlpha(square, ALPHA_FLAGS,
                 static_cast<Uint8>(SDL_ALPHA_OPAQUE - COUNTDOWN_ALPHA_PER_PIXEL * k));
    const double half = k / 2;
    blit(square, screen_, e.center - Point(half, half));
    SDL_FreeSurface(square);
}

void FloorField::blit(SDL_Surface* source, SDL_Surface* target, const Point& at) {
    SDL_Rect dst;
    dst.x = static_cast<Sint16>(at.x);
    dst.y = static_cast<Sint16>(at.y);
    dst.w = 0;
    dst.h = 0;
    SDL_BlitSurface(source, nullptr, target, &dst);
}

void FloorField::moveAndDraw(FloorBody& b) {
    b.pos += b.vel * seconds;
    b.center = b.pos + b.half;
    blit(b.sprite, screen_, b.pos);
    if (b.dyeing) {
        // The game's rule for when the dye is stamped, so the floor makes the same blits.
        b.dyeCredit += Game::kDyeRate[b.color];
        if (b.dyeCredit >= Game::kDyeStampAlpha ||
            b.pos.distance(b.lastStamp) >= dyeImages_[b.color]->w / 2.0) {
            blit(dyeImages_[b.color], canvas_, b.pos);
            b.lastStamp = b.pos;
            b.dyeCredit = std::max(0, b.dyeCredit - Game::kDyeStampAlpha);
        }
        if (b.center.x < 0 || b.center.x > field_.x || b.center.y < 0 || b.center.y > field_.y)
            b.alive = false;
        return;
    }
    const Point max = field_ - b.size;
    if (b.pos.x > max.x) b.pos.x = max.x;
    else if (b.pos.x < 0) b.pos.x = 0;
    if (b.pos.y > max.y) b.pos.y = max.y;
    else if (b.pos.y < 0) b.pos.y = 0;
    b.center = b.pos + b.half;
}

void FloorField::frame(double* bulletmlMicros, double* sdlMicros) {
    const bool timed = bulletmlMicros && sdlMicros;
    Clock::time_point t0, t1, t2;
    if (timed) t0 = Clock::now();
    // Bodies appended by a runner on the way get their first run in this same walk.
    for (std::size_t i = 0; i < enemies.size(); ++i) step(*enemies[i]);
    if (timed) t1 = Clock::now();

    for (int i = 0; i < lives_[0]; ++i) blit(lifeIcons_[0], screen_, Point(2 + 10 * i, LIFE_Y));
    for (int i = 0; i < lives_[1]; ++i) blit(lifeIcons_[1], screen_, Point(290 - 10 * i, LIFE_Y));
    for (auto& e : enemies) moveAndDraw(*e);
    for (auto& s : shots) moveAndDraw(s);
    for (int c = 0; c < 2; ++c) blit(playerImages_[c], screen_, playerPos_[c]);
    SDL_Flip(screen_);
    blit(canvas_, screen_, Point(0, 0));

    shots.erase(std::remove_if(shots.begin(), shots.end(),
                               [](const FloorBody& b) { return !b.alive; }),
                shots.end());
    enemies.erase(std::remove_if(enemies.begin(), enemies.end(),
                                 [](const std::unique_ptr<FloorBody>& b) { return !b->alive; }),
                  enemies.end());
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
    if (!timed) return;
    t2 = Clock::now();
    *bulletmlMicros = micros(t0, t1);
    *sdlMicros = micros(t1, t2);
}
