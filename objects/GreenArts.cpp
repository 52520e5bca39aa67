// The Guard character's Arts.
#include "objects/GreenArts.h"

#include "objects/ArtNames.h"
#include "objects/Player.h"

namespace {

const int GREEN_ART = 3;
const Uint32 AURA_TIME = 3000;

}  // namespace

void GreenArt1::start() {
    owner->flipAura = true;
    setDuration(AURA_TIME);
}

void GreenArt1::finish() { owner->flipAura = false; }

void GreenArt2::start() {
    owner->absorbAura = true;
    setDuration(AURA_TIME);
}

void GreenArt2::finish() { owner->absorbAura = false; }

void GreenArt3::start() {
    owner->flipAura = true;
    owner->flipOwnAura = true;
    setDuration(AURA_TIME);
}

void GreenArt3::finish() {
    owner->flipAura = false;
    owner->flipOwnAura = false;
}

const std::string& GreenArt1::description() const { return artDescription(GREEN_ART, 1); }
const std::string& GreenArt2::description() const { return artDescription(GREEN_ART, 2); }
const std::string& GreenArt3::description() const { return artDescription(GREEN_ART, 3); }
