// Surfaces: rectangles, pixel access at every depth, colorize, copies and the failures' texts.
#include "display/Check.h"
#include "display/Window.h"
#include "support/SdlTest.h"

#include <cmath>
#include <stdexcept>
#include <string>
#include <utility>

using WindowTest = SdlTest;

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

TEST_F(WindowTest, PixelAccessAtEveryDepthStaysInside) {
    const std::pair<int, Uint32> depths[] = {{8, 0xab}, {16, 0xbeef}, {24, 0x123456},
                                             {32, 0x89abcdef}};
    for (const auto& [depth, value] : depths) {
        Window w(Point(7, 5), depth, 0);
        SDL_LockSurface(w.getSurface());
        w.putPixel(6, 4, value);
        w.putPixel(0, 0, 1);
        for (const Point& outside : {Point(7, 4), Point(-1, 0), Point(0, 5)})
            w.putPixel(outside.x, outside.y, value);
        EXPECT_EQ(w.getPixel(6, 4), value) << depth;
        EXPECT_EQ(w.getPixel(0, 0), 1u) << depth;
        EXPECT_EQ(w.getPixel(5, 4), 0u) << depth;
        EXPECT_EQ(w.getPixel(7, 4), 0u) << depth;
        SDL_UnlockSurface(w.getSurface());
    }
}

TEST_F(WindowTest, ColorizeMultipliesAllButTheKeyAndACopyKeepsPixelsAndSize) {
    Window w(Point(3, 1), 32, 0, 0xff0000, 0x00ff00, 0x0000ff, 0);
    const auto shows = [](const Window& w, int x, Color c) {
        const SDL_PixelFormat* f = w.getSurface()->format;
        return w.getPixel(x, 0) == SDL_MapRGB(f, redOf(c), greenOf(c), blueOf(c));
    };
    const auto is = [&](int x, Color c) { return shows(w, x, c); };
    w.setColorKey(CYAN_KEY);
    w.fillRect(makeRect(0, 0, 0, 0), rgb(200, 100, 50));
    w.fillRect(makeRect(1, 0, 1, 0), CYAN_KEY);
    w.fillRect(makeRect(2, 0, 2, 0), rgb(128, 128, 128));
    Window copy(w);
    EXPECT_EQ(copy.getSize(), Point(3, 1));
    EXPECT_EQ(copy.center, Point(1.5, 0.5));
    EXPECT_DOUBLE_EQ(copy.radius, std::sqrt(10.0) / 2);
    w.colorize(WHITE);
    EXPECT_TRUE(is(0, rgb(200, 100, 50)));
    w.colorize(RED);
    EXPECT_TRUE(is(0, rgb(200, 0, 0)) && is(1, CYAN_KEY) && is(2, rgb(128, 0, 0)));
    w.colorize(ORANGE);  // 127/255 of the red, truncated
    EXPECT_TRUE(is(2, rgb(128, 0, 0)));
    w.colorize(rgb(127, 0, 0));
    EXPECT_TRUE(is(2, rgb(63, 0, 0)));
    EXPECT_TRUE(shows(copy, 0, rgb(200, 100, 50)) && shows(copy, 2, rgb(128, 128, 128)));
}

TEST_F(WindowTest, FailuresCarryTheOperationsName) {
    Window target(Point(10, 10), 16, 0);
    Window source(Point(2, 2), 16, 0);
    SDL_LockSurface(source.getSurface());  // a locked source cannot be blitted
    const auto message = [](auto&& f) {
        try {
            f();
        } catch (const std::runtime_error& e) {
            return std::string(e.what());
        }
        return std::string("no failure");
    };
    EXPECT_EQ(message([&] { target.blit(source, Point(1, 1)); }), "Window::blit");
    SDL_UnlockSurface(source.getSurface());
    EXPECT_EQ(message([] { Window("no/such.bmp"); }), "no/such.bmp: cannot load bitmap");
}
