// The screen, its lasting canvas, its font, and presenting a frame.
#include "display/MainWindow.h"

#include "display/Check.h"

#include <stdexcept>

namespace {

const char* const FONT_FILE = "vixar.ttf";
const int FONT_SIZE = 16;

// The video surface belongs to SDL; a Window must not free it.
SDL_Surface* openVideo(int w, int h, Uint32 flags) {
    SDL_Surface* s = SDL_SetVideoMode(w, h, MainWindow::DEPTH, flags);
    if (!s) {
        throw std::runtime_error("cannot open a " + std::to_string(w) + "*" + std::to_string(h) +
                                 "*" + std::to_string(MainWindow::DEPTH) + " window");
    }
    return s;
}

}  // namespace

MainWindow::MainWindow(const std::string& bg)
    : Window(openVideo(WIDTH, HEIGHT, SDL_HWSURFACE | SDL_DOUBLEBUF), Point(WIDTH, HEIGHT)) {
    loadBackground(bg);
}

MainWindow::MainWindow(const std::string& bg, int width, int height, Uint32 flags)
    : Window(Point(WIDTH, HEIGHT), DEPTH, 0) {
    videoSurface = openVideo(width, height, flags | SDL_HWSURFACE | SDL_DOUBLEBUF);
    setSize(Point(width, height));
    loadBackground(bg);
}

MainWindow::~MainWindow() {
    if (font) TTF_CloseFont(font);
    if (TTF_WasInit()) TTF_Quit();
    background.reset();
    canvas.reset();
    // The plain window's surface is the video surface, which SDL_Quit frees.
    if (!videoSurface) surface = nullptr;
}

void MainWindow::loadBackground(const std::string& file) {
    background = std::make_unique<Window>(file);
    canvas = std::make_unique<Window>(file);
    resetCanvas();
    if (!TTF_WasInit() && TTF_Init() != 0) throw std::runtime_error("cannot start SDL_ttf");
    if (font) TTF_CloseFont(font);
    font = TTF_OpenFont(FONT_FILE, FONT_SIZE);
    if (!font) throw std::runtime_error(std::string(FONT_FILE) + ": cannot open font");
}

void MainWindow::resetCanvas() {
    canvas->blit(*background);
    blit(*canvas);
}

void MainWindow::clear() { blit(*canvas); }

void MainWindow::clearRect(SDL_Rect rect) {
    SDL_Rect dst = rect;
    check(SDL_BlitSurface(canvas->getSurface(), &rect, surface, &dst) == 0, "Window::blit");
}

void MainWindow::drawString(const std::string& text, const Point& at, Color color) {
    SDL_Color c;
    c.r = static_cast<Uint8>(redOf(color));
    c.g = static_cast<Uint8>(greenOf(color));
    c.b = static_cast<Uint8>(blueOf(color));
    c.unused = 0;
    SDL_Surface* rendered = TTF_RenderText_Solid(font, text.c_str(), c);
    SDL_Rect dst;
    dst.x = static_cast<Sint16>(at.x);
    dst.y = static_cast<Sint16>(at.y);
    dst.w = 0;
    dst.h = 0;
    const bool ok = rendered && SDL_BlitSurface(rendered, nullptr, surface, &dst) == 0;
    if (rendered) SDL_FreeSurface(rendered);
    check(ok, "Window::blit");
}

int MainWindow::textWidth(const std::string& text) const {
    int w = 0;
    int h = 0;
    if (TTF_SizeText(font, text.c_str(), &w, &h) != 0)
        throw std::runtime_error(std::string(FONT_FILE) + ": cannot measure \"" + text + "\"");
    return w;
}

void MainWindow::stretch() {
    if (videoSurface) SDL_SoftStretch(surface, nullptr, videoSurface, nullptr);
}

void MainWindow::flip() {
    if (videoSurface) {
        stretch();
        SDL_Flip(videoSurface);
    } else {
        SDL_Flip(surface);
    }
}
