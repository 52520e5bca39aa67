// The display: the gauges (where each bar fills from, its steps, the full gauge's blink), the
// stretched window, the field's geometry, and the "screen" file that stretches the window.
#include "core/InputFile.h"
#include "display/Info.h"
#include "display/MainWindow.h"
#include "display/Point.h"
#include "display/ScreenFile.h"
#include "display/Window.h"
#include "support/SdlTest.h"
#include "support/TestDirs.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <tuple>

// A plain surface needs no video; its masks make a pixel's value its Color.
struct InfoTest : ::testing::Test {
    Window canvas{Point(300, 400), 32, 0, 0x0000ff, 0x00ff00, 0xff0000, 0};
    std::unique_ptr<Info> info = std::make_unique<Info>(&canvas);
};

TEST_F(InfoTest, GaugesFillFromTheOuterEndsAndAnEmptyOneShowsOnePixel) {
    info->drawEatingsGauge(0, 0);
    info->drawEatingsGauge(30, 1);
    // The buzz bar's top is 2 pixels over its bottom below 30, 5 below 60, then the gauge's top.
    info->drawBuzzGauge(30, 0);
    info->drawBuzzGauge(60, 1);
    const std::tuple<int, int, Color> pixels[] = {
        {20, 387, WHITE}, {21, 395, GREY}, {250, 395, BLACK}, {249, 387, GREY},
        {21, 375, WHITE}, {21, 374, GREY}, {279, 372, BLACK}};
    for (const auto& [x, y, c] : pixels) EXPECT_EQ(canvas.getPixel(x, y), c) << x << "," << y;
}

// Dropping below full shows the bar at once and restarts the cycle.
TEST_F(InfoTest, FullGaugeHidesFiveFramesInThirtyOne) {
    const std::string cycle = "hhhhh" + std::string(26, 's');
    std::string eatings, buzz;
    for (int frame = 0; frame < 62; ++frame) {
        info->drawEatingsGauge(frame == 31 ? 99 : 100, 1);
        info->drawBuzzGauge(frame == 31 ? 99 : 100, 1);
        eatings += canvas.getPixel(280, 390) == GREY ? 'h' : 's';
        buzz += canvas.getPixel(280, 372) == GREY ? 'h' : 's';
    }
    EXPECT_EQ(eatings, cycle + "s" + cycle.substr(0, 30));
    EXPECT_EQ(buzz, eatings);
}

using MainWindowTest = SdlTest;

TEST_F(MainWindowTest, StretchedWindowKeepsTheLogicalFieldAndFillsTheWindow) {
    ChangeDir in(SKELVO_GAME_DIR);
    MainWindow w("bmp/black.bmp", 640, 800, 0);
    const SDL_Surface* v = SDL_GetVideoSurface();
    EXPECT_EQ(std::make_tuple(v->w, v->h, w.getSurface()->w, w.getSurface()->h, w.getSize()),
              std::make_tuple(640, 800, 300, 400, Point(300, 400)));
    w.fillRect(nullptr, WHITE);
    w.flip();
    EXPECT_EQ(static_cast<const Uint16*>(v->pixels)[799 * v->pitch / 2 + 639], 0xffff);
}

TEST(Point, DirectionKeepsTheSignsAndAnglesGoClockwiseFromUp) {
    EXPECT_EQ(Point(3, -4).direction(), Point(0.36, -0.64));
    EXPECT_EQ(Point(-3, 4).direction(), Point(-0.36, 0.64));
    EXPECT_EQ(Point(0, 0).direction(), Point(0, 0));
    const std::pair<Point, double> angles[] = {
        {{1, -1}, GAME_PI / 4}, {{1, 1}, 3 * GAME_PI / 4}, {{-1, 0}, -GAME_PI / 2}};
    for (const auto& [p, a] : angles) EXPECT_NEAR(p.angle(), a, 1e-6) << p.x << "," << p.y;
}

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
