// Refuses BulletML trees that would stall the frame, misbehave or throw in the middle of a match.
#include "script/BulletMLChecker.h"

#include "script/BulletMLDocument.h"
#include "script/Interval.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <sstream>
#include <vector>

namespace {

using Node = BulletMLNode;
using Parameters = std::vector<Interval>;  // $1 to $9; those not passed are 1
using C = BulletMLChecker;

constexpr int kParameterCount = 9;
// A cycle is followed with its actual parameters this many times before they are widened.
constexpr int kUnrollings = 4;
constexpr std::size_t kMaxReferenceDepth = 200;
constexpr long kMaxSteps = 200000;
constexpr double kInfinity = std::numeric_limits<double>::infinity();

std::string describe(double v) {
    std::ostringstream out;
    out << v;
    return out.str();
}

std::string tag(const Node& node) { return std::string("<") + BulletMLDocument::nameOf(node.getName()) + ">"; }

const Node* childNamed(const Node& node, Node::Name name) {
    for (auto it = node.childBegin(); it != node.childEnd(); ++it)
        if ((*it)->getName() == name) return *it;
    return nullptr;
}

// What running an element costs in one measure: whether it surely meets a separator (a wait
// of a turn, or a call to the game), how much it runs before its first separator (head) and
// after its last (tail), and the most between two (worst). Without a separator, head and tail
// are both the whole.
struct Run {
    bool separated;
    double head, tail, worst;

    Run then(const Run& next) const {
        if (!separated && !next.separated) return {false, head + next.head, tail + next.tail, 0.0};
        if (!separated) return {true, head + next.head, next.tail, next.worst};
        if (!next.separated) return {true, head, tail + next.head, worst};
        return {true, head, next.tail, std::max({worst, next.worst, tail + next.head})};
    }
    Run repeated(double times) const {
        if (times <= 1.0) return *this;
        if (!separated) return {false, head * times, tail * times, 0.0};
        return {true, head, tail, std::max(worst, tail + head)};
    }
    double largest() const { return std::max({head, tail, worst}); }
};
const Run kUnit{false, 1, 1, 0};
const Run kSeparator{true, 0, 0, 0};

// Commands between waits, and steps between calls to the game.
struct Cost {
    Run burst, silent;
    Cost then(const Cost& next) const { return {burst.then(next.burst), silent.then(next.silent)}; }
    Cost repeated(double times) const { return {burst.repeated(times), silent.repeated(times)}; }
};
const Cost kSilentStep{kUnit, kUnit};
const Cost kSeenStep{kUnit, kSeparator};

// Where one end of a moving parameter gets to: on along its last step for the horizon, or
// to infinity when its steps grow.
double extend(double before, double last, double now) {
    const double step = now - last;
    if (step == 0.0) return now;
    if (std::fabs(step) > std::fabs(last - before) * (1 + 1e-9)) return std::copysign(kInfinity, step);
    return now + step * C::kHorizonTurns;
}

// Follows every path a runner can take, with ranges for the numbers.
class Walk {
public:
    explicit Walk(const BulletMLDocument& doc) : doc_(doc) {}

    void check() {
        const Node& root = doc_.root();
        references(root);
        std::vector<const Node*> tops;
        for (auto it = root.childBegin(); it != root.childEnd(); ++it)
            if ((*it)->getName() == Node::action && doc_.element(**it).label.compare(0, 3, "top") == 0) tops.push_back(*it);
        if (tops.empty()) doc_.fail(root, "has no top action (an <action> whose label starts with \"top\")");
        runner(tops, Parameters(kParameterCount, Interval(1.0)), root);
    }

private:
    struct Frame {
        const Node* target;
        Parameters params;
        int waits;  // waits_ when the frame was entered: equal now means no wait since
        bool widened;
    };

