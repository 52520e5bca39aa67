// A started game without a visible window: the staged game directory, its bitmaps, two players.
#pragma once

#include "core/Game.h"
#include "display/MainWindow.h"
#include "input/InputBase.h"
#include "objects/Enemy.h"
#include "objects/Player.h"
#include "objects/Shot.h"
#include "script/BulletMLDocument.h"
#include "script/EnemyCommand.h"
#include "support/TestDirs.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <set>
#include <vector>

// A device whose answers a test scripts.
class ScriptedInput : public MSDL::InputBase {
public:
    std::function<int()> direction = [] { return 0; };
    std::function<bool(int)> pressed = [](int) { return false; };
    // Unset: any of the buttons 0 to 3.
    std::function<bool()> anyButtonPressed;

    int getDirection() override { return direction(); }
    bool isPressed(int button) override { return pressed(button); }
    std::unique_ptr<MSDL::ButtonStates> getButtons() override {
        auto states = std::make_unique<MSDL::ButtonStates>();
        for (int b = 0; b < 4; ++b) (*states)[b] = pressed(b);
        return states;
    }
    bool isAnyButtonPressed() override {
        return anyButtonPressed ? anyButtonPressed() : InputBase::isAnyButtonPressed();
    }
};

inline void closeWindow() {
    SDL_Event quit;
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
}

inline void PrintTo(const Point& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }

// Tests drive the frame by hand: they set lastTicks and frameSeconds and call the steps. White's
// device shows `direction` and the buttons `held` unless a test scripts it otherwise.
class HeadlessGameTest : public ::testing::Test {
protected:
    // Started in `dir`, a copy whose files a test changes, or in the staged directory.
    explicit HeadlessGameTest(const std::string& dir = SKELVO_GAME_DIR) : in(dir) {
        game.init();
        game.inputs = {std::make_unique<ScriptedInput>(), std::make_unique<ScriptedInput>()};
        input = static_cast<ScriptedInput*>(game.inputs[0].get());
        input2 = static_cast<ScriptedInput*>(game.inputs[1].get());
        input->direction = [this] { return direction; };
        input->pressed = [this](int b) { return held.count(b) > 0; };
        game.lastTicks = 1000;
        // The menus build these per match; the halo and the plain ball stand in for them.
        for (int c = 0; c < 2; ++c) {
            game.lifeIcons[c] = std::make_unique<Window>(*game.ballImage);
            game.playerImages[c] = std::make_unique<Window>(*game.haloImages[c]);
        }
        placePlayers();
    }
    // Partners' runners may play documents that the fixture owns.
    ~HeadlessGameTest() override { game.enemies.clear(); }

    // White at (100, 350) and black at (200, 350), with 2 lives each, as a match starts.
    void placePlayers() {
        game.players[0] = std::make_unique<Player>(Point(100, 350), game.haloImages[0].get(),
                                                   input, 0, 0, 2);
        game.players[1] = std::make_unique<Player>(Point(200, 350), game.haloImages[1].get(),
                                                   input2, 1, 5, 2);
    }
    Player& white() { return *game.players[0]; }
    Player& black() { return *game.players[1]; }
    // A still shot of colour c centred at `at`.
    Shot& shot(const Point& at, int c) { return game.addShot(at, Point(0, 0), c); }
    // A shot whose top-left corner lies `offset` from white's: flips and pulls go by corners.
    Shot& shotOffWhite(const Point& offset, const Point& vel, int c) {
        Shot& s = game.addShot(Point(0, 0), vel, c);
        s.pos = white().pos + offset;
        s.updateCenter();
        return s;
    }
    // On the default list unless given one, and playing `document` at once if given one.
    Enemy& partner(const Point& at, int c, ActionList* list = nullptr,
                   BulletMLParser* document = nullptr) {
        Enemy& e = *game.enemies.emplace_back(std::make_unique<Enemy>(
            at, game.enemyImages[c].get(), list ? list : game.actions.defaultList(), c));
        if (document) e.command = std::make_unique<EnemyCommand>(document, &e);
        return e;
    }
    BulletMLParser* load(const std::string& name) {
        documents.push_back(BulletMLDocument::load(SKELVO_TEST_DATA "/" + name));
        return documents.back().get();
    }
    void stepAt(Uint32 t) {
        game.lastTicks = t;
        white().step();
    }
    // The red component of a canvas pixel: the field's grey moves with it.
    int canvasRed(int x, int y) {
        Uint8 r, g, b;
        SDL_GetRGB(canvasAt(x, y), game.window->getCanvas().getSurface()->format, &r, &g, &b);
        return r;
    }
    Uint32 screenAt(int x, int y) const { return game.window->getPixel(x, y); }
    Uint32 canvasAt(int x, int y) const { return game.window->getCanvas().getPixel(x, y); }
    Uint32 mapped(Color c) const {
        return SDL_MapRGB(game.window->getSurface()->format, static_cast<Uint8>(redOf(c)),
                          static_cast<Uint8>(greenOf(c)), static_cast<Uint8>(blueOf(c)));
    }
    const Point& field() const { return game.window->getSize(); }

    ChangeDir in;
    Game game;
    // Owned by the game.
    ScriptedInput* input = nullptr;
    ScriptedInput* input2 = nullptr;
    int direction = 0;
    std::set<int> held;
    std::vector<std::unique_ptr<BulletMLDocument>> documents;
};
