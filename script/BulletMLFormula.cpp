// A numeric text of a BulletML document, read with the grammar libbulletml's own reader accepts.
#include "script/BulletMLFormula.h"

#include <bulletmlerror.h>

#include <charconv>

namespace {

using Step = BulletMLFormula::Step;

// Recursive descent over the text into postfix steps; each rule is one level of the library's
// grammar.
class Reader {
public:
    Reader(const std::string& text, std::vector<Step>& out) : text_(text), out_(out) {}

    void read() {
        skipSpace();
        if (pos_ == text_.size()) fail("is empty");
        expression();
        skipSpace();
        if (pos_ != text_.size()) unexpected();
    }

private:
    // Deep parentheses are read by recursion; nothing legitimate needs many.
    static constexpr int kMaxDepth = 32;

    void expression() {
        term();
        for (skipSpace(); peek('+') || peek('-'); skipSpace()) {
            const Step::Op op = text_[pos_++] == '+' ? Step::Add : Step::Subtract;
            term();
            out_.push_back({op, 0});
        }
    }

    void term() {
        unary();
        for (skipSpace(); peek('*') || peek('/'); skipSpace()) {
            const Step::Op op = text_[pos_++] == '*' ? Step::Multiply : Step::Divide;
            unary();
            out_.push_back({op, 0});
        }
    }

    void unary() {
        skipSpace();
        if (!peek('-')) return primary();
        ++pos_;
        skipSpace();
        // The library marks a negation with a flag instead of toggling it, so "-(-1)" and
        // "--$1" come out negative: refuse rather than let the value differ from ours. Only
        // a parenthesised primary can end in a negation.
        const std::size_t before = out_.size();
        if (!peek('-')) primary();
        if (out_.size() == before || out_.back().op == Step::Negate)
            fail("negates a negation, which the library evaluates as a single one");
        out_.push_back({Step::Negate, 0});
    }

    void primary() {
        skipSpace();
        if (pos_ == text_.size()) fail("ends where a number was expected");
        const char c = text_[pos_];
        if (c == '(') {
            if (++depth_ > kMaxDepth) fail("nests parentheses too deeply");
            ++pos_;
            expression();
            skipSpace();
            if (!peek(')')) fail("misses a closing parenthesis");
            ++pos_;
            --depth_;
        } else if (c == '$') {
            variable();
        } else if (isDigit(c) || c == '.') {
            number();
        } else {
            unexpected();
        }
    }

    void variable() {
        const std::string name = text_.substr(pos_ + 1, 4);
        if (name == "rand" || name == "rank") {
            pos_ += 5;
            out_.push_back({name == "rand" ? Step::Rand : Step::Rank, 0});
        } else if (pos_ + 1 < text_.size() && text_[pos_ + 1] >= '1' && text_[pos_ + 1] <= '9') {
            // "$10" is "$1" followed by "0" to the library: refused when the "0" is met where
            // an operator should be.
            out_.push_back({Step::Param, static_cast<double>(text_[pos_ + 1] - '0')});
            pos_ += 2;
        } else {
            fail("uses an unknown variable at \"" + rest() + "\" ($rand, $rank and $1 to $9 are known)");
        }
    }

    void number() {
        const std::size_t start = pos_;
        while (pos_ < text_.size() && isDigit(text_[pos_])) ++pos_;
        std::size_t digits = pos_ - start;
        if (peek('.')) {
            for (++pos_; pos_ < text_.size() && isDigit(text_[pos_]); ++pos_) ++digits;
        }
        // The library reads "." as some stale value and "1.2.3" as 1.2 without a word.
        if (digits == 0) fail("has a \".\" that is not a number");
        if (peek('.')) fail("has a number with two decimal points");
        double value = 0.0;
        const auto result = std::from_chars(text_.data() + start, text_.data() + pos_, value);
        if (result.ec == std::errc::result_out_of_range || result.ptr != text_.data() + pos_)
            fail("has a number too large to read");
        out_.push_back({Step::Number, value});
    }

    // The library's reader skips spaces and tabs only.
    void skipSpace() {
        while (peek(' ') || peek('\t')) ++pos_;
    }
    bool peek(char c) const { return pos_ < text_.size() && text_[pos_] == c; }
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }
    std::string rest() const { return text_.substr(pos_, 12); }

    [[noreturn]] void unexpected() const { fail("has something unexpected at \"" + rest() + "\""); }
    [[noreturn]] void fail(const std::string& what) const {
        throw BulletMLError("formula \"" + text_ + "\" " + what);
    }

    const std::string& text_;
    std::vector<Step>& out_;
    std::size_t pos_ = 0;
    int depth_ = 0;
};

}  // namespace

BulletMLFormula::BulletMLFormula(std::string text) : text_(std::move(text)) {
    if (text_.size() > kMaxLength)
        throw BulletMLError("formula of " + std::to_string(text_.size()) + " characters is longer than " +
                            std::to_string(kMaxLength));
    Reader(text_, program_).read();
}

Interval BulletMLFormula::range(const std::vector<Interval>& params) const {
    std::vector<Interval> stack;
    for (const Step& step : program_) {
        if (step.op == Step::Param) {
            const std::size_t index = static_cast<std::size_t>(step.value) - 1;
            stack.push_back(index < params.size() ? params[index] : Interval(1.0));
            continue;
        }
        if (step.op < Step::Param) {
            stack.push_back(step.op == Step::Number ? Interval(step.value) : Interval(0.0, 1.0));
            continue;
        }
        if (step.op == Step::Negate) {
            stack.back() = -stack.back();
            continue;
        }
        const Interval b = stack.back();
        stack.pop_back();
        Interval& a = stack.back();
        a = step.op == Step::Add ? a + b : step.op == Step::Subtract ? a - b : step.op == Step::Multiply ? a * b : a / b;
    }
    return stack.back();
}
