// A simple bullet: flies straight, dyes the field behind it and dies when it leaves it.
#pragma once

#include "objects/Buzzable.h"
#include "objects/Charactor.h"

class Shot : public Charactor, public Buzzable {
public:
    // `center` is where it was fired from, `vel` in pixels per second.
    Shot(const Point& center, const Point& vel, Window* image, int color);

    // Tells `other` that a shot hit it.
    void hit(Charactor& other) override;
};
