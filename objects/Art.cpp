// The life of an Art, and the choice of the Art by colour and level.
#include "objects/Art.h"

#include "core/Game.h"
#include "display/Color.h"
#include "display/MainWindow.h"
#include "objects/ArtNames.h"
#include "objects/BlueArts.h"
#include "objects/GreenArts.h"
#include "objects/OrangeArts.h"
#include "objects/Player.h"
#include "objects/PurpleArts.h"
#include "objects/RedArts.h"
#include "objects/YellowArts.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace {

Uint32 now() { return Game::instance()->lastTicks; }

template <class Level1, class Level2, class Level3>
std::unique_ptr<Art> ofLevel(int level) {
    switch (level) {
    case 1: return std::make_unique<Level1>();
    case 2: return std::make_unique<Level2>();
    case 3: return std::make_unique<Level3>();
    default: throw std::out_of_range("no Art level " + std::to_string(level));
    }
}

std::unique_ptr<Art> makeArt(int color, int level) {
    switch (color) {
    case 0: return ofLevel<RedArt1, RedArt2, RedArt3>(level);
    case 1: return ofLevel<OrangeArt1, OrangeArt2, OrangeArt3>(level);
    case 2: return ofLevel<YellowArt1, YellowArt2, YellowArt3>(level);
    case 3: return ofLevel<GreenArt1, GreenArt2, GreenArt3>(level);
    case 4: return ofLevel<BlueArt1, BlueArt2, BlueArt3>(level);
    case 5: return ofLevel<PurpleArt1, PurpleArt2, PurpleArt3>(level);
    default: throw std::out_of_range("no Art colour " + std::to_string(color));
    }
}

}  // namespace

Art::~Art() = default;

void Art::frame() {}
void Art::finish() {}

void Art::setDuration(Uint32 ms) { endTime = now() + ms; }

bool Art::hasEnded() const { return endTime == 0 || endTime < now(); }

void Art::tick() {
    frame();
    if (!hasEnded()) return;
    owner->endArtLook();
    finish();
}

void Art::vanishAll(int c) {
    std::vector<Charactor*> objects;
    Game::instance()->collect(c, objects);
    for (Charactor* o : objects) o->vanish();
}

std::unique_ptr<Art> createArt(Player& owner, int level, MainWindow* window) {
    window->fillRect(nullptr, artColorValue(owner.artColor));
    std::unique_ptr<Art> art = makeArt(owner.artColor, level);
    owner.beginArtLook();
    art->owner = &owner;
    art->window = window;
    art->setDuration(0);
    art->start();
    return art;
}
