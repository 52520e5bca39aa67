// The status gauges: bar extents, the buzz bar's three heights and the full gauge's blink.
#include "display/Info.h"
#include "display/Window.h"
#include "support/SdlTest.h"

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
    } pixels[] = {{20, 387, WHITE}, {21, 387, GREY}, {120, 395, GREY}, {121, 395, BLUE},
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

TEST_F(InfoTest, FullGaugeHidesFiveFramesInThirtyOne) {
    int hidden = 0;
    std::string pattern;
    for (int frame = 0; frame < 62; ++frame) {
        info->drawEatingsGauge(100, 1);
        info->drawBuzzGauge(100, 1);
        const bool eatingsHidden = at(280, 390) == GREY;
        hidden += eatingsHidden;
        if (frame < 7) pattern += eatingsHidden ? 'h' : 's';
        EXPECT_EQ(eatingsHidden, at(280, 372) == GREY);
    }
    EXPECT_EQ(hidden, 10);
    EXPECT_EQ(pattern, "hhhhhss");
    // Dropping below full shows the bar at once and restarts the cycle.
    info->drawEatingsGauge(99, 1);
    EXPECT_EQ(at(280, 390), BLACK);
    info->drawEatingsGauge(100, 1);
    EXPECT_EQ(at(280, 390), GREY);
}

TEST_F(InfoTest, IsMadeOnceAndForgottenWhenGone) {
    EXPECT_EQ(Info::instance(), info.get());
    try {
        Info second(canvas.get());
        ADD_FAILURE() << "a second Info was made";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Singleton is made twice.\n");
    }
    EXPECT_EQ(Info::instance(), info.get());
    info.reset();
    EXPECT_EQ(Info::instance(), nullptr);
}
