// A BulletML document read once by expat into libbulletml's own node tree.
#include "script/BulletMLDocument.h"

#include "core/InputFile.h"
#include "script/BulletMLChecker.h"

#include <bulletmlerror.h>
#include <expat.h>

#include <cstring>
#include <stdexcept>
#include <vector>

namespace {

using N = BulletMLNode;

constexpr int kMany = 1 << 30;

// How often a child may occur in its parent.
struct ChildRule {
    N::Name name;
    int min, max;
};

struct Rule {
    const char* name;
    N::Name kind;
    bool number;
    const char* types;  // the values its type attribute may take, space separated; null: none
    std::vector<ChildRule> children;
    // The runner goes on from a fire's bullet, and from a repeat's action, to the element's
    // next child as if it were a command: that one must be the last child.
    bool bodyLast = false;
};

const std::vector<Rule> kRules = {
    {"bulletml", N::bulletml, false, "none vertical horizontal", {{N::bullet, 0, kMany}, {N::action, 0, kMany}, {N::fire, 0, kMany}}},
    {"bullet", N::bullet, false, nullptr, {{N::direction, 0, 1}, {N::speed, 0, 1}, {N::action, 0, kMany}, {N::actionRef, 0, kMany}}},
    {"action", N::action, false, nullptr,
     {{N::changeDirection, 0, kMany}, {N::accel, 0, kMany}, {N::vanish, 0, kMany}, {N::changeSpeed, 0, kMany},
      {N::repeat, 0, kMany}, {N::wait, 0, kMany}, {N::fire, 0, kMany}, {N::fireRef, 0, kMany},
      {N::action, 0, kMany}, {N::actionRef, 0, kMany}}},
    {"fire", N::fire, false, nullptr, {{N::direction, 0, 1}, {N::speed, 0, 1}, {N::bullet, 0, 1}, {N::bulletRef, 0, 1}}, true},
    {"changeDirection", N::changeDirection, false, nullptr, {{N::direction, 1, 1}, {N::term, 1, 1}}},
    {"changeSpeed", N::changeSpeed, false, nullptr, {{N::speed, 1, 1}, {N::term, 1, 1}}},
    {"accel", N::accel, false, nullptr, {{N::horizontal, 0, 1}, {N::vertical, 0, 1}, {N::term, 1, 1}}},
    {"wait", N::wait, true, nullptr, {}},
    {"repeat", N::repeat, false, nullptr, {{N::times, 1, 1}, {N::action, 0, 1}, {N::actionRef, 0, 1}}, true},
    {"bulletRef", N::bulletRef, false, nullptr, {{N::param, 0, kMany}}},
    {"actionRef", N::actionRef, false, nullptr, {{N::param, 0, kMany}}},
    {"fireRef", N::fireRef, false, nullptr, {{N::param, 0, kMany}}},
    {"vanish", N::vanish, false, nullptr, {}},
    {"horizontal", N::horizontal, true, "absolute relative sequence", {}},
    {"vertical", N::vertical, true, "absolute relative sequence", {}},
    {"term", N::term, true, nullptr, {}},
    {"times", N::times, true, nullptr, {}},
    {"direction", N::direction, true, "aim absolute relative sequence", {}},
    {"speed", N::speed, true, "absolute relative sequence", {}},
    {"param", N::param, true, nullptr, {}},
};

const Rule* ruleFor(const char* name) {
    for (const Rule& rule : kRules)
        if (std::strcmp(rule.name, name) == 0) return &rule;
    return nullptr;
}

bool isLabelled(N::Name n) { return n == N::bullet || n == N::action || n == N::fire; }
bool isReference(N::Name n) { return n == N::bulletRef || n == N::actionRef || n == N::fireRef; }
// Index into the label tables: a reference and the elements it may name share one.
int kindOf(N::Name n) { return n == N::bullet || n == N::bulletRef ? 0 : n == N::action || n == N::actionRef ? 1 : 2; }
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The one place numbers are normalised: the library's reader ends a formula at a line break.
std::string normalised(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (!isBlank(c))
            out += c;
        else if (!out.empty() && out.back() != ' ')
            out += ' ';
    }
    if (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

std::string tag(const char* name) { return std::string("<") + name + ">"; }

// A refusal found while reading, at the line it concerns.
struct Refusal {
    int line;
    std::string what;
};

}  // namespace

// The expat callbacks: each element becomes a node of the library's tree as soon as it starts,
// so that every node is owned by the tree whatever stops the reading.
class BulletMLDocument::Reader {
public:
    explicit Reader(BulletMLDocument& document) : doc_(document), parser_(XML_ParserCreate(nullptr)) {
        if (!parser_) throw std::bad_alloc();
        XML_SetUserData(parser_, this);
        XML_SetElementHandler(
            parser_, [](void* r, const XML_Char* name, const XML_Char** attributes) { guard(r, [&](Reader& self) { self.start(name, attributes); }); },
            [](void* r, const XML_Char*) { guard(r, [](Reader& self) { self.end(); }); });
        XML_SetCharacterDataHandler(parser_, [](void* r, const XML_Char* text, int length) {
            guard(r, [&](Reader& self) { self.text(text, static_cast<std::size_t>(length)); });
        });
        // Entities are the one way a small file can grow into a huge one.
        XML_SetEntityDeclHandler(parser_, [](void* r, const XML_Char* name, int, const XML_Char*, int, const XML_Char*,
                                             const XML_Char*, const XML_Char*, const XML_Char*) {
            guard(r, [&](Reader& self) { self.fail(std::string("declares the entity ") + name + "; entities are not read"); });
        });
    }
    ~Reader() { XML_ParserFree(parser_); }
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    void read(const std::string& content) {
        const bool ok = XML_Parse(parser_, content.data(), static_cast<int>(content.size()), XML_TRUE) == XML_STATUS_OK;
        if (!error_.what.empty()) doc_.fail(error_.line, error_.what);
        if (!ok) doc_.fail(line(), XML_ErrorString(XML_GetErrorCode(parser_)));
    }

private:
    struct Open {
        BulletMLNode* node;
        const Rule* rule;
        std::string text;
        std::vector<N::Name> children;
    };

