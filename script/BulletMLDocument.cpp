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

using Name = BulletMLNode::Name;

// How often a child may occur in its parent.
struct ChildRule {
    Name name;
    int min;
    int max;
};

constexpr int kMany = 1 << 30;

struct Rule {
    const char* name;
    Name kind;
    bool number;
    const char* types;  // the values its type attribute may take, space separated; null: none
    std::vector<ChildRule> children;
    // The runner goes on from a fire's bullet, and from a repeat's action, to the element's
    // next child as if it were a command: that one must be the last child.
    bool bodyLast;
};

const std::vector<Rule>& rules() {
    using N = BulletMLNode;
    static const std::vector<Rule> table = {
        {"bulletml", N::bulletml, false, "none vertical horizontal",
         {{N::bullet, 0, kMany}, {N::action, 0, kMany}, {N::fire, 0, kMany}}, false},
        {"bullet", N::bullet, false, nullptr,
         {{N::direction, 0, 1}, {N::speed, 0, 1}, {N::action, 0, kMany}, {N::actionRef, 0, kMany}}, false},
        {"action", N::action, false, nullptr,
         {{N::changeDirection, 0, kMany}, {N::accel, 0, kMany}, {N::vanish, 0, kMany},
          {N::changeSpeed, 0, kMany}, {N::repeat, 0, kMany}, {N::wait, 0, kMany}, {N::fire, 0, kMany},
          {N::fireRef, 0, kMany}, {N::action, 0, kMany}, {N::actionRef, 0, kMany}}, false},
        {"fire", N::fire, false, nullptr,
         {{N::direction, 0, 1}, {N::speed, 0, 1}, {N::bullet, 0, 1}, {N::bulletRef, 0, 1}}, true},
        {"changeDirection", N::changeDirection, false, nullptr, {{N::direction, 1, 1}, {N::term, 1, 1}}, false},
        {"changeSpeed", N::changeSpeed, false, nullptr, {{N::speed, 1, 1}, {N::term, 1, 1}}, false},
        {"accel", N::accel, false, nullptr, {{N::horizontal, 0, 1}, {N::vertical, 0, 1}, {N::term, 1, 1}}, false},
        {"wait", N::wait, true, nullptr, {}, false},
        {"repeat", N::repeat, false, nullptr, {{N::times, 1, 1}, {N::action, 0, 1}, {N::actionRef, 0, 1}}, true},
        {"bulletRef", N::bulletRef, false, nullptr, {{N::param, 0, kMany}}, false},
        {"actionRef", N::actionRef, false, nullptr, {{N::param, 0, kMany}}, false},
        {"fireRef", N::fireRef, false, nullptr, {{N::param, 0, kMany}}, false},
        {"vanish", N::vanish, false, nullptr, {}, false},
        {"horizontal", N::horizontal, true, "absolute relative sequence", {}, false},
        {"vertical", N::vertical, true, "absolute relative sequence", {}, false},
        {"term", N::term, true, nullptr, {}, false},
        {"times", N::times, true, nullptr, {}, false},
        {"direction", N::direction, true, "aim absolute relative sequence", {}, false},
        {"speed", N::speed, true, "absolute relative sequence", {}, false},
        {"param", N::param, true, nullptr, {}, false},
    };
    return table;
}

const Rule* ruleFor(const char* name) {
    for (const Rule& rule : rules())
        if (std::strcmp(rule.name, name) == 0) return &rule;
    return nullptr;
}

const Rule& ruleFor(Name kind) {
    for (const Rule& rule : rules())
        if (rule.kind == kind) return rule;
    throw std::logic_error("no rule for a BulletML element");
}

bool isLabelled(Name n) { return n == BulletMLNode::bullet || n == BulletMLNode::action || n == BulletMLNode::fire; }
bool isReference(Name n) { return n == BulletMLNode::bulletRef || n == BulletMLNode::actionRef || n == BulletMLNode::fireRef; }

// Index into the label tables: a reference and the elements it may name share one.
int kindOf(Name n) {
    if (n == BulletMLNode::bullet || n == BulletMLNode::bulletRef) return 0;
    if (n == BulletMLNode::action || n == BulletMLNode::actionRef) return 1;
    return 2;
}

bool hasWord(const char* words, const std::string& word) {
    const std::size_t n = word.size();
    for (const char* p = words; *p;) {
        const char* end = std::strchr(p, ' ');
        const std::size_t length = end ? static_cast<std::size_t>(end - p) : std::strlen(p);
        if (length == n && word.compare(0, n, p, n) == 0) return true;
        if (!end) break;
        p = end + 1;
    }
    return false;
}

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

}  // namespace

