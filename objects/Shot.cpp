// A simple bullet.
#include "objects/Shot.h"

Shot::Shot(const Point& center, const Point& v, Window* image, int color)
    : Charactor(center, image, color) {
    vel = v;
    dyeing = true;
}

void Shot::hit(Charactor& other) { other.hitByShot(*this); }
