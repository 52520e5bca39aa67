// Refuses BulletML trees that would stall the frame, misbehave or throw in the middle of a match.
#include "script/BulletMLChecker.h"

#include "script/BulletMLDocument.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <sstream>

namespace {

using Node = BulletMLNode;

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

const Node* childNamed(const Node& node, Node::Name name) {
    for (auto it = node.childBegin(); it != node.childEnd(); ++it)
        if ((*it)->getName() == name) return *it;
    return nullptr;
}

std::string tag(const Node& node) { return std::string("<") + BulletMLDocument::nameOf(node.getName()) + ">"; }

std::vector<std::pair<double, double>> keyOf(const BulletMLChecker::Parameters& params) {
    std::vector<std::pair<double, double>> key;
    for (const auto& p : params) key.emplace_back(p.lo, p.hi);
    return key;
}

bool covers(const BulletMLChecker::Parameters& outer, const BulletMLChecker::Parameters& inner) {
    for (int i = 0; i < kParameterCount; ++i)
        if (!outer[i].contains(inner[i])) return false;
    return true;
}

// Where one end of a moving parameter gets to: on along its last step for the horizon, or
// to infinity when its steps grow.
double extend(double before, double last, double now) {
    const double step = now - last;
    if (step == 0.0) return now;
    if (std::fabs(step) > std::fabs(last - before) * (1 + 1e-9)) return std::copysign(kInfinity, step);
    return now + step * BulletMLChecker::kHorizonTurns;
}

}  // namespace

BulletMLChecker::Run BulletMLChecker::Run::then(const Run& next) const {
    if (!separated && !next.separated) return {false, head + next.head, tail + next.tail, 0.0};
    if (!separated) return {true, head + next.head, next.tail, next.worst};
    if (!next.separated) return {true, head, tail + next.head, worst};
    return {true, head, next.tail, std::max({worst, next.worst, tail + next.head})};
}

BulletMLChecker::Run BulletMLChecker::Run::repeated(double times) const {
    if (times <= 1.0) return *this;
    if (!separated) return {false, head * times, tail * times, 0.0};
    return {true, head, tail, std::max(worst, tail + head)};
}

double BulletMLChecker::Run::largest() const { return std::max({head, tail, worst}); }

BulletMLChecker::BulletMLChecker(const BulletMLDocument& document) : doc_(document) {}

void BulletMLChecker::check() {
    const Node& root = doc_.root();
    checkReferences(root);
    std::vector<const Node*> tops;
    for (auto it = root.childBegin(); it != root.childEnd(); ++it) {
        const auto& element = doc_.element(**it);
        if ((*it)->getName() == Node::action && element.label.compare(0, 3, "top") == 0) tops.push_back(*it);
    }
    if (tops.empty()) doc_.fail(root, "has no top action (an <action> whose label starts with \"top\")");
    runRunner(tops, Parameters(kParameterCount, Interval(1.0)), root);
}

void BulletMLChecker::checkReferences(const Node& node) {
    const Node::Name name = node.getName();
    if (name == Node::bulletRef || name == Node::actionRef || name == Node::fireRef) {
        const auto& label = doc_.element(node).label;
        const Node* target = doc_.target(node);
        const std::string what = tag(node) + " names " + (name == Node::bulletRef ? "bullet" : name == Node::actionRef ? "action" : "fire") +
                                 " \"" + label + "\"";
        if (!target) doc_.fail(node, what + ", which does not exist");
        const auto& named = doc_.element(*target);
        // The runner only comes back from an element directly inside <bulletml>; from any
        // other it runs on through the elements that follow it.
        if (!named.atRoot)
            doc_.fail(node, what + " on line " + std::to_string(named.line) +
                                ", which stands inside another element; only elements directly inside "
                                "<bulletml> can be named");
        if (name == Node::actionRef && label.compare(0, 3, "top") == 0)
            doc_.fail(node, what + ", a top action: the runner plays top actions on their own, and "
                                   "the rest of this action would be lost");
    }
    for (auto it = node.childBegin(); it != node.childEnd(); ++it) checkReferences(**it);
}

// The run below follows every path a runner can take, with ranges for the numbers.

