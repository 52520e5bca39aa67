// The stretched window: the field keeps its logical size and fills the window it is shown in.
#include "display/MainWindow.h"
#include "support/SdlTest.h"
#include "support/TestDirs.h"

#include <tuple>

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
