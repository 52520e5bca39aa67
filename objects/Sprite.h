// The drawable part of a field object: its picture, how it is blended, and whether it blinks.
#pragma once

#include <SDL.h>

class Window;
struct Point;

class Sprite {
public:
    explicit Sprite(Window* image) : image(image) {}

    // Blinking hides the sprite in the first half of every 128 ms of the game clock.
    bool isVisible(Uint32 now) const { return !blink || (now & 127) >= 64; }
    // Blits the whole image opaquely with its top-left corner at `at` (truncated), unless
    // blinking hides it at `now`; "Window::setAlpha" or "Window::blit" on failure.
    void draw(Window& target, const Point& at, Uint32 now) const;

    Window* image;  // not owned
    Uint32 alphaFlags = SDL_SRCALPHA | SDL_RLEACCEL;
    bool blink = false;
};
