// The mode menu and the player select: the cursor, the choices, leaving, closing, drawing.
#include "core/Menus.h"
#include "core/Selection.h"
#include "input/Direction.h"
#include "objects/ArtNames.h"
#include "support/HeadlessGame.h"
#include "support/MenuScript.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <tuple>

using MSDL::DOWN;
using MSDL::UP;

namespace {

const int CHOOSE = 0;
const int LEAVE = 3;

struct MenusTest : HeadlessGameTest {
    MenusTest() {
        selection.window = game.window.get();
        selection.input = input;
    }

    int runMode(std::vector<MenuStep> steps) {
        MenuScript script(*input, std::move(steps));
        return modeMenu(selection);
    }
    int runSelect(std::vector<MenuStep> steps) {
        MenuScript script(*input, std::move(steps));
        return playerSelect(selection);
    }

    // Over the cells of a text of `length` characters at (column, row), the screen shows some
    // pixels of the colour, or only the canvas.
    bool cellsShow(int column, int row, int length, Color c) const {
        return anyIn(column, row, length,
                     [&](int x, int y) { return screenAt(x, y) == mapped(c); });
    }
    bool cellsBare(int column, int row, int length) const {
        return !anyIn(column, row, length,
                      [&](int x, int y) { return screenAt(x, y) != canvasAt(x, y); });
    }
    template <typename Test>
    bool anyIn(int column, int row, int length, Test test) const {
        const int x0 = column * MENU_CELL_WIDTH;
        const int y0 = row * MENU_CELL_HEIGHT;
        const int x1 = std::min(x0 + length * MENU_CELL_WIDTH, static_cast<int>(field().x));
        for (int y = y0; y < y0 + MENU_CELL_HEIGHT; ++y)
            for (int x = x0; x < x1; ++x)
                if (test(x, y)) return true;
        return false;
    }

    Selection selection;
};

}  // namespace

TEST(Cursor, MovesDownFirstThenUpAndNeverPastAnEnd) {
    EXPECT_EQ(moveCursor(0, DOWN, 5), 1);
    EXPECT_EQ(moveCursor(3, UP, 5), 2);
    EXPECT_EQ(moveCursor(5, DOWN, 5), 5);
    EXPECT_EQ(moveCursor(0, UP, 5), 0);
    // Both held: the two moves cancel, except where the first has nowhere to go.
    EXPECT_EQ(moveCursor(0, UP | DOWN, 5), 0);
    EXPECT_EQ(moveCursor(2, UP | DOWN, 5), 2);
    EXPECT_EQ(moveCursor(5, UP | DOWN, 5), 4);
    EXPECT_EQ(moveCursor(1, UP | DOWN, 1), 0);
    // Sideways and diagonal holds count only for their up or down part.
    EXPECT_EQ(moveCursor(2, MSDL::LEFT | MSDL::RIGHT, 5), 2);
    EXPECT_EQ(moveCursor(2, DOWN | MSDL::LEFT, 5), 3);
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
        EXPECT_EQ(runMode(r.steps), r.result) << row;
        EXPECT_EQ(selection.vsCpu, r.vsCpu) << row++;
    }
}

TEST_F(MenusTest, ModeMenuDrawsBothEntriesAndMovesItsMark) {
    bool firstSeen = false;
    bool secondSeen = false;
    EXPECT_EQ(runMode({{DOWN, {}, [&] {
                            firstSeen = true;
                            EXPECT_TRUE(cellsShow(10, 10, 6, BLACK));
                            EXPECT_TRUE(cellsShow(10, 12, 5, BLACK));
                            EXPECT_TRUE(cellsShow(8, 10, 1, BLACK));
                            EXPECT_TRUE(cellsBare(8, 12, 1));
                        }},
                       {0, {CHOOSE}, [&] {
                            secondSeen = true;
                            EXPECT_TRUE(cellsBare(8, 10, 1));
                            EXPECT_TRUE(cellsShow(8, 12, 1, BLACK));
                        }}}),
              0);
    EXPECT_TRUE(firstSeen && secondSeen);
    // It ends on the bare background.
    EXPECT_TRUE(cellsBare(8, 10, 8));
    EXPECT_TRUE(cellsBare(8, 12, 8));
}

// Button 3 or a closed window while black chooses leaves with white's choice kept; the closed
// window wins over a button shown in the same moment.
TEST_F(MenusTest, LeavingOrClosingWhileBlackChoosesKeepsWhitesChoice) {
    const auto close = [] {
        SDL_Event quit;
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
    };
    for (const MenuStep& last : {MenuStep(0, {LEAVE}), MenuStep(0, {CHOOSE}, close)}) {
        selection.artColor = {-1, -1};
        EXPECT_EQ(runSelect({{DOWN, {CHOOSE}}, {DOWN}, last}), -1);
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
    EXPECT_EQ(runSelect({{DOWN, {}, whiteOnRank},
                         {0, {CHOOSE}, whiteOnObstacle},
                         {0, {LEAVE}, blackOnRank}}),
              -1);
    EXPECT_EQ(seen, 3);
}

// In the game's font every description lies within the screen, whole and in order, on its
// label's row and the next, and no character's word reaches into the labels' cells.
TEST_F(MenusTest, EveryDescriptionAndWordFitsItsPlaceOnTheScreen) {
    const MainWindow& window = *game.window;
    const int labelRow = 3;
    for (int c = 0; c < ART_COLORS; ++c) {
        for (int level = 1; level <= ART_LEVELS; ++level) {
            const std::string& text = artDescription(c, level);
            std::string joined;
            for (const TextLine& line : layOutDescription(window, text, labelRow)) {
                const int right = line.column * MENU_CELL_WIDTH + window.textWidth(line.text);
                EXPECT_LE(right, MainWindow::WIDTH) << line.text;
                EXPECT_TRUE(line.row == labelRow || line.row == labelRow + 1) << line.row;
                if (!joined.empty() && !line.text.empty()) joined += " ";
                joined += line.text;
            }
            EXPECT_EQ(joined, text.substr(0, text.find_last_not_of(' ') + 1));
        }
        // A word's cells are cleared when it is redrawn.
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
    EXPECT_EQ(selection.artColor[0], 0);
    EXPECT_EQ(selection.artColor[1], 1);
    EXPECT_GE(SDL_GetTicks() - start, secondUntil);
}
