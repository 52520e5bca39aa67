// The definitions file: its three kinds of line and its two errors.
#include "core/Conf.h"
#include "core/InputFile.h"
#include "script/Definitions.h"
#include "support/TestDirs.h"

#include <gtest/gtest.h>

TEST(Definitions, ReadsEnemyGlobalAndFirstGlobalAndStopsAtRepeatsAndOverlongLines) {
    ScratchDir dir;
    char* argv[] = {nullptr};
    Conf conf(0, argv);
    const auto failureOf = [&](const std::string& text) -> std::string {
        dir.write("t.conf", text);
        InputFile file(dir.file("t.conf"));
        try {
            readDefinitions(conf, file);
        } catch (const std::runtime_error& e) {
            return e.what();
        }
        return "";
    };
    EXPECT_EQ(failureOf("Enemy 3 zako\nGlobal 3 boss\nFirstGlobal 9\nnoise 1 2\nEnemy 1 a b\n"),
              "");
    EXPECT_EQ(conf.enemyDefinitions, (std::map<int, std::string>{{1, "a"}, {3, "zako"}}));
    EXPECT_EQ(conf.globalDefinitions, (std::map<int, std::string>{{3, "boss"}}));
    EXPECT_EQ(conf.firstGlobal, 9);
    EXPECT_EQ(failureOf("Global 2 a\nGlobal 2 b\n"), "Global: same IDs!\n");
    // A line of 255 characters is read; one longer is named, not taken for two.
    EXPECT_EQ(failureOf(std::string(255, ' ') + "\nEnemy 5 " + std::string(248, 'x') + "\n"),
              dir.file("t.conf") + ": line 2 is longer than 255 characters");
}
