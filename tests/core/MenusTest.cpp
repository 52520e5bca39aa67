// The mode menu and the player select: the cursor, the choices, leaving, the waits for release,
// the drawing, and what a finished selection builds for the match.
#include "core/Menus.h"
#include "core/Selection.h"
#include "input/CpuInput.h"
#include "input/Direction.h"
#include "input/Error.h"
#include "input/Input.h"
#include "objects/ArtNames.h"
#include "support/HeadlessGame.h"

#include <algorithm>
#include <functional>
#include <tuple>

using MSDL::DOWN;
using MSDL::UP;

namespace {

const int CHOOSE = 0;
const int LEAVE = 3;

// What the device shows to one snapshot. `onShow` runs as the snapshot is taken, after the
// screen has presented everything it shows while waiting.
struct Step {
    int direction = 0;
    std::vector<int> buttons = {};
    std::function<void()> onShow = nullptr;
    int heldLooks = 0;  // how many looks of the release waits still find the button down
};

// Each step of the script is a tap: shown to one snapshot and let go before anything else asks
// unless it is held for a number of looks. A snapshot asks for the direction first, then for
// the buttons. A screen that asks past the script sees the window closed, and returns -1.
// The game runs in a copy of its directory (a base made first), whose key files a test rewrites.
struct MenusTest : GameCopy, HeadlessGameTest {
    MenusTest() : HeadlessGameTest(path()) {
        selection.window = game.window.get();
        selection.input = input;
        input->direction = [this] {
            current = taken < script.size() ? script[taken] : Step{0, {}, closeWindow};
            ++taken;
            if (current.onShow) current.onShow();
            stillHeld = current.heldLooks;
            return current.direction;
        };
        input->pressed = [this](int b) {
            return std::count(current.buttons.begin(), current.buttons.end(), b) > 0;
        };
        input->anyButtonPressed = [this] {
            if (stillHeld == 0) return false;
            --stillHeld;
            return true;
        };
    }
    int run(const std::function<int(Selection&)>& screen, std::vector<Step> steps) {
        script = std::move(steps);
        taken = 0;
        return screen(selection);
    }
    // The mode, then white's and black's characters, each chosen after `down` moves.
    int select(bool vs2P, int whiteDown, int blackDown) {
        std::vector<Step> steps = {{vs2P ? DOWN : 0, {CHOOSE}}};
        for (int down : {whiteDown, blackDown}) {
            for (int i = 1; i < down; ++i) steps.push_back({DOWN});
            steps.push_back({down > 0 ? DOWN : 0, {CHOOSE}});
        }
        return run([this](Selection&) { return game.selectPlayers(); }, steps);
    }
    // Whether a pixel of the `length` cells from (column, row) shows `c` on the screen.
    bool cellsShow(int column, int row, int length, Color c) const {
        const int right = std::min((column + length) * MENU_CELL_WIDTH, int(field().x));
        for (int y = row * MENU_CELL_HEIGHT; y < (row + 1) * MENU_CELL_HEIGHT; ++y)
            for (int x = column * MENU_CELL_WIDTH; x < right; ++x)
                if (screenAt(x, y) == mapped(c)) return true;
        return false;
    }

    Selection selection;
    std::vector<Step> script;
    std::size_t taken = 0;
    Step current;
    int stillHeld = 0;
};

}  // namespace

// Both held, the moves cancel except where the first has nowhere to go; a diagonal counts for
// its up or down part.
TEST(Cursor, MovesDownFirstThenUpAndNeverPastAnEnd) {
    const int rows[][4] = {// cursor, direction, last, result
                           {0, DOWN, 5, 1},      {5, DOWN, 5, 5},
                           {0, UP, 5, 0},        {0, UP | DOWN, 5, 0},
                           {5, UP | DOWN, 5, 4}, {2, DOWN | MSDL::LEFT, 5, 3}};
    for (const auto& r : rows)
        EXPECT_EQ(moveCursor(r[0], r[1], r[2]), r[3]) << r[0] << " " << r[1];
}

// The menu moves before it looks at the button, and button 3 leaves unless button 0 is down
// too. Its mark follows the cursor, and a choice leaves the screen bare once the button that
// chose is let go, so that it does not choose again on the next screen.
TEST_F(MenusTest, ModeMenuMovesThenChoosesOrLeaves) {
    const auto markOn = [this] {
        EXPECT_TRUE(cellsShow(8, 12, 1, BLACK) && !cellsShow(8, 10, 1, BLACK));
    };
    const struct {
        std::vector<Step> steps;
        int result;
        bool vsCpu;
    } table[] = {{{{DOWN}, {UP, {CHOOSE}, markOn, 3}}, 0, true},
                 {{{0, {LEAVE}}}, -1, false},
                 {{{0, {CHOOSE, LEAVE}}}, 0, true}};
    for (const auto& r : table) {
        SCOPED_TRACE(&r - table);
        // A choice must write its answer; leaving must write nothing.
        selection.vsCpu = r.result == 0 ? !r.vsCpu : false;
        EXPECT_EQ(run(modeMenu, r.steps), r.result);
        EXPECT_EQ(std::make_tuple(selection.vsCpu, cellsShow(8, 10, 8, BLACK), stillHeld),
                  std::make_tuple(r.vsCpu, r.result != 0, 0));
    }
}

