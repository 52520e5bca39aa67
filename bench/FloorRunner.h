// The least a BulletML runner can be for the floor: the library's own work, with callbacks
// that only read and write a flat body and append to the floor's field.
#pragma once

#include <bulletmlparser.h>
#include <bulletmlrunner.h>

class FloorField;
struct FloorBody;

class FloorRunner : public BulletMLRunner {
public:
    // Plays a document's top actions, or a fired bullet's state (owned by the library's
    // runner from the first moment), for `body` on `field` (neither owned).
    FloorRunner(BulletMLParser* document, FloorField& field, FloorBody& body);
    FloorRunner(BulletMLState* state, FloorField& field, FloorBody& body);

    // The callbacks answer in BulletML's units from the body's velocity in pixels per second,
    // as any runner bound to a field must.
    double getBulletDirection() override;
    double getAimDirection() override;
    double getBulletSpeed() override;
    double getDefaultSpeed() override;
    double getRank() override;
    void createSimpleBullet(double direction, double speed) override;
    void createBullet(BulletMLState* state, double direction, double speed) override;
    int getTurn() override;
    void doVanish() override;
    void doChangeDirection(double direction) override;
    void doChangeSpeed(double speed) override;
    void doAccelX(double speedX) override;
    void doAccelY(double speedY) override;
    double getBulletSpeedX() override;
    double getBulletSpeedY() override;

private:
    FloorField& field_;  // not owned
    FloorBody& body_;    // not owned
};
