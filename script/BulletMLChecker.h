// Refuses BulletML documents that libbulletml would crash, hang or misread on, before it sees them.
#pragma once

#include "script/BulletMLFormula.h"
#include "script/Interval.h"
#include "script/XmlElement.h"

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

// The library trusts its documents: an empty file hangs it, a missing child or an empty
// number crashes it, a missing label or a reference cycle shows only in the middle of a match.
// The checker reads the file itself and holds it to what the library plays safely:
// - a regular, non-empty file of the XML subset XmlReader reads;
// - the BulletML vocabulary, each element with the children and attributes it may have, the
//   required ones present (a <fire> has its bullet, a <repeat> its <times>, a <changeSpeed> its
//   <speed> and <term>...), labels only on children of the root and each label once per kind,
//   at least one top action (an <action> labelled "top...");
// - every reference resolvable, to the kind of element it names;
// - every number a formula in the library's grammar whose value stays finite and within the
//   limits below for any $rand and $rank in [0, 1] and the parameters passed along each path
//   the document can run (parameters that keep growing through a cycle are refused);
// - at most kMaxBurst commands between two waits, nested repeats multiplied out, so that no
//   frame stalls on one runner;
// - no chain of references (actionRef, fireRef, and bulletRef through the bullets it fires)
//   that leads back to itself without a <wait> of at least one turn on the way.
class BulletMLChecker {
public:
    static constexpr double kMaxDirection = 100000.0;  // degrees; the library turns huge ones by 360 at a time
    static constexpr double kMaxSpeed = 100.0;         // BulletML speed units, for speeds and accelerations
    static constexpr double kMaxTurns = 100000.0;      // wait and term
    static constexpr double kMaxTimes = 10000.0;
    static constexpr double kMaxParameter = 1000000.0;
    // Commands (bullets fired included) one runner may run without waiting a turn.
    static constexpr double kMaxBurst = 20000.0;
    static constexpr long kMaxFileSize = 1 << 20;

    explicit BulletMLChecker(std::string path);
    ~BulletMLChecker();
    BulletMLChecker(const BulletMLChecker&) = delete;
    BulletMLChecker& operator=(const BulletMLChecker&) = delete;

    // Reads the file and throws BulletMLError "path: line N: what is wrong" (or
    // "path: what is wrong") at the first problem.
    void check();

    // The nine parameters $1 to $9 as ranges; those not passed are 1.
    using Parameters = std::vector<Interval>;

private:
    struct Frame;

    std::string readFile() const;
    void checkElement(const XmlElement& element, const XmlElement* parent);
    void checkAttributes(const XmlElement& element, const XmlElement* parent);
    void checkChildren(const XmlElement& element);
    void collectLabels(const XmlElement& root);
    void checkReferences(const XmlElement& element);

    // What running an element costs: whether it surely waits a turn, how many commands it
    // runs before its first wait (head) and after its last (tail), and the most between two
    // of its waits (worst). Without a wait, head and tail are both the whole.
    struct Work {
        bool waits = false;
        double head = 0.0;
        double tail = 0.0;
        double worst = 0.0;
        Work then(const Work& next) const;
        Work repeated(double times) const;
        double largest() const { return std::max({head, tail, worst}); }
    };

    Work runAction(const XmlElement& action, const Parameters& params);
    Work runCommand(const XmlElement& command, const Parameters& params);
    Work runFire(const XmlElement& fire, const Parameters& params);
    Work runBullet(const XmlElement& bullet, const Parameters& params);
    Work runReference(const XmlElement& reference, const Parameters& params);
    Work enter(const XmlElement& target, Parameters params, const XmlElement* via);
    Parameters passedParameters(const XmlElement& reference, const Parameters& params);
    Interval value(const XmlElement& number, const Parameters& params, double limit);
    void checkValue(const XmlElement* parent, const char* child, const Parameters& params, double limit);
    const XmlElement* target(const XmlElement& reference) const;

    [[noreturn]] void fail(const XmlElement& where, const std::string& what) const;
    [[noreturn]] void fail(const std::string& what) const;

    std::string path_;
    std::map<const XmlElement*, std::unique_ptr<BulletMLFormula>> formulas_;
    std::map<std::string, const XmlElement*> labels_[3];  // bullet, action, fire
    std::vector<Frame> stack_;
    std::map<std::pair<const XmlElement*, std::vector<std::pair<double, double>>>, Work> finished_;
    int waits_ = 0;
    long steps_ = 0;
};
