// The "screen" file: what stretches the window and what is refused, with the file's name.
#include "display/ScreenFile.h"

#include "core/InputFile.h"
#include "support/TestDirs.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <tuple>

using namespace std::string_literals;

TEST(ScreenFile, SizesTheFullScreenWordAndWhatIsRefused) {
    ScratchDir dir;
    const auto readText = [&dir](const std::string& text) {
        dir.write("screen", text);
        InputFile in(dir.file("screen"));
        const ScreenFile s = ScreenFile::read(in);
        return std::make_tuple(s.width, s.height, s.fullScreen);
    };
    EXPECT_EQ(readText("640 480"), std::make_tuple(640, 480, false));
    EXPECT_EQ(readText("640\n480\nyes please\n"), std::make_tuple(640, 480, true));
    EXPECT_EQ(readText("1 16384 0"), std::make_tuple(1, 16384, true));
    EXPECT_EQ(readText("640 480" + std::string(249, ' ')), std::make_tuple(640, 480, false));
    const std::string notSize = dir.file("screen") + ": expected a width and a height in pixels "
                                "(two positive integers), then an optional word for full screen";
    // Junk glued to a number, or a third word that is not text, is no choice of a size.
    for (const std::string& bad : {""s, "640"s, "wide 480"s, "0 480"s, "640 -1"s, "16385 480"s,
                                   "99999999999999999999 480"s, "640.5 480"s, "640 480px"s,
                                   "640 480\0"s, "640 480 \x01"s, "640 480 full\x7f"s,
                                   "640 480"s + std::string(250, ' ')}) {
        try {
            readText(bad);
            ADD_FAILURE() << "accepted \"" << bad << "\"";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(e.what(), bad.size() > 256 ? dir.file("screen") + ": is larger than 256 bytes"
                                                 : notSize);
        }
    }
}
