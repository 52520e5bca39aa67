// The "screen" file: what stretches the window and what is refused, with the file's name.
#include "core/InputFile.h"
#include "display/ScreenFile.h"
#include "support/TestDirs.h"

#include <gtest/gtest.h>
#include <stdexcept>

TEST(ScreenFile, SizesTheFullScreenWordAndWhatIsRefused) {
    ScratchDir dir;
    const std::string path = dir.file("screen");
    const std::string notSize = path + ": expected a width and a height in pixels (two positive "
                                       "integers), then an optional word for full screen";
    // Junk glued to a number, or a third word that is not text, is no choice of a size.
    const std::pair<std::string, std::string> rows[] = {
        {"640 480" + std::string(249, ' '), "640 480 0"},
        {"640\n480\nyes please\n", "640 480 1"}, {"1 16384 0", "1 16384 1"},
        {"640", notSize}, {"640 -1", notSize}, {"16385 480", notSize}, {"640 480 \x1f", notSize},
        {std::string("640 480\0", 8), notSize}, {"640 480 full\x7f", notSize},
        {"640 480" + std::string(250, ' '), path + ": is larger than 256 bytes"},
    };
    for (const auto& [text, expected] : rows) {
        dir.write("screen", text);
        InputFile in(path);
        std::string result;
        try {
            const ScreenFile s = ScreenFile::read(in);
            result = std::to_string(s.width) + " " + std::to_string(s.height) + " " +
                     std::to_string(s.fullScreen);
        } catch (const std::runtime_error& e) {
            result = e.what();
        }
        EXPECT_EQ(result, expected) << text;
    }
}
