// Turning SDL's status results into exceptions, and building SDL rectangles.
#include "display/Check.h"

#include "display/Point.h"

#include <stdexcept>

void check(bool success, const char* what) {
    if (!success) throw std::runtime_error(what);
}

SDL_Rect makeRect(int x1, int y1, int x2, int y2, bool sized) {
    SDL_Rect r;
    r.x = static_cast<Sint16>(x1);
    r.y = static_cast<Sint16>(y1);
    r.w = static_cast<Uint16>(sized ? x2 : x2 - x1 + 1);
    r.h = static_cast<Uint16>(sized ? y2 : y2 - y1 + 1);
    return r;
}

SDL_Rect makeRect(const Point& a, const Point& b, bool sized) {
    return makeRect(static_cast<int>(a.x), static_cast<int>(a.y), static_cast<int>(b.x),
                    static_cast<int>(b.y), sized);
}
