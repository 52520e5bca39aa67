// The definitions file: its three kinds of line and its two errors.
#include "core/Conf.h"
#include "core/InputFile.h"
#include "script/Definitions.h"
#include "support/TestDirs.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

// Reads `text` as the definitions file t.conf of the working directory.
std::string failureOf(Conf& conf, const std::string& text) {
    std::ofstream("t.conf", std::ios::binary) << text;
    InputFile in("t.conf");
    try {
        readDefinitions(conf, in);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "";
}

// A Conf made without a CONFFILE, in a directory without a name file.
struct DefinitionsTest : ::testing::Test {
    ScratchDir dir;
    ChangeDir in{dir.path()};
    char program[7] = "skelvo";
    char* argv[2] = {program, nullptr};
    Conf conf{1, argv};
};

}  // namespace

TEST_F(DefinitionsTest, ReadsEnemyGlobalAndFirstGlobal) {
    EXPECT_EQ(conf.playerName, "KLV");
    EXPECT_EQ(conf.confKind, Conf::ACTIONS);
    EXPECT_EQ(failureOf(conf, "Enemy 3 zako\nGlobal 3 boss\nFirstGlobal 9\nnoise 1 2\n"
                              "Enemy 1 first extra\n"), "");
    EXPECT_EQ(conf.enemyDefinitions, (std::map<int, std::string>{{1, "first"}, {3, "zako"}}));
    EXPECT_EQ(conf.globalDefinitions, (std::map<int, std::string>{{3, "boss"}}));
    EXPECT_EQ(conf.firstGlobal, 9);
}

TEST_F(DefinitionsTest, RepeatedIdsStopWithTheirKind) {
    EXPECT_EQ(failureOf(conf, "Enemy 1 a\nEnemy 1 b\n"), "Enemy: same IDs!\n");
    EXPECT_EQ(failureOf(conf, "Global 2 a\nGlobal 2 b\n"), "Global: same IDs!\n");
}

TEST_F(DefinitionsTest, OverlongLineIsNamedNotHalfRead) {
    const std::string longLine = "Enemy 5 " + std::string(250, 'x') + "\n";
    EXPECT_EQ(failureOf(conf, "Enemy 4 ok\n" + longLine),
              "t.conf: line 2 is longer than 255 characters");
    EXPECT_EQ(failureOf(conf, std::string(255, ' ') + "\nFirstGlobal 2\n"), "");
    EXPECT_EQ(conf.firstGlobal, 2);
}
