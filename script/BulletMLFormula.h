// A numeric text of a BulletML document, read with the grammar libbulletml's own parser accepts.
#pragma once

#include "script/Interval.h"

#include <memory>
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
    explicit BulletMLFormula(const std::string& text);
    ~BulletMLFormula();
    BulletMLFormula(const BulletMLFormula&) = delete;
    BulletMLFormula& operator=(const BulletMLFormula&) = delete;

    // The values the formula can take for $rand and $rank anywhere in [0, 1] and $n in
    // params[n - 1]; a parameter that was not passed is 1, as the library makes it.
    Interval range(const std::vector<Interval>& params) const;

    // The text as given.
    const std::string& text() const { return text_; }

    // Whether the text reads $1 to $9 at all (its range then depends on the caller).
    bool usesParameters() const { return usesParameters_; }

    struct Node;

private:
    std::string text_;
    std::unique_ptr<Node> root_;
    bool usesParameters_ = false;
};
