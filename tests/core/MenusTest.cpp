// The mode menu and the player select: the cursor, the choices, leaving, closing, drawing, and
// what a finished selection builds for the match.
#include "core/Menus.h"
#include "core/Selection.h"
#include "input/CpuInput.h"
#include "input/Direction.h"
#include "input/Error.h"
#include "input/Input.h"
#include "objects/ArtNames.h"
#include "support/HeadlessGame.h"
#include "support/MenuScript.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <tuple>

using MSDL::DOWN;
using MSDL::UP;

namespace {

const int CHOOSE = 0;
const int LEAVE = 3;

void closeWindow() {
    SDL_Event quit;
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
}

// In a copy of the game directory, so a test may rewrite its key files.
struct GameDir {
    GameCopy copy;
};

struct MenusTest : GameDir, HeadlessGameTest {
    MenusTest() : HeadlessGameTest(copy.path()) {
        selection.window = game.window.get();
        selection.input = input;
    }

    template <class Screen>
    int run(Screen screen, std::vector<MenuStep> steps) {
        MenuScript script(*input, std::move(steps));
        return screen(selection);
    }
    // The mode, then white's and black's characters, each chosen after `down` moves.
    int select(bool vs2P, int whiteDown, int blackDown) {
        std::vector<MenuStep> steps = {{vs2P ? DOWN : 0, {CHOOSE}}};
        for (int down : {whiteDown, blackDown}) {
            for (int i = 1; i < down; ++i) steps.push_back({DOWN});
            steps.push_back({down > 0 ? DOWN : 0, {CHOOSE}});
        }
        MenuScript script(*input, steps);
        return game.selectPlayers();
    }
    // Whether some pixel of the cells of a text of `length` characters at (column, row) shows
    // the colour on the screen, or differs from the canvas when no colour is given.
    bool cellsShow(int column, int row, int length, const Color* c) const {
        const int x0 = column * MENU_CELL_WIDTH, y0 = row * MENU_CELL_HEIGHT;
        const int x1 = std::min(x0 + length * MENU_CELL_WIDTH, static_cast<int>(field().x));
        for (int y = y0; y < y0 + MENU_CELL_HEIGHT; ++y)
            for (int x = x0; x < x1; ++x)
                if (c ? screenAt(x, y) == mapped(*c) : screenAt(x, y) != canvasAt(x, y))
                    return true;
        return false;
    }
    bool cellsShow(int column, int row, int length, Color c) const {
        return cellsShow(column, row, length, &c);
    }
    bool cellsBare(int column, int row, int length) const {
        return !cellsShow(column, row, length, nullptr);
    }
    // Pixel (x, y) of `image` is the colour, in the image's own format.
    static bool shows(const Window& image, int x, int y, Color c) {
        return image.getPixel(x, y) ==
               SDL_MapRGB(image.getSurface()->format, redOf(c), greenOf(c), blueOf(c));
    }

    Selection selection;
};

}  // namespace

TEST(Cursor, MovesDownFirstThenUpAndNeverPastAnEnd) {
    const int rows[][4] = {// cursor, direction, last, result
                           {0, DOWN, 5, 1}, {3, UP, 5, 2}, {5, DOWN, 5, 5}, {0, UP, 5, 0},
                           // Both held: the moves cancel, except where the first has nowhere to go.
                           {0, UP | DOWN, 5, 0}, {2, UP | DOWN, 5, 2}, {5, UP | DOWN, 5, 4},
                           {1, UP | DOWN, 1, 0},
                           // Sideways and diagonal holds count only for their up or down part.
                           {2, MSDL::LEFT | MSDL::RIGHT, 5, 2}, {2, DOWN | MSDL::LEFT, 5, 3}};
    for (const auto& r : rows) EXPECT_EQ(moveCursor(r[0], r[1], r[2]), r[3]) << r[0] << " " << r[1];
}

