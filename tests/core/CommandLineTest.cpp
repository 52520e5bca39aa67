// The built game as a user starts it: arguments, the name file, bad files and what they say.
#include "support/Process.h"
#include "support/TestDirs.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

namespace {

// Files of the game's directory to write first; REMOVE removes the file, FIFO makes it a FIFO
// and a text starting with "/" makes it a link there.
using Files = std::vector<std::pair<std::string, std::string>>;
const std::string REMOVE = "\x01remove", FIFO = "\x01fifo";

void put(const GameCopy& dir, const std::string& name, const std::string& text) {
    const std::string path = dir.file(name);
    dir.remove(name);
    if (text == FIFO) {
        ASSERT_EQ(mkfifo(path.c_str(), 0644), 0) << path;
    } else if (text[0] == '/') {
        std::filesystem::create_symlink(text, path);
    } else if (text != REMOVE) {
        dir.write(name, text);
    }
}

const std::string MENU = "KLV:\n" + WINDOW_LINE;

}  // namespace

// A run that reaches the menu is closed there as by its window; the others end by themselves
// and write `out` first (exactly nothing where it is empty). A run that fails writes its message
// and then SDL's last error. One row per message and per kind of bad file.
TEST(CommandLine, EachStartEndsAsItsArgumentsAndFilesSay) {
    const std::string usage = readFile(SKELVO_TEST_DATA "/usage.euc-jp");
    const std::string longName(255, 'n');
    const std::string notSize = "screen: expected a width and a height";
    const std::string act = "act.d/act-3.act";
    const std::string notRegular = ": is not a regular file\n";
    const struct {
        std::vector<std::string> args;
        Files files;
        bool reachesMenu;
        int status;
        std::string out, err;
    } runs[] = {
        {{}, {}, true, 0, MENU, ""},
        {{"--help"}, {}, false, 1, "", usage},
        {{"--version"}, {}, false, 0, "skelvo version ?\n", ""},
        // Options of the usage text are not understood.
        {{"-w"}, {}, false, 1, "", "unknown exception.\n"},
        {{"foo.CONF"}, {}, false, 1, "", "foo.CONF: can't understand.\nSDL: "},
        // Action and BulletML files are not opened; a missing definitions file is no error.
        {{"nowhere.act"}, {}, true, 0, MENU, ""},
        {{"nowhere.xml"}, {}, true, 0, MENU, ""},
        {{"absent.conf"}, {}, true, 0, MENU, ""},
        {{"my.options.conf"},
         {{"my.options.conf", "FirstGlobal 3\nEnemy 1 a\nGlobal 1 b\nEnemy 1 c\n"}},
         false, 1, "", "Enemy: same IDs!\n\nSDL: "},
        {{"g.conf"}, {{"g.conf", "Global 7 a\nGlobal 7 b\n"}}, false, 1, "", "Global: same IDs!\n"},
        // A FIFO or an endless device where a file with a fall-back is read as a missing file;
        // a name longer than 255 characters is no name.
        {{"x.conf"}, {{"x.conf", FIFO}}, true, 0, MENU, ""},
        {{}, {{"name.cache", "  alpha beta\n"}}, true, 0, "alpha:\n" + WINDOW_LINE, ""},
        {{}, {{"name.cache", longName}}, true, 0, longName + ":\n" + WINDOW_LINE, ""},
        {{}, {{"name.cache", longName + "n"}}, true, 0, MENU, ""},
        {{}, {{"1Pkey.conf", "/dev/zero"}}, true, 0, MENU,
         "1Pkey.conf: file not found in generateConfMap\n"},
        // The window line describes the logical screen, whatever the real window's size.
        {{}, {{"screen", "640 480\n"}}, true, 0, MENU, ""},
        // Without a fall-back: a refusal naming the file.
        {{}, {{act, FIFO}}, false, 1, MENU, act + "action File not Found!\n"},
        {{}, {{"screen", "wide tall\n"}}, false, 1, "KLV:\n", notSize},
        {{}, {{"screen", FIFO}}, false, 1, "KLV:\n", "screen" + notRegular},
        // A regular file that fails every read, even for root.
        {{}, {{"screen", "/proc/self/mem"}}, false, 1, "KLV:\n", "screen: cannot be read\n"},
        {{}, {{"vixar.ttf", REMOVE}}, false, 1, "KLV:\n", "vixar.ttf: cannot open font\nSDL: "},
        {{}, {{"bmp/ball_bg.bmp", FIFO}}, false, 1, MENU, "bmp/ball_bg.bmp" + notRegular},
        {{}, {{"bmp/black.bmp", "BM not really"}}, false, 1, "KLV:\n",
         "bmp/black.bmp: cannot load bitmap\nSDL: "},
    };
    for (const auto& r : runs) {
        GameCopy dir;
        for (const auto& [name, text] : r.files) put(dir, name, text);
        const auto game = Process::game(dir.path(), r.args);
        SCOPED_TRACE(dir.path() + " " + (r.args.empty() ? "" : r.args[0]) +
                     (r.files.empty() ? "" : " " + r.files[0].first));
        if (r.reachesMenu) {
            EXPECT_TRUE(game->waitForOutput(WINDOW_LINE)) << game->err();
            game->close();
        }
        EXPECT_EQ(game->wait(), r.status);
        const std::string out = game->out(), err = game->err();
        EXPECT_EQ(r.out.empty() ? out : out.substr(0, r.out.size()), r.out);
        // No match was played: no frame rate line.
        EXPECT_EQ(out.find("fps"), std::string::npos) << out;
        EXPECT_EQ(r.status == 0 ? err : err.substr(0, r.err.size()), r.err);
    }
}
