// The colours the game draws with, as 32-bit values with red in the lowest byte.
#pragma once

#include <cstdint>

using Color = std::uint32_t;

constexpr Color rgb(int r, int g, int b) {
    return static_cast<Color>(r) | (static_cast<Color>(g) << 8) | (static_cast<Color>(b) << 16);
}
constexpr int redOf(Color c) { return c & 0xff; }
constexpr int greenOf(Color c) { return (c >> 8) & 0xff; }
constexpr int blueOf(Color c) { return (c >> 16) & 0xff; }

constexpr Color GREY = rgb(127, 127, 127);
constexpr Color WHITE = rgb(255, 255, 255);
constexpr Color BLACK = rgb(0, 0, 0);
constexpr Color RED = rgb(255, 0, 0);
constexpr Color ORANGE = rgb(255, 127, 0);
constexpr Color YELLOW = rgb(255, 255, 0);
constexpr Color GREEN = rgb(0, 255, 0);
constexpr Color BLUE = rgb(0, 0, 255);
constexpr Color PURPLE = rgb(255, 0, 255);

// Transparent pixels of the bitmaps.
constexpr Color CYAN_KEY = rgb(0, 255, 255);
constexpr Color MAGENTA_KEY = rgb(255, 0, 255);

// A side: 0 white (the first player), 1 black (the second).
constexpr Color sideColor(int side) { return side == 0 ? WHITE : BLACK; }

// An Art colour index 0..5 (red, orange, yellow, green, blue, purple); anything else is white.
constexpr Color artColorValue(int index) {
    switch (index) {
    case 0: return RED;
    case 1: return ORANGE;
    case 2: return YELLOW;
    case 3: return GREEN;
    case 4: return BLUE;
    case 5: return PURPLE;
    default: return WHITE;
    }
}
