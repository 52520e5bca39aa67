// The BulletML runner of the simulated field, with the game's angle, speed and turn conventions.
#pragma once

#include "support/SimulatedField.h"

#include <bulletmlrunner.h>

class SimulatedRunner : public BulletMLRunner {
public:
    SimulatedRunner(BulletMLParser* document, SimulatedField* field, SimulatedField::Body* owner);
    // Takes the state over (the library deletes it).
    SimulatedRunner(BulletMLState* state, SimulatedField* field, SimulatedField::Body* owner);

    // Degrees, 0 up, clockwise, from the owner's velocity.
    double getBulletDirection() override;
    // Degrees from the owner to the field's opponent.
    double getAimDirection() override;
    // Length of the owner's velocity in BulletML units.
    double getBulletSpeed() override;
    // The speed of a fire that names none, 1 as in the game.
    double getDefaultSpeed() override { return 1.0; }
    // The field's rank, the same for every runner.
    double getRank() override;
    // Adds a plain bullet to the field at the owner's centre.
    void createSimpleBullet(double direction, double speed) override;
    // Adds a bullet with its own runner over the state.
    void createBullet(BulletMLState* state, double direction, double speed) override;
    // The field's step count: one turn per 16 ms step.
    int getTurn() override;
    // Clears the owner's alive flag only.
    void doVanish() override;
    // Turns the owner's velocity, keeping its length (a stopped owner gets 0.00001).
    void doChangeDirection(double direction) override;
    // Sets the length of the owner's velocity, keeping its heading.
    void doChangeSpeed(double speed) override;
    // Set one component of the owner's velocity, in BulletML units.
    void doAccelX(double speedX) override;
    void doAccelY(double speedY) override;
    // One component of the owner's velocity, in BulletML units.
    double getBulletSpeedX() override;
    double getBulletSpeedY() override;

private:
    SimulatedField* field_;        // not owned
    SimulatedField::Body* owner_;  // not owned
};
