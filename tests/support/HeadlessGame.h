// A started game without a visible window: the staged game directory, its bitmaps, two players.
#pragma once

#include "core/Game.h"
#include "display/MainWindow.h"
#include "objects/Player.h"
#include "support/ScriptedInput.h"
#include "support/TestDirs.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

// Failures show points as numbers.
inline void PrintTo(const Point& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }

// Tests drive the frame by hand: they set lastTicks and frameSeconds and call the steps.
class HeadlessGameTest : public ::testing::Test {
protected:
    HeadlessGameTest();
    // Started in `dir` instead of the staged directory: a copy whose files a test changes.
    explicit HeadlessGameTest(const std::string& dir);

    // White at (100, 350) steered by `input` and black at (200, 350) by `input2`, as a match
    // starts, with 2 lives each.
    void placePlayers();
    // A pixel of the screen or of the canvas, in the surface's own format.
    Uint32 screenAt(int x, int y) const { return game.window->getPixel(x, y); }
    Uint32 canvasAt(int x, int y) const { return game.window->getCanvas().getPixel(x, y); }
    Uint32 mapped(Color c) const;
    const Point& field() const { return game.window->getSize(); }

    ChangeDir in;
    Game game;
    // Both sides' devices, owned by the game, scripted by the test.
    ScriptedInput* input = nullptr;
    ScriptedInput* input2 = nullptr;
};