// Both sides choose in turn on the first device, black's turn looking only once white's button
// is let go; button 3 or a closed window while black chooses leaves with white's choice kept.
// The word under the cursor is in its Art colour, the others in the side's; its descriptions
// follow it, white's staying while black chooses.
TEST_F(MenusTest, PlayerSelectHighlightsTheCursorAndKeepsWhitesChoiceWhenLeft) {
    const auto blackOnRank = [this] {
        EXPECT_EQ(stillHeld, 0);
        EXPECT_TRUE(cellsShow(1, 11, 4, RED) && cellsShow(18, 15, 20, RED));
        EXPECT_TRUE(cellsShow(1, 2, 8, WHITE) && cellsShow(11, 2, 27, ORANGE));
        // A new description covers the old one whole.
        for (int row = 1; row <= 6; ++row) EXPECT_FALSE(cellsShow(11, row, 27, RED)) << row;
    };
    for (const Step& last : {Step{0, {LEAVE}, blackOnRank}, Step{0, {CHOOSE}, closeWindow}}) {
        selection.artColor = {-1, -1};
        EXPECT_EQ(run(playerSelect, {{DOWN}, {0, {CHOOSE}, nullptr, 3}, last}), -1);
        EXPECT_EQ(selection.artColor, (std::array<int, 2>{1, -1}));
    }
    EXPECT_TRUE(game.quitRequested);
}

// In the game's font every description lies within the screen, whole and in order, on its
// label's row and the next.
TEST_F(MenusTest, EveryDescriptionFitsItsPlaceOnTheScreen) {
    for (int c = 0; c < ART_COLORS; ++c) {
        for (int level = 1; level <= ART_LEVELS; ++level) {
            const std::string& text = artDescription(c, level);
            std::string joined;
            for (const TextLine& line : layOutDescription(*game.window, text, 3)) {
                const int right = line.column * MENU_CELL_WIDTH + game.window->textWidth(line.text);
                EXPECT_TRUE(right <= MainWindow::WIDTH && (line.row == 3 || line.row == 4))
                    << line.text;
                joined += (joined.empty() || line.text.empty() ? "" : " ") + line.text;
            }
            EXPECT_EQ(joined, text.substr(0, text.find_last_not_of(' ') + 1));
        }
    }
}

// A selection places both players on pictures tinted in their Art colours (the ball, 8 x 8 and
// white inside its rim, sits at (6, 6) in the 20 x 20 halo), and leaves the white template
// and the transparent pixels as they were. Leaving either screen keeps the last match's players
// and devices. The second key file is read before every two-player match; against the computer
// it is not read, and none of the last computer's plan carries over. A bad key file fails with
// the last players kept.
TEST_F(MenusTest, ASelectionBuildsPlayersAndDevicesButLeavingKeepsTheLastOnes) {
    using Steps = std::vector<Step>;
    for (const Steps& steps :
         {Steps{{0, {LEAVE}}}, Steps{{0, {CHOOSE}}, {DOWN, {CHOOSE}}, {0, {LEAVE}}}}) {
        EXPECT_NE(run([this](Selection&) { return game.menu(); }, steps), 0);
        EXPECT_EQ(taken, steps.size());
    }
    const Player& black = *game.players[1];
    EXPECT_EQ(std::make_tuple(black.artColor, black.sprite->image, game.inputs[1].get()),
              std::make_tuple(5, game.haloImages[1].get(), (MSDL::InputBase*)input2));
    write("2Pkey.conf", "BUTTON_1 = KEY_a KEY_b\n");
    ASSERT_EQ(select(true, 0, 0), 0);
    EXPECT_EQ(dynamic_cast<const MSDL::Input&>(*game.inputs[1]).sourceCount(0), 2u);
    write("2Pkey.conf", "BUTTON_1 = KEY_nosuchkey\n");
    ASSERT_EQ(select(false, 0, 0), 0);
    dynamic_cast<CpuInput&>(*game.inputs[1]).artPlan = 2;
    ASSERT_EQ(select(false, 0, 1), 0);
    const auto shows = [](const Window& image, int x, int y, Color color) {
        const SDL_PixelFormat* f = image.getSurface()->format;
        return image.getPixel(x, y) == SDL_MapRGB(f, redOf(color), greenOf(color), blueOf(color));
    };
    for (int c = 0; c < 2; ++c) {
        const Window& picture = *game.playerImages[c];
        EXPECT_TRUE(shows(*game.lifeIcons[c], 3, 4, artColorValue(c)) &&
                    shows(picture, 6 + 3, 6 + 4, artColorValue(c)) &&
                    shows(*game.ballImage, 3, 4, WHITE) && shows(picture, 0, 0, CYAN_KEY) &&
                    picture.getSurface()->format->colorkey == picture.getPixel(0, 0) &&
                    game.lifeIcons[c]->getSurface()->format->colorkey ==
                        game.lifeIcons[c]->getPixel(0, 0))
            << c;
        const Player& p = *game.players[c];
        EXPECT_EQ(std::make_tuple(p.color, p.artColor, p.lives, p.sprite->image, p.center),
                  std::make_tuple(c, c, 2, &picture, Point(100 + 100 * c, 350)));
    }
    EXPECT_EQ(dynamic_cast<CpuInput&>(*game.inputs[1]).artPlan, 0);
    EXPECT_THROW(select(true, 1, 1), MSDL::Error);
    EXPECT_EQ(game.players[0]->artColor, 0);
}
