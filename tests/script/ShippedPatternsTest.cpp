// The pattern library the game ships: it loads, every document plays, and the levels climb.
#include "script/ActionLibrary.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

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

TEST_F(ShippedPatterns, EveryDocumentHasOneTopAction) {
    // The library ends a runner as soon as any one of its top actions ends.
    for (const auto& [name, document] : documents()) EXPECT_EQ(document->getTopActions().size(), 1u) << name;
}
