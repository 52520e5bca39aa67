// The players' status gauges (buzz and eatings), drawn onto the canvas.
#pragma once

#include "core/Singleton.h"

class Window;

class Info : public Singleton<Info> {
public:
    explicit Info(Window* target) : target(target) {}

    // value 0..100; side 0 draws on the left in white, any other side on the right in black.
    void drawBuzzGauge(int value, int side);
    void drawEatingsGauge(int value, int side);

private:
    // Counts the calls while a gauge is full: the bar hides on counts 1 to 5 of every 31.
    bool blinkHidden(int& counter, int value);
    void drawFrame(int side, int top, int bottom);
    void drawBar(int side, int value, int top, int bottom);

    Window* target;  // not owned
    int buzzBlink[2] = {0, 0};
    int eatingsBlink[2] = {0, 0};
};