    // Exceptions must not cross expat's C frames: the first one stops the reading and waits.
    template <class Step>
    static void guard(void* reader, Step&& step) {
        Reader& self = *static_cast<Reader*>(reader);
        if (!self.error_.what.empty()) return;
        try {
            step(self);
            return;
        } catch (const Refusal& r) {
            self.error_ = r;
        } catch (const std::exception& e) {
            self.error_ = {self.line(), e.what()};
        }
        XML_StopParser(self.parser_, XML_FALSE);
    }

    int line() const { return static_cast<int>(XML_GetCurrentLineNumber(parser_)); }
    [[noreturn]] void fail(const std::string& what) const { throw Refusal{line(), what}; }
    [[noreturn]] static void fail(int line, const std::string& what) { throw Refusal{line, what}; }

    void start(const char* name, const XML_Char** attributes) {
        if (open_.size() >= static_cast<std::size_t>(kMaxDepth)) fail("elements nest deeper than " + std::to_string(kMaxDepth));
        const Rule* rule = ruleFor(name);
        Open* parent = open_.empty() ? nullptr : &open_.back();
        if (!parent && !(rule && rule->kind == N::bulletml)) fail("the root element is " + tag(name) + ", not <bulletml>");
        if (parent) {
            if (!rule) fail("unknown element " + tag(name));
            if (parent->rule->number) fail(tag(parent->rule->name) + " holds element " + tag(name));
            bool allowed = false;
            for (const ChildRule& c : parent->rule->children) allowed = allowed || c.name == rule->kind;
            if (!allowed) fail(tag(name) + " cannot stand inside " + tag(parent->rule->name));
            parent->children.push_back(rule->kind);
        }

        Element element;
        element.line = line();
        element.atRoot = parent && parent->rule->kind == N::bulletml;
        BulletMLParser::MyAttributes pairs;
        for (const XML_Char** a = attributes; *a; a += 2) {
            const std::string key = a[0], value = a[1];
            if (key == "type") {
                if (!rule->types) fail(tag(name) + " takes no type");
                if ((std::string(" ") + rule->types + " ").find(" " + value + " ") == std::string::npos)
                    fail("unknown type \"" + value + "\" of " + tag(name) + " (known: " + rule->types + ")");
            } else if (key == "label") {
                if (!isLabelled(rule->kind) && !isReference(rule->kind)) fail(tag(name) + " takes no label");
                element.labelled = true;
                element.label = value;
            } else if (key.find(':') == std::string::npos && key != "xmlns") {
                // Namespaced attributes (a schema's, say) mean nothing to the game; a plain
                // one it does not know is a misspelling worth hearing about.
                fail("unknown attribute " + key + " of " + tag(name));
            } else {
                continue;
            }
            pairs.insert(pairs.end(), {key, value});
        }
        if (isReference(rule->kind) && !element.labelled) fail(tag(name) + " without a label");
        // The library makes every action labelled "top..." a top action, wherever it stands,
        // and a runner cuts its top actions off their parents.
        if (rule->kind == N::action && element.label.compare(0, 3, "top") == 0 && parent && !element.atRoot)
            fail("top action \"" + element.label + "\" inside " + tag(parent->rule->name) +
                 "; top actions stand directly inside <bulletml>");

        BulletMLNode* node = doc_.addContent(name);
        if (parent) {
            parent->node->addChild(node);
            doc_.addAttribute(pairs, node);
        } else {
            node->setParent(nullptr);
            if (pairs.size() == 2 && pairs[1] == "horizontal") doc_.setHorizontal();
        }
        if (element.labelled && isLabelled(rule->kind)) {
            const auto [it, added] = doc_.labels_[kindOf(rule->kind)].emplace(element.label, node);
            if (!added)
                fail("label \"" + element.label + "\" is given to a second " + tag(name) + " (first on line " +
                     std::to_string(doc_.element(*it->second).line) + ")");
        }
        doc_.elements_.emplace(node, std::move(element));
        open_.push_back(Open{node, rule, {}, {}});
    }

