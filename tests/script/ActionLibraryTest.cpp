// The action library: which file fills which slot, and which list a level gets.
#include "script/ActionLibrary.h"

#include "support/TestDirs.h"

#include <gtest/gtest.h>

namespace {

// A game directory of thirteen action files naming no document; the test runs inside it.
struct ActionLibraryDir : testing::Test {
    ActionLibraryDir() {
        for (int i = 0; i < ActionLibrary::kSlots; ++i) write(i, "");
    }
    void write(int slot, const std::string& text) { dir.write(ActionLibrary::fileName(slot), text); }
    ScratchDir dir;
    ChangeDir in{dir.path()};
};

}  // namespace

TEST_F(ActionLibraryDir, LevelsZeroToTenAfterTheTwoBossListsClampedAndFiveTheDefault) {
    EXPECT_EQ(ActionLibrary::fileName(1), "bosses.act.hard");
    write(7, "Commands List\n");
    ActionLibrary library;
    EXPECT_EQ(library.defaultList(), nullptr);
    library.load();
    const std::pair<int, int> table[] = {{-3, 2}, {0, 2}, {1, 3}, {5, 7}, {9, 11}, {10, 12}, {42, 12}};
    for (const auto& [level, slot] : table) EXPECT_EQ(library.listForLevel(level), library.slot(slot)) << level;
    EXPECT_EQ(library.defaultList(), library.slot(7));
    EXPECT_FALSE(library.defaultList()->isRandom());
    EXPECT_TRUE(library.listForLevel(4)->isRandom());
    // Loading again replaces every list.
    EXPECT_FALSE(library.slot(0)->isZako());
    write(0, "Zako\n");
    library.load();
    EXPECT_TRUE(library.slot(0)->isZako());
}

TEST_F(ActionLibraryDir, AMissingFileStopsLoadingWithItsName) {
    dir.remove("act.d/act-7.act");
    ActionLibrary library;
    try {
        library.load();
        FAIL() << "loaded without act-7";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "act.d/act-7.actaction File not Found!\n");
    }
}
