// The screen: plain and stretched windows, the field's size, text, and the started game's images.
#include "core/Game.h"
#include "display/Check.h"
#include "display/MainWindow.h"
#include "support/TestDirs.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace {

struct MainWindowTest : ::testing::Test {
    void SetUp() override { ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0); }
    void TearDown() override { SDL_Quit(); }
    ChangeDir in{SKELVO_GAME_DIR};
};

}  // namespace

TEST_F(MainWindowTest, PlainWindowIsTheVideoSurface) {
    MainWindow w("bmp/black.bmp");
    EXPECT_EQ(w.getVideoSurface(), SDL_GetVideoSurface());
    EXPECT_EQ(w.getSurface(), SDL_GetVideoSurface());
    EXPECT_EQ(w.getSurface()->w, 300);
    EXPECT_EQ(w.getSurface()->format->BitsPerPixel, 16);
    EXPECT_EQ(w.getSize(), Point(300, 400));
    // The field is stored in the display's own 5-6-5 layout, so the canvas copy never converts.
    const SDL_PixelFormat* f = w.getCanvas().getSurface()->format;
    EXPECT_EQ(f->BitsPerPixel, 16);
    EXPECT_EQ(f->Rmask, 0xf800u);
    EXPECT_EQ(f->Gmask, 0x07e0u);
    EXPECT_EQ(f->Bmask, 0x001fu);
}

TEST_F(MainWindowTest, StretchedWindowKeepsTheLogicalField) {
    MainWindow w("bmp/black.bmp", 640, 800, 0);
    EXPECT_EQ(SDL_GetVideoSurface()->w, 640);
    EXPECT_EQ(SDL_GetVideoSurface()->h, 800);
    EXPECT_EQ(w.getSurface()->w, 300);
    EXPECT_EQ(w.getSurface()->h, 400);
    EXPECT_EQ(w.getSize(), Point(300, 400));
    w.fillRect(nullptr, WHITE);
    w.flip();
    const SDL_Surface* v = SDL_GetVideoSurface();
    EXPECT_EQ(static_cast<const Uint16*>(v->pixels)[799 * v->pitch / 2 + 639], 0xffff);
    EXPECT_THROW(MainWindow("bmp/black.bmp"), std::runtime_error);
}

TEST_F(MainWindowTest, TextThatRendersToNothingFailsAsBlit) {
    MainWindow w("bmp/black.bmp");
    w.drawString("vs CPU", Point(80, 200), WHITE);
    try {
        w.drawString("", Point(0, 0), WHITE);
        FAIL() << "empty text drew";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Window::blit");
    }
}

TEST_F(MainWindowTest, CanvasMarksLastUntilReset) {
    MainWindow w("bmp/black.bmp");
    const Uint32 field = w.getCanvas().getPixel(150, 200);
    w.getCanvas().fillRect(makeRect(150, 200, 150, 200), WHITE);
    w.clear();
    EXPECT_EQ(w.getPixel(150, 200), 0xffffu);
    w.resetCanvas();
    EXPECT_EQ(w.getCanvas().getPixel(150, 200), field);
    EXPECT_EQ(w.getPixel(150, 200), field);
}

TEST(GameStart, LoadsAndKeysEveryImage) {
    ChangeDir in(SKELVO_GAME_DIR);
    Game game;
    game.init();
    auto keyed = [](const std::unique_ptr<Window>& w) {
        return (w->getSurface()->flags & SDL_SRCCOLORKEY) != 0;
    };
    EXPECT_TRUE(keyed(game.ballImage));
    EXPECT_FALSE(keyed(game.haloImages[0]));
    for (int c = 0; c < 2; ++c) {
        EXPECT_TRUE(keyed(game.enemyImages[c]));
        EXPECT_TRUE(keyed(game.shotImages[c]));
        EXPECT_TRUE(keyed(game.firingBulletImages[c]));
        EXPECT_TRUE(keyed(game.plainBulletImages[c]));
        // Display format: the sprites blit without conversion.
        EXPECT_EQ(game.shotImages[c]->getSurface()->format->BitsPerPixel, 16);
        EXPECT_EQ(game.dyeImages[c]->getSurface()->flags & SDL_SRCALPHA, SDL_SRCALPHA);
    }
    // Transparent pixels are the corners of a round bullet.
    const SDL_Surface* shot = game.shotImages[0]->getSurface();
    EXPECT_EQ(static_cast<const Uint16*>(shot->pixels)[0], shot->format->colorkey);
    EXPECT_EQ(game.enemyImages[0]->getSize(), Point(24, 24));
}
