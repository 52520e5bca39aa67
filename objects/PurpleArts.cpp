// The Partner character's Arts.
#include "objects/PurpleArts.h"

#include "core/Game.h"
#include "objects/ArtNames.h"
#include "objects/Player.h"

namespace {

const int PURPLE_ART = 5;
const double RANK_GAIN = 30.0;
const Uint32 MAX_RANK_TIME = 10000;

}  // namespace

void PurpleArt1::start() { owner->raiseRank(RANK_GAIN); }

void PurpleArt2::start() {
    owner->maxRank = true;
    setDuration(MAX_RANK_TIME);
}

void PurpleArt2::finish() { owner->maxRank = false; }

void PurpleArt3::start() {
    Game& game = *Game::instance();
    game.addPartner(owner->color);
    // The new partner starts on the default list; it joins the owner's level at once.
    game.setLevel(owner->color, owner->level);
    owner->setEatings(0);
}

const std::string& PurpleArt1::description() const { return artDescription(PURPLE_ART, 1); }
const std::string& PurpleArt2::description() const { return artDescription(PURPLE_ART, 2); }
const std::string& PurpleArt3::description() const { return artDescription(PURPLE_ART, 3); }
