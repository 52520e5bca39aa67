// The BulletML runner bound to one enemy: the library's callbacks in the field's units.
#pragma once

#include <bulletmlparser.h>
#include <bulletmlrunner.h>

#include <memory>

class Enemy;

// BulletML speaks degrees (0 up, clockwise) and speeds in units of 100 pixels per second,
// and counts time in turns; the field speaks radians, pixels per second and milliseconds.
// Every conversion between the two lives here.
class EnemyCommand : public BulletMLRunner {
public:
    // Pixels per second of one BulletML speed unit.
    static constexpr double kPixelsPerSpeedUnit = 100.0;
    // One turn is 2^4 = 16 milliseconds of the game clock.
    static constexpr int kTurnShift = 4;
    // A stopped object turned to a new direction keeps it at this speed, not at none.
    static constexpr double kStoppedSpeed = 0.00001;
    // The runner's clock follows the game's by at most this many turns a step: a runner that
    // fell behind (a slow frame, a step deferred by the frame's budget) catches up over
    // several steps instead of playing many turns' commands in one. At 16 frames a second
    // and more it never falls behind.
    static constexpr int kMaxTurnsPerStep = 4;

    // Plays the document's top actions from their start for `owner` (not owned; it owns
    // this runner).
    EnemyCommand(BulletMLParser* document, Enemy* owner);
    // Plays a fired bullet's actions. The state is the library's from the first moment: its
    // runner frees it while being built.
    EnemyCommand(std::unique_ptr<BulletMLState> state, Enemy* owner);

    // True when any node of the state holds, at any depth, a fire, fireRef or actionRef:
    // such a bullet is drawn with the image of bullets that can fire.
    static bool canFire(const BulletMLState& state);

    // Before each run(): moves the runner's clock on towards the game's and starts counting
    // the step's work.
    void beginStep();
    // The calls the runner made to the game since beginStep(): the measure of the frame's
    // budget, which every command of a document makes at least one of, but for a few that
    // BulletMLChecker bounds.
    long work() const { return work_; }

    // The heading of the owner's velocity in degrees; -90 for any velocity with y = 0.
    double getBulletDirection() override;
    // Degrees from the owner's centre to the centre of the player of the other colour.
    double getAimDirection() override;
    // The length of the owner's velocity in BulletML units.
    double getBulletSpeed() override;
    // The speed of a fire that names none: 1.
    double getDefaultSpeed() override;
    // The owner's own player's rank, 0 to 1.
    double getRank() override;
    // A shot of the owner's colour from its centre, unless the field is full.
    void createSimpleBullet(double direction, double speed) override;
    // A bullet enemy of the owner's colour from its centre, running the state, unless the
    // field is full; the state is freed either way.
    void createBullet(BulletMLState* state, double direction, double speed) override;
    // The runner's clock in turns (see beginStep).
    int getTurn() override;
    // Marks the owner dead; the end-of-frame sweep removes it.
    void doVanish() override;
    // Turns the owner's velocity to `direction` degrees, keeping its length.
    void doChangeDirection(double direction) override;
    // Sets the length of the owner's velocity, keeping its heading as getBulletDirection
    // reports it.
    void doChangeSpeed(double speed) override;
    // Set one component of the owner's velocity, in BulletML units.
    void doAccelX(double speedX) override;
    void doAccelY(double speedY) override;
    // One component of the owner's velocity, in BulletML units.
    double getBulletSpeedX() override;
    double getBulletSpeedY() override;

private:
    Enemy* owner_;  // not owned
    int turn_ = -1;
    long work_ = 0;
};
