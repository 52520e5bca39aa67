// The built game as a user starts it: arguments, the name file, bad files and what they say.
#include "support/Process.h"
#include "support/TestDirs.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

// Files of the game's directory to write first; a null text removes the file.
using Files = std::vector<std::pair<std::string, const char*>>;

const std::string MENU = "KLV:\n" + WINDOW_LINE;

}  // namespace

// A run that reaches the menu is closed there as by its window; the others end by themselves
// and write exactly `out`. A run that fails writes its message and then SDL's last error.
TEST(CommandLine, EachStartEndsAsItsArgumentsAndFilesSay) {
    const std::string usage = readFile(SKELVO_TEST_DATA "/usage.euc-jp");
    const struct {
        std::vector<std::string> args;
        Files files;
        bool reachesMenu;
        int status;
        std::string out, err;
    } runs[] = {
        {{}, {}, true, 0, MENU, ""},
        {{"--help"}, {}, false, 1, "", usage},
        {{"--help", "--version", "x.conf"}, {}, false, 1, "", usage},
        {{"--version"}, {}, false, 0, "skelvo version ?\n", ""},
        // Options of the usage text are not understood.
        {{"-w"}, {}, false, 1, "", "unknown exception.\n"},
        {{"foo.CONF"}, {}, false, 1, "", "foo.CONF: can't understand.\nSDL: "},
        // Action and BulletML files are not opened; a missing definitions file is no error.
        {{"nowhere.act"}, {}, true, 0, MENU, ""},
        {{"nowhere.xml"}, {}, true, 0, MENU, ""},
        {{"absent.conf"}, {}, true, 0, MENU, ""},
        {{"fine.conf"}, {{"fine.conf", "Enemy 1 a\nGlobal 1 b\n"}}, true, 0, MENU, ""},
        {{"my.options.conf"},
         {{"my.options.conf", "FirstGlobal 3\nEnemy 1 a\nGlobal 1 b\nEnemy 1 c\n"}},
         false, 1, "", "Enemy: same IDs!\n\nSDL: "},
        {{"g.conf"}, {{"g.conf", "Global 7 a\nGlobal 7 b\n"}}, false, 1, "", "Global: same IDs!\n"},
        // The name file gives its first word.
        {{}, {{"name.cache", "  alpha beta\n"}}, true, 0, "alpha:\n" + WINDOW_LINE, ""},
        {{}, {{"name.cache", ""}}, true, 0, MENU, ""},
        {{}, {{"bmp/ball_bg.bmp", nullptr}}, false, 1, MENU,
         "bmp/ball_bg.bmp: cannot load bitmap\nSDL: "},
        {{}, {{"bmp/black.bmp", "BM not really"}}, false, 1, "KLV:\n",
         "bmp/black.bmp: cannot load bitmap\nSDL: "},
        {{}, {{"vixar.ttf", nullptr}}, false, 1, "KLV:\n", "vixar.ttf: cannot open font\nSDL: "},
        // The window line describes the logical screen, whatever the real window's size.
        {{}, {{"screen", "640 480\n"}}, true, 0, MENU, ""},
        {{}, {{"screen", "wide tall\n"}}, false, 1, "KLV:\n",
         "screen: expected a width and a height"},
    };
    for (const auto& r : runs) {
        GameCopy dir;
        for (const auto& [name, text] : r.files) text ? dir.write(name, text) : dir.remove(name);
        const auto game = Process::game(dir.path(), r.args);
        SCOPED_TRACE(dir.path() + " " + (r.args.empty() ? "" : r.args[0]) +
                     (r.files.empty() ? "" : " " + r.files[0].first));
        if (r.reachesMenu) {
            EXPECT_TRUE(game->waitForOutput(WINDOW_LINE)) << game->err();
            game->close();
        }
        EXPECT_EQ(game->wait(), r.status);
        const std::string out = game->out(), err = game->err();
        EXPECT_EQ(r.reachesMenu ? out.substr(0, r.out.size()) : out, r.out);
        // No match was played: no frame rate line.
        EXPECT_EQ(out.find("fps"), std::string::npos) << out;
        EXPECT_EQ(r.status == 0 ? err : err.substr(0, r.err.size()), r.err);
    }
}
