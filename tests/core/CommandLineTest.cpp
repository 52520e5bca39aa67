// The built game as a user starts it: arguments, the name file, bad files and what they say.
#include "support/RunGame.h"
#include "support/TestDirs.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

const std::string SDL_LINE = "SDL: ";

// What a case does to a file of the game directory: writes it, makes it a FIFO or a link to
// `text`, cuts it short, or removes it.
enum class Put { Text, Fifo, Link, Cut, Remove };

struct BadFile {
    const char* file;
    Put put;
    std::string text;
    bool menu;         // the game reaches its menu; otherwise it stops with status 1
    std::string says;  // in what it writes in the menu; the start of its refusal
    bool isArgument = false;
};

void put(const GameCopy& game, const BadFile& c) {
    const std::string path = game.file(c.file);
    if (c.put == Put::Cut) return std::filesystem::resize_file(path, 150000);
    game.remove(c.file);
    if (c.put == Put::Text) game.write(c.file, c.text);
    if (c.put == Put::Fifo) {
        ASSERT_EQ(mkfifo(path.c_str(), 0644), 0) << path;
    }
    if (c.put == Put::Link) std::filesystem::create_symlink(c.text, path);
}

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

TEST(CommandLine, EveryBadFileOrArgumentEndsInTheMenuOrARefusalNamingIt) {
    const std::string noKeys = ": file not found in generateConfMap\n";
    const std::string notSize = "screen: expected a width and a height";
    const BadFile cases[] = {
        {"name.cache", Put::Text, "  alpha beta\n", true, "alpha:\n"},
        {"name.cache", Put::Text, "", true, "KLV:\n"},
        {"name.cache", Put::Text, std::string(256, 'n'), true, "KLV:\n"},
        {"name.cache", Put::Fifo, "", true, "KLV:\n"},
        {"name.cache", Put::Link, "/dev/zero", true, "KLV:\n"},
        {"1Pkey.conf", Put::Fifo, "", true, "1Pkey.conf" + noKeys},
        {"1Pkey.conf", Put::Link, "/dev/zero", true, "1Pkey.conf" + noKeys},
        {"x.conf", Put::Remove, "", true, WINDOW_LINE, true},
        {"x.conf", Put::Fifo, "", true, WINDOW_LINE, true},
        {"x.conf", Put::Link, "/dev/zero", true, WINDOW_LINE, true},
        // Only the last dot counts; an Enemy and a Global line may share an id.
        {"my.options.conf", Put::Text, "FirstGlobal 3\nEnemy 1 a\nGlobal 1 b\nEnemy 1 c\n", false,
         "Enemy: same IDs!\n\n" + SDL_LINE, true},
        {"foo.CONF", Put::Remove, "", false, "foo.CONF: can't understand.\n" + SDL_LINE, true},
        {"-w", Put::Remove, "", false, "unknown exception.\n", true},
        {"nowhere.act", Put::Remove, "", true, WINDOW_LINE, true},
        {"nowhere.xml", Put::Remove, "", true, WINDOW_LINE, true},
        {"screen", Put::Text, "640 480\n", true, WINDOW_LINE},
        {"act.d/act-3.act", Put::Fifo, "", false, "act.d/act-3.actaction File not Found!\n"},
        {"bosses.act", Put::Link, "/dev/zero", false, "bosses.actaction File not Found!\n"},
        {"screen", Put::Fifo, "", false, "screen: is not a regular file\n"},
        {"screen", Put::Link, "/dev/zero", false, "screen: is not a regular file\n"},
        {"screen", Put::Text, "300 400.5", false, notSize},
        {"screen", Put::Text, "300 400px", false, notSize},
        {"screen", Put::Text, std::string("300 400\0", 8), false, notSize},
        // A regular file that fails every read, even for root.
        {"screen", Put::Link, "/proc/self/mem", false, "screen: cannot be read\n"},
        {"vixar.ttf", Put::Remove, "", false, "vixar.ttf: cannot open font\n"},
        {"vixar.ttf", Put::Fifo, "", false, "vixar.ttf: is not a regular file\n"},
        {"vixar.ttf", Put::Link, "/dev/zero", false, "vixar.ttf: is not a regular file\n"},
        {"vixar.ttf", Put::Cut, "", false, "vixar.ttf: cannot open font\n"},
        {"bmp/ball_bg.bmp", Put::Remove, "", false,
         "bmp/ball_bg.bmp: cannot load bitmap\n" + SDL_LINE},
        {"bmp/black.bmp", Put::Text, "BM not really", false, "bmp/black.bmp: cannot load bitmap\n"},
        {"bmp/ball_bg.bmp", Put::Fifo, "", false, "bmp/ball_bg.bmp: is not a regular file\n"},
        {"bmp/black.bmp", Put::Link, "/dev/zero", false, "bmp/black.bmp: is not a regular file\n"},
    };
    for (const BadFile& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " <- " + c.text);
        GameCopy game;
        put(game, c);
        const auto args = c.isArgument ? std::vector<std::string>{c.file}
                                       : std::vector<std::string>{};
        // Each case takes a fraction of a second; the limit only keeps a hang from stalling.
        const GameRun run = c.menu ? runGameAndClose(game.path(), args, WINDOW_LINE, 20)
                                   : runGame(game.path(), args, 20);
        if (c.menu) {
            EXPECT_TRUE(run.closed);
            EXPECT_EQ(run.status, 0) << run.err;
            EXPECT_NE((run.out + run.err).find(c.says), std::string::npos) << run.out << run.err;
        } else {
            EXPECT_EQ(run.status, 1);
            EXPECT_EQ(run.err.rfind(c.says, 0), 0u) << run.err;
        }
    }
}