    void text(const char* text, std::size_t length) {
        Open& current = open_.back();
        if (!current.rule->number) {
            for (std::size_t i = 0; i < length; ++i)
                if (!isBlank(text[i])) fail("text inside " + tag(current.rule->name));
        } else if (current.text.size() + length > 4 * BulletMLFormula::kMaxLength) {
            fail(tag(current.rule->name) + " holds too much text");
        } else {
            current.text.append(text, length);
        }
    }

    void end() {
        const Open& current = open_.back();
        Element& element = doc_.elements_.at(current.node);
        const std::string name = tag(current.rule->name);
        if (current.rule->number) {
            const std::string formula = normalised(current.text);
            if (formula.empty()) fail(element.line, name + " is empty");
            try {
                element.formula = std::make_unique<BulletMLFormula>(formula);
            } catch (const BulletMLError& e) {
                fail(element.line, name + " " + e.what());
            }
            current.node->setValue(formula);
        }
        for (const ChildRule& c : current.rule->children) {
            int count = 0;
            for (N::Name child : current.children) count += child == c.name;
            if (count < c.min) fail(element.line, name + " needs a " + tag(nameOf(c.name)));
            if (count > c.max) fail(element.line, name + " has more than one " + tag(nameOf(c.name)));
        }
        if (current.rule->bodyLast) {
            const N::Name a = current.rule->kind == N::fire ? N::bullet : N::action;
            const N::Name b = current.rule->kind == N::fire ? N::bulletRef : N::actionRef;
            int bodies = 0;
            for (N::Name child : current.children) bodies += child == a || child == b;
            const std::string what = name + " needs exactly one " + tag(nameOf(a)) + " or " + tag(nameOf(b));
            if (bodies != 1) fail(element.line, what);
            if (current.children.back() != a && current.children.back() != b)
                fail(element.line, what + ", as its last child: the library runs what follows it as a command");
        }
        open_.pop_back();
    }

    BulletMLDocument& doc_;
    XML_Parser parser_;
    std::vector<Open> open_;
    Refusal error_{0, ""};
};

BulletMLDocument::BulletMLDocument(std::string path, std::string content)
    : path_(std::move(path)), content_(std::move(content)) {
    // The library hands the name out and keeps only the pointer.
    setName(path_.c_str());
}

BulletMLDocument::~BulletMLDocument() = default;

std::unique_ptr<BulletMLDocument> BulletMLDocument::load(const std::string& path) {
    std::string content;
    try {
        InputFile file(path);
        file.require();
        content = file.readAll(kMaxFileSize);
    } catch (const std::runtime_error& e) {
        throw BulletMLError(e.what());
    }
    std::unique_ptr<BulletMLDocument> document(new BulletMLDocument(path, std::move(content)));
    document->build();
    BulletMLChecker(*document).check();
    return document;
}

void BulletMLDocument::parse() {
    Reader(*this).read(content_);
    content_ = std::string();
}

const BulletMLNode* BulletMLDocument::target(const BulletMLNode& reference) const {
    const auto& labels = labels_[kindOf(reference.getName())];
    const auto found = labels.find(element(reference).label);
    return found == labels.end() ? nullptr : found->second;
}

const char* BulletMLDocument::nameOf(BulletMLNode::Name name) {
    for (const Rule& rule : kRules)
        if (rule.kind == name) return rule.name;
    return "?";
}

void BulletMLDocument::fail(const BulletMLNode& where, const std::string& what) const { fail(element(where).line, what); }

void BulletMLDocument::fail(int line, const std::string& what) const {
    throw BulletMLError(path_ + ": line " + std::to_string(line) + ": " + what);
}
