// The two text screens before every match: the mode menu and the player select.
#pragma once

#include "display/Color.h"

#include <string>
#include <vector>

class MainWindow;
struct Selection;

// Text is placed on a grid of cells this many pixels wide and high.
constexpr int MENU_CELL_WIDTH = 8;
constexpr int MENU_CELL_HEIGHT = 20;
// The player select's columns: each side's six words, and the LEVEL labels clear of the
// longest word.
constexpr int SELECT_WORD_COLUMN = 1;
constexpr int SELECT_LEVEL_COLUMN = 11;

// "vs CPU" or "vs 2P", chosen with the first player's device. 0 with `vsCpu` set, or -1 when
// left with button 3 or when the window was closed.
int modeMenu(Selection& selection);

// White's character, then black's, both chosen with the first player's device. 0 with both
// `artColor` entries set, or -1 when left with button 3 or when the window was closed; a side
// that had already chosen keeps its entry.
int playerSelect(Selection& selection);

// One line of text at a cell of the grid.
struct TextLine {
    std::string text;
    int column;
    int row;
};

// Where the player select draws an Art's description for the LEVEL label on `labelRow`: the
// words that fit beside the label, then the rest on the row below from the label's column,
// broken at spaces by the width the window draws them at. Trailing padding is dropped.
std::vector<TextLine> layOutDescription(const MainWindow& window, const std::string& text,
                                        int labelRow);

// Restores the background under the text's cells, then draws the text in the colour, with its
// top-left corner at the cell (column, row).
void putText(Selection& selection, const std::string& text, int column, int row, Color color);

// The cursor after a snapshot's direction bits on entries 0..last: DOWN moves it down first,
// then UP moves it up, each only where there is an entry to move to.
int moveCursor(int cursor, int direction, int last);
