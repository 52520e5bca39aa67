// The field's geometry: a direction keeps both signs, angles go clockwise from up.
#include "display/Point.h"

#include <gtest/gtest.h>

TEST(Point, DirectionKeepsTheSignsAndAnglesGoClockwiseFromUp) {
    EXPECT_EQ(Point(3, -4).direction(), Point(0.36, -0.64));
    EXPECT_EQ(Point(-3, 4).direction(), Point(-0.36, 0.64));
    EXPECT_EQ(Point(0, 0).direction(), Point(0, 0));
    const std::pair<Point, double> angles[] = {
        {{1, -1}, GAME_PI / 4}, {{1, 1}, 3 * GAME_PI / 4}, {{-1, 0}, -GAME_PI / 2}};
    for (const auto& [p, a] : angles) EXPECT_NEAR(p.angle(), a, 1e-6) << p.x << "," << p.y;
}
