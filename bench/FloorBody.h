// One object of the floor's field: only what its blits and its runner read, and no behaviour.
#pragma once

#include "FloorRunner.h"
#include "display/Point.h"

#include <SDL.h>

#include <memory>

class ActionList;

struct FloorBody {
    Point pos;
    Point vel;
    Point center;
    // Half the sprite's size, and its size: where the centre lies and how far it may go.
    Point half;
    Point size;
    SDL_Surface* sprite = nullptr;  // not owned
    int color = 0;
    bool dyeing = true;
    bool alive = true;
    // The game's dye credit: what it owes the canvas and where it last stamped.
    int dyeCredit = 0;
    Point lastStamp;
    // Partners only: the list their patterns come from (not owned) and when the next starts.
    ActionList* actions = nullptr;
    Uint32 nextStart = 0;
    std::unique_ptr<FloorRunner> runner;
};