void BulletMLChecker::runRunner(const std::vector<const Node*>& actions, const Parameters& params,
                                const Node& where) {
    // The actions of one runner all take their steps in the same frame.
    double burst = 0.0;
    for (const Node* action : actions) {
        const Cost cost = action->getName() == Node::action ? runAction(*action, params)
                                                             : runReference(*action, params);
        limit(*action, cost, tag(*action));
        burst += cost.burst.largest();
    }
    if (burst > kMaxBurst)
        doc_.fail(where, "the actions of " + tag(where) + " together can run " + describe(burst) +
                             " commands without a wait (at most " + describe(kMaxBurst) + ")");
}

BulletMLChecker::Cost BulletMLChecker::runAction(const Node& action, const Parameters& params) {
    const int saved = waits_;
    Cost cost{Run::unit(), Run::unit()};
    for (auto it = action.childBegin(); it != action.childEnd(); ++it) {
        const bool waitedBefore = cost.burst.separated;
        cost = cost.then(runCommand(**it, params));
        if (cost.burst.separated && !waitedBefore) ++waits_;
    }
    waits_ = saved;
    return cost;
}

BulletMLChecker::Cost BulletMLChecker::runCommand(const Node& command, const Parameters& params) {
    if (++steps_ > kMaxSteps) doc_.fail(command, "the document is too intricate to check");
    const Cost seen{Run::unit(), Run::separator()};
    switch (command.getName()) {
    case Node::wait: {
        const bool waits = value(command, params, kMaxTurns).lo >= 1.0;
        return {{waits, 1.0, waits ? 0.0 : 1.0, 0.0}, Run::separator()};
    }
    case Node::repeat: {
        // The library runs the body once even for no or negative times.
        const double times = std::max(1.0, std::floor(value(*childNamed(command, Node::times), params, kMaxTimes).hi));
        const Node* body = childNamed(command, Node::action);
        const Cost once = body ? runAction(*body, params) : runReference(*childNamed(command, Node::actionRef), params);
        const Cost cost = seen.then({once.burst.repeated(times), once.silent.repeated(times)});
        limit(command, cost, "<repeat>");
        return cost;
    }
    case Node::action: return runAction(command, params);
    case Node::actionRef:
    case Node::fireRef: return runReference(command, params);
    case Node::fire: return runFire(command, params);
    case Node::changeDirection: checkValue(command, Node::direction, params, kMaxDirection); break;
    case Node::changeSpeed: checkValue(command, Node::speed, params, kMaxSpeed); break;
    case Node::accel:
        checkValue(command, Node::horizontal, params, kMaxSpeed);
        checkValue(command, Node::vertical, params, kMaxSpeed);
        break;
    default: break;
    }
    checkValue(command, Node::term, params, kMaxTurns);
    return seen;
}

BulletMLChecker::Cost BulletMLChecker::runFire(const Node& fire, const Parameters& params) {
    checkValue(fire, Node::direction, params, kMaxDirection);
    checkValue(fire, Node::speed, params, kMaxSpeed);
    // The bullet runs on a runner of its own, from the frame it is born in.
    if (const Node* bullet = childNamed(fire, Node::bullet))
        runBullet(*bullet, params);
    else
        runReference(*childNamed(fire, Node::bulletRef), params);
    return {Run::unit(), Run::separator()};
}

void BulletMLChecker::runBullet(const Node& bullet, const Parameters& params) {
    checkValue(bullet, Node::direction, params, kMaxDirection);
    checkValue(bullet, Node::speed, params, kMaxSpeed);
    std::vector<const Node*> actions;
    for (auto it = bullet.childBegin(); it != bullet.childEnd(); ++it)
        if ((*it)->getName() == Node::action || (*it)->getName() == Node::actionRef) actions.push_back(*it);
    // A fired bullet's runner starts from the waits of the one that fired it.
    runRunner(actions, params, bullet);
}

BulletMLChecker::Cost BulletMLChecker::runReference(const Node& reference, const Parameters& params) {
    Parameters passed(kParameterCount, Interval(1.0));
    int index = 0;
    for (auto it = reference.childBegin(); it != reference.childEnd(); ++it, ++index)
        if (index < kParameterCount) passed[index] = value(**it, params, kInfinity);
    // Parameters are numbers the game is asked for; a plain reference is silent.
    const Cost cost{Run::unit(), index > 0 ? Run::separator() : Run::unit()};
    return cost.then(enter(*doc_.target(reference), std::move(passed), &reference));
}

