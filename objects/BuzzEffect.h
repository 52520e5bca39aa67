// The spark of a graze or an eat: flies to the player who caused it and fades after 200 ms.
#pragma once

#include "objects/Charactor.h"

#include <SDL.h>

class BuzzEffect : public Charactor {
public:
    // `at` is the centre of the grazed or eaten object; a spark of the owner's colour marks
    // an eat, one of the other colour a graze.
    BuzzEffect(Player* owner, const Point& at, int color);

    // Flies toward the owner and draws itself straight onto the screen; vanishes when it
    // expires or reaches the field's top or left edge. A dead spark does nothing.
    void update() override;
    // A fixed 3 x 3: sparks have no picture.
    const Point& getSize() const override;

    Player* owner;  // not owned
    Uint32 expireTime;
};
