// The screen: plain and stretched windows, the canvas, text, and the started game's images.
#include "core/Game.h"
#include "display/Check.h"
#include "display/MainWindow.h"
#include "support/TestDirs.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <tuple>
#include <utility>

struct MainWindowTest : ::testing::Test {
    void SetUp() override { ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0); }
    void TearDown() override { SDL_Quit(); }
    ChangeDir in{SKELVO_GAME_DIR};
};

// The field is stored in the display's own 5-6-5 layout, so the canvas copy never converts;
// marks on the canvas last until it is reset.
TEST_F(MainWindowTest, PlainWindowIsTheVideoSurfaceOverACanvasInItsLayout) {
    MainWindow w("bmp/black.bmp");
    EXPECT_EQ(w.getSurface(), SDL_GetVideoSurface());
    EXPECT_EQ(w.getVideoSurface(), SDL_GetVideoSurface());
    EXPECT_EQ(w.getSize(), Point(300, 400));
    const SDL_PixelFormat* f = w.getCanvas().getSurface()->format;
    EXPECT_EQ(std::make_tuple(f->BitsPerPixel, f->Rmask, f->Gmask, f->Bmask),
              std::make_tuple(Uint8(16), 0xf800u, 0x07e0u, 0x001fu));
    const Uint32 field = w.getCanvas().getPixel(150, 200);
    w.getCanvas().fillRect(makeRect(150, 200, 150, 200), WHITE);
    w.clear();
    EXPECT_EQ(w.getPixel(150, 200), 0xffffu);
    w.resetCanvas();
    EXPECT_EQ(w.getCanvas().getPixel(150, 200), field);
    EXPECT_EQ(w.getPixel(150, 200), field);
    // Text that renders to nothing fails as the blit it cannot do.
    w.drawString("vs CPU", Point(80, 200), WHITE);
    try {
        w.drawString("", Point(0, 0), WHITE);
        ADD_FAILURE() << "empty text drew";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Window::blit");
    }
}

TEST_F(MainWindowTest, StretchedWindowKeepsTheLogicalFieldAndFillsTheWindow) {
    MainWindow w("bmp/black.bmp", 640, 800, 0);
    EXPECT_EQ(std::make_pair(SDL_GetVideoSurface()->w, SDL_GetVideoSurface()->h),
              std::make_pair(640, 800));
    EXPECT_EQ(std::make_pair(w.getSurface()->w, w.getSurface()->h), std::make_pair(300, 400));
    EXPECT_EQ(w.getSize(), Point(300, 400));
    w.fillRect(nullptr, WHITE);
    w.flip();
    const SDL_Surface* v = SDL_GetVideoSurface();
    EXPECT_EQ(static_cast<const Uint16*>(v->pixels)[799 * v->pitch / 2 + 639], 0xffff);
    EXPECT_THROW(MainWindow("bmp/black.bmp"), std::runtime_error);
}

TEST(GameStart, LoadsAndKeysEveryImageInTheDisplaysFormat) {
    ChangeDir in(SKELVO_GAME_DIR);
    Game game;
    game.init();
    const auto keyed = [](const std::unique_ptr<Window>& w) {
        return (w->getSurface()->flags & SDL_SRCCOLORKEY) != 0;
    };
    EXPECT_TRUE(keyed(game.ballImage));
    EXPECT_FALSE(keyed(game.haloImages[0]));
    for (int c = 0; c < 2; ++c) {
        for (const auto* image : {&game.enemyImages, &game.shotImages, &game.firingBulletImages,
                                  &game.plainBulletImages})
            EXPECT_TRUE(keyed((*image)[c])) << c;
        EXPECT_EQ(game.shotImages[c]->getSurface()->format->BitsPerPixel, 16);
        EXPECT_EQ(game.dyeImages[c]->getSurface()->flags & SDL_SRCALPHA, SDL_SRCALPHA);
    }
    // Transparent pixels are the corners of a round bullet.
    const SDL_Surface* shot = game.shotImages[0]->getSurface();
    EXPECT_EQ(static_cast<const Uint16*>(shot->pixels)[0], shot->format->colorkey);
    EXPECT_EQ(game.enemyImages[0]->getSize(), Point(24, 24));
}
