// The Yank character's Arts.
#include "objects/YellowArts.h"

#include "core/Game.h"
#include "objects/ArtNames.h"
#include "objects/Player.h"

#include <vector>

namespace {

const int YELLOW_ART = 2;
const Uint32 QUICK_PULL_TIME = 500;
const Uint32 SLOW_PULL_TIME = 10000;
const Uint32 OPPONENT_PULL_TIME = 10000;
// Along an axis an object L pixels away is pulled at strength / (L + PULL_SOFTENING) pixels
// per second; the softening keeps the pull finite at the owner itself.
const double QUICK_PULL = 20000.0;
const double SLOW_PULL = 3000.0;
const double PULL_SOFTENING = 10.0;
const double OPPONENT_PULL_SPEED = 50.0;

// Moves the objects, not their velocities: once the Art ends they fly on as before. An object
// lying exactly on the owner's corner stays there (direction() of zero is zero).
void pullOwnColor(const Player& owner, double strength) {
    Game& game = *Game::instance();
    std::vector<Charactor*> objects;
    game.collect(owner.color, objects);
    for (Charactor* x : objects) {
        const Point d = owner.pos - x->pos;
        x->pos += d.direction() * (game.frameSeconds * strength / (d.length() + PULL_SOFTENING));
        x->updateCenter();
    }
}

}  // namespace

void YellowArt1::start() { setDuration(QUICK_PULL_TIME); }
void YellowArt1::frame() { pullOwnColor(*owner, QUICK_PULL); }

void YellowArt2::start() { setDuration(SLOW_PULL_TIME); }
void YellowArt2::frame() { pullOwnColor(*owner, SLOW_PULL); }

void YellowArt3::start() { setDuration(OPPONENT_PULL_TIME); }

void YellowArt3::frame() {
    Player& o = owner->opponent();
    const double step = OPPONENT_PULL_SPEED * Game::instance()->frameSeconds;
    o.pos += (owner->pos - o.pos).direction() * step;
    o.updateCenter();
}

const std::string& YellowArt1::description() const { return artDescription(YELLOW_ART, 1); }
const std::string& YellowArt2::description() const { return artDescription(YELLOW_ART, 2); }
const std::string& YellowArt3::description() const { return artDescription(YELLOW_ART, 3); }
