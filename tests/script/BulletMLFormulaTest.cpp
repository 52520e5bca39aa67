// The formula reader: libbulletml's grammar, its values, and the ranges the checker bounds.
#include "script/BulletMLFormula.h"

#include <bulletmlerror.h>
#include <gtest/gtest.h>

TEST(BulletMLFormula, ComputesTheLibrarysValuesAndCoversEveryValueItCanTake) {
    // Precedence, associativity and unary minus as the library plays them, with $1 = 7 and
    // $2 = 3 passed and $9 not (it is 1); $rand and $rank run from 0 to 1, each $rand a draw
    // of its own.
    const struct {
        const char* text;
        Interval range;
    } table[] = {{"1+2*3", Interval(7.0)},       {"(1+2)*3", Interval(9.0)},
                 {"8-3-2", Interval(3.0)},       {"$1/2*4", Interval(14.0)},
                 {"2*-1+3", Interval(1.0)},      {"2--1", Interval(3.0)},
                 {"-1-2", Interval(-3.0)},       {"-(0-1)", Interval(1.0)},
                 {"$1-$2", Interval(4.0)},       {"$9+1", Interval(2.0)},
                 {"1.25+.5+5.", Interval(6.75)}, {" 1\t+ 2 ", Interval(3.0)},
                 {"00012", Interval(12.0)},      {"$rand*2-1", {-1.0, 1.0}},
                 {"10-$rank*4", {6.0, 10.0}},    {"$rand-$rand", {-1.0, 1.0}},
                 {"1/(1+$rand)", {0.5, 1.0}}};
    for (const auto& row : table) {
        EXPECT_EQ(BulletMLFormula(row.text).range({Interval(7.0), Interval(3.0)}), row.range)
            << row.text;
    }
    // A division by what can be zero is unbounded.
    for (const char* text : {"1/$rand", "1/($rank-0.5)", "0/0"})
        EXPECT_FALSE(BulletMLFormula(text).range({}).isFinite()) << text;
}

TEST(BulletMLFormula, RefusesWhatTheLibraryMisparses) {
    // The library prints "yyerror" and reuses an earlier formula, or reads another value than
    // written. The rest, from "1+" to "$10", are documents of the refusal corpus.
    for (const char* text : {"  ", "3 4", "()", "1*+2", "$RANK", "$randx", "1$1", "$1.5", "-(-1)",
                             "1\n/2"}) {
        EXPECT_THROW(BulletMLFormula{text}, BulletMLError) << "\"" << text << "\"";
    }
    const std::string open(32, '('), close(32, ')');
    EXPECT_NO_THROW(BulletMLFormula{open + "1" + close});
    EXPECT_THROW(BulletMLFormula{"(" + open + "1" + close + ")"}, BulletMLError);
}
