// The status gauges: bar extents, the buzz bar's heights, the blink, the singleton guard.
#include "display/Info.h"
#include "display/Window.h"
#include "support/SdlTest.h"

#include <string>
#include <utility>

struct InfoTest : SdlTest {
    void TearDown() override {
        info.reset();
        canvas.reset();
        SdlTest::TearDown();
    }
    Color at(int x, int y) {
        Uint8 r, g, b;
        SDL_GetRGB(canvas->getPixel(x, y), canvas->getSurface()->format, &r, &g, &b);
        return rgb(r, g, b);
    }
    std::unique_ptr<Window> canvas =
        std::make_unique<Window>(Point(300, 400), 32, 0, 0xff0000, 0x00ff00, 0x0000ff, 0);
    std::unique_ptr<Info> info = std::make_unique<Info>(canvas.get());
};

TEST_F(InfoTest, GaugesFillFromTheOuterEndsAndAnEmptyOneShowsOnePixel) {
    canvas->fillRect(nullptr, BLUE);
    info->drawEatingsGauge(0, 0);
    info->drawEatingsGauge(0, 1);
    const struct {
        int x, y;
        Color c;
    } pixels[] = {{20, 387, WHITE},  {21, 387, GREY},  {120, 395, GREY}, {121, 395, BLUE},
                  {280, 395, BLACK}, {279, 395, GREY}, {180, 387, GREY}, {179, 387, BLUE}};
    for (const auto& p : pixels) EXPECT_EQ(at(p.x, p.y), p.c) << p.x << "," << p.y;
    // The buzz bar grows in three steps of height.
    const std::pair<int, int> steps[] = {{29, 378}, {30, 375}, {59, 375}, {60, 372}};
    for (const auto& [value, top] : steps) {
        canvas->fillRect(nullptr, BLUE);
        info->drawBuzzGauge(value, 0);
        EXPECT_EQ(at(20, top), WHITE) << value;
        EXPECT_EQ(at(20, top - 1), top > 372 ? GREY : BLUE) << value;
        EXPECT_EQ(at(20 + value, 380), WHITE) << value;
        EXPECT_EQ(at(21 + value, 380), GREY) << value;
    }
}

// Dropping below full shows the bar at once and restarts the cycle.
TEST_F(InfoTest, FullGaugeHidesFiveFramesInThirtyOne) {
    const std::string cycle = "hhhhh" + std::string(26, 's');
    std::string eatings, buzz;
    for (int frame = 0; frame < 62; ++frame) {
        info->drawEatingsGauge(frame == 31 ? 99 : 100, 1);
        info->drawBuzzGauge(100, 1);
        eatings += at(280, 390) == GREY ? 'h' : 's';
        buzz += at(280, 372) == GREY ? 'h' : 's';
    }
    EXPECT_EQ(buzz, cycle + cycle);
    EXPECT_EQ(eatings, cycle + "s" + cycle.substr(0, 30));
}

TEST_F(InfoTest, IsMadeOnceAndForgottenWhenGone) {
    EXPECT_THROW(Info(canvas.get()), std::runtime_error);
    EXPECT_EQ(Info::instance(), info.get());
    info.reset();
    EXPECT_EQ(Info::instance(), nullptr);
}
