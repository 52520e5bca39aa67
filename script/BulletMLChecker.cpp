// Refuses BulletML documents that libbulletml would crash, hang or misread on, before it sees them.
#include "script/BulletMLChecker.h"

#include "script/XmlReader.h"

#include <bulletmlerror.h>

#include <fstream>
#include <limits>
#include <cmath>
#include <sstream>
#include <sys/stat.h>

struct BulletMLChecker::Frame {
    const XmlElement* target;
    Parameters params;
    int waits;  // waits_ when the frame was entered: equal now means no wait since
};

namespace {

constexpr int kParameterCount = 9;
// A cycle is followed with its actual parameters this many times before they are widened.
constexpr int kUnrollings = 4;
constexpr std::size_t kMaxReferenceDepth = 200;
constexpr long kMaxSteps = 200000;

struct ChildRule {
    const char* name;
    int min;
    int max;
};

constexpr int kMany = std::numeric_limits<int>::max();

struct ElementRule {
    const char* name;
    bool number;
    const char* types;  // the values its type attribute may take, space separated; null: none
    std::vector<ChildRule> children;
};

const std::vector<ElementRule>& rules() {
    static const std::vector<ElementRule> table = {
        {"bulletml", false, "none vertical horizontal", {{"bullet", 0, kMany}, {"action", 0, kMany}, {"fire", 0, kMany}}},
        {"bullet", false, nullptr, {{"direction", 0, 1}, {"speed", 0, 1}, {"action", 0, kMany}, {"actionRef", 0, kMany}}},
        {"action", false, nullptr,
         {{"changeDirection", 0, kMany}, {"accel", 0, kMany}, {"vanish", 0, kMany}, {"changeSpeed", 0, kMany},
          {"repeat", 0, kMany}, {"wait", 0, kMany}, {"fire", 0, kMany}, {"fireRef", 0, kMany},
          {"action", 0, kMany}, {"actionRef", 0, kMany}}},
        {"fire", false, nullptr, {{"direction", 0, 1}, {"speed", 0, 1}, {"bullet", 0, 1}, {"bulletRef", 0, 1}}},
        {"changeDirection", false, nullptr, {{"direction", 1, 1}, {"term", 1, 1}}},
        {"changeSpeed", false, nullptr, {{"speed", 1, 1}, {"term", 1, 1}}},
        {"accel", false, nullptr, {{"horizontal", 0, 1}, {"vertical", 0, 1}, {"term", 1, 1}}},
        {"wait", true, nullptr, {}},
        {"repeat", false, nullptr, {{"times", 1, 1}, {"action", 0, 1}, {"actionRef", 0, 1}}},
        {"bulletRef", false, nullptr, {{"param", 0, kMany}}},
        {"actionRef", false, nullptr, {{"param", 0, kMany}}},
        {"fireRef", false, nullptr, {{"param", 0, kMany}}},
        {"vanish", false, nullptr, {}},
        {"horizontal", true, "absolute relative sequence", {}},
        {"vertical", true, "absolute relative sequence", {}},
        {"term", true, nullptr, {}},
        {"times", true, nullptr, {}},
        {"direction", true, "aim absolute relative sequence", {}},
        {"speed", true, "absolute relative sequence", {}},
        {"param", true, nullptr, {}},
    };
    return table;
}

const ElementRule* ruleFor(const std::string& name) {
    for (const auto& rule : rules())
        if (name == rule.name) return &rule;
    return nullptr;
}

bool isLabelled(const std::string& name) { return name == "bullet" || name == "action" || name == "fire"; }
bool isReference(const std::string& name) { return name == "bulletRef" || name == "actionRef" || name == "fireRef"; }

// Index into labels_: references and the elements they name share it.
int kindOf(const std::string& name) {
    if (name == "bullet" || name == "bulletRef") return 0;
    if (name == "action" || name == "actionRef") return 1;
    return 2;
}

const char* const kKindNames[] = {"bullet", "action", "fire"};

bool isBlank(const std::string& text) {
    return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

bool hasWord(const char* words, const std::string& word) {
    std::istringstream in(words);
    std::string w;
    while (in >> w)
        if (w == word) return true;
    return false;
}

const XmlElement* childNamed(const XmlElement& element, const char* name) {
    for (const auto& child : element.children)
        if (child->name == name) return child.get();
    return nullptr;
}

std::string describe(double v) {
    std::ostringstream out;
    out << v;
    return out.str();
}

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

}  // namespace

BulletMLChecker::BulletMLChecker(std::string path) : path_(std::move(path)) {}

BulletMLChecker::~BulletMLChecker() = default;

void BulletMLChecker::check() {
    const std::string content = readFile();
    XmlReader reader(path_, content);
    const std::unique_ptr<XmlElement> root = reader.read();
    if (root->name != "bulletml") fail(*root, "the root element is <" + root->name + ">, not <bulletml>");
    checkElement(*root, nullptr);
    collectLabels(*root);
    checkReferences(*root);

    std::vector<const XmlElement*> tops;
    for (const auto& child : root->children) {
        const std::string* label = child->attribute("label");
        if (child->name == "action" && label && label->compare(0, 3, "top") == 0) tops.push_back(child.get());
    }
    if (tops.empty()) fail("has no top action (an <action> whose label starts with \"top\")");
    for (const XmlElement* top : tops) enter(*top, Parameters(kParameterCount, Interval(1.0)), nullptr);
}

std::string BulletMLChecker::readFile() const {
    struct stat info {};
    if (::stat(path_.c_str(), &info) != 0) fail("cannot be found");
    if (!S_ISREG(info.st_mode)) fail("is not a regular file");
    if (info.st_size == 0) fail("is empty");
    if (info.st_size > kMaxFileSize) fail("is larger than " + std::to_string(kMaxFileSize) + " bytes");
    std::ifstream in(path_, std::ios::binary);
    if (!in) fail("cannot be opened");
    std::ostringstream content;
    content << in.rdbuf();
    if (!in && !in.eof()) fail("cannot be read");
    if (content.str().empty()) fail("is empty");
    return content.str();
}

void BulletMLChecker::checkElement(const XmlElement& element, const XmlElement* parent) {
    const ElementRule* rule = ruleFor(element.name);
    if (!rule) fail(element, "unknown element <" + element.name + ">");
    if (parent && element.name == "bulletml") fail(element, "<bulletml> inside <" + parent->name + ">");
    checkAttributes(element, parent);
    if (rule->number) {
        if (!element.children.empty())
            fail(element, "<" + element.name + "> holds element <" + element.children.front()->name + ">");
        if (isBlank(element.text)) fail(element, "<" + element.name + "> is empty");
        if (element.pieces != 1)
            fail(element, "<" + element.name + "> is split by comments or CDATA sections; the library reads only the first piece");
        try {
            formulas_[&element] = std::make_unique<BulletMLFormula>(element.text);
        } catch (const BulletMLError& e) {
            fail(element, "<" + element.name + "> " + e.what());
        }
        return;
    }
    if (element.hasCdata || !isBlank(element.text)) fail(element, "text inside <" + element.name + ">");
    checkChildren(element);
    for (const auto& child : element.children) checkElement(*child, &element);
}

void BulletMLChecker::checkAttributes(const XmlElement& element, const XmlElement* parent) {
    const ElementRule* rule = ruleFor(element.name);
    for (const auto& [key, value] : element.attributes) {
        if (key == "type") {
            if (!rule->types) fail(element, "<" + element.name + "> takes no type");
            if (!hasWord(rule->types, value))
                fail(element, "unknown type \"" + value + "\" of <" + element.name + "> (known: " + rule->types + ")");
        } else if (key == "label") {
            if (!isLabelled(element.name) && !isReference(element.name))
                fail(element, "<" + element.name + "> takes no label");
            if (value.empty()) fail(element, "empty label");
            // The library runs a referenced element's following siblings too, so a reference
            // to a nested element never returns; and a nested "top" would become a top action.
            if (isLabelled(element.name) && parent && parent->name != "bulletml")
                fail(element, "label \"" + value + "\" on an element inside <" + parent->name +
                                  ">; only children of <bulletml> may be labelled");
        } else if (!parent && (key == "xmlns" || key.compare(0, 6, "xmlns:") == 0)) {
            // The namespace declaration many BulletML files carry on their root.
        } else {
            fail(element, "unknown attribute " + key + " of <" + element.name + ">");
        }
    }
    if (isReference(element.name) && !element.attribute("label"))
        fail(element, "<" + element.name + "> without a label");
}

void BulletMLChecker::checkChildren(const XmlElement& element) {
    const ElementRule* rule = ruleFor(element.name);
    for (const auto& child : element.children) {
        bool allowed = false;
        for (const auto& c : rule->children) allowed = allowed || child->name == c.name;
        if (!allowed) {
            if (child->name == "bulletml") fail(*child, "<bulletml> inside <" + element.name + ">");
            if (!ruleFor(child->name)) fail(*child, "unknown element <" + child->name + ">");
            fail(*child, "<" + child->name + "> cannot stand inside <" + element.name + ">");
        }
    }
    for (const auto& c : rule->children) {
        int count = 0;
        for (const auto& child : element.children) count += child->name == c.name;
        if (count < c.min) fail(element, "<" + element.name + "> needs a <" + c.name + ">");
        if (count > c.max) fail(element, "<" + element.name + "> has more than one <" + c.name + ">");
    }
    const auto countOf = [&](const char* name) {
        int n = 0;
        for (const auto& child : element.children) n += child->name == name;
        return n;
    };
    if (element.name == "fire" && countOf("bullet") + countOf("bulletRef") != 1)
        fail(element, "<fire> needs exactly one <bullet> or <bulletRef>");
    if (element.name == "repeat" && countOf("action") + countOf("actionRef") != 1)
        fail(element, "<repeat> needs exactly one <action> or <actionRef>");
}

void BulletMLChecker::collectLabels(const XmlElement& root) {
    for (const auto& child : root.children) {
        const std::string* label = child->attribute("label");
        if (!label) continue;
        auto& labels = labels_[kindOf(child->name)];
        if (labels.count(*label))
            fail(*child, "label \"" + *label + "\" is given to a second <" + child->name + "> (first on line " +
                             std::to_string(labels[*label]->line) + ")");
        labels[*label] = child.get();
    }
}

void BulletMLChecker::checkReferences(const XmlElement& element) {
    if (isReference(element.name) && !target(element))
        fail(element, "<" + element.name + "> names " + kKindNames[kindOf(element.name)] + " \"" +
                          *element.attribute("label") + "\", which does not exist");
    for (const auto& child : element.children) checkReferences(*child);
}

const XmlElement* BulletMLChecker::target(const XmlElement& reference) const {
    const auto& labels = labels_[kindOf(reference.name)];
    const auto found = labels.find(*reference.attribute("label"));
    return found == labels.end() ? nullptr : found->second;
}

// The run below follows every path a runner can take, with ranges for the numbers, and
// tells what an element costs: whether it is sure to wait a turn, and how many commands it
// can run at most between two waits.

BulletMLChecker::Work BulletMLChecker::Work::then(const Work& next) const {
    if (!waits && !next.waits) return {false, head + next.head, tail + next.tail, 0.0};
    if (!waits) return {true, head + next.head, next.tail, next.worst};
    if (!next.waits) return {true, head, tail + next.head, worst};
    return {true, head, next.tail, std::max({worst, next.worst, tail + next.head})};
}

BulletMLChecker::Work BulletMLChecker::Work::repeated(double times) const {
    if (times <= 1.0) return *this;
    if (!waits) return {false, head * times, tail * times, 0.0};
    return {true, head, tail, std::max(worst, tail + head)};
}

BulletMLChecker::Work BulletMLChecker::runAction(const XmlElement& action, const Parameters& params) {
    const int saved = waits_;
    Work work;
    for (const auto& command : action.children) {
        const bool waitedBefore = work.waits;
        work = work.then(runCommand(*command, params));
        if (work.waits && !waitedBefore) ++waits_;
    }
    waits_ = saved;
    return work;
}

BulletMLChecker::Work BulletMLChecker::runCommand(const XmlElement& command, const Parameters& params) {
    if (++steps_ > kMaxSteps) fail(command, "the document is too intricate to check");
    const std::string& name = command.name;
    if (name == "wait") {
        const bool waits = value(command, params, kMaxTurns).lo >= 1.0;
        return {waits, 1.0, waits ? 0.0 : 1.0, 0.0};
    }
    if (name == "repeat") {
        // The library runs the body once even for no or negative times.
        const double times = value(*childNamed(command, "times"), params, kMaxTimes).hi;
        const XmlElement* body = childNamed(command, "action");
        const Work once = body ? runAction(*body, params) : runReference(*childNamed(command, "actionRef"), params);
        const Work work = once.repeated(std::floor(times));
        if (work.largest() > kMaxBurst)
            fail(command, "<repeat> can run " + describe(work.largest()) +
                              " commands without a wait (at most " + describe(kMaxBurst) + ")");
        return work;
    }
    if (name == "action") return runAction(command, params);
    if (name == "actionRef") return runReference(command, params);
    if (name == "fire") return runFire(command, params);
    if (name == "fireRef") return runReference(command, params);
    if (name == "changeDirection") checkValue(&command, "direction", params, kMaxDirection);
    if (name == "changeSpeed") checkValue(&command, "speed", params, kMaxSpeed);
    if (name == "accel") {
        checkValue(&command, "horizontal", params, kMaxSpeed);
        checkValue(&command, "vertical", params, kMaxSpeed);
    }
    checkValue(&command, "term", params, kMaxTurns);
    return Work{false, 1.0, 1.0, 0.0};
}

BulletMLChecker::Work BulletMLChecker::runFire(const XmlElement& fire, const Parameters& params) {
    checkValue(&fire, "direction", params, kMaxDirection);
    checkValue(&fire, "speed", params, kMaxSpeed);
    const Work bullet = childNamed(fire, "bullet") ? runBullet(*childNamed(fire, "bullet"), params)
                                                   : runReference(*childNamed(fire, "bulletRef"), params);
    // The firer never waits for its bullet, but the bullet's first steps run in the same frame.
    return Work{false, 1.0 + bullet.head, 1.0 + bullet.head, 0.0};
}

BulletMLChecker::Work BulletMLChecker::runBullet(const XmlElement& bullet, const Parameters& params) {
    checkValue(&bullet, "direction", params, kMaxDirection);
    checkValue(&bullet, "speed", params, kMaxSpeed);
    // A fired bullet starts its actions in the frame it is born, so they follow without a
    // wait; they run side by side, so their first stretches add up.
    double head = 0.0;
    for (const auto& child : bullet.children) {
        if (child->name != "action" && child->name != "actionRef") continue;
        const Work work = child->name == "action" ? runAction(*child, params) : runReference(*child, params);
        if (work.largest() > kMaxBurst)
            fail(*child, "the bullet's <" + child->name + "> can run " + describe(work.largest()) +
                             " commands without a wait (at most " + describe(kMaxBurst) + ")");
        head += work.head;
    }
    return Work{true, head, 0.0, 0.0};
}

BulletMLChecker::Work BulletMLChecker::runReference(const XmlElement& reference, const Parameters& params) {
    Parameters passed = passedParameters(reference, params);
    return enter(*target(reference), std::move(passed), &reference);
}

BulletMLChecker::Work BulletMLChecker::enter(const XmlElement& target, Parameters params, const XmlElement* via) {
    const auto key = std::make_pair(&target, keyOf(params));
    const auto done = finished_.find(key);
    if (done != finished_.end()) return done->second;

    const std::string label = *target.attribute("label");
    int visits = 0;
    const Frame* latest = nullptr;
    for (const Frame& frame : stack_) {
        if (frame.target != &target) continue;
        ++visits;
        latest = &frame;
    }
    if (latest) {
        // Only references lead back, so via is set here.
        if (latest->waits == waits_)
            fail(*via, "<" + via->name + "> leads back into " + target.name + " \"" + label +
                           "\" without a wait of a turn on the way: it would loop or grow without end");
        // The visit in progress covers this one; what it costs is counted there.
        for (const Frame& frame : stack_)
            if (frame.target == &target && covers(frame.params, params)) return Work{false, 1.0, 1.0, 0.0};
        if (visits >= kUnrollings) {
            // Let the parameters that keep moving run off to infinity: they are then
            // refused where they are used unless the cycle really stays bounded.
            for (int i = 0; i < kParameterCount; ++i) {
                Interval& p = params[i];
                const Interval& was = latest->params[i];
                p = Interval(p.lo < was.lo ? -std::numeric_limits<double>::infinity() : was.lo,
                             p.hi > was.hi ? std::numeric_limits<double>::infinity() : was.hi);
            }
        }
    }
    if (stack_.size() >= kMaxReferenceDepth) fail(target, "references nest too deeply to check");

    stack_.push_back(Frame{&target, params, waits_});
    Work work;
    if (target.name == "action")
        work = runAction(target, params);
    else if (target.name == "fire")
        work = runFire(target, params);
    else
        work = runBullet(target, params);
    stack_.pop_back();
    if (work.largest() > kMaxBurst)
        fail(target, target.name + " \"" + label + "\" can run " + describe(work.largest()) +
                         " commands without a wait (at most " + describe(kMaxBurst) + ")");
    finished_[key] = work;
    return work;
}

BulletMLChecker::Parameters BulletMLChecker::passedParameters(const XmlElement& reference, const Parameters& params) {
    Parameters passed(kParameterCount, Interval(1.0));
    int index = 0;
    for (const auto& child : reference.children) {
        const Interval v = value(*child, params, kMaxParameter);
        if (index < kParameterCount) passed[index] = v;
        ++index;
    }
    return passed;
}

Interval BulletMLChecker::value(const XmlElement& number, const Parameters& params, double limit) {
    const BulletMLFormula& formula = *formulas_.at(&number);
    const Interval v = formula.range(params);
    if (!v.isFinite())
        fail(number, "<" + number.name + "> \"" + formula.text() + "\" can become infinite or undefined");
    if (v.magnitude() > limit)
        fail(number, "<" + number.name + "> \"" + formula.text() + "\" can reach " +
                         describe(std::fabs(v.lo) > std::fabs(v.hi) ? v.lo : v.hi) + " (at most " +
                         describe(limit) + " in size)");
    return v;
}

void BulletMLChecker::checkValue(const XmlElement* parent, const char* child, const Parameters& params, double limit) {
    if (const XmlElement* number = childNamed(*parent, child)) value(*number, params, limit);
}

void BulletMLChecker::fail(const XmlElement& where, const std::string& what) const {
    throw BulletMLError(path_ + ": line " + std::to_string(where.line) + ": " + what);
}

void BulletMLChecker::fail(const std::string& what) const { throw BulletMLError(path_ + ": " + what); }
