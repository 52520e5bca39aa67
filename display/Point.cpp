// Plane geometry of the field.
#include "display/Point.h"

#include <cmath>

double Point::length() const { return std::sqrt(x * x + y * y); }

Point Point::direction() const {
    const double d = x * x + y * y;
    if (d == 0.0) return {0.0, 0.0};
    return {x * std::fabs(x) / d, y * std::fabs(y) / d};
}

double Point::angle() const {
    if (y < 0) return -std::atan(x / y);
    if (y > 0) return GAME_PI - std::atan(x / y);
    return -1.5707963;
}

Point Polar::toPoint() const { return {r * std::sin(a), -r * std::cos(a)}; }
