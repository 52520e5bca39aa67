// The formula reader against libbulletml's own grammar and values.
#include "script/BulletMLFormula.h"

#include "script/BulletMLDocument.h"

#include <bulletmlerror.h>
#include <bulletmlrunner.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <unistd.h>

namespace {

bool refused(const std::string& text) {
    try {
        BulletMLFormula formula(text);
        return false;
    } catch (const BulletMLError&) {
        return true;
    }
}

// Fires once with the speed under test and records what the library made of it.
struct SpeedProbe : BulletMLRunner {
    explicit SpeedProbe(BulletMLParser* document) : BulletMLRunner(document) {}
    double getBulletDirection() override { return 0; }
    double getAimDirection() override { return 0; }
    double getBulletSpeed() override { return 0; }
    double getDefaultSpeed() override { return 1; }
    double getRank() override { return 0; }
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

TEST(BulletMLFormula, ComputesWhatTheLibraryComputes) {
    // Precedence, associativity and unary minus must come out as the library's, or the
    // ranges checked would not be the values played. $9 is not passed: it is 1.
    for (const char* text : {"1+2*3", "(1+2)*3", "7/2", "8-3-2", "8/4/2", "2*-1+3", "2--1", "-1-2",
                             "-(0-1)", "$1-$2", "$1/$2*$2", "$9+1", "-$1-$2*-1", "1.25+.5+5.",
                             " 1\t+ 2 ", "00012"}) {
        const Interval ours = BulletMLFormula(text).range({Interval(7.0), Interval(3.0)});
        EXPECT_EQ(ours.lo, ours.hi) << text;
        EXPECT_DOUBLE_EQ(ours.lo, libraryValue(text)) << text;
    }
}

TEST(BulletMLFormula, RefusesWhatTheLibraryMisparses) {
    // The rest of these, from "1+" to "$10", are documents of the refusal corpus.
    for (const char* text : {"  ", "3 4", "()", "1*+2", "$RANK", "$randx", "1$1", "$1.5", "-(-1)",
                             "1\n/2"}) {
        EXPECT_TRUE(refused(text)) << "\"" << text << "\"";
    }
    const std::string open(32, '('), close(32, ')');
    EXPECT_FALSE(refused(open + "1" + close));
    EXPECT_TRUE(refused("(" + open + "1" + close + ")"));
}

TEST(BulletMLFormula, RangesCoverEveryValueItCanTake) {
    // $rand and $rank run from 0 to 1, each $rand a draw of its own; parameters not passed
    // are 1; a division by what can be zero is unbounded.
    const struct {
        const char* text;
        Interval range;
    } table[] = {{"$rand*2-1", {-1.0, 1.0}},          {"10-$rank*4", {6.0, 10.0}},
                 {"$rand-$rand", {-1.0, 1.0}},        {"1/(1+$rand)", {0.5, 1.0}},
                 {"360/(10+$rank*8)", {20.0, 36.0}}, {"$1*10+$4", {21.0, 31.0}}};
    for (const auto& row : table)
        EXPECT_EQ(BulletMLFormula(row.text).range({Interval(2.0, 3.0)}), row.range) << row.text;
    for (const char* text : {"1/$rand", "1/($rank-0.5)", "0/0"})
        EXPECT_FALSE(BulletMLFormula(text).range({}).isFinite()) << text;
}
