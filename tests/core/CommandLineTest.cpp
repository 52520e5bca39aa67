// The built game as a user starts it: arguments, the name file, bad files and what they say.
#include "support/Process.h"
#include "support/TestDirs.h"

#include <gtest/gtest.h>

// Each row's shell commands prepare a copy of the game's directory, then the game starts there
// with the row's argument. A run that reaches the menu is closed as by its window; the others
// end by themselves. Each writes `out` first (exactly nothing where it is empty); one that fails
// writes its message and then SDL's last error. One row per message and per kind of bad file.
TEST(CommandLine, EachStartEndsAsItsArgumentsAndFilesSay) {
    const std::string menu = "KLV:\n" + WINDOW_LINE;
    const std::string longName(255, 'n');
    const struct {
        std::string prepare, arg;
        int status;
        std::string out, err;
    } runs[] = {
        {"", "", 0, menu, ""},
        {"", "--help", 1, "", readFile(SKELVO_TEST_DATA "/usage.euc-jp")},
        {"", "--version", 0, "skelvo version ?\n", ""},
        // Options of the usage text are not understood.
        {"", "-w", 1, "", "unknown exception.\n"},
        {"", "foo.CONF", 1, "", "foo.CONF: can't understand.\nSDL: "},
        // Action and BulletML files are not opened; a missing definitions file is no error.
        {"", "nowhere.act", 0, menu, ""},
        {"", "nowhere.xml", 0, menu, ""},
        {"", "absent.conf", 0, menu, ""},
        {"printf 'FirstGlobal 3\nEnemy 1 a\nGlobal 1 b\nEnemy 1 c\n' >my.options.conf",
         "my.options.conf", 1, "", "Enemy: same IDs!\n\nSDL: "},
        // A FIFO or an endless device where a file with a fall-back is read as a missing file;
        // a name longer than 255 characters is no name.
        {"mkfifo x.conf", "x.conf", 0, menu, ""},
        {"echo '  alpha beta' >name.cache", "", 0, "alpha:\n" + WINDOW_LINE, ""},
        {"printf " + longName + " >name.cache", "", 0, longName + ":\n" + WINDOW_LINE, ""},
        {"printf " + longName + "n >name.cache", "", 0, menu, ""},
        {"ln -sf /dev/zero 1Pkey.conf", "", 0, menu,
         "1Pkey.conf: file not found in generateConfMap\n"},
        // The window line describes the logical screen, whatever the real window's size.
        {"echo 640 480 >screen", "", 0, menu, ""},
        // Without a fall-back: a refusal naming the file.
        {"rm act.d/act-3.act; mkfifo act.d/act-3.act", "", 1, menu,
         "act.d/act-3.actaction File not Found!\n"},
        {"echo wide tall >screen", "", 1, "KLV:\n", "screen: expected a width and a height"},
        {"mkfifo screen", "", 1, "KLV:\n", "screen: is not a regular file\n"},
        // A regular file that fails every read, even for root.
        {"ln -sf /proc/self/mem screen", "", 1, "KLV:\n", "screen: cannot be read\n"},
        {"rm vixar.ttf", "", 1, "KLV:\n", "vixar.ttf: cannot open font\nSDL: "},
        {"rm bmp/ball_bg.bmp; mkfifo bmp/ball_bg.bmp", "", 1, menu,
         "bmp/ball_bg.bmp: is not a regular file\n"},
        {"echo BM not really >bmp/black.bmp", "", 1, "KLV:\n",
         "bmp/black.bmp: cannot load bitmap\nSDL: "},
    };
    for (const auto& r : runs) {
        GameCopy dir;
        SCOPED_TRACE(dir.path() + ": " + r.prepare + " " + r.arg);
        // -e: a failed preparation ends the run; exec: the game is the process closed.
        Process game(dir.path(), {"sh", "-ec", r.prepare + "\nexec ./skelvo " + r.arg});
        // Only a run that stays at the menu is closed: one that fails after opening its window
        // must be let end by itself, or the signal may beat its own exit.
        if (r.status == 0 && game.waitForOutput(WINDOW_LINE)) game.close();
        EXPECT_EQ(game.wait(), r.status);
        const std::string out = game.out(), err = game.err();
        EXPECT_EQ(r.out.empty() ? out : out.substr(0, r.out.size()), r.out);
        EXPECT_EQ(r.status == 0 ? err : err.substr(0, r.err.size()), r.err);
    }
}
