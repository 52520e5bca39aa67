// The direction bit set every input device reports.
#pragma once

namespace MSDL {

// One bit per way; the eight legal directions are the four bits and the diagonals
// UP | RIGHT (5), DOWN | RIGHT (6), DOWN | LEFT (10) and UP | LEFT (9). A device whose opposite
// sources are both held reports other sums (UP | DOWN = 3, ...); readers take those for no
// known direction.
constexpr int NONE = 0;
constexpr int UP = 1;
constexpr int DOWN = 2;
constexpr int RIGHT = 4;
constexpr int LEFT = 8;

// True for UP, DOWN, RIGHT and LEFT alone.
constexpr bool isSingleDirection(int direction) {
    return direction == UP || direction == DOWN || direction == RIGHT || direction == LEFT;
}

}  // namespace MSDL
