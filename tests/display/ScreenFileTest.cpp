// The "screen" file: what stretches the window and what is refused.
#include "display/ScreenFile.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

namespace {

ScreenFile readText(const std::string& text) {
    std::istringstream in(text);
    return ScreenFile::read(in, "screen");
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
    for (const char* bad : {"", "640", "wide 480", "640 tall", "0 480", "640 -1",
                            "99999999999999999999 480", "20000 480", "640.5 480"}) {
        try {
            readText(bad);
            ADD_FAILURE() << "accepted \"" << bad << "\"";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()).rfind("screen: expected a width and a height", 0), 0u);
        }
    }
}
