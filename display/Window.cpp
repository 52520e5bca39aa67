// One SDL surface with its size, and the drawing operations the game uses on it.
#include "display/Window.h"

#include "display/Check.h"

#include <cmath>
#include <stdexcept>

namespace {

Uint32 mapColor(const SDL_Surface* s, Color c) {
    return SDL_MapRGB(s->format, static_cast<Uint8>(redOf(c)), static_cast<Uint8>(greenOf(c)),
                      static_cast<Uint8>(blueOf(c)));
}

SDL_Surface* loadBitmap(const std::string& file) {
    SDL_RWops* rw = SDL_RWFromFile(file.c_str(), "rb");
    SDL_Surface* s = rw ? SDL_LoadBMP_RW(rw, 1) : nullptr;
    if (!s) throw std::runtime_error(file + ": cannot load bitmap");
    return s;
}

}  // namespace

Window::Window(const std::string& file) : surface(loadBitmap(file)) {
    setSize(Point(surface->w, surface->h));
}

Window::Window(const Window& other) {
    surface = SDL_ConvertSurface(other.surface, other.surface->format, 0);
    if (!surface) throw std::runtime_error("cannot copy a surface");
    setSize(other.getSize());
}

Window::Window(const Point& s, int depth, Uint32 flags, Uint32 rmask, Uint32 gmask, Uint32 bmask,
               Uint32 amask) {
    surface = SDL_CreateRGBSurface(flags, static_cast<int>(s.x), static_cast<int>(s.y), depth,
                                   rmask, gmask, bmask, amask);
    if (!surface) throw std::runtime_error("cannot create a surface");
    setSize(s);
}

Window::Window(SDL_Surface* owned, const Point& s) : surface(owned) { setSize(s); }

Window::~Window() {
    if (surface) SDL_FreeSurface(surface);
}

void Window::setSize(const Point& s) {
    size = s;
    center = Point(s.x / 2, s.y / 2);
    radius = s.length() / 2;
}

void Window::blit(const Window& source, const Point& at) {
    // SDL's rectangles hold 16-bit places; an object flung far off the field is drawn nowhere
    // (and its place, in range or not, is never cut down to 16 bits).
    const auto inRange = [](double v) { return v >= -32768.0 && v < 32768.0; };
    if (!inRange(at.x) || !inRange(at.y)) return;
    SDL_Rect dst;
    dst.x = static_cast<Sint16>(at.x);
    dst.y = static_cast<Sint16>(at.y);
    dst.w = 0;
    dst.h = 0;
    check(SDL_BlitSurface(source.surface, nullptr, surface, &dst) == 0, "Window::blit");
}

void Window::blit(const Window& source) { blit(source, Point(0, 0)); }

void Window::fillRect(SDL_Rect* rect, Color color) {
    check(SDL_FillRect(surface, rect, mapColor(surface, color)) == 0, "Window::fillRect");
}

void Window::setAlpha(Uint32 flags, Uint8 alpha) {
    check(SDL_SetAlpha(surface, flags, alpha) == 0, "Window::setAlpha");
}

void Window::setColorKey(Color color) {
    check(SDL_SetColorKey(surface, SDL_SRCCOLORKEY, mapColor(surface, color)) == 0,
          "WindowsetColorKey");
}

void Window::displayFormat() {
    SDL_Surface* converted = SDL_DisplayFormat(surface);
    if (!converted) throw std::runtime_error("cannot convert a surface to the display format");
    SDL_FreeSurface(surface);
    surface = converted;
}

void Window::colorize(Color color) {
    const double fr = redOf(color) / 255.0;
    const double fg = greenOf(color) / 255.0;
    const double fb = blueOf(color) / 255.0;
    const Uint32 key = surface->format->colorkey;
    SDL_LockSurface(surface);
    for (int x = 0; x < surface->w; ++x) {
        for (int y = 0; y < surface->h; ++y) {
            const Uint32 p = getPixel(x, y);
            if (p == key) continue;
            Uint8 r, g, b;
            SDL_GetRGB(p, surface->format, &r, &g, &b);
            putPixel(x, y,
                     SDL_MapRGB(surface->format, static_cast<Uint8>(r * fr),
                                static_cast<Uint8>(g * fg), static_cast<Uint8>(b * fb)));
        }
    }
    SDL_UnlockSurface(surface);
}

Uint32 Window::getPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= surface->w || y >= surface->h) return 0;
    const int bpp = surface->format->BytesPerPixel;
    const Uint8* p = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch + x * bpp;
    switch (bpp) {
    case 1: return *p;
    case 2: return *reinterpret_cast<const Uint16*>(p);
    case 3: return p[0] | (p[1] << 8) | (p[2] << 16);
    case 4: return *reinterpret_cast<const Uint32*>(p);
    default: return 0;
    }
}

void Window::putPixel(int x, int y, Uint32 pixel) {
    // Sparks at the field's edge reach past it; what lies outside the surface is not ours.
    if (x < 0 || y < 0 || x >= surface->w || y >= surface->h) return;
    const int bpp = surface->format->BytesPerPixel;
    Uint8* p = static_cast<Uint8*>(surface->pixels) + y * surface->pitch + x * bpp;
    switch (bpp) {
    case 1: *p = static_cast<Uint8>(pixel); break;
    case 2: *reinterpret_cast<Uint16*>(p) = static_cast<Uint16>(pixel); break;
    case 3:
        p[0] = pixel & 0xff;
        p[1] = (pixel >> 8) & 0xff;
        p[2] = (pixel >> 16) & 0xff;
        break;
    case 4: *reinterpret_cast<Uint32*>(p) = pixel; break;
    default: break;
    }
}
