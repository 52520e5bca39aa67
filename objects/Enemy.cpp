// Partners that play their action lists, and bullets that play their own actions.
#include "objects/Enemy.h"

#include "core/Game.h"
#include "display/Color.h"
#include "display/MainWindow.h"
#include "objects/Player.h"
#include "script/ActionList.h"
#include "script/EnemyCommand.h"

namespace {

// The countdown square loses a pixel of side every 10 ms and gains 2 of alpha per pixel lost.
const Uint32 COUNTDOWN_MS_PER_PIXEL = 10;
const Uint32 COUNTDOWN_ALPHA_PER_PIXEL = 2;
const Uint32 ALPHA_FLAGS = SDL_SRCALPHA | SDL_RLEACCEL;

Uint32 now() { return Game::instance()->lastTicks; }

}  // namespace

Enemy::Enemy(const Point& center, Window* image, ActionList* list, int color)
    : Charactor(center, image, color), actions(list), nextStart(now() + kFirstWait) {
    dyeing = list->isZako();
    list->rewind();
}

Enemy::Enemy(const Point& center, const Point& v, Window* image,
             std::unique_ptr<BulletMLState> state, int color)
    : Charactor(center, image, color),
      command(std::make_unique<EnemyCommand>(std::move(state), this)) {
    vel = v;
    dyeing = true;
}

Enemy::~Enemy() = default;

void Enemy::hit(Charactor& other) { other.hitByEnemy(*this); }

void Enemy::hitByPlayer(Player& player) {
    if (player.color == color && dyeing) alive = false;
}

long Enemy::step() {
    const Uint32 t = now();
    if (command) {
        command->beginStep();
        command->run();
        const long work = 1 + command->work();
        if (command->isEnd()) {
            command.reset();
            nextStart = t + kPatternPause;
        }
        return work;
    }
    // A bullet whose pattern has ended flies on.
    if (!actions) return 1;
    if (t >= nextStart) {
        startNextPattern(t);
    } else if (nextStart < t + kCountdown) {
        drawCountdown((nextStart - t) / COUNTDOWN_MS_PER_PIXEL);
    }
    return 1;
}

void Enemy::startNextPattern(Uint32 t) {
    BulletMLParser* document = actions->next();
    if (document) {
        command = std::make_unique<EnemyCommand>(document, this);
    } else {
        // A list without documents: look again after a pause rather than every frame.
        nextStart = t + kPatternPause;
    }
}

void Enemy::abortPattern() {
    command.reset();
    nextStart = now() + kPatternPause;
}

void Enemy::drawCountdown(Uint32 k) {
    if (k <= 1) return;
    const double side = k;
    Window square(Point(side, side), MainWindow::DEPTH, 0);
    square.fillRect(nullptr, sideColor(color));
    square.setAlpha(ALPHA_FLAGS,
                    static_cast<Uint8>(SDL_ALPHA_OPAQUE - COUNTDOWN_ALPHA_PER_PIXEL * k));
    const double half = k / 2;  // whole pixels, as the square is
    window->blit(square, center - Point(half, half));
}
