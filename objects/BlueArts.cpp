// The Background character's Arts.
#include "objects/BlueArts.h"

#include "display/Color.h"
#include "display/MainWindow.h"
#include "objects/ArtNames.h"
#include "objects/Player.h"

namespace {

const int BLUE_ART = 4;

}  // namespace

void BlueArt1::start() { owner->dyeSquare(); }

void BlueArt2::start() { owner->washCanvas(); }

void BlueArt3::start() { window->getCanvas().fillRect(nullptr, sideColor(owner->color)); }

const std::string& BlueArt1::description() const { return artDescription(BLUE_ART, 1); }
const std::string& BlueArt2::description() const { return artDescription(BLUE_ART, 2); }
const std::string& BlueArt3::description() const { return artDescription(BLUE_ART, 3); }
