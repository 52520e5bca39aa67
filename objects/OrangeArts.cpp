// The Obstacle character's Arts.
#include "objects/OrangeArts.h"

#include "objects/ArtNames.h"
#include "objects/Player.h"

namespace {

const int ORANGE_ART = 1;
const Uint32 HOLD_TIME = 10000;
const Uint32 PUSH_TIME = 10000;
const Uint32 KILL_TIME = 1000;

}  // namespace

void OrangeArt1::start() {
    owner->letsOpponentMove = false;
    setDuration(HOLD_TIME);
}

void OrangeArt1::finish() { owner->letsOpponentMove = true; }

void OrangeArt2::start() {
    owner->pushAura = true;
    setDuration(PUSH_TIME);
}

void OrangeArt2::finish() { owner->pushAura = false; }

void OrangeArt3::start() {
    owner->killAura = true;
    vanishAll(owner->color);
    setDuration(KILL_TIME);
}

void OrangeArt3::finish() {
    owner->killAura = false;
    vanishAll(owner->opponent().color);
}

const std::string& OrangeArt1::description() const { return artDescription(ORANGE_ART, 1); }
const std::string& OrangeArt2::description() const { return artDescription(ORANGE_ART, 2); }
const std::string& OrangeArt3::description() const { return artDescription(ORANGE_ART, 3); }
