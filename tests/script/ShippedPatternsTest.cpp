// The pattern library the game ships: it loads, every document plays, and the levels climb.
#include "script/ActionLibrary.h"
#include "support/SimulatedField.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// One 16 ms turn each: about 16 seconds for a pattern, a minute for its bullets to clear.
constexpr int kMaxPatternTurns = 1000;
constexpr int kRunTurns = 4000;
// A few hundred bullets on the field at once at most, even at level 10 and full rank.
constexpr std::size_t kMaxBullets = 400;

// Runs inside the staged game directory, where the game finds its files.
class ShippedPatterns : public testing::Test {
protected:
    void SetUp() override {
        previous_ = fs::current_path();
        fs::current_path(SKELVO_GAME_DIR);
        testing::internal::CaptureStdout();
        library_.load();
        // The library prints "yyerror" for formulas it cannot read.
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    }
    void TearDown() override { fs::current_path(previous_); }

    struct Play {
        int endTurn = -1;
        long fired = 0;
        std::size_t mostBullets = 0;
        bool runaway = false;
    };

    static Play play(BulletMLParser* document, double rank) {
        std::srand(1234);
        SimulatedField field(rank);
        field.play(document);
        Play result;
        for (int turn = 0; turn < kRunTurns; ++turn) {
            if (!field.step()) {
                result.runaway = true;
                break;
            }
            result.mostBullets = std::max(result.mostBullets, field.bodies());
            if (result.endTurn < 0 && field.patternEnded()) result.endTurn = field.turn();
        }
        result.fired = field.fired();
        return result;
    }

    // Every document of every list, once each (lists share documents by path).
    std::map<std::string, BulletMLParser*> documents() const {
        std::map<std::string, BulletMLParser*> all;
        for (int slot = 0; slot < ActionLibrary::kSlots; ++slot) {
            const ActionList* list = library_.slot(slot);
            for (std::size_t i = 0; i < list->size(); ++i) all.emplace(list->document(i)->getName(), list->document(i));
        }
        return all;
    }

    ActionLibrary library_;
    fs::path previous_;
};

}  // namespace

TEST_F(ShippedPatterns, EveryListHasDocumentsAndTheFlagsTheGameNeeds) {
    bool sawList = false;
    bool sawRandom = false;
    bool sawZako = false;
    for (int slot = 0; slot < ActionLibrary::kSlots; ++slot) {
        const ActionList* list = library_.slot(slot);
        ASSERT_NE(list, nullptr);
        EXPECT_GE(list->size(), 2u) << ActionLibrary::fileName(slot);
        sawList = sawList || !list->isRandom();
        sawRandom = sawRandom || list->isRandom();
        sawZako = sawZako || list->isZako();
        // Partners are made from the level lists; a Zako partner would dye and vanish.
        if (slot >= ActionLibrary::kFirstLevelSlot) {
            EXPECT_FALSE(list->isZako()) << ActionLibrary::fileName(slot);
        }
    }
    EXPECT_TRUE(sawList);
    EXPECT_TRUE(sawRandom);
    EXPECT_TRUE(sawZako);
}

TEST_F(ShippedPatterns, EveryDocumentFiresEndsAndStaysWithinABulletBudget) {
    for (const auto& [name, document] : documents()) {
        for (double rank : {0.0, 1.0}) {
            SCOPED_TRACE(name + " at rank " + std::to_string(rank));
            const Play result = play(document, rank);
            EXPECT_FALSE(result.runaway);
            EXPECT_GT(result.fired, 0);
            EXPECT_GT(result.endTurn, 0) << "never ended";
            EXPECT_LE(result.endTurn, kMaxPatternTurns);
            EXPECT_LE(result.mostBullets, kMaxBullets);
        }
    }
}

TEST_F(ShippedPatterns, RankMakesEveryDocumentAtLeastAsBusy) {
    for (const auto& [name, document] : documents()) {
        const Play easy = play(document, 0.0);
        const Play hard = play(document, 1.0);
        EXPECT_GE(hard.fired, easy.fired) << name;
    }
}

TEST_F(ShippedPatterns, LevelsGetDenserFromGentleToDefaultToHard) {
    // Bullets a second of pattern time, over a level's documents at middle rank.
    const auto density = [&](int level) {
        const ActionList* list = library_.listForLevel(level);
        double sum = 0.0;
        for (std::size_t i = 0; i < list->size(); ++i) {
            const Play result = play(list->document(i), 0.5);
            sum += static_cast<double>(result.fired) / (result.endTurn * SimulatedField::kTurnSeconds);
        }
        return sum / static_cast<double>(list->size());
    };
    const double gentle = density(0);
    const double usual = density(5);
    const double hard = density(10);
    EXPECT_LT(gentle * 2.0, usual);
    EXPECT_LT(usual * 2.0, hard);
    EXPECT_LT(density(2), density(8));
}

TEST_F(ShippedPatterns, EveryDocumentHasOneTopAction) {
    // The library ends a runner as soon as any one of its top actions ends.
    for (const auto& [name, document] : documents()) EXPECT_EQ(document->getTopActions().size(), 1u) << name;
}