// The expat callbacks: each element becomes a node of the library's tree as soon as it starts,
// so that every node is owned by the tree whatever stops the reading.
class BulletMLDocument::Reader {
public:
    explicit Reader(BulletMLDocument& document) : doc_(document), parser_(XML_ParserCreate(nullptr)) {
        if (!parser_) throw BulletMLError(doc_.path_ + ": out of memory");
        XML_SetUserData(parser_, this);
        XML_SetElementHandler(parser_, &Reader::onStart, &Reader::onEnd);
        XML_SetCharacterDataHandler(parser_, &Reader::onText);
        // Entities are the one way a small file can grow into a huge one.
        XML_SetEntityDeclHandler(parser_, &Reader::onEntityDeclaration);
    }
    ~Reader() { XML_ParserFree(parser_); }
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    void read(const std::string& content) {
        const bool ok = XML_Parse(parser_, content.data(), static_cast<int>(content.size()), XML_TRUE) ==
                        XML_STATUS_OK;
        if (!error_.empty()) doc_.fail(errorLine_, error_);
        if (!ok)
            doc_.fail(static_cast<int>(XML_GetErrorLineNumber(parser_)),
                      XML_ErrorString(XML_GetErrorCode(parser_)));
        if (!doc_.bulletml_) doc_.fail(1, "has no <bulletml> element");
    }

private:
    struct Open {
        BulletMLNode* node;
        const Rule* rule;
        std::string text;
        std::vector<Name> children;
    };

    static void onStart(void* self, const XML_Char* name, const XML_Char** attributes) {
        static_cast<Reader*>(self)->guard([&](Reader& r) { r.start(name, attributes); });
    }
    static void onEnd(void* self, const XML_Char*) {
        static_cast<Reader*>(self)->guard([](Reader& r) { r.end(); });
    }
    static void onText(void* self, const XML_Char* text, int length) {
        static_cast<Reader*>(self)->guard([&](Reader& r) { r.text(text, static_cast<std::size_t>(length)); });
    }
    static void onEntityDeclaration(void* self, const XML_Char* name, int, const XML_Char*, int,
                                    const XML_Char*, const XML_Char*, const XML_Char*, const XML_Char*) {
        static_cast<Reader*>(self)->guard(
            [&](Reader& r) { r.fail(std::string("declares the entity ") + name + "; entities are not read"); });
    }

    // A refusal found while reading, at the line it concerns.
    struct Refusal {
        int line;
        std::string what;
    };

    // Exceptions must not cross expat's C frames: the first one stops the reading and waits.
    template <class Step>
    void guard(Step&& step) {
        if (!error_.empty()) return;
        try {
            step(*this);
            return;
        } catch (const Refusal& r) {
            errorLine_ = r.line;
            error_ = r.what;
        } catch (const std::exception& e) {
            errorLine_ = line();
            error_ = e.what();
        }
        XML_StopParser(parser_, XML_FALSE);
    }

    int line() const { return static_cast<int>(XML_GetCurrentLineNumber(parser_)); }
    [[noreturn]] void fail(const std::string& what) const { throw Refusal{line(), what}; }
    [[noreturn]] static void fail(int line, const std::string& what) { throw Refusal{line, what}; }

    void start(const char* name, const XML_Char** attributes) {
        if (open_.size() >= static_cast<std::size_t>(kMaxDepth))
            fail("elements nest deeper than " + std::to_string(kMaxDepth));
        const Rule* rule = ruleFor(name);
        Open* parent = open_.empty() ? nullptr : &open_.back();
        if (!parent && !(rule && rule->kind == BulletMLNode::bulletml))
            fail(std::string("the root element is <") + name + ">, not <bulletml>");
        if (parent) {
            const char* within = parent->rule->name;
            if (!rule) fail(std::string("unknown element <") + name + ">");
            if (parent->rule->number) fail(std::string("<") + within + "> holds element <" + name + ">");
            bool allowed = false;
            for (const ChildRule& c : parent->rule->children) allowed = allowed || c.name == rule->kind;
            if (!allowed) fail(std::string("<") + name + "> cannot stand inside <" + within + ">");
            parent->children.push_back(rule->kind);
        }

        Element element;
        element.line = line();
        element.atRoot = parent && parent->rule->kind == BulletMLNode::bulletml;
        std::string type;
        bool typed = false;
        for (const XML_Char** a = attributes; *a; a += 2) {
            const std::string key = a[0];
            const std::string value = a[1];
            if (key == "type") {
                if (!rule->types) fail(std::string("<") + name + "> takes no type");
                if (!hasWord(rule->types, value))
                    fail("unknown type \"" + value + "\" of <" + name + "> (known: " + rule->types + ")");
                type = value;
                typed = true;
            } else if (key == "label") {
                if (!isLabelled(rule->kind) && !isReference(rule->kind)) fail(std::string("<") + name + "> takes no label");
                element.labelled = true;
                element.label = value;
            } else if (key.find(':') == std::string::npos && key != "xmlns") {
                // Namespaced attributes (a schema's, say) mean nothing to the game; a plain
                // one it does not know is a misspelling worth hearing about.
                fail("unknown attribute " + key + " of <" + name + ">");
            }
        }
        if (isReference(rule->kind) && !element.labelled) fail(std::string("<") + name + "> without a label");
        // The library makes every action labelled "top..." a top action, wherever it stands,
        // and a runner cuts its top actions off their parents.
        if (rule->kind == BulletMLNode::action && element.label.compare(0, 3, "top") == 0 && parent &&
            parent->rule->kind != BulletMLNode::bulletml)
            fail("top action \"" + element.label + "\" inside <" + parent->rule->name +
                 ">; top actions stand directly inside <bulletml>");

        BulletMLNode* node = doc_.addContent(name);
        if (parent) {
            parent->node->addChild(node);
            BulletMLParser::MyAttributes pairs;
            if (typed) pairs.insert(pairs.end(), {"type", type});
            if (element.labelled) pairs.insert(pairs.end(), {"label", element.label});
            doc_.addAttribute(pairs, node);
        } else {
            node->setParent(nullptr);
            if (type == "horizontal") doc_.setHorizontal();
        }
        if (element.labelled && isLabelled(rule->kind)) {
            auto& labels = doc_.labels_[kindOf(rule->kind)];
            const auto [it, added] = labels.emplace(element.label, node);
            if (!added)
                fail("label \"" + element.label + "\" is given to a second <" + name + "> (first on line " +
                     std::to_string(doc_.element(*it->second).line) + ")");
        }
        doc_.elements_.emplace(node, std::move(element));
        open_.push_back(Open{node, rule, {}, {}});
    }