// The menu moves before it looks at the button, stays on its ends, and button 3 leaves
// unless button 0 is down too.
TEST_F(MenusTest, ModeMenuMovesThenChoosesOrLeaves) {
    const struct {
        std::vector<MenuStep> steps;
        int result;
        bool vsCpu;
    } table[] = {{{{DOWN, {CHOOSE}}}, 0, false},
                 {{{UP}, {0, {CHOOSE}}}, 0, true},
                 {{{DOWN}, {DOWN}, {0, {CHOOSE}}}, 0, false},
                 {{{0, {LEAVE}}}, -1, false},
                 {{{0, {CHOOSE, LEAVE}}}, 0, true}};
    int row = 0;
    for (const auto& r : table) {
        // A choice must write its answer; leaving must write nothing.
        selection.vsCpu = r.result == 0 ? !r.vsCpu : false;
        EXPECT_EQ(run(modeMenu, r.steps), r.result) << row;
        EXPECT_EQ(selection.vsCpu, r.vsCpu) << row++;
    }
}

TEST_F(MenusTest, ModeMenuDrawsBothEntriesAndMovesItsMark) {
    int seen = 0;
    EXPECT_EQ(run(modeMenu, {{DOWN, {}, [&] {
                                  ++seen;
                                  EXPECT_TRUE(cellsShow(10, 10, 6, BLACK));
                                  EXPECT_TRUE(cellsShow(10, 12, 5, BLACK));
                                  EXPECT_TRUE(cellsShow(8, 10, 1, BLACK));
                                  EXPECT_TRUE(cellsBare(8, 12, 1));
                              }},
                             {0, {CHOOSE}, [&] {
                                  ++seen;
                                  EXPECT_TRUE(cellsBare(8, 10, 1));
                                  EXPECT_TRUE(cellsShow(8, 12, 1, BLACK));
                              }}}),
              0);
    EXPECT_EQ(seen, 2);
    // It ends on the bare background.
    EXPECT_TRUE(cellsBare(8, 10, 8) && cellsBare(8, 12, 8));
}

// Button 3 or a closed window while black chooses leaves with white's choice kept; the closed
// window wins over a button shown in the same moment.
TEST_F(MenusTest, LeavingOrClosingWhileBlackChoosesKeepsWhitesChoice) {
    for (const MenuStep& last : {MenuStep{0, {LEAVE}}, MenuStep{0, {CHOOSE}, closeWindow}}) {
        selection.artColor = {-1, -1};
        EXPECT_EQ(run(playerSelect, {{DOWN, {CHOOSE}}, {DOWN}, last}), -1);
        EXPECT_EQ(selection.artColor[0], 1);
        EXPECT_EQ(selection.artColor[1], -1);
    }
    EXPECT_TRUE(game.quitRequested);
}

TEST_F(MenusTest, HighlightAndDescriptionsFollowTheCursorInItsColour) {
    int seen = 0;
    const auto whiteOnRank = [&] {
        ++seen;
        EXPECT_TRUE(cellsShow(8, 0, 20, WHITE));  // the title
        EXPECT_TRUE(cellsShow(1, 1, 4, RED));
        EXPECT_FALSE(cellsShow(1, 11, 4, RED));
        EXPECT_TRUE(cellsShow(1, 11, 4, BLACK));
        EXPECT_TRUE(cellsShow(11, 1, 6, WHITE));  // LEVEL1 in the side's colour
        // Each description starts beside its label.
        for (int row : {1, 3, 5}) EXPECT_TRUE(cellsShow(18, row, 20, RED)) << row;
    };
    const auto whiteOnObstacle = [&] {
        ++seen;
        EXPECT_FALSE(cellsShow(1, 1, 4, RED));
        EXPECT_TRUE(cellsShow(1, 1, 4, WHITE));
        EXPECT_TRUE(cellsShow(1, 2, 8, ORANGE));
        // A new description covers the old one whole, on both of its rows.
        for (int row = 1; row <= 6; ++row) {
            EXPECT_TRUE(cellsShow(11, row, 27, ORANGE)) << row;
            EXPECT_FALSE(cellsShow(11, row, 27, RED)) << row;
        }
    };
    const auto blackOnRank = [&] {
        ++seen;
        EXPECT_TRUE(cellsShow(1, 11, 4, RED));
        EXPECT_TRUE(cellsShow(1, 2, 8, WHITE));  // white's highlight is gone
        EXPECT_TRUE(cellsShow(11, 11, 6, BLACK));
        for (int row : {11, 13, 15}) EXPECT_TRUE(cellsShow(18, row, 20, RED)) << row;
        // White's texts stay while black chooses.
        EXPECT_TRUE(cellsShow(11, 2, 27, ORANGE));
    };
    EXPECT_EQ(run(playerSelect, {{DOWN, {}, whiteOnRank},
                                 {0, {CHOOSE}, whiteOnObstacle},
                                 {0, {LEAVE}, blackOnRank}}),
              -1);
    EXPECT_EQ(seen, 3);
}

