// The action library: which file fills which slot, and which list a level gets.
#include "script/ActionLibrary.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A game directory of thirteen action files, each naming no document but telling its slot
// by its mode and zako flag where a test needs that; the test runs inside it.
class ActionLibraryDir : public testing::Test {
protected:
    void SetUp() override {
        previous_ = fs::current_path();
        dir_ = fs::path(testing::TempDir()) / ("library-" + std::to_string(::getpid()));
        fs::create_directories(dir_ / "act.d");
        for (int i = 0; i < ActionLibrary::kSlots; ++i) write(i, "# slot " + std::to_string(i) + "\n");
        fs::current_path(dir_);
    }
    void TearDown() override {
        fs::current_path(previous_);
        fs::remove_all(dir_);
    }
    void write(int slot, const std::string& text) {
        std::ofstream(dir_ / ActionLibrary::fileName(slot)) << text;
    }

    fs::path previous_;
    fs::path dir_;
};

}  // namespace

TEST_F(ActionLibraryDir, LevelsOutsideZeroToTenAreClamped) {
    ActionLibrary library;
    library.load();
    EXPECT_EQ(library.listForLevel(-3), library.slot(2));
    EXPECT_EQ(library.listForLevel(0), library.slot(2));
    EXPECT_EQ(library.listForLevel(10), library.slot(12));
    EXPECT_EQ(library.listForLevel(42), library.slot(12));
    for (int level = 1; level <= 9; ++level) EXPECT_EQ(library.listForLevel(level), library.slot(2 + level)) << level;
    EXPECT_NE(library.slot(2), library.slot(12));
}

TEST_F(ActionLibraryDir, DefaultListIsLevelFive) {
    write(7, "Commands List\n");
    ActionLibrary library;
    library.load();
    EXPECT_EQ(library.defaultList(), library.slot(7));
    EXPECT_FALSE(library.defaultList()->isRandom());
    EXPECT_TRUE(library.listForLevel(4)->isRandom());
}

TEST_F(ActionLibraryDir, LoadingAgainReplacesEveryList) {
    ActionLibrary library;
    library.load();
    EXPECT_FALSE(library.slot(0)->isZako());
    write(0, "Zako\n");
    library.load();
    EXPECT_TRUE(library.slot(0)->isZako());
}

TEST_F(ActionLibraryDir, AMissingFileStopsLoadingWithItsName) {
    fs::remove(dir_ / "act.d/act-7.act");
    ActionLibrary library;
    try {
        library.load();
        FAIL() << "loaded without act-7";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "act.d/act-7.actaction File not Found!\n");
    }
    // The boss lists are loaded like the others, though no level hands them out.
    fs::remove(dir_ / "bosses.act.hard");
    EXPECT_THROW(library.load(), std::runtime_error);
}
