// The formula reader against libbulletml's own grammar and values.
#include "script/BulletMLFormula.h"

#include "script/BulletMLDocument.h"

#include <bulletmlerror.h>
#include <bulletmlrunner.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

const std::vector<Interval> kNoParameters;

Interval rangeOf(const std::string& text, const std::vector<Interval>& params = kNoParameters) {
    return BulletMLFormula(text).range(params);
}

bool refused(const std::string& text) {
    try {
        BulletMLFormula formula(text);
        return false;
    } catch (const BulletMLError&) {
        return true;
    }
}

// Fires once with the speed under test and records what the library made of it.
class SpeedProbe : public BulletMLRunner {
public:
    explicit SpeedProbe(BulletMLParser* document) : BulletMLRunner(document) {}
    double getBulletDirection() override { return 0; }
    double getAimDirection() override { return 0; }
    double getBulletSpeed() override { return 0; }
    double getDefaultSpeed() override { return 1; }
    double getRank() override { return 0.25; }
    void createSimpleBullet(double, double speed) override { fired = speed; }
    void createBullet(BulletMLState* state, double, double) override { delete state; }
    int getTurn() override { return 0; }
    void doVanish() override {}
    double fired = -1.0;
};

// The value libbulletml gives the formula as a fire speed, with $1 = 7 and $2 = 3 passed.
double libraryValue(const std::string& formula) {
    const std::string path = testing::TempDir() + "formula-" + std::to_string(::getpid()) + ".xml";
    std::ofstream(path) << "<bulletml><action label=\"top\"><fireRef label=\"f\"><param>7</param>"
                           "<param>3</param></fireRef></action><fire label=\"f\"><speed>"
                        << formula << "</speed><bullet/></fire></bulletml>";
    auto document = BulletMLDocument::load(path);
    SpeedProbe probe(document.get());
    probe.run();
    std::remove(path.c_str());
    return probe.fired;
}

}  // namespace

TEST(BulletMLFormula, AcceptsTheLibrarysGrammar) {
    for (const char* text : {"1", "1.5", ".5", "5.", "-1", "2*-1", "2--1", "2-(-1)", "(1+2)*3", " 3 ",
                             "1\t+ 2", "$rand", "$rank", "$1", "$9", "-$1", "1+-2", "$rank*$rank", "00012",
                             "((($1)))"}) {
        EXPECT_FALSE(refused(text)) << text;
    }
}

TEST(BulletMLFormula, RefusesWhatTheLibraryMisparses) {
    // Each of these makes the library print "yyerror" and reuse an earlier formula, or read
    // a different value than written.
    for (const char* text : {"", "  ", "1+", "$", "12abc", "abc", "$10", "$12", "$0", "7%3", "1e3", "3 4",
                             "((1)", "()", "+1", "1*+2", "$ 1", "$RANK", "$randx", "$rank2", "$1$2", "1$1",
                             "$1.5", "1,5", "0x10", ".", "..5", "1.2.3", "1 .5", "--1", "-(-1)", "-(--1)",
                             "2*-(-1)", "-(-$1)", "1&2", "1\n/2"}) {
        EXPECT_TRUE(refused(text)) << "\"" << text << "\"";
    }
    try {
        BulletMLFormula formula("$10");
    } catch (const BulletMLError& e) {
        EXPECT_STREQ(e.what(), "formula \"$10\" has something unexpected at \"0\"");
    }
}

TEST(BulletMLFormula, ComputesWhatTheLibraryComputes) {
    // Precedence, associativity and unary minus must come out as the library's, or the
    // ranges checked would not be the values played.
    for (const char* text : {"1+2*3", "(1+2)*3", "7/2", "8-3-2", "8/4/2", "-1+2", "-2*3", "2*-1+3", "2--1",
                             "-(2)*3", "3*-2*-1", "(-1)*(-1)", "-(0-1)", "-(2*-1)", "$1-$2", "$1/$2*$2",
                             "$3+1", "-$1+10", "-1-2", "-$1-$2*-1", "1.25+.5+5."}) {
        const Interval ours = rangeOf(text, {Interval(7.0), Interval(3.0)});
        EXPECT_EQ(ours.lo, ours.hi) << text;
        EXPECT_DOUBLE_EQ(ours.lo, libraryValue(text)) << text;
    }
    // The library plays $rank at the runner's rank (0.25 here), inside the checked range.
    const Interval ranked = rangeOf("2-$rank*4");
    EXPECT_EQ(ranked, Interval(-2.0, 2.0));
    EXPECT_DOUBLE_EQ(libraryValue("2-$rank*4"), 1.0);
}

TEST(BulletMLFormula, RangesCoverEveryValueItCanTake) {
    // $rand and $rank run from 0 to 1, each $rand a draw of its own; parameters not passed
    // are 1; a division by what can be zero is unbounded.
    const std::vector<Interval> passed = {Interval(2.0, 3.0)};
    const struct {
        const char* text;
        Interval range;
    } table[] = {{"$rand*2-1", {-1.0, 1.0}},     {"10-$rank*4", {6.0, 10.0}},    {"$rand-$rand", {-1.0, 1.0}},
                 {"360/(10+$rank*8)", {20.0, 36.0}}, {"1/(1+$rand)", {0.5, 1.0}}, {"$1*10+$4", {21.0, 31.0}}};
    for (const auto& row : table) EXPECT_EQ(rangeOf(row.text, passed), row.range) << row.text;
    EXPECT_EQ(rangeOf("$1*10+$4"), Interval(11.0));
    for (const char* text : {"1/$rand", "1/($rank-0.5)", "0/0"}) EXPECT_FALSE(rangeOf(text).isFinite()) << text;
}
