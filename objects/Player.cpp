// A player on the field.
#include "objects/Player.h"

#include "display/MainWindow.h"

namespace {

// Ranks this close to either end count as the end itself.
const double RANK_FLOOR = 0.00001;
const double RANK_CEILING = 0.99999;

}  // namespace

Player::Player(const Point& center, Window* image, int color, int artColor, int lives)
    : Charactor(center, image, color), artColor(artColor), lives(lives) {}

// Control, Arts and gauges come with the input devices.
void Player::step() {}

Point Player::moveRange() const { return window->getSize() - getSize(); }

void Player::hit(Charactor& other) { other.hitByPlayer(*this); }

// Eating, grazing and dying come with the player's rules.
void Player::hitByEnemy(Enemy&) {}
void Player::hitByShot(Shot&) {}

double Player::currentRank() const {
    if (rank < RANK_FLOOR) return 0.0;
    if (rank > RANK_CEILING) return 1.0;
    return rank;
}
