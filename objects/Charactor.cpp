// The common behaviour of field objects.
#include "objects/Charactor.h"

#include "core/Game.h"
#include "display/MainWindow.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Objects within this many pixels of each other meet: they may collide or be grazed.
const int NEAR_DISTANCE = 20;

}  // namespace

Charactor::Charactor(const Point& c, Window* image, int color)
    : window(Game::instance()->window.get()), color(color),
      dyeCredit(Game::instance()->firstDyeCredit()) {
    if (image) {
        sprite = std::make_unique<Sprite>(image);
        pos = c - image->center;
        updateCenter();
    }
    lastStamp = pos;
}

Charactor::~Charactor() = default;

void Charactor::hit(Charactor&) {}
void Charactor::hitByPlayer(Player&) {}
void Charactor::hitByEnemy(Enemy&) {}
void Charactor::hitByShot(Shot&) {}

bool Charactor::isNear(const Charactor& other) const {
    // Whole pixels, truncated, in doubles: a pattern may fling an object far beyond any int.
    const double dx = std::fabs(std::trunc(center.x) - std::trunc(other.center.x));
    const double dy = std::fabs(std::trunc(center.y) - std::trunc(other.center.y));
    // Most pairs are far apart on one axis; only the rest pay for a square root.
    if (dx > NEAR_DISTANCE || dy > NEAR_DISTANCE) return false;
    return Point(dx, dy).length() < NEAR_DISTANCE;
}

void Charactor::checkField() {
    const Point& field = window->getSize();
    if (dyeing) {
        if (center.x < 0 || center.x > field.x || center.y < 0 || center.y > field.y) alive = false;
        return;
    }
    const Point max = field - getSize();
    const Point before = pos;
    if (pos.x > max.x) pos.x = max.x;
    else if (pos.x < 0) pos.x = 0;
    if (pos.y > max.y) pos.y = max.y;
    else if (pos.y < 0) pos.y = 0;
    if (pos != before) updateCenter();
}

const Point& Charactor::getSize() const { return sprite->image->getSize(); }

void Charactor::vanish() { alive = false; }

void Charactor::update() {
    move();
    draw();
}

void Charactor::move() {
    pos += vel * Game::instance()->frameSeconds;
    updateCenter();
}

void Charactor::draw() {
    Game& game = *Game::instance();
    sprite->draw(*window, pos, game.lastTicks);
    if (dyeing) dye();
}

void Charactor::dye() {
    Game& game = *Game::instance();
    dyeCredit += Game::kDyeRate[color];
    const double halfStamp = game.dyeImages[color]->center.x;
    if (dyeCredit < Game::kDyeStampAlpha && pos.distance(lastStamp) < halfStamp) return;
    game.stampDye(pos, color);
    lastStamp = pos;
    // A stamp made early for the distance pays off what was saved, and no more.
    dyeCredit = std::max(0, dyeCredit - Game::kDyeStampAlpha);
}

void Charactor::updateCenter() { center = sprite ? pos + sprite->image->center : pos; }
