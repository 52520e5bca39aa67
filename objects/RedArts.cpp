// The Rank character's Arts.
#include "objects/RedArts.h"

#include "objects/ArtNames.h"
#include "objects/Player.h"

namespace {

const int RED_ART = 0;
// In units of 5 eatings, as setEatings counts.
const int RED2_GAIN = 40;
const int RED3_GAIN = 60;
const int RED3_TAKE = 40;

}  // namespace

void RedArt1::start() { vanishAll(owner->opponent().color); }

void RedArt2::start() { owner->setEatings(owner->eatings / 5 + RED2_GAIN); }

void RedArt3::start() {
    owner->setEatings(owner->eatings / 5 + RED3_GAIN);
    Player& o = owner->opponent();
    o.setEatings(o.eatings / 5 - RED3_TAKE);
}

const std::string& RedArt1::description() const { return artDescription(RED_ART, 1); }
const std::string& RedArt2::description() const { return artDescription(RED_ART, 2); }
const std::string& RedArt3::description() const { return artDescription(RED_ART, 3); }
