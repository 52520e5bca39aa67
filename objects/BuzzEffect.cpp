// The spark of a graze or an eat.
#include "objects/BuzzEffect.h"

#include "core/Game.h"
#include "display/Check.h"
#include "display/MainWindow.h"
#include "objects/Player.h"

namespace {

const Uint32 LIFETIME = 200;
// A graze flashes a square in the other colour during the first 50 ms.
const Uint32 FLASH_TIME = 50;
const double SPEED = 100.0;  // pixels per second, at most (less off the axes)
const int FLASH_HALF = 5;

Uint32 pixelOf(const SDL_Surface* s, Color c) {
    return SDL_MapRGB(s->format, static_cast<Uint8>(redOf(c)), static_cast<Uint8>(greenOf(c)),
                      static_cast<Uint8>(blueOf(c)));
}

}  // namespace

BuzzEffect::BuzzEffect(Player* owner, const Point& at, int color)
    : Charactor(at, nullptr, color), owner(owner),
      expireTime(Game::instance()->lastTicks + LIFETIME) {
    pos = at;
    updateCenter();
    dyeing = true;
}

void BuzzEffect::update() {
    if (!alive) return;
    const Game& game = *Game::instance();
    const Uint32 now = game.lastTicks;
    if (expireTime < now) {
        vanish();
        return;
    }
    pos += (owner->center - pos).direction() * (game.frameSeconds * SPEED);
    updateCenter();

    const Point& field = window->getSize();
    const int x = static_cast<int>(pos.x);
    const int y = static_cast<int>(pos.y);
    if (x <= 0 || x > field.x - 1 || y <= 0 || y > field.y - 1) {
        vanish();
        return;
    }

    // The plus sign reaches two pixels past the spark; putPixel drops what falls outside.
    SDL_Surface* screen = window->getSurface();
    const Uint32 ink = pixelOf(screen, sideColor(color));
    SDL_LockSurface(screen);
    const int plus[9][2] = {{0, 0}, {1, 0}, {0, 1}, {-1, 0}, {0, -1},
                            {2, 0}, {0, 2}, {-2, 0}, {0, -2}};
    for (const auto& d : plus) window->putPixel(x + d[0], y + d[1], ink);
    SDL_UnlockSurface(screen);

    if (expireTime > now + LIFETIME - FLASH_TIME && color != owner->color) {
        // SDL clips the fill to the surface.
        window->fillRect(makeRect(x - FLASH_HALF, y - FLASH_HALF, x + FLASH_HALF, y + FLASH_HALF),
                         sideColor(1 - color));
    }
}

const Point& BuzzEffect::getSize() const {
    static const Point SIZE(3, 3);
    return SIZE;
}
