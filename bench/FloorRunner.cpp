// The floor's BulletML runner.
#include "FloorRunner.h"

#include "FloorBody.h"
#include "FloorField.h"

#include <memory>
#include <utility>

namespace {

// BulletML speed units and pixels per second, as the game converts them.
const double PIXELS_PER_UNIT = 100.0;
const int TURN_SHIFT = 4;
const double STOPPED_SPEED = 0.00001;

Point velocity(double direction, double speed) {
    return Polar(speed * PIXELS_PER_UNIT, degreesToRadians(direction)).toPoint();
}

}  // namespace

FloorRunner::FloorRunner(BulletMLParser* document, FloorField& field, FloorBody& body)
    : BulletMLRunner(document), field_(field), body_(body) {}

FloorRunner::FloorRunner(BulletMLState* state, FloorField& field, FloorBody& body)
    : BulletMLRunner(state), field_(field), body_(body) {}

double FloorRunner::getBulletDirection() { return radiansToDegrees(body_.vel.angle()); }

double FloorRunner::getAimDirection() {
    return radiansToDegrees((field_.targets[1 - body_.color] - body_.center).angle());
}

double FloorRunner::getBulletSpeed() { return body_.vel.length() / PIXELS_PER_UNIT; }

double FloorRunner::getDefaultSpeed() { return 1.0; }

double FloorRunner::getRank() { return field_.ranks[body_.color]; }

void FloorRunner::createSimpleBullet(double direction, double speed) {
    if (field_.hasRoom()) field_.addShot(body_.center, velocity(direction, speed), body_.color);
}

void FloorRunner::createBullet(BulletMLState* state, double direction, double speed) {
    std::unique_ptr<BulletMLState> owned(state);
    if (!field_.hasRoom()) return;
    field_.addBullet(body_.center, velocity(direction, speed), std::move(owned), body_.color);
}

int FloorRunner::getTurn() { return static_cast<int>(field_.now >> TURN_SHIFT); }

void FloorRunner::doVanish() { body_.alive = false; }

void FloorRunner::doChangeDirection(double direction) {
    const double length = body_.vel.length();
    body_.vel = Polar(length == 0.0 ? STOPPED_SPEED : length, degreesToRadians(direction)).toPoint();
}

void FloorRunner::doChangeSpeed(double speed) {
    body_.vel = Polar(speed * PIXELS_PER_UNIT, body_.vel.angle()).toPoint();
}

void FloorRunner::doAccelX(double speedX) { body_.vel.x = speedX * PIXELS_PER_UNIT; }

void FloorRunner::doAccelY(double speedY) { body_.vel.y = speedY * PIXELS_PER_UNIT; }

double FloorRunner::getBulletSpeedX() { return body_.vel.x / PIXELS_PER_UNIT; }

double FloorRunner::getBulletSpeedY() { return body_.vel.y / PIXELS_PER_UNIT; }