// In the game's font every description lies within the screen, whole and in order, on its
// label's row and the next, and no character's word reaches into the labels' cells.
TEST_F(MenusTest, EveryDescriptionAndWordFitsItsPlaceOnTheScreen) {
    const MainWindow& window = *game.window;
    for (int c = 0; c < ART_COLORS; ++c) {
        for (int level = 1; level <= ART_LEVELS; ++level) {
            const std::string& text = artDescription(c, level);
            std::string joined;
            for (const TextLine& line : layOutDescription(window, text, 3)) {
                const int right = line.column * MENU_CELL_WIDTH + window.textWidth(line.text);
                EXPECT_LE(right, MainWindow::WIDTH) << line.text;
                EXPECT_TRUE(line.row == 3 || line.row == 4) << line.row;
                if (!joined.empty() && !line.text.empty()) joined += " ";
                joined += line.text;
            }
            EXPECT_EQ(joined, text.substr(0, text.find_last_not_of(' ') + 1));
        }
        EXPECT_LE(SELECT_WORD_COLUMN + std::strlen(artWord(c)), SELECT_LEVEL_COLUMN) << c;
    }
}

// A real button stays down for a while after it chose. The screens wait for it to be let go,
// so it chooses only once, but not for a direction still held, which chooses nothing.
TEST_F(MenusTest, ScreensWaitForTheChoosingButtonNotForADirection) {
    // Milliseconds after start: the button alone until buttonUntil, DOWN until downUntil, and
    // both in a second press from secondFrom to secondUntil.
    Uint32 start = SDL_GetTicks(), buttonUntil = 400, downUntil = 1500, secondFrom = 0,
           secondUntil = 0;
    const auto held = [&](Uint32 until) {
        const Uint32 t = SDL_GetTicks() - start;
        return t < until || (t >= secondFrom && t < secondUntil);
    };
    input->pressed = [&](int b) { return b == CHOOSE && held(buttonUntil); };
    input->direction = [&] { return held(downUntil) ? DOWN : 0; };
    EXPECT_EQ(modeMenu(selection), 0);
    EXPECT_FALSE(selection.vsCpu);
    EXPECT_GE(SDL_GetTicks() - start, buttonUntil);
    EXPECT_LT(SDL_GetTicks() - start, downUntil);

    // White's button, held through the next redraw, leaves black's choice to black's press.
    selection.artColor = {-1, -1};
    start = SDL_GetTicks();
    std::tie(buttonUntil, downUntil, secondFrom, secondUntil) = std::make_tuple(450, 0, 700, 1000);
    EXPECT_EQ(playerSelect(selection), 0);
    EXPECT_EQ(selection.artColor, (std::array<int, 2>{0, 1}));
    EXPECT_GE(SDL_GetTicks() - start, secondUntil);
}

