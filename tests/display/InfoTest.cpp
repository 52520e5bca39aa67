// The status gauges: where each bar fills from, its steps, the full gauge's blink.
#include "display/Info.h"
#include "display/Window.h"

#include <gtest/gtest.h>
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
