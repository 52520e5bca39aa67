// The built game as a user starts it: arguments, the name file, bad files and what they say.
#include "support/RunGame.h"
#include "support/TestDirs.h"

#include <gtest/gtest.h>

namespace {

const std::string SDL_LINE = "SDL: ";

}  // namespace

TEST(CommandLine, NoArgumentWaitsInTheMenuAndClosingTheWindowEndsCleanly) {
    GameCopy game;
    const GameRun run = runGameAndClose(game.path());
    EXPECT_TRUE(run.closed);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind("KLV:\n" + WINDOW_LINE, 0), 0u) << run.out;
    // No match was played: no frame rate line.
    EXPECT_EQ(run.out.find("fps"), std::string::npos) << run.out;
    EXPECT_EQ(run.err, "");
}

TEST(CommandLine, HelpWritesTheUsageBytesAndFails) {
    GameCopy game;
    const std::string usage = readFile(std::string(SKELVO_TEST_DATA) + "/../data/usage.euc-jp");
    for (const auto& args : {std::vector<std::string>{"--help"},
                             std::vector<std::string>{"--help", "--version", "x.conf"}}) {
        const GameRun run = runGame(game.path(), args);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, usage);
        EXPECT_EQ(run.out, "");
    }
}

TEST(CommandLine, VersionLine) {
    GameCopy game;
    const GameRun run = runGame(game.path(), {"--version"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "skelvo version ?\n");
    EXPECT_EQ(run.err, "");
}

TEST(CommandLine, OptionsOfTheUsageTextAreNotUnderstood) {
    GameCopy game;
    const GameRun run = runGame(game.path(), {"-w"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "unknown exception.\n");
}

TEST(CommandLine, ExtensionsAreCaseSensitive) {
    GameCopy game;
    const GameRun run = runGame(game.path(), {"foo.CONF"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.rfind("foo.CONF: can't understand.\n" + SDL_LINE, 0), 0u) << run.err;
}

TEST(CommandLine, ActionAndBulletMLFilesAreNotOpened) {
    GameCopy game;
    EXPECT_EQ(runGameAndClose(game.path(), {"nowhere.act"}).status, 0);
    EXPECT_EQ(runGameAndClose(game.path(), {"nowhere.xml"}).status, 0);
}

TEST(CommandLine, DefinitionsFileWithRepeatedIdsStops) {
    GameCopy game;
    game.write("my.options.conf", "FirstGlobal 3\nEnemy 1 a\nGlobal 1 b\nEnemy 1 c\n");
    GameRun run = runGame(game.path(), {"my.options.conf"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.rfind("Enemy: same IDs!\n\n" + SDL_LINE, 0), 0u) << run.err;

    game.write("g.conf", "Global 7 a\nGlobal 7 b\n");
    run = runGame(game.path(), {"g.conf"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.rfind("Global: same IDs!\n", 0), 0u) << run.err;

    game.write("fine.conf", "Enemy 1 a\nGlobal 1 b\n");
    EXPECT_EQ(runGameAndClose(game.path(), {"fine.conf"}).status, 0);
}

TEST(CommandLine, MissingDefinitionsFileIsNoError) {
    GameCopy game;
    const GameRun run = runGameAndClose(game.path(), {"absent.conf"});
    EXPECT_EQ(run.status, 0) << run.err;
}

TEST(CommandLine, NameCacheGivesTheFirstWord) {
    GameCopy game;
    game.write("name.cache", "  alpha beta\n");
    const GameRun run = runGameAndClose(game.path());
    EXPECT_EQ(run.out.rfind("alpha:\n", 0), 0u) << run.out;
    game.write("name.cache", "");
    EXPECT_EQ(runGameAndClose(game.path()).out.rfind("KLV:\n", 0), 0u);
}

TEST(CommandLine, MissingBitmapOrFontIsNamed) {
    GameCopy game;
    game.remove("bmp/ball_bg.bmp");
    GameRun run = runGame(game.path());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.rfind("bmp/ball_bg.bmp: cannot load bitmap\n" + SDL_LINE, 0), 0u) << run.err;

    GameCopy noBackground;
    noBackground.write("bmp/black.bmp", "BM not really");
    run = runGame(noBackground.path());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("bmp/black.bmp: cannot load bitmap"), std::string::npos) << run.err;

    GameCopy noFont;
    noFont.remove("vixar.ttf");
    run = runGame(noFont.path());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("vixar.ttf: cannot open font"), std::string::npos) << run.err;
}

TEST(CommandLine, ScreenFileMustBeginWithTwoSizes) {
    GameCopy game;
    game.write("screen", "640 480\n");
    GameRun run = runGameAndClose(game.path());
    EXPECT_EQ(run.status, 0) << run.err;
    // The description is the logical screen's, whatever the real window's size.
    EXPECT_NE(run.out.find(WINDOW_LINE), std::string::npos);

    for (const char* bad : {"wide tall\n", "640\n", "0 480\n", "-640 480 full\n"}) {
        game.write("screen", bad);
        run = runGame(game.path());
        EXPECT_EQ(run.status, 1) << bad;
        EXPECT_EQ(run.err.rfind("screen: expected a width and a height", 0), 0u) << run.err;
    }
}
