// The players' status gauges.
#include "display/Info.h"

#include "display/Check.h"
#include "display/Color.h"
#include "display/Window.h"

namespace {

const int BUZZ_TOP = 372;
const int BUZZ_BOTTOM = 380;
const int EATINGS_TOP = 387;
const int EATINGS_BOTTOM = 395;

int sideIndex(int side) { return side == 0 ? 0 : 1; }

}  // namespace

bool Info::blinkHidden(int& counter, int value) {
    if (value < 100) {
        counter = 0;
    } else if (++counter > 30) {
        counter = 0;
    }
    return counter >= 1 && counter <= 5;
}

void Info::drawFrame(int side, int top, int bottom) {
    if (side == 0)
        target->fillRect(makeRect(20, top, 120, bottom), GREY);
    else
        target->fillRect(makeRect(180, top, 280, bottom), GREY);
}

void Info::drawBar(int side, int value, int top, int bottom) {
    if (side == 0)
        target->fillRect(makeRect(20, top, 20 + value, bottom), WHITE);
    else
        target->fillRect(makeRect(280 - value, top, 280, bottom), BLACK);
}

void Info::drawBuzzGauge(int value, int side) {
    drawFrame(side, BUZZ_TOP, BUZZ_BOTTOM);
    const bool hidden = blinkHidden(buzzBlink[sideIndex(side)], value);
    int top = BUZZ_TOP;
    if (value < 30) {
        top = BUZZ_BOTTOM - 2;
    } else if (value < 60) {
        top = BUZZ_BOTTOM - 5;
    } else if (hidden) {
        return;
    }
    drawBar(side, value, top, BUZZ_BOTTOM);
}

void Info::drawEatingsGauge(int value, int side) {
    drawFrame(side, EATINGS_TOP, EATINGS_BOTTOM);
    if (blinkHidden(eatingsBlink[sideIndex(side)], value)) return;
    drawBar(side, value, EATINGS_TOP, EATINGS_BOTTOM);
}
