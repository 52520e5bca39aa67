// A player on the field.
#include "objects/Player.h"

#include "display/MainWindow.h"

Player::Player(const Point& center, Window* image, int color, int artColor, int lives)
    : Charactor(center, image, color), artColor(artColor), lives(lives) {}

// Control, Arts and gauges come with the input devices.
void Player::step() {}

Point Player::moveRange() const { return window->getSize() - getSize(); }

void Player::hit(Charactor& other) { other.hitByPlayer(*this); }

// Eating, grazing and dying come with the player's rules.
void Player::hitByEnemy(Enemy&) {}
void Player::hitByShot(Shot&) {}
