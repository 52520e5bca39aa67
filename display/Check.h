// Turning SDL's status results into exceptions, and building SDL rectangles.
#pragma once

#include <SDL.h>

struct Point;

// Throws std::runtime_error carrying `what` (the failed operation's name) unless `success`.
// A plain C string: every blit of a frame passes here, and a std::string built for each call
// costs a heap allocation whenever the name outgrows the small-string buffer.
void check(bool success, const char* what);

// With `sized` false the pairs are the two corners, both inclusive; with `sized` true the
// second pair is the width and height.
SDL_Rect makeRect(int x1, int y1, int x2, int y2, bool sized = false);
// The same from two points, each coordinate truncated toward zero.
SDL_Rect makeRect(const Point& a, const Point& b, bool sized = false);