    void references(const Node& node) {
        const Node::Name name = node.getName();
        if (name == Node::bulletRef || name == Node::actionRef || name == Node::fireRef) {
            const std::string& label = doc_.element(node).label;
            const std::string what = tag(node) + " names " +
                                     (name == Node::bulletRef ? "bullet" : name == Node::actionRef ? "action" : "fire") +
                                     " \"" + label + "\"";
            const Node* target = doc_.target(node);
            if (!target) doc_.fail(node, what + ", which does not exist");
            // The runner only comes back from an element directly inside <bulletml>; from any
            // other it runs on through the elements that follow it.
            if (!doc_.element(*target).atRoot)
                doc_.fail(node, what + " on line " + std::to_string(doc_.element(*target).line) +
                                    ", which stands inside another element; only elements directly inside <bulletml> "
                                    "can be named");
            if (name == Node::actionRef && label.compare(0, 3, "top") == 0)
                doc_.fail(node, what + ", a top action: the runner plays top actions on their own, and the rest of "
                                       "this action would be lost");
        }
        for (auto it = node.childBegin(); it != node.childEnd(); ++it) references(**it);
    }

    // Actions that take their steps side by side on one runner.
    void runner(const std::vector<const Node*>& actions, const Parameters& params, const Node& where) {
        double burst = 0.0;
        for (const Node* action : actions) {
            const Cost cost = action->getName() == Node::action ? sequence(*action, params) : reference(*action, params);
            limit(*action, cost, tag(*action));
            burst += cost.burst.largest();
        }
        if (burst > C::kMaxBurst)
            doc_.fail(where, "the actions of " + tag(where) + " together can run " + describe(burst) +
                                 " commands without a wait (at most " + describe(C::kMaxBurst) + ")");
    }

    Cost sequence(const Node& action, const Parameters& params) {
        const int saved = waits_;
        Cost cost = kSilentStep;
        for (auto it = action.childBegin(); it != action.childEnd(); ++it) {
            const bool waitedBefore = cost.burst.separated;
            cost = cost.then(command(**it, params));
            if (cost.burst.separated && !waitedBefore) ++waits_;
        }
        waits_ = saved;
        return cost;
    }

    Cost command(const Node& command, const Parameters& params) {
        if (++steps_ > kMaxSteps) doc_.fail(command, "the document is too intricate to check");
        switch (command.getName()) {
        case Node::wait: {
            const bool waits = value(command, params, C::kMaxTurns).lo >= 1.0;
            return {{waits, 1.0, waits ? 0.0 : 1.0, 0.0}, kSeparator};
        }
        case Node::repeat: {
            // The library runs the body once even for no or negative times.
            const double times = std::max(1.0, std::floor(value(*childNamed(command, Node::times), params, C::kMaxTimes).hi));
            const Node* body = childNamed(command, Node::action);
            const Cost once = body ? sequence(*body, params) : reference(*childNamed(command, Node::actionRef), params);
            const Cost cost = kSeenStep.then(once.repeated(times));
            limit(command, cost, "<repeat>");
            return cost;
        }
        case Node::action: return sequence(command, params);
        case Node::actionRef:
        case Node::fireRef: return reference(command, params);
        case Node::fire: return fire(command, params);
        case Node::changeDirection: checkValue(command, Node::direction, params, C::kMaxDirection); break;
        case Node::changeSpeed: checkValue(command, Node::speed, params, C::kMaxSpeed); break;
        case Node::accel:
            checkValue(command, Node::horizontal, params, C::kMaxSpeed);
            checkValue(command, Node::vertical, params, C::kMaxSpeed);
            break;
        default: break;
        }
        checkValue(command, Node::term, params, C::kMaxTurns);
        return kSeenStep;
    }

    Cost fire(const Node& fire, const Parameters& params) {
        checkValue(fire, Node::direction, params, C::kMaxDirection);
        checkValue(fire, Node::speed, params, C::kMaxSpeed);
        // The bullet plays on a runner of its own, from the frame it is born in.
        if (const Node* bullet = childNamed(fire, Node::bullet))
            this->bullet(*bullet, params);
        else
            reference(*childNamed(fire, Node::bulletRef), params);
        return kSeenStep;
    }

    void bullet(const Node& bullet, const Parameters& params) {
        checkValue(bullet, Node::direction, params, C::kMaxDirection);
        checkValue(bullet, Node::speed, params, C::kMaxSpeed);
        std::vector<const Node*> actions;
        for (auto it = bullet.childBegin(); it != bullet.childEnd(); ++it)
            if ((*it)->getName() == Node::action || (*it)->getName() == Node::actionRef) actions.push_back(*it);
        runner(actions, params, bullet);
    }

