// One SDL surface with its size, and the few drawing operations the game uses on it.
#pragma once

#include "display/Color.h"
#include "display/Point.h"

#include <SDL.h>

#include <string>

class Window {
public:
    // Loads a BMP file; fails with a message naming the file when it cannot be read or is not
    // a regular file.
    explicit Window(const std::string& file);
    // A converted copy of another window's surface; its size is the other's getSize().
    explicit Window(const Window& other);
    // A blank surface of the given size (truncated), depth, flags and masks.
    Window(const Point& size, int depth, Uint32 flags, Uint32 rmask = 0, Uint32 gmask = 0,
           Uint32 bmask = 0, Uint32 amask = 0);
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    // The size of what this window stands for; a MainWindow answers with its field.
    virtual const Point& getSize() const { return size; }

    void blit(const Window& source, const Point& at);
    void blit(const Window& source);
    // A null rectangle fills the whole surface.
    void fillRect(SDL_Rect* rect, Color color);
    void fillRect(SDL_Rect rect, Color color) { fillRect(&rect, color); }
    void setAlpha(Uint32 flags, Uint8 alpha);
    void setColorKey(Color color);
    void displayFormat();
    // Multiplies every pixel that is not the colour key by the colour.
    void colorize(Color color);

    // Raw pixel access; callers lock the surface around a run of accesses. Out-of-surface
    // coordinates read as 0 and are not written.
    Uint32 getPixel(int x, int y) const;
    void putPixel(int x, int y, Uint32 pixel);

    SDL_Surface* getSurface() const { return surface; }

    // An SDL stream over the file `path`, which the taker closes; null when it is missing or
    // cannot be opened. Throws std::runtime_error "PATH: is not a regular file" for a FIFO, a
    // device or a directory, which would block or never end.
    static SDL_RWops* openFile(const std::string& path);

    // Half the size: the offset from the top-left corner to the middle.
    Point center;
    // Half the diagonal.
    double radius = 0.0;

protected:
    // For MainWindow, which makes its surface itself.
    Window(SDL_Surface* owned, const Point& size);
    void setSize(const Point& s);

    SDL_Surface* surface = nullptr;  // owned
    Point size;
};
