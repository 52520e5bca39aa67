// The stretched window: the field keeps its logical size and fills the window it is shown in.
#include "display/MainWindow.h"
#include "support/TestDirs.h"

#include <gtest/gtest.h>

#include <utility>

TEST(MainWindow, StretchedWindowKeepsTheLogicalFieldAndFillsTheWindow) {
    ChangeDir in(SKELVO_GAME_DIR);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    {
        MainWindow w("bmp/black.bmp", 640, 800, 0);
        const SDL_Surface* v = SDL_GetVideoSurface();
        EXPECT_EQ(std::make_pair(v->w, v->h), std::make_pair(640, 800));
        EXPECT_EQ(std::make_pair(w.getSurface()->w, w.getSurface()->h), std::make_pair(300, 400));
        EXPECT_EQ(w.getSize(), Point(300, 400));
        w.fillRect(nullptr, WHITE);
        w.flip();
        EXPECT_EQ(static_cast<const Uint16*>(v->pixels)[799 * v->pitch / 2 + 639], 0xffff);
    }
    SDL_Quit();
}
