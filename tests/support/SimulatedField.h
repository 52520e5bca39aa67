// A headless stand-in for the match field: runs BulletML documents with the game's units.
#pragma once

#include "display/Point.h"

#include <bulletmlparser.h>
#include <bulletmlrunner.h>

#include <cstddef>
#include <memory>
#include <vector>

class SimulatedRunner;

// One partner plays a document from the top of the field at an opponent near the bottom;
// every step is one 16 ms turn. Bullets move in pixels per second (a BulletML speed of 1 is
// 100), bullets with actions get their own runner, and a body that leaves the 300 x 400 field
// is swept at the end of the step. As in the game, bullets born during a step get their turn
// in that same step.
class SimulatedField {
public:
    static constexpr double kWidth = 300.0;
    static constexpr double kHeight = 400.0;
    static constexpr double kTurnSeconds = 0.016;
    // A step that creates more than this many bodies is taken for a runaway document.
    static constexpr std::size_t kMaxBornPerStep = 5000;

    struct Body {
        Point center;
        Point vel;
        bool alive = true;
        bool partner = false;
        std::unique_ptr<SimulatedRunner> runner;
    };

    SimulatedField(double rank, Point partner = {150.0, 100.0}, Point opponent = {150.0, 350.0});
    ~SimulatedField();
    SimulatedField(const SimulatedField&) = delete;
    SimulatedField& operator=(const SimulatedField&) = delete;

    // Gives the partner a runner over the document, as a scripted enemy starting a pattern.
    void play(BulletMLParser* document);
    // One turn: runs every runner once, then moves and sweeps. False once a step ran away.
    bool step();

    bool patternEnded() const { return partnerBody()->runner == nullptr; }
    int turn() const { return turn_; }
    double rank() const { return rank_; }
    const Point& opponent() const { return opponent_; }
    std::size_t bodies() const { return bodies_.size() - 1; }  // the partner does not count
    long fired() const { return fired_; }
    long firedWithActions() const { return firedWithActions_; }

    // Called by the runners.
    void addBullet(const Point& center, const Point& vel, BulletMLState* state);

private:
    Body* partnerBody() const { return bodies_.front().get(); }

    double rank_;
    Point opponent_;
    int turn_ = 0;
    long fired_ = 0;
    long firedWithActions_ = 0;
    std::size_t bornThisStep_ = 0;
    std::vector<std::unique_ptr<Body>> bodies_;
};
