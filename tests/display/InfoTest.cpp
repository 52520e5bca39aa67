// The status gauges: bar extents, the buzz bar's three heights and the full gauge's blink.
#include "display/Info.h"
#include "display/Window.h"
#include "support/SdlTest.h"

namespace {

struct InfoTest : SdlTest {
    void SetUp() override {
        SdlTest::SetUp();
        canvas = std::make_unique<Window>(Point(300, 400), 32, 0, 0xff0000, 0x00ff00, 0x0000ff, 0);
        canvas->fillRect(nullptr, BLUE);
        info = std::make_unique<Info>(canvas.get());
    }
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
    std::unique_ptr<Window> canvas;
    std::unique_ptr<Info> info;
};

}  // namespace

TEST_F(InfoTest, EmptyGaugeStillShowsOnePixel) {
    info->drawEatingsGauge(0, 0);
    EXPECT_EQ(at(20, 387), WHITE);
    EXPECT_EQ(at(21, 387), GREY);
    EXPECT_EQ(at(120, 395), GREY);
    EXPECT_EQ(at(121, 395), BLUE);
    info->drawEatingsGauge(0, 1);
    EXPECT_EQ(at(280, 395), BLACK);
    EXPECT_EQ(at(279, 395), GREY);
    EXPECT_EQ(at(180, 387), GREY);
    EXPECT_EQ(at(179, 387), BLUE);
}

TEST_F(InfoTest, BuzzBarGrowsInThreeSteps) {
    const struct {
        int value, top;
    } steps[] = {{29, 378}, {30, 375}, {59, 375}, {60, 372}};
    for (const auto& s : steps) {
        info->drawBuzzGauge(s.value, 0);
        EXPECT_EQ(at(20, s.top), WHITE) << s.value;
        EXPECT_EQ(at(20, s.top - 1), s.top > 372 ? GREY : BLUE) << s.value;
        EXPECT_EQ(at(20 + s.value, 380), WHITE) << s.value;
        EXPECT_EQ(at(21 + s.value, 380), GREY) << s.value;
    }
}

TEST_F(InfoTest, FullGaugeHidesFiveFramesInThirtyOne) {
    int hidden[2] = {0, 0};
    std::string pattern;
    for (int frame = 0; frame < 62; ++frame) {
        info->drawEatingsGauge(100, 1);
        info->drawBuzzGauge(100, 1);
        const bool eatingsHidden = at(280, 390) == GREY;
        const bool buzzHidden = at(280, 372) == GREY;
        hidden[0] += eatingsHidden;
        hidden[1] += buzzHidden;
        if (frame < 7) pattern += eatingsHidden ? 'h' : 's';
        EXPECT_EQ(eatingsHidden, buzzHidden);
    }
    EXPECT_EQ(hidden[0], 10);
    EXPECT_EQ(pattern, "hhhhhss");
    // Dropping below full shows the bar at once and restarts the cycle.
    info->drawEatingsGauge(99, 1);
    EXPECT_EQ(at(280, 390), BLACK);
    info->drawEatingsGauge(100, 1);
    EXPECT_EQ(at(280, 390), GREY);
}

TEST_F(InfoTest, OnlyOneInfo) {
    try {
        Info second(canvas.get());
        FAIL() << "second Info was made";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Singleton is made twice.\n");
    }
}
