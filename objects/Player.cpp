// A player on the field: control, gauges, eating, grazing, levels, Arts and death.
#include "objects/Player.h"

#include "core/Game.h"
#include "display/Check.h"
#include "display/Color.h"
#include "display/Info.h"
#include "display/MainWindow.h"
#include "input/Direction.h"
#include "input/InputBase.h"
#include "objects/Art.h"
#include "objects/Buzzable.h"
#include "objects/BuzzEffect.h"
#include "objects/Enemy.h"
#include "objects/Shot.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Ranks this close to either end count as the end itself.
const double RANK_FLOOR = 0.00001;
const double RANK_CEILING = 0.99999;
// raiseRank's amount is scaled down in three bands of rank.
const double LOW_RANK = 0.3;
const double MID_RANK = 0.5;
const double LOW_RANK_FACTOR = 0.0003;
const double MID_RANK_FACTOR = 0.0002;
const double HIGH_RANK_FACTOR = 0.000125;
// What eating and grazing add to the rank.
const double EAT_RANK = 0.2;
const double GRAZE_RANK_LOW_LEVEL = 2.0;
const double GRAZE_RANK = 1.0;
// Grazing pays double rank up to this level, and eatings too up to the lower one.
const int GRAZE_DOUBLE_RANK_LEVEL = 4;
const int GRAZE_EATINGS_LEVEL = 2;
const int GRAZE_EATINGS = 5;
// Eating raises no rank in these levels.
const int NO_EAT_RANK_LOW = 6;
const int NO_EAT_RANK_HIGH = 9;
// The Art levels' prices: more buzz than the price buys the level; a full gauge buys level 3.
const int ART1_PRICE = 30;
const int ART2_PRICE = 60;
// An opponent under the kill aura dies when the centres are closer than this.
const double KILL_AURA_DISTANCE = 24.0;
const double PUSH_AURA_FACTOR = 2.0;
const double FLIP_SPEEDUP = 1.5;
// The death wash and the dyed square.
const Uint32 ALPHA_FLAGS = SDL_SRCALPHA | SDL_RLEACCEL;
const Uint8 WASH_ALPHA = 128;
const int WASH_DEPTH = 16;
const double SQUARE_HALF = 100.0;
const Point WINNER_AT(150, 200);

Game& game() { return *Game::instance(); }
Uint32 now() { return Game::instance()->lastTicks; }

}  // namespace

Player::Player(const Point& center, Window* image, MSDL::InputBase* input, int color,
               int artColor, int lives)
    : Charactor(center, image, color), input(input), artColor(artColor), lives(lives) {
    const Window* picture = game().playerImages[0].get();
    if (!picture) throw std::logic_error("Player: the first player's picture is not made");
    artImage = std::make_unique<Window>(*picture);
    artImage->colorize(artColorValue(artColor));
}

Player::~Player() = default;

void Player::step() {
    if (invincibleUntil != 0 && now() > invincibleUntil) {
        invincibleUntil = 0;
        setBlink(false);
    }
    control();
    if (art) {
        art->tick();
        if (art->hasEnded()) art.reset();
    }
    Info& info = *game().info;
    info.drawBuzzGauge(buzz, color);
    info.drawEatingsGauge(eatings / 5, color);
}

void Player::control() {
    // A killing aura carries the player on with the velocity it had when the aura began.
    if (!killAura) vel = Point(0, 0);
    SDL_PumpEvents();
    const bool slow = input->isPressed(kSlowButton);
    double s = slow ? kSlowSpeed : kSpeed;
    if (flipAura && flipOwnAura) s *= 2;
    static const double SQRT2 = std::sqrt(2.0);
    const double d = s / SQRT2;
    if (!killAura) {
        switch (input->getDirection()) {
        case MSDL::UP: vel = Point(0, -s); break;
        case MSDL::DOWN: vel = Point(0, s); break;
        case MSDL::RIGHT: vel = Point(s, 0); break;
        case MSDL::LEFT: vel = Point(-s, 0); break;
        case MSDL::UP | MSDL::RIGHT: vel = Point(d, -d); break;
        case MSDL::DOWN | MSDL::RIGHT: vel = Point(d, d); break;
        case MSDL::UP | MSDL::LEFT: vel = Point(-d, -d); break;
        case MSDL::DOWN | MSDL::LEFT: vel = Point(-d, d); break;
        default: break;
        }
    }
    pressArt(slow);
    if (input->isPressed(kEndButton)) game().matchOver = true;
}

void Player::pressArt(bool slow) {
    if (!input->isPressed(kArtButton)) {
        artLatch = 0;
        return;
    }
    if (artLatch != 0) return;
    artLatch = 1;
    if (eatings < kMaxEatings) {
        useArt();
        return;
    }
    if (level < kTopLevel && !slow) raiseLevel();
    else lowerLevel();
    eatings = 0;
}

void Player::useArt() {
    if (art) return;
    int artLevel;
    if (buzz >= kMaxBuzz) {
        artLevel = 3;
        buzz = 0;
    } else if (buzz > ART2_PRICE) {
        artLevel = 2;
        buzz -= ART2_PRICE;
    } else if (buzz > ART1_PRICE) {
        artLevel = 1;
        buzz -= ART1_PRICE;
    } else {
        return;
    }
    art = createArt(*this, artLevel, window);
}

void Player::raiseLevel() {
    level = std::min(level + 1, kTopLevel);
    game().setLevel(color, level);
    std::vector<Enemy*> partners;
    game().collectStillEnemies(color, partners);
    for (Enemy* e : partners) e->abortPattern();
    flash();
}

