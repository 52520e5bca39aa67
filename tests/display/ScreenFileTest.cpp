// The "screen" file: what stretches the window and what is refused.
#include "display/ScreenFile.h"

#include "core/InputFile.h"
#include "support/TestDirs.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

ScreenFile readText(const std::string& text) {
    ScratchDir dir;
    dir.write("screen", text);
    InputFile in(dir.file("screen"));
    return ScreenFile::read(in);
}

}  // namespace

TEST(ScreenFile, SizesAndTheFullScreenWord) {
    const ScreenFile plain = readText("640 480");
    EXPECT_EQ(plain.width, 640);
    EXPECT_EQ(plain.height, 480);
    EXPECT_FALSE(plain.fullScreen);
    EXPECT_TRUE(readText("640\n480\nyes please\n").fullScreen);
    EXPECT_TRUE(readText("1 1 0").fullScreen);
}

TEST(ScreenFile, RefusesWhatIsNotTwoSensibleSizes) {
    using namespace std::string_literals;
    // Junk glued to a number, or a third word that is not text, is no choice of a size.
    for (const std::string& bad : {""s, "640"s, "wide 480"s, "640 tall"s, "0 480"s, "640 -1"s,
                                   "99999999999999999999 480"s, "20000 480"s, "640.5 480"s,
                                   "640 480.5"s, "640 480px"s, "640 480\0"s, "640 480 \x01"s,
                                   "640 480 full\x7f"s}) {
        try {
            readText(bad);
            ADD_FAILURE() << "accepted \"" << bad << "\"";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find("screen: expected a width and a height"),
                      std::string::npos) << bad;
        }
    }
    // Only a line's worth is read; a longer file is refused, not half-read.
    EXPECT_THROW(readText("640 480" + std::string(250, ' ') + "full"), std::runtime_error);
}
