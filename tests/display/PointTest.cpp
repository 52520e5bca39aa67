// Geometry helpers: the conversions every mover and the BulletML adapter rely on.
#include "display/Point.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Point, AnglesUseTheGamesPiAndReadHorizontalAsMinusNinetyDegrees) {
    EXPECT_DOUBLE_EQ(Point(0, -1).angle(), 0.0);
    EXPECT_NEAR(Point(0, 1).angle(), GAME_PI, 1e-12);
    for (const Point& p : {Point(5, 0), Point(-5, 0), Point(0, 0)})
        EXPECT_DOUBLE_EQ(p.angle(), -1.5707963) << p.x;
    EXPECT_NEAR(radiansToDegrees(Point(-1, 1).angle()), 225.0, 1e-5);
    EXPECT_DOUBLE_EQ(degreesToRadians(180.0), 3.1415926);
    const Point right = Polar(100.0, degreesToRadians(90.0)).toPoint();
    EXPECT_NEAR(right.x, 100.0, 1e-9);
    EXPECT_NEAR(right.y, 0.0, 1e-5);
    EXPECT_EQ(Polar(2.0, 0.0).toPoint(), Point(0, -2));
    const Point v = Polar(50.0, degreesToRadians(30.0)).toPoint();
    EXPECT_NEAR(radiansToDegrees(v.angle()), 30.0, 1e-6);
    EXPECT_NEAR(v.length(), 50.0, 1e-9);
}

TEST(Point, DirectionIsTheSignedSquaresOverTheLengthSquared) {
    EXPECT_EQ(Point(3, -4).direction(), Point(9.0 / 25.0, -16.0 / 25.0));
    EXPECT_NEAR(Point(7, 7).direction().length(), std::sqrt(0.5), 1e-12);
    EXPECT_EQ(Point(0, -9).direction(), Point(0, -1));
    EXPECT_EQ(Point(0, 0).direction(), Point(0, 0));
}
