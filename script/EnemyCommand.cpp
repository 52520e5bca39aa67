// The BulletML runner bound to one enemy.
#include "script/EnemyCommand.h"

#include "core/Game.h"
#include "objects/Enemy.h"
#include "objects/Player.h"

#include <algorithm>

namespace {

Game& game() { return *Game::instance(); }

// The velocity, in pixels per second, of a BulletML direction and speed.
Point velocity(double direction, double speed) {
    return Polar(speed * EnemyCommand::kPixelsPerSpeedUnit, degreesToRadians(direction)).toPoint();
}

double toSpeedUnits(double pixelsPerSecond) {
    return pixelsPerSecond / EnemyCommand::kPixelsPerSpeedUnit;
}

int opponentOf(int color) { return color == 0 ? 1 : 0; }

}  // namespace

EnemyCommand::EnemyCommand(BulletMLParser* document, Enemy* owner)
    : BulletMLRunner(document), owner_(owner) {}

EnemyCommand::EnemyCommand(std::unique_ptr<BulletMLState> state, Enemy* owner)
    : BulletMLRunner(state.release()), owner_(owner) {}

bool EnemyCommand::canFire(const BulletMLState& state) {
    for (const BulletMLNode* node : state.getNode()) {
        if (node->findNode(BulletMLNode::fire) || node->findNode(BulletMLNode::fireRef) ||
            node->findNode(BulletMLNode::actionRef))
            return true;
    }
    return false;
}

double EnemyCommand::getBulletDirection() {
    ++work_;
    return radiansToDegrees(owner_->vel.angle());
}

double EnemyCommand::getAimDirection() {
    ++work_;
    const Point& target = game().players[opponentOf(owner_->color)]->center;
    return radiansToDegrees((target - owner_->center).angle());
}

double EnemyCommand::getBulletSpeed() {
    ++work_;
    return toSpeedUnits(owner_->vel.length());
}

double EnemyCommand::getDefaultSpeed() {
    ++work_;
    return 1.0;
}

double EnemyCommand::getRank() {
    ++work_;
    return game().players[owner_->color]->currentRank();
}

void EnemyCommand::createSimpleBullet(double direction, double speed) {
    ++work_;
    if (!game().hasRoomForBullet()) return;
    game().addShot(owner_->center, velocity(direction, speed), owner_->color);
}

void EnemyCommand::createBullet(BulletMLState* state, double direction, double speed) {
    std::unique_ptr<BulletMLState> owned(state);
    ++work_;
    if (!game().hasRoomForBullet()) return;
    game().addBulletEnemy(owner_->center, velocity(direction, speed), std::move(owned),
                          owner_->color);
}

void EnemyCommand::beginStep() {
    work_ = 0;
    const int now = static_cast<int>(game().lastTicks >> kTurnShift);
    turn_ = turn_ < 0 ? now : std::min(now, turn_ + kMaxTurnsPerStep);
}

int EnemyCommand::getTurn() {
    ++work_;
    return turn_;
}

void EnemyCommand::doVanish() {
    ++work_;
    owner_->alive = false;
}

void EnemyCommand::doChangeDirection(double direction) {
    ++work_;
    const double length = owner_->vel.length();
    const double kept = length == 0.0 ? kStoppedSpeed : length;
    owner_->vel = Polar(kept, degreesToRadians(direction)).toPoint();
}

void EnemyCommand::doChangeSpeed(double speed) {
    ++work_;
    owner_->vel = Polar(speed * kPixelsPerSpeedUnit, owner_->vel.angle()).toPoint();
}

void EnemyCommand::doAccelX(double speedX) {
    ++work_;
    owner_->vel.x = speedX * kPixelsPerSpeedUnit;
}

void EnemyCommand::doAccelY(double speedY) {
    ++work_;
    owner_->vel.y = speedY * kPixelsPerSpeedUnit;
}

double EnemyCommand::getBulletSpeedX() {
    ++work_;
    return toSpeedUnits(owner_->vel.x);
}

double EnemyCommand::getBulletSpeedY() {
    ++work_;
    return toSpeedUnits(owner_->vel.y);
}
