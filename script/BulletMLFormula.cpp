// A numeric text of a BulletML document, read with the grammar libbulletml's own parser accepts.
#include "script/BulletMLFormula.h"

#include <bulletmlerror.h>

#include <charconv>

struct BulletMLFormula::Node {
    enum Kind { Number, Rand, Rank, Param, Negate, Add, Subtract, Multiply, Divide };
    Kind kind = Number;
    double value = 0.0;  // Number: the literal; Param: the index from 1
    std::unique_ptr<Node> left;
    std::unique_ptr<Node> right;
};

namespace {

using Node = BulletMLFormula::Node;

std::unique_ptr<Node> makeNode(Node::Kind kind, double value = 0.0) {
    auto node = std::make_unique<Node>();
    node->kind = kind;
    node->value = value;
    return node;
}

// Recursive descent over the text; each rule mirrors one level of the library's grammar.
class FormulaReader {
public:
    explicit FormulaReader(const std::string& text) : text_(text) {}

    std::unique_ptr<Node> read() {
        skipSpace();
        if (pos_ == text_.size()) fail("is empty");
        auto node = expression();
        skipSpace();
        if (pos_ != text_.size()) fail("has something unexpected at \"" + rest() + "\"");
        return node;
    }

    bool sawParameter() const { return sawParameter_; }

private:
    // Deep parentheses are read by recursion; nothing legitimate needs many.
    static constexpr int kMaxDepth = 32;

    std::unique_ptr<Node> expression() {
        auto node = term();
        for (;;) {
            skipSpace();
            if (!peekIs('+') && !peekIs('-')) return node;
            const Node::Kind kind = text_[pos_++] == '+' ? Node::Add : Node::Subtract;
            auto binary = makeNode(kind);
            binary->left = std::move(node);
            binary->right = term();
            node = std::move(binary);
        }
    }

    std::unique_ptr<Node> term() {
        auto node = unary();
        for (;;) {
            skipSpace();
            if (!peekIs('*') && !peekIs('/')) return node;
            const Node::Kind kind = text_[pos_++] == '*' ? Node::Multiply : Node::Divide;
            auto binary = makeNode(kind);
            binary->left = std::move(node);
            binary->right = unary();
            node = std::move(binary);
        }
    }

    std::unique_ptr<Node> unary() {
        skipSpace();
        if (!peekIs('-')) return primary();
        ++pos_;
        skipSpace();
        // The library marks a negation with a flag instead of toggling it, so "-(-1)" and
        // "--$1" come out negative: refuse rather than let the value differ from ours.
        if (peekIs('-')) failDoubleNegation();
        auto operand = primary();
        if (operand->kind == Node::Negate) failDoubleNegation();
        auto node = makeNode(Node::Negate);
        node->left = std::move(operand);
        return node;
    }

    std::unique_ptr<Node> primary() {
        skipSpace();
        if (pos_ == text_.size()) fail("ends where a number was expected");
        const char c = text_[pos_];
        if (c == '(') {
            if (++depth_ > kMaxDepth) fail("nests parentheses too deeply");
            ++pos_;
            auto node = expression();
            skipSpace();
            if (!peekIs(')')) fail("misses a closing parenthesis");
            ++pos_;
            --depth_;
            return node;
        }
        if (c == '$') return variable();
        if (isDigit(c) || c == '.') return number();
        fail("has something unexpected at \"" + rest() + "\"");
    }

    std::unique_ptr<Node> variable() {
        const std::string tail = text_.substr(pos_ + 1);
        if (tail.compare(0, 4, "rand") == 0) {
            pos_ += 5;
            return makeNode(Node::Rand);
        }
        if (tail.compare(0, 4, "rank") == 0) {
            pos_ += 5;
            return makeNode(Node::Rank);
        }
        if (!tail.empty() && tail[0] >= '1' && tail[0] <= '9') {
            // "$10" is "$1" followed by "0" to the library: a syntax error, refused by the
            // grammar below when the "0" is met where an operator should be.
            pos_ += 2;
            sawParameter_ = true;
            return makeNode(Node::Param, tail[0] - '0');
        }
        fail("uses an unknown variable at \"" + rest() + "\" ($rand, $rank and $1 to $9 are known)");
    }

    std::unique_ptr<Node> number() {
        const std::size_t start = pos_;
        while (pos_ < text_.size() && isDigit(text_[pos_])) ++pos_;
        const std::size_t wholeDigits = pos_ - start;
        std::size_t fractionDigits = 0;
        if (peekIs('.')) {
            ++pos_;
            while (pos_ < text_.size() && isDigit(text_[pos_])) ++pos_, ++fractionDigits;
        }
        // The library reads "." as some stale value and "1.2.3" as 1.2 without a word.
        if (wholeDigits + fractionDigits == 0) fail("has a \".\" that is not a number");
        if (peekIs('.')) fail("has a number with two decimal points");
        double value = 0.0;
        const auto result = std::from_chars(text_.data() + start, text_.data() + pos_, value);
        if (result.ec == std::errc::result_out_of_range || result.ptr != text_.data() + pos_)
            fail("has a number too large to read");
        return makeNode(Node::Number, value);
    }

    void skipSpace() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
    }

    bool peekIs(char c) const { return pos_ < text_.size() && text_[pos_] == c; }
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }
    std::string rest() const { return text_.substr(pos_, 12); }

    [[noreturn]] void failDoubleNegation() const {
        fail("negates a negation, which the library evaluates as a single one");
    }

    [[noreturn]] void fail(const std::string& what) const {
        throw BulletMLError("formula \"" + text_ + "\" " + what);
    }


    const std::string& text_;
    std::size_t pos_ = 0;
    int depth_ = 0;
    bool sawParameter_ = false;
};

Interval rangeOf(const Node& node, const std::vector<Interval>& params) {
    switch (node.kind) {
    case Node::Number: return Interval(node.value);
    case Node::Rand:
    case Node::Rank: return Interval(0.0, 1.0);
    case Node::Param: {
        const std::size_t index = static_cast<std::size_t>(node.value) - 1;
        return index < params.size() ? params[index] : Interval(1.0);
    }
    case Node::Negate: return -rangeOf(*node.left, params);
    case Node::Add: return rangeOf(*node.left, params) + rangeOf(*node.right, params);
    case Node::Subtract: return rangeOf(*node.left, params) - rangeOf(*node.right, params);
    case Node::Multiply: return rangeOf(*node.left, params) * rangeOf(*node.right, params);
    case Node::Divide: return rangeOf(*node.left, params) / rangeOf(*node.right, params);
    }
    return Interval::whole();
}

}  // namespace

BulletMLFormula::BulletMLFormula(const std::string& text) : text_(text) {
    // Long chains of operators would make the tree, and the recursion over it, as deep.
    if (text.size() > kMaxLength)
        throw BulletMLError("formula of " + std::to_string(text.size()) + " characters is longer than " +
                            std::to_string(kMaxLength));
    FormulaReader reader(text);
    root_ = reader.read();
    usesParameters_ = reader.sawParameter();
}

BulletMLFormula::~BulletMLFormula() = default;

Interval BulletMLFormula::range(const std::vector<Interval>& params) const {
    return rangeOf(*root_, params);
}
