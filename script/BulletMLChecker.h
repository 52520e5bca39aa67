// Refuses BulletML trees that would stall the frame, misbehave or throw in the middle of a match.
#pragma once

#include "script/Interval.h"

#include <bulletmltree.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

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
//   added up; and at most kMaxSilent of them in a row without a callback to the game (entering
//   actions, references without parameters, passes of an empty repeat), which the frame's
//   budget counts (Game::kPatternWorkPerFrame).
class BulletMLChecker {
public:
    static constexpr double kMaxDirection = 1e6;  // degrees: the library turns them by 360 at a time
    static constexpr double kMaxSpeed = 1e4;      // BulletML speed units, for speeds and accelerations
    static constexpr double kMaxTurns = 1e8;      // wait and term
    static constexpr double kMaxTimes = 1e8;
    static constexpr double kMaxBurst = 20000;
    static constexpr double kMaxSilent = 32;
    // Ten minutes of play: how far a parameter that grows through a cycle is followed. A
    // growth that fast blows up within seconds is refused; a slow one that outlives this
    // horizon only makes the library turn its angles a little longer.
    static constexpr double kHorizonTurns = 37500;

    explicit BulletMLChecker(const BulletMLDocument& document);

    // Throws BulletMLError "path: line N: what is wrong" at the first problem.
    void check();

    // The nine parameters $1 to $9 as ranges; those not passed are 1.
    using Parameters = std::vector<Interval>;

    // What running an element costs in one measure: whether it surely meets a separator
    // (a wait of a turn, or a callback to the game), how much it runs before its first
    // separator (head) and after its last (tail), and the most between two (worst). Without a
    // separator, head and tail are both the whole.
    struct Run {
        bool separated = false;
        double head = 0.0;
        double tail = 0.0;
        double worst = 0.0;
        static Run unit() { return {false, 1.0, 1.0, 0.0}; }
        static Run separator() { return {true, 0.0, 0.0, 0.0}; }
        Run then(const Run& next) const;
        Run repeated(double times) const;
        double largest() const;
    };
    // Commands between waits, and steps between callbacks.
    struct Cost {
        Run burst;
        Run silent;
        Cost then(const Cost& next) const { return {burst.then(next.burst), silent.then(next.silent)}; }
    };

private:
    struct Frame {
        const BulletMLNode* target;
        Parameters params;
        int waits;  // waits_ when the frame was entered: equal now means no wait since
        bool widened;
    };

    void checkReferences(const BulletMLNode& node);
    Cost runAction(const BulletMLNode& action, const Parameters& params);
    Cost runCommand(const BulletMLNode& command, const Parameters& params);
    Cost runFire(const BulletMLNode& fire, const Parameters& params);
    void runBullet(const BulletMLNode& bullet, const Parameters& params);
    void runRunner(const std::vector<const BulletMLNode*>& actions, const Parameters& params,
                   const BulletMLNode& where);
    Cost runReference(const BulletMLNode& reference, const Parameters& params);
    Cost enter(const BulletMLNode& target, Parameters params, const BulletMLNode* via);
    Parameters widen(const BulletMLNode& target, Parameters params) const;
    void limit(const BulletMLNode& where, const Cost& cost, const std::string& what) const;
    Interval value(const BulletMLNode& number, const Parameters& params, double limit) const;
    void checkValue(const BulletMLNode& parent, BulletMLNode::Name child, const Parameters& params,
                    double limit) const;

    const BulletMLDocument& doc_;
    std::vector<Frame> stack_;
    std::map<std::pair<const BulletMLNode*, std::vector<std::pair<double, double>>>, Cost> finished_;
    int waits_ = 0;
    long steps_ = 0;
};