    Cost reference(const Node& reference, const Parameters& params) {
        Parameters passed(kParameterCount, Interval(1.0));
        int index = 0;
        for (auto it = reference.childBegin(); it != reference.childEnd(); ++it, ++index)
            if (index < kParameterCount) passed[index] = value(**it, params, kInfinity);
        // Parameters are numbers the game is asked for; a plain reference is silent.
        return (index > 0 ? kSeenStep : kSilentStep).then(enter(*doc_.target(reference), std::move(passed), reference));
    }

    Cost enter(const Node& target, Parameters params, const Node& via) {
        std::vector<std::pair<double, double>> key;
        for (const Interval& p : params) key.emplace_back(p.lo, p.hi);
        const auto done = finished_.find({&target, key});
        if (done != finished_.end()) return done->second;

        const std::string name = BulletMLDocument::nameOf(target.getName()) + (" \"" + doc_.element(target).label + "\"");
        std::vector<const Frame*> visits;
        for (const Frame& frame : stack_)
            if (frame.target == &target) visits.push_back(&frame);
        bool widened = false;
        if (!visits.empty()) {
            if (visits.back()->waits == waits_)
                doc_.fail(via, tag(via) + " leads back into " + name +
                                   " without a wait of a turn on the way: it would loop or grow without end");
            // The visit in progress covers this one; what it costs is counted there.
            if (visits.back()->widened) return kSilentStep;
            for (const Frame* frame : visits) {
                bool covered = true;
                for (int i = 0; i < kParameterCount; ++i) covered = covered && frame->params[i].contains(params[i]);
                if (covered) return kSilentStep;
            }
            if (visits.size() >= kUnrollings) {
                const Parameters& before = visits[visits.size() - 2]->params;
                const Parameters& last = visits.back()->params;
                for (int i = 0; i < kParameterCount; ++i) {
                    const double a = extend(before[i].lo, last[i].lo, params[i].lo);
                    const double b = extend(before[i].hi, last[i].hi, params[i].hi);
                    params[i] = Interval(std::min({a, b, visits.front()->params[i].lo, params[i].lo}),
                                         std::max({a, b, visits.front()->params[i].hi, params[i].hi}));
                }
                widened = true;
            }
        }
        if (stack_.size() >= kMaxReferenceDepth) doc_.fail(target, "references nest too deeply to check");

        stack_.push_back(Frame{&target, params, waits_, widened});
        Cost cost = kSilentStep;
        if (target.getName() == Node::action)
            cost = sequence(target, params);
        else if (target.getName() == Node::fire)
            cost = fire(target, params);
        else
            bullet(target, params);
        stack_.pop_back();
        limit(target, cost, name);
        finished_[{&target, key}] = cost;
        return cost;
    }

    void limit(const Node& where, const Cost& cost, const std::string& what) const {
        if (cost.burst.largest() > C::kMaxBurst)
            doc_.fail(where, what + " can run " + describe(cost.burst.largest()) + " commands without a wait (at most " +
                                 describe(C::kMaxBurst) + ")");
        if (cost.silent.largest() > C::kMaxSilent)
            doc_.fail(where, what + " can run " + describe(cost.silent.largest()) +
                                 " steps in a row that do nothing the game sees (at most " + describe(C::kMaxSilent) + ")");
    }

    Interval value(const Node& number, const Parameters& params, double limit) const {
        const BulletMLFormula& formula = *doc_.element(number).formula;
        const Interval v = formula.range(params);
        if (limit == kInfinity) return v;
        const std::string what = tag(number) + " \"" + formula.text() + "\" can ";
        if (!v.isFinite()) doc_.fail(number, what + "become infinite or undefined");
        if (v.magnitude() > limit)
            doc_.fail(number, what + "reach " + describe(std::fabs(v.lo) > std::fabs(v.hi) ? v.lo : v.hi) +
                                  " (at most " + describe(limit) + " in size)");
        return v;
    }

    void checkValue(const Node& parent, Node::Name child, const Parameters& params, double limit) const {
        if (const Node* number = childNamed(parent, child)) value(*number, params, limit);
    }

    const BulletMLDocument& doc_;
    std::vector<Frame> stack_;
    std::map<std::pair<const Node*, std::vector<std::pair<double, double>>>, Cost> finished_;
    int waits_ = 0;
    long steps_ = 0;
};

}  // namespace

void BulletMLChecker::check() const { Walk(doc_).check(); }
