// A headless stand-in for the match field: runs BulletML documents with the game's units.
#include "support/SimulatedField.h"

#include <algorithm>

namespace {

constexpr double kPixelsPerSpeedUnit = 100.0;

Point velocity(double direction, double speed) {
    return Polar(speed * kPixelsPerSpeedUnit, degreesToRadians(direction)).toPoint();
}

}  // namespace

// The game's angle, speed and turn conventions over a body of the field (neither owned).
class SimulatedRunner : public BulletMLRunner {
public:
    SimulatedRunner(BulletMLParser* document, SimulatedField* field, SimulatedField::Body* owner)
        : BulletMLRunner(document), field_(field), owner_(owner) {}
    // Takes the state over (the library deletes it).
    SimulatedRunner(BulletMLState* state, SimulatedField* field, SimulatedField::Body* owner)
        : BulletMLRunner(state), field_(field), owner_(owner) {}

    double getBulletDirection() override { return radiansToDegrees(owner_->vel.angle()); }
    double getAimDirection() override {
        return radiansToDegrees((field_->opponent() - owner_->center).angle());
    }
    double getBulletSpeed() override { return owner_->vel.length() / kPixelsPerSpeedUnit; }
    double getDefaultSpeed() override { return 1.0; }
    double getRank() override { return field_->rank(); }
    void createSimpleBullet(double direction, double speed) override {
        field_->addBullet(owner_->center, velocity(direction, speed), nullptr);
    }
    void createBullet(BulletMLState* state, double direction, double speed) override {
        field_->addBullet(owner_->center, velocity(direction, speed), state);
    }
    int getTurn() override { return field_->turn(); }
    void doVanish() override { owner_->alive = false; }
    // A stopped owner turned gets the smallest speed, so that its heading is kept.
    void doChangeDirection(double direction) override {
        double length = owner_->vel.length();
        if (length == 0.0) length = 0.00001;
        owner_->vel = Polar(length, degreesToRadians(direction)).toPoint();
    }
    void doChangeSpeed(double speed) override {
        owner_->vel = Polar(speed * kPixelsPerSpeedUnit, owner_->vel.angle()).toPoint();
    }
    void doAccelX(double speedX) override { owner_->vel.x = speedX * kPixelsPerSpeedUnit; }
    void doAccelY(double speedY) override { owner_->vel.y = speedY * kPixelsPerSpeedUnit; }
    double getBulletSpeedX() override { return owner_->vel.x / kPixelsPerSpeedUnit; }
    double getBulletSpeedY() override { return owner_->vel.y / kPixelsPerSpeedUnit; }

private:
    SimulatedField* field_;
    SimulatedField::Body* owner_;
};

SimulatedField::SimulatedField(double rank, Point partner, Point opponent) : rank_(rank), opponent_(opponent) {
    auto body = std::make_unique<Body>();
    body->center = partner;
    body->partner = true;
    bodies_.push_back(std::move(body));
}

SimulatedField::~SimulatedField() = default;

void SimulatedField::play(BulletMLParser* document) {
    Body* partner = partnerBody();
    partner->runner = std::make_unique<SimulatedRunner>(document, this, partner);
}

bool SimulatedField::step() {
    bornThisStep_ = 0;
    // Indexes, not iterators: bodies born here are appended and run in this same step.
    for (std::size_t i = 0; i < bodies_.size(); ++i) {
        if (bornThisStep_ > kMaxBornPerStep) return false;
        Body* body = bodies_[i].get();
        if (!body->runner || !body->alive) continue;
        body->runner->run();
        if (body->runner->isEnd()) body->runner.reset();
    }
    for (auto& body : bodies_) {
        body->center += body->vel * kTurnSeconds;
        if (body->partner) {
            // Partners are kept on the field, as the game keeps them.
            body->center.x = std::clamp(body->center.x, 0.0, kWidth);
            body->center.y = std::clamp(body->center.y, 0.0, kHeight);
        } else if (body->center.x < 0 || body->center.x > kWidth || body->center.y < 0 ||
                   body->center.y > kHeight) {
            body->alive = false;
        }
    }
    bodies_.erase(std::remove_if(bodies_.begin() + 1, bodies_.end(),
                                 [](const std::unique_ptr<Body>& b) { return !b->alive; }),
                  bodies_.end());
    ++turn_;
    return true;
}

void SimulatedField::addBullet(const Point& center, const Point& vel, BulletMLState* state) {
    auto body = std::make_unique<Body>();
    body->center = center;
    body->vel = vel;
    if (state) {
        // The runner takes the state over in its constructor.
        body->runner = std::make_unique<SimulatedRunner>(state, this, body.get());
        ++firedWithActions_;
    }
    ++fired_;
    ++bornThisStep_;
    bodies_.push_back(std::move(body));
}
