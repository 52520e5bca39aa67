// Plane geometry of the field: positions in pixels, velocities in pixels per second.
#pragma once

// The value of pi that every angle of the game is converted with.
constexpr double GAME_PI = 3.1415926;

inline double degreesToRadians(double deg) { return GAME_PI * deg / 180.0; }
inline double radiansToDegrees(double rad) { return 180.0 * rad / GAME_PI; }

struct Point {
    double x = 0.0;
    double y = 0.0;

    Point() = default;
    Point(double x_, double y_) : x(x_), y(y_) {}

    Point operator+(const Point& o) const { return {x + o.x, y + o.y}; }
    Point operator-(const Point& o) const { return {x - o.x, y - o.y}; }
    Point operator*(double k) const { return {x * k, y * k}; }
    Point& operator+=(const Point& o) { x += o.x; y += o.y; return *this; }
    Point& operator-=(const Point& o) { x -= o.x; y -= o.y; return *this; }
    bool operator==(const Point& o) const { return x == o.x && y == o.y; }
    bool operator!=(const Point& o) const { return !(*this == o); }

    double length() const;
    double distance(const Point& o) const { return (*this - o).length(); }

    // Signed-square direction (x|x|, y|y|) / (x² + y²): the components' magnitudes sum to 1,
    // so it is shorter than 1 off the axes. The zero vector gives the zero vector, so a pull
    // or flip of an object lying exactly on its target leaves it in place.
    Point direction() const;

    // Heading in radians, 0 pointing up and growing clockwise. A vector with y = 0 (the zero
    // vector included) gives -pi/2 whichever way it points, as the patterns were tuned with.
    double angle() const;
};

// A length and a heading (radians, 0 up, clockwise).
struct Polar {
    double r = 0.0;
    double a = 0.0;

    Polar() = default;
    Polar(double r_, double a_) : r(r_), a(a_) {}

    Point toPoint() const;
};