void Player::lowerLevel() {
    game().addPartner(color);
    level = std::max(level - 1, 0);
    game().setLevel(color, level);
}

void Player::flash() { window->fillRect(nullptr, sideColor(color)); }

void Player::hit(Charactor& other) { other.hitByPlayer(*this); }

void Player::hitByEnemy(Enemy& enemy) { hitBy(enemy); }
void Player::hitByShot(Shot& shot) { hitBy(shot); }

void Player::hitBy(Charactor& x) {
    // Partners never dye: they are neither eaten nor grazed, only deadly up close.
    if (!x.dyeing) {
        isFatal(x);
        return;
    }
    if (x.color == color) {
        if (flipOwnAura) {
            flip(x);
        } else {
            eat(x);
            x.vanish();
        }
        return;
    }
    if (isFatal(x)) return;
    if (invincibleUntil != 0 || killAura) return;
    if (absorbAura) {
        eat(x);
        x.vanish();
        return;
    }
    if (flipAura) {
        flip(x);
        return;
    }
    graze(x);
}

bool Player::isFatal(Charactor& x) {
    if (center.distance(x.center) >= kFatalDistance) return false;
    if (invincibleUntil != 0 || absorbAura || flipAura || killAura) return false;
    vanish();
    return true;
}

void Player::graze(Charactor& x) {
    auto* mark = dynamic_cast<Buzzable*>(&x);
    if (!mark || mark->buzzed) return;
    mark->buzzed = true;
    game().addBuzzEffect(std::make_unique<BuzzEffect>(this, x.center, x.color));
    raiseRank(level <= GRAZE_DOUBLE_RANK_LEVEL ? GRAZE_RANK_LOW_LEVEL : GRAZE_RANK);
    if (level <= GRAZE_EATINGS_LEVEL) eatings = std::min(eatings + GRAZE_EATINGS, kMaxEatings);
    if (buzz < kMaxBuzz) ++buzz;
}

void Player::eat(Charactor& x) {
    game().addBuzzEffect(std::make_unique<BuzzEffect>(this, x.center, x.color));
    if (maxRank) return;
    if (level < NO_EAT_RANK_LOW || level > NO_EAT_RANK_HIGH) raiseRank(EAT_RANK);
    if (eatings < kMaxEatings) ++eatings;
}

void Player::flip(Charactor& x) {
    // An object lying exactly on the player has no way away: direction() gives zero and
    // the object stops where it is.
    x.vel = (x.pos - pos).direction() * (FLIP_SPEEDUP * x.vel.length());
}

void Player::raiseRank(double amount) {
    if (rank < LOW_RANK) {
        rank += amount * LOW_RANK_FACTOR;
    } else if (rank < MID_RANK) {
        rank += amount * MID_RANK_FACTOR;
    } else {
        rank += amount * HIGH_RANK_FACTOR;
        if (rank > RANK_CEILING) rank = 1.0;
    }
}

double Player::currentRank() const {
    if (maxRank) return 1.0;
    if (rank < RANK_FLOOR) return 0.0;
    if (rank > RANK_CEILING) return 1.0;
    return rank;
}

void Player::setEatings(int n) { eatings = std::clamp(5 * n, 0, kMaxEatings); }

Player& Player::opponent() const { return *game().players[color == 0 ? 1 : 0]; }

void Player::move() {
    const Player& o = opponent();
    if (isNear(o)) {
        if (!o.letsOpponentMove) return;
        if (o.pushAura) {
            pos += o.vel * (PUSH_AURA_FACTOR * game().frameSeconds);
            updateCenter();
        } else if (o.killAura && center.distance(o.center) < KILL_AURA_DISTANCE &&
                   invincibleUntil == 0) {
            vanish();
        }
    }
    Charactor::move();
}

void Player::vanish() {
    if (lives == 0) {
        announceWinner();
        game().matchOver = true;
        return;
    }
    loseLife();
    washCanvas();
    dyeSquare();
}

void Player::loseLife() {
    --lives;
    std::vector<Charactor*> threats;
    game().collect(opponent().color, threats);
    for (Charactor* t : threats) t->vanish();
    invincibleUntil = now() + kInvincibleTime;
    setBlink(true);
}

void Player::setBlink(bool on) {
    if (sprite) sprite->blink = on;
    if (savedSprite) savedSprite->blink = on;
}

void Player::announceWinner() {
    const std::string text = std::string(color == 0 ? "BLACK" : "WHITE") + " WINS.";
    window->drawString(text, WINNER_AT, artColorValue(opponent().artColor));
    window->flip();
}

void Player::washCanvas() {
    Window& canvas = window->getCanvas();
    Window wash(window->getSize(), WASH_DEPTH, 0);
    wash.fillRect(nullptr, sideColor(color));
    wash.setAlpha(ALPHA_FLAGS, WASH_ALPHA);
    canvas.blit(wash);
}

void Player::dyeSquare() {
    const Point half(SQUARE_HALF, SQUARE_HALF);
    window->getCanvas().fillRect(makeRect(center - half, center + half), sideColor(color));
}

void Player::beginArtLook() {
    savedSprite = std::move(sprite);
    sprite = std::make_unique<Sprite>(artImage.get());
}

void Player::endArtLook() {
    if (!savedSprite) return;
    sprite = std::move(savedSprite);
}

Point Player::moveRange() const { return window->getSize() - getSize(); }
