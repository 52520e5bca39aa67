// A headless stand-in for the match field: runs BulletML documents with the game's units.
#include "support/SimulatedField.h"

#include "support/SimulatedRunner.h"

#include <algorithm>

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
