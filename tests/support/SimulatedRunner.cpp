// The BulletML runner of the simulated field, with the game's angle, speed and turn conventions.
#include "support/SimulatedRunner.h"

namespace {

constexpr double kPixelsPerSpeedUnit = 100.0;

Point velocity(double direction, double speed) {
    return Polar(speed * kPixelsPerSpeedUnit, degreesToRadians(direction)).toPoint();
}

}  // namespace

SimulatedRunner::SimulatedRunner(BulletMLParser* document, SimulatedField* field, SimulatedField::Body* owner)
    : BulletMLRunner(document), field_(field), owner_(owner) {}

SimulatedRunner::SimulatedRunner(BulletMLState* state, SimulatedField* field, SimulatedField::Body* owner)
    : BulletMLRunner(state), field_(field), owner_(owner) {}

double SimulatedRunner::getBulletDirection() { return radiansToDegrees(owner_->vel.angle()); }

double SimulatedRunner::getAimDirection() {
    return radiansToDegrees((field_->opponent() - owner_->center).angle());
}

double SimulatedRunner::getBulletSpeed() { return owner_->vel.length() / kPixelsPerSpeedUnit; }

double SimulatedRunner::getRank() { return field_->rank(); }

void SimulatedRunner::createSimpleBullet(double direction, double speed) {
    field_->addBullet(owner_->center, velocity(direction, speed), nullptr);
}

void SimulatedRunner::createBullet(BulletMLState* state, double direction, double speed) {
    field_->addBullet(owner_->center, velocity(direction, speed), state);
}

int SimulatedRunner::getTurn() { return field_->turn(); }

void SimulatedRunner::doVanish() { owner_->alive = false; }

void SimulatedRunner::doChangeDirection(double direction) {
    double length = owner_->vel.length();
    if (length == 0.0) length = 0.00001;
    owner_->vel = Polar(length, degreesToRadians(direction)).toPoint();
}

void SimulatedRunner::doChangeSpeed(double speed) {
    owner_->vel = Polar(speed * kPixelsPerSpeedUnit, owner_->vel.angle()).toPoint();
}

void SimulatedRunner::doAccelX(double speedX) { owner_->vel.x = speedX * kPixelsPerSpeedUnit; }

void SimulatedRunner::doAccelY(double speedY) { owner_->vel.y = speedY * kPixelsPerSpeedUnit; }

double SimulatedRunner::getBulletSpeedX() { return owner_->vel.x / kPixelsPerSpeedUnit; }

double SimulatedRunner::getBulletSpeedY() { return owner_->vel.y / kPixelsPerSpeedUnit; }