    void text(const char* text, std::size_t length) {
        Open& current = open_.back();
        if (current.rule->number) {
            if (current.text.size() + length > BulletMLFormula::kMaxLength * 4)
                fail(std::string("<") + current.rule->name + "> holds too much text");
            current.text.append(text, length);
            return;
        }
        for (std::size_t i = 0; i < length; ++i)
            if (!isBlank(text[i])) fail(std::string("text inside <") + current.rule->name + ">");
    }

    void end() {
        Open& current = open_.back();
        Element& element = doc_.elements_.at(current.node);
        const char* name = current.rule->name;
        if (current.rule->number) {
            const std::string formula = normalised(current.text);
            if (formula.empty()) fail(element.line, std::string("<") + name + "> is empty");
            try {
                element.formula = std::make_unique<BulletMLFormula>(formula);
            } catch (const BulletMLError& e) {
                fail(element.line, std::string("<") + name + "> " + e.what());
            }
            current.node->setValue(formula);
        } else {
            for (const ChildRule& c : current.rule->children) {
                int count = 0;
                for (Name child : current.children) count += child == c.name;
                if (count < c.min)
                    fail(element.line, std::string("<") + name + "> needs a <" + nameOf(c.name) + ">");
                if (count > c.max)
                    fail(element.line, std::string("<") + name + "> has more than one <" + nameOf(c.name) + ">");
            }
            if (current.rule->bodyLast) checkBody(current, element.line);
        }
        open_.pop_back();
    }

    void checkBody(const Open& current, int line) const {
        const bool fire = current.rule->kind == BulletMLNode::fire;
        const Name a = fire ? BulletMLNode::bullet : BulletMLNode::action;
        const Name b = fire ? BulletMLNode::bulletRef : BulletMLNode::actionRef;
        int bodies = 0;
        for (Name child : current.children) bodies += child == a || child == b;
        const std::string what = std::string("<") + current.rule->name + "> needs exactly one <" + nameOf(a) +
                                 "> or <" + nameOf(b) + ">";
        if (bodies != 1) fail(line, what);
        if (current.children.back() != a && current.children.back() != b)
            fail(line, what + ", as its last child: the library runs what follows it as a command");
    }

    BulletMLDocument& doc_;
    XML_Parser parser_;
    std::vector<Open> open_;
    std::string error_;
    int errorLine_ = 0;
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
    content_.clear();
    content_.shrink_to_fit();
}

const BulletMLNode* BulletMLDocument::target(const BulletMLNode& reference) const {
    const auto& labels = labels_[kindOf(reference.getName())];
    const auto found = labels.find(element(reference).label);
    return found == labels.end() ? nullptr : found->second;
}

const char* BulletMLDocument::nameOf(BulletMLNode::Name name) { return ruleFor(name).name; }

void BulletMLDocument::fail(const BulletMLNode& where, const std::string& what) const {
    fail(element(where).line, what);
}

void BulletMLDocument::fail(int line, const std::string& what) const {
    throw BulletMLError(path_ + ": line " + std::to_string(line) + ": " + what);
}