BulletMLChecker::Cost BulletMLChecker::enter(const Node& target, Parameters params, const Node* via) {
    const auto key = std::make_pair(&target, keyOf(params));
    const auto done = finished_.find(key);
    if (done != finished_.end()) return done->second;

    const Cost again{Run::unit(), Run::unit()};
    const std::string label = doc_.element(target).label;
    int visits = 0;
    const Frame* latest = nullptr;
    for (const Frame& frame : stack_) {
        if (frame.target != &target) continue;
        ++visits;
        latest = &frame;
    }
    bool widened = false;
    if (latest) {
        // Only references lead back, so via is set here.
        if (latest->waits == waits_)
            doc_.fail(*via, tag(*via) + " leads back into " + BulletMLDocument::nameOf(target.getName()) + " \"" +
                                label + "\" without a wait of a turn on the way: it would loop or grow without end");
        // The visit in progress covers this one; what it costs is counted there.
        if (latest->widened) return again;
        for (const Frame& frame : stack_)
            if (frame.target == &target && covers(frame.params, params)) return again;
        if (visits >= kUnrollings) {
            params = widen(target, std::move(params));
            widened = true;
        }
    }
    if (stack_.size() >= kMaxReferenceDepth) doc_.fail(target, "references nest too deeply to check");

    stack_.push_back(Frame{&target, params, waits_, widened});
    Cost cost{Run::unit(), Run::unit()};
    if (target.getName() == Node::action)
        cost = runAction(target, params);
    else if (target.getName() == Node::fire)
        cost = runFire(target, params);
    else
        runBullet(target, params);
    stack_.pop_back();
    limit(target, cost, std::string(BulletMLDocument::nameOf(target.getName())) + " \"" + label + "\"");
    finished_[key] = cost;
    return cost;
}

BulletMLChecker::Parameters BulletMLChecker::widen(const Node& target, Parameters params) const {
    std::vector<const Parameters*> seen;
    for (const Frame& frame : stack_)
        if (frame.target == &target) seen.push_back(&frame.params);
    const Parameters& before = *seen[seen.size() - 2];
    const Parameters& last = *seen.back();
    for (int i = 0; i < kParameterCount; ++i) {
        const Interval& now = params[i];
        double lo = std::min(extend(before[i].lo, last[i].lo, now.lo), extend(before[i].hi, last[i].hi, now.hi));
        double hi = std::max(extend(before[i].lo, last[i].lo, now.lo), extend(before[i].hi, last[i].hi, now.hi));
        for (const Parameters* p : seen) {
            lo = std::min(lo, (*p)[i].lo);
            hi = std::max(hi, (*p)[i].hi);
        }
        params[i] = Interval(std::min(lo, now.lo), std::max(hi, now.hi));
    }
    return params;
}

void BulletMLChecker::limit(const Node& where, const Cost& cost, const std::string& what) const {
    if (cost.burst.largest() > kMaxBurst)
        doc_.fail(where, what + " can run " + describe(cost.burst.largest()) + " commands without a wait (at most " +
                             describe(kMaxBurst) + ")");
    if (cost.silent.largest() > kMaxSilent)
        doc_.fail(where, what + " can run " + describe(cost.silent.largest()) +
                             " steps in a row that do nothing the game sees (at most " + describe(kMaxSilent) + ")");
}

Interval BulletMLChecker::value(const Node& number, const Parameters& params, double limit) const {
    const BulletMLFormula& formula = *doc_.element(number).formula;
    const Interval v = formula.range(params);
    if (limit == kInfinity) return v;
    if (!v.isFinite())
        doc_.fail(number, tag(number) + " \"" + formula.text() + "\" can become infinite or undefined");
    if (v.magnitude() > limit)
        doc_.fail(number, tag(number) + " \"" + formula.text() + "\" can reach " +
                              describe(std::fabs(v.lo) > std::fabs(v.hi) ? v.lo : v.hi) + " (at most " + describe(limit) +
                              " in size)");
    return v;
}

void BulletMLChecker::checkValue(const Node& parent, Node::Name child, const Parameters& params, double limit) const {
    if (const Node* number = childNamed(parent, child)) value(*number, params, limit);
}
