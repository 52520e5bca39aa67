// The screen: the 300 x 400 logical surface, the field's background and lasting canvas,
// the font, and presentation of a finished frame, stretched when asked.
#pragma once

#include "core/Singleton.h"
#include "display/Window.h"

#include <SDL_ttf.h>

#include <memory>
#include <string>

class MainWindow : public Window, public Singleton<MainWindow> {
public:
    static constexpr int WIDTH = 300;
    static constexpr int HEIGHT = 400;
    static constexpr int DEPTH = 16;

    // The logical surface is the video surface itself.
    explicit MainWindow(const std::string& background);
    // A software logical surface stretched onto a width x height video surface.
    MainWindow(const std::string& background, int width, int height, Uint32 flags);
    ~MainWindow() override;

    // The field's size: the canvas' size, whatever the real window's.
    const Point& getSize() const override { return canvas->getSize(); }

    void loadBackground(const std::string& file);
    // Wipes every lasting mark: background onto canvas, canvas onto the screen.
    void resetCanvas();
    // The canvas (with its lasting marks) onto the whole screen.
    void clear();
    void clearRect(SDL_Rect rect);
    void drawString(const std::string& text, const Point& at, Color color);
    // How many pixels wide drawString would draw the text.
    int textWidth(const std::string& text) const;
    void stretch();
    void flip();

    Window& getCanvas() { return *canvas; }
    SDL_Surface* getVideoSurface() const { return videoSurface ? videoSurface : surface; }

private:
    std::unique_ptr<Window> canvas;
    std::unique_ptr<Window> background;
    SDL_Surface* videoSurface = nullptr;  // not owned: SDL frees the video surface
    TTF_Font* font = nullptr;             // owned
};
