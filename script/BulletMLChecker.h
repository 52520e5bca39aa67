// Refuses BulletML trees that would stall the frame, misbehave or throw in the middle of a match.
#pragma once

class BulletMLDocument;

// Run on the tree the runner will run, after BulletMLDocument has refused what the library
// cannot even hold:
// - at least one top action; every reference names an element directly inside <bulletml>
//   (the runner only comes back from those) that is not a top action (the runner cuts top
//   actions off their parent, so the rest of the referring action would be lost);
// - every number stays finite and within the limits below for any $rand and $rank in [0, 1]
//   and the parameters passed along each path the document can run; a parameter that keeps
//   moving through a cycle is followed linearly for kHorizonTurns, and one that moves faster
//   and faster counts as unbounded;
// - no reference cycle without a <wait> of at least one turn on the way;
// - one runner's step stays bounded: at most kMaxBurst commands between two waits, where every
//   command, every entered action and every repeat pass counts, actions that run side by side
//   added up; and at most kMaxSilent of them in a row without a call to the game (entering
//   actions, references without parameters, passes of an empty repeat), which is what the
//   frame's budget counts (Game::kPatternWorkPerFrame).
class BulletMLChecker {
public:
    static constexpr double kMaxDirection = 1e6;  // degrees: the library turns them by 360 at a time
    static constexpr double kMaxSpeed = 1e4;      // BulletML speed units, for speeds and accelerations
    static constexpr double kMaxTurns = 1e8;      // wait and term
    static constexpr double kMaxTimes = 1e8;
    static constexpr double kMaxBurst = 20000;
    static constexpr double kMaxSilent = 32;
    // Ten minutes of play: how far a parameter that grows through a cycle is followed. A
    // growth that blows up within seconds is refused; a slow one that outlives this horizon
    // only makes the library turn its angles a little longer.
    static constexpr double kHorizonTurns = 37500;

    explicit BulletMLChecker(const BulletMLDocument& document) : doc_(document) {}

    // Throws BulletMLError "path: line N: what is wrong" at the first problem.
    void check() const;

private:
    const BulletMLDocument& doc_;
};
