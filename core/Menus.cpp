// The mode menu and the player select, and the slow input pacing they share.
#include "core/Menus.h"

#include "core/Game.h"
#include "core/Selection.h"
#include "display/MainWindow.h"
#include "input/Direction.h"
#include "input/InputState.h"
#include "objects/ArtNames.h"

#include <SDL.h>

#include <memory>
#include <sstream>

namespace {

const int BUTTON_CHOOSE = 0;
const int BUTTON_LEAVE = 3;
// After a redraw the screen waits this long, then looks at the device at the shorter pace:
// a held direction moves the cursor about every 150 ms instead of every frame.
const Uint32 REDRAW_PAUSE = 100;
const Uint32 POLL_STEP = 50;

// Mode menu: two entries two rows apart, the cursor two columns left of them.
const int MODE_COLUMN = 10;
const int MODE_FIRST_ROW = 10;
const int MODE_CURSOR_COLUMN = 8;

// Player select: the title on the top row, each side's six words down from its first row.
// Each description starts one blank cell after its LEVEL label and goes on in the row below,
// under the label.
const int TITLE_COLUMN = 8;
const int WORD_COLUMN = SELECT_WORD_COLUMN;
const int LEVEL_COLUMN = SELECT_LEVEL_COLUMN;
const int DESCRIPTION_COLUMN = LEVEL_COLUMN + 7;
const int FIRST_ROW[2] = {1, 11};

Game& game() { return *Game::instance(); }

// Presents what was drawn and waits for the device to show anything. The snapshot that did,
// or null when the window was closed meanwhile.
std::unique_ptr<MSDL::InputState> waitForInput(Selection& selection) {
    selection.window->flip();
    SDL_Delay(REDRAW_PAUSE);
    for (;;) {
        SDL_PumpEvents();
        auto state = std::make_unique<MSDL::InputState>(*selection.input);
        game().pollEvents();
        if (game().matchOver) return nullptr;
        SDL_Delay(POLL_STEP);
        if (state->isAnyPressed()) return state;
    }
}

// A screen ends on the bare background, and only once the device is let go, so the button
// that chose does not act again on the next screen or in the match.
void leave(Selection& selection) {
    selection.window->clear();
    game().waitRelease();
}

// The line padded with spaces to the screen's edge, so that it covers what was drawn there.
std::string toEdge(const MainWindow& window, const TextLine& line) {
    const int pixels = static_cast<int>(window.getSize().x) - line.column * MENU_CELL_WIDTH;
    const std::size_t cells = (pixels + MENU_CELL_WIDTH - 1) / MENU_CELL_WIDTH;
    std::string text = line.text;
    if (text.size() < cells) text.resize(cells, ' ');
    return text;
}

}  // namespace

std::vector<TextLine> layOutDescription(const MainWindow& window, const std::string& text,
                                        int labelRow) {
    std::vector<TextLine> lines = {{"", DESCRIPTION_COLUMN, labelRow},
                                   {"", LEVEL_COLUMN, labelRow + 1}};
    const int firstLineRoom =
        static_cast<int>(window.getSize().x) - DESCRIPTION_COLUMN * MENU_CELL_WIDTH;
    std::size_t line = 0;
    std::istringstream words(text);
    for (std::string word; words >> word;) {
        const std::string& sofar = lines[line].text;
        std::string longer = sofar.empty() ? word : sofar + " " + word;
        if (line == 0 && window.textWidth(longer) > firstLineRoom) {
            line = 1;
            longer = word;
        }
        lines[line].text = longer;
    }
    return lines;
}

int moveCursor(int cursor, int direction, int last) {
    if ((direction & MSDL::DOWN) && cursor < last) ++cursor;
    if ((direction & MSDL::UP) && cursor > 0) --cursor;
    return cursor;
}

void putText(Selection& selection, const std::string& text, int column, int row, Color color) {
    SDL_Rect cells;
    cells.x = static_cast<Sint16>(column * MENU_CELL_WIDTH);
    cells.y = static_cast<Sint16>(row * MENU_CELL_HEIGHT);
    cells.w = static_cast<Uint16>(text.size() * MENU_CELL_WIDTH);
    cells.h = MENU_CELL_HEIGHT;
    selection.window->clearRect(cells);
    selection.window->drawString(text, Point(cells.x, cells.y), color);
}

int modeMenu(Selection& selection) {
    putText(selection, "vs CPU", MODE_COLUMN, MODE_FIRST_ROW, BLACK);
    putText(selection, "vs 2P", MODE_COLUMN, MODE_FIRST_ROW + 2, BLACK);
    int entry = 0;
    for (;;) {
        const int cursorRow = MODE_FIRST_ROW + 2 * entry;
        putText(selection, ">", MODE_CURSOR_COLUMN, cursorRow, BLACK);
        const auto state = waitForInput(selection);
        if (!state) return -1;
        putText(selection, " ", MODE_CURSOR_COLUMN, cursorRow, BLACK);
        // The move comes first: holding DOWN while choosing takes the entry below.
        entry = moveCursor(entry, state->getDirection(), 1);
        if (state->isPressed(BUTTON_CHOOSE)) {
            selection.vsCpu = entry == 0;
            leave(selection);
            return 0;
        }
        if (state->isPressed(BUTTON_LEAVE)) return -1;
    }
}

int playerSelect(Selection& selection) {
    putText(selection, "Please select player", TITLE_COLUMN, 0, WHITE);
    for (int i = 0; i < ART_COLORS; ++i) {
        putText(selection, artWord(i), WORD_COLUMN, FIRST_ROW[0] + i, sideColor(0));
        putText(selection, artWord(i), WORD_COLUMN, FIRST_ROW[1] + i, sideColor(1));
    }
    // Both sides choose with the first player's device, one after the other; white's level
    // texts stay on the screen while black chooses.
    for (int side = 0; side < 2; ++side) {
        const int top = FIRST_ROW[side];
        const Color own = sideColor(side);
        int cursor = 0;
        for (;;) {
            const Color highlight = artColorValue(cursor);
            putText(selection, artWord(cursor), WORD_COLUMN, top + cursor, highlight);
            for (int level = 1; level <= ART_LEVELS; ++level) {
                const int row = top + 2 * (level - 1);
                putText(selection, "LEVEL" + std::to_string(level), LEVEL_COLUMN, row, own);
                const MainWindow& window = *selection.window;
                for (const TextLine& line :
                     layOutDescription(window, artDescription(cursor, level), row))
                    putText(selection, toEdge(window, line), line.column, line.row, highlight);
            }
            const auto state = waitForInput(selection);
            if (!state) return -1;
            putText(selection, artWord(cursor), WORD_COLUMN, top + cursor, own);
            cursor = moveCursor(cursor, state->getDirection(), ART_COLORS - 1);
            if (state->isPressed(BUTTON_CHOOSE)) {
                selection.artColor[side] = cursor;
                // Still down, white's button would choose for black at black's first look.
                if (side == 0) game().waitRelease();
                break;
            }
            if (state->isPressed(BUTTON_LEAVE)) return -1;
        }
    }
    leave(selection);
    return 0;
}
