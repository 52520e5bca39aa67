// The two text screens before every match: the mode menu and the player select.
#pragma once

#include "display/Color.h"

#include <string>

struct Selection;

// Text is placed on a grid of cells this many pixels wide and high.
constexpr int MENU_CELL_WIDTH = 8;
constexpr int MENU_CELL_HEIGHT = 20;

// "vs CPU" or "vs 2P", chosen with the first player's device. 0 with `vsCpu` set, or -1 when
// left with button 3 or when the window was closed.
int modeMenu(Selection& selection);

// White's character, then black's, both chosen with the first player's device. 0 with both
// `artColor` entries set, or -1 when left with button 3 or when the window was closed; a side
// that had already chosen keeps its entry.
int playerSelect(Selection& selection);

// Restores the background under the text's cells, then draws the text in the colour, with its
// top-left corner at the cell (column, row).
void putText(Selection& selection, const std::string& text, int column, int row, Color color);

// The cursor after a snapshot's direction bits on entries 0..last: DOWN moves it down first,
// then UP moves it up, each only where there is an entry to move to.
int moveCursor(int cursor, int direction, int last);
