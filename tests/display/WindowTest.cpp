// Surfaces: rectangles, pixel access at every depth, colorize and the failures' texts.
#include "display/Check.h"
#include "display/Window.h"
#include "support/SdlTest.h"

#include <cmath>
#include <stdexcept>

namespace {

using WindowTest = SdlTest;

Uint32 mapped(const Window& w, Color c) {
    return SDL_MapRGB(w.getSurface()->format, redOf(c), greenOf(c), blueOf(c));
}

}  // namespace

TEST(MakeRect, InclusiveCornersAndSizes) {
    const auto is = [](const SDL_Rect& r, int x, int y, int w, int h) {
        return r.x == x && r.y == y && r.w == w && r.h == h;
    };
    EXPECT_TRUE(is(makeRect(20, 372, 120, 380), 20, 372, 101, 9));
    EXPECT_TRUE(is(makeRect(5, 5, 5, 5), 5, 5, 1, 1));
    EXPECT_TRUE(is(makeRect(3, 4, 10, 20, true), 3, 4, 10, 20));
    // Points are truncated toward zero.
    EXPECT_TRUE(is(makeRect(Point(-1.7, 2.9), Point(10.9, 12.2)), -1, 2, 12, 11));
}

TEST_F(WindowTest, PixelAccessAtEveryDepth) {
    for (int depth : {8, 16, 24, 32}) {
        Window w(Point(7, 5), depth, 0);
        SDL_LockSurface(w.getSurface());
        const Uint32 value = depth == 8 ? 0xab : depth == 16 ? 0xbeef : depth == 24 ? 0x123456
                                                                                     : 0x89abcdef;
        w.putPixel(6, 4, value);
        w.putPixel(0, 0, 1);
        EXPECT_EQ(w.getPixel(6, 4), value) << depth;
        EXPECT_EQ(w.getPixel(0, 0), 1u) << depth;
        EXPECT_EQ(w.getPixel(5, 4), 0u) << depth;
        // Outside the surface nothing is written and nothing is read.
        w.putPixel(7, 4, value);
        w.putPixel(-1, 0, value);
        w.putPixel(0, 5, value);
        EXPECT_EQ(w.getPixel(7, 4), 0u);
        SDL_UnlockSurface(w.getSurface());
    }
}

TEST_F(WindowTest, ColorizeMultipliesAllButTheKey) {
    Window w(Point(3, 1), 32, 0, 0xff0000, 0x00ff00, 0x0000ff, 0);
    w.setColorKey(CYAN_KEY);
    w.fillRect(makeRect(0, 0, 0, 0), rgb(200, 100, 50));
    w.fillRect(makeRect(1, 0, 1, 0), CYAN_KEY);
    w.fillRect(makeRect(2, 0, 2, 0), rgb(128, 128, 128));
    Window white(w);
    white.colorize(WHITE);
    EXPECT_EQ(white.getPixel(0, 0), mapped(white, rgb(200, 100, 50)));

    w.colorize(RED);
    EXPECT_EQ(w.getPixel(0, 0), mapped(w, rgb(200, 0, 0)));
    EXPECT_EQ(w.getPixel(1, 0), mapped(w, CYAN_KEY));
    EXPECT_EQ(w.getPixel(2, 0), mapped(w, rgb(128, 0, 0)));
    w.colorize(ORANGE);  // 127/255 of the red, truncated
    EXPECT_EQ(w.getPixel(2, 0), mapped(w, rgb(128, 0, 0)));
    w.colorize(rgb(127, 0, 0));
    EXPECT_EQ(w.getPixel(2, 0), mapped(w, rgb(63, 0, 0)));
}

TEST_F(WindowTest, CopyKeepsPixelsAndSize) {
    Window w(Point(4, 6), 16, 0);
    w.fillRect(nullptr, rgb(255, 0, 0));
    Window copy(w);
    EXPECT_EQ(copy.getSize(), Point(4, 6));
    EXPECT_EQ(copy.center, Point(2, 3));
    EXPECT_DOUBLE_EQ(copy.radius, std::sqrt(52.0) / 2);
    EXPECT_EQ(copy.getPixel(3, 5), w.getPixel(3, 5));
}

TEST_F(WindowTest, FailuresCarryTheOperationsName) {
    Window target(Point(10, 10), 16, 0);
    Window source(Point(2, 2), 16, 0);
    SDL_LockSurface(source.getSurface());  // a locked source cannot be blitted
    try {
        target.blit(source, Point(1, 1));
        FAIL() << "blit of a locked surface succeeded";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Window::blit");
    }
    SDL_UnlockSurface(source.getSurface());
    EXPECT_THROW(Window("no/such.bmp"), std::runtime_error);
    try {
        Window missing("no/such.bmp");
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "no/such.bmp: cannot load bitmap");
    }
}
