// One fixture for the player and Art tests: both script white's device and place shots by corners.
#pragma once

#include "objects/Enemy.h"
#include "objects/Player.h"
#include "objects/Shot.h"
#include "support/HeadlessGame.h"

#include <memory>
#include <set>

class PlayerFixture : public HeadlessGameTest {
protected:
    PlayerFixture() {
        input->direction = [this] { return direction; };
        input->pressed = [this](int b) { return held.count(b) > 0; };
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
    Enemy& partner(const Point& at, int c) {
        game.enemies.push_back(std::make_unique<Enemy>(at, game.enemyImages[c].get(),
                                                       game.actions.defaultList(), c));
        return *game.enemies.back();
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

    int direction = 0;
    std::set<int> held;
};
