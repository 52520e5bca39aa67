// A numeric text of a BulletML document, read with the grammar libbulletml's own reader accepts.
#pragma once

#include "script/Interval.h"

#include <string>
#include <vector>

// The grammar is the library's, read from its source and tried: decimal numbers without
// exponent, + - * / with the usual precedence, parentheses, unary minus (no unary plus),
// $rand, $rank and $1 to $9 written without a space after the "$", blanks between tokens but
// no line break (the library's reader stops there). The library prints to standard output
// and falls back on an earlier formula when it cannot parse a text, so every text it is given
// must pass here first.
class BulletMLFormula {
public:
    static constexpr std::size_t kMaxLength = 1000;

    // Throws BulletMLError saying what is wrong with the text (without file or line).
    explicit BulletMLFormula(std::string text);

    // The values the formula can take for $rand and $rank anywhere in [0, 1] and $n in
    // params[n - 1]; a parameter that was not passed is 1, as the library makes it.
    Interval range(const std::vector<Interval>& params) const;

    const std::string& text() const { return text_; }

    // One step of the formula in postfix order.
    struct Step {
        enum Op { Number, Rand, Rank, Param, Negate, Add, Subtract, Multiply, Divide } op;
        double value;  // Number: the literal; Param: the index from 1
    };

private:
    std::string text_;
    std::vector<Step> program_;
};