TEST_F(MenusTest, ASelectionBuildsTintedPicturesAndPlacesBothPlayers) {
    ASSERT_EQ(select(false, 0, 1), 0);
    // The ball is 8 x 8 and white inside its rim; the halo 20 x 20, so the ball sits at (6, 6).
    for (int c = 0; c < 2; ++c) {
        SCOPED_TRACE(c);
        const Window& picture = *game.playerImages[c];
        EXPECT_TRUE(shows(*game.lifeIcons[c], 3, 4, artColorValue(c)));
        EXPECT_TRUE(shows(picture, 6 + 3, 6 + 4, artColorValue(c)));
        // The halo's ring is not tinted, and what was transparent in it still is.
        Uint8 r, g, b;
        SDL_GetRGB(game.haloImages[c]->getPixel(10, 1), game.haloImages[c]->getSurface()->format,
                   &r, &g, &b);
        EXPECT_TRUE(shows(picture, 10, 1, rgb(r, g, b)));
        EXPECT_TRUE(shows(picture, 0, 0, CYAN_KEY));
        EXPECT_TRUE(picture.getSurface()->flags & SDL_SRCCOLORKEY);
        EXPECT_EQ(picture.getSurface()->format->colorkey, picture.getPixel(0, 0));
        const Player& p = *game.players[c];
        EXPECT_EQ(std::make_tuple(p.color, p.artColor, p.lives), std::make_tuple(c, c, 2));
        EXPECT_EQ(p.sprite->image, &picture);
        EXPECT_EQ(p.center, Point(100 + 100 * c, 350));
    }
    // The template stays white for the next match.
    EXPECT_TRUE(shows(*game.ballImage, 3, 4, WHITE));
}

TEST_F(MenusTest, LeavingEitherScreenKeepsPlayersAndDevices) {
    using Steps = std::vector<MenuStep>;
    for (const Steps& steps :
         {Steps{{0, {LEAVE}}}, Steps{{0, {CHOOSE}}, {DOWN, {CHOOSE}}, {0, {LEAVE}}}}) {
        MenuScript script(*input, steps);
        EXPECT_NE(game.menu(), 0);
        EXPECT_EQ(script.taken, steps.size());
    }
    // Still the fixture's: black with Art colour 5 on its halo, the scripted second device.
    EXPECT_EQ(game.players[1]->artColor, 5);
    EXPECT_EQ(game.players[1]->sprite->image, game.haloImages[1].get());
    EXPECT_EQ(game.inputs[1].get(), input2);
}

TEST_F(MenusTest, TheSecondDeviceIsMadeAnewForEveryMatch) {
    // The second key file is read before every two-player match.
    const auto sources = [this] {
        return dynamic_cast<const MSDL::Input&>(*game.inputs[1]).sourceCount(0);
    };
    copy.write("2Pkey.conf", "BUTTON_1 = KEY_a\n");
    ASSERT_EQ(select(true, 0, 0), 0);
    EXPECT_EQ(sources(), 1u);
    copy.write("2Pkey.conf", "BUTTON_1 = KEY_a KEY_b\n");
    ASSERT_EQ(select(true, 0, 0), 0);
    EXPECT_EQ(sources(), 2u);
    // Against the computer the file is not read, and none of the last computer's plan
    // carries over.
    copy.write("2Pkey.conf", "BUTTON_1 = KEY_nosuchkey\n");
    ASSERT_EQ(select(false, 0, 0), 0);
    dynamic_cast<CpuInput&>(*game.inputs[1]).artPlan = 2;
    ASSERT_EQ(select(false, 0, 0), 0);
    EXPECT_EQ(dynamic_cast<CpuInput&>(*game.inputs[1]).artPlan, 0);
    // A bad file fails the selection and leaves the last match's players in place.
    EXPECT_THROW(select(true, 1, 1), MSDL::Error);
    EXPECT_EQ(game.players[0]->artColor, 0);
}
