// Turning SDL's status results into exceptions, and building SDL rectangles.
#pragma once

#include <SDL.h>

#include <string>

struct Point;

// Throws std::runtime_error carrying `what` (the failed operation's name) unless `success`.
void check(bool success, const std::string& what);

// With `sized` false the pairs are the two corners, both inclusive; with `sized` true the
// second pair is the width and height.
SDL_Rect makeRect(int x1, int y1, int x2, int y2, bool sized = false);
// The same from two points, each coordinate truncated toward zero.
SDL_Rect makeRect(const Point& a, const Point& b, bool sized = false);
