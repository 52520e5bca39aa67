// The formula reader: libbulletml's grammar, its values, and the ranges the checker bounds.
#include "script/BulletMLFormula.h"

#include <bulletmlerror.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

TEST(BulletMLFormula, ComputesTheLibrarysValuesAndCoversEveryValueItCanTake) {
    std::ifstream rows(SKELVO_TEST_DATA "/bulletml/formulas.txt");
    int count = 0;
    for (std::string line; std::getline(rows, line);) {
        if (line[0] == '#') continue;
        const std::size_t bar = line.rfind('|');
        double low = 0.0, high = 0.0;
        std::istringstream(line.substr(bar + 1)) >> low >> high;
        const Interval range =
            BulletMLFormula(line.substr(0, bar)).range({Interval(7.0), Interval(3.0)});
        EXPECT_EQ(range, Interval(low, high)) << line;
        ++count;
    }
    EXPECT_EQ(count, 17);
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
