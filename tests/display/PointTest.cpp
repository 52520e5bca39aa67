// Geometry helpers: the conversions every mover and the BulletML adapter rely on.
#include "display/Point.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(PointAngle, AxesAndTheHorizontalSpecialCase) {
    EXPECT_DOUBLE_EQ(Point(0, -1).angle(), 0.0);
    EXPECT_NEAR(Point(0, 1).angle(), GAME_PI, 1e-12);
    // Straight right, straight left and the zero vector all read as -90 degrees.
    EXPECT_DOUBLE_EQ(Point(5, 0).angle(), -1.5707963);
    EXPECT_DOUBLE_EQ(Point(-5, 0).angle(), -1.5707963);
    EXPECT_DOUBLE_EQ(Point(0, 0).angle(), -1.5707963);
    // Below and to the left lies between 180 and 270 degrees.
    const double deg = radiansToDegrees(Point(-1, 1).angle());
    EXPECT_GT(deg, 180.0);
    EXPECT_LT(deg, 270.0);
    EXPECT_NEAR(deg, 225.0, 1e-5);
}

TEST(PointAngle, PolarRoundTripUsesTheGamesPi) {
    const Polar p(100.0, degreesToRadians(90.0));
    const Point v = p.toPoint();
    EXPECT_NEAR(v.x, 100.0, 1e-9);
    EXPECT_NEAR(v.y, 0.0, 1e-5);
    EXPECT_DOUBLE_EQ(degreesToRadians(180.0), 3.1415926);
    const Point up = Polar(2.0, 0.0).toPoint();
    EXPECT_DOUBLE_EQ(up.x, 0.0);
    EXPECT_DOUBLE_EQ(up.y, -2.0);
    const Point v2 = Polar(50.0, degreesToRadians(30.0)).toPoint();
    EXPECT_NEAR(radiansToDegrees(v2.angle()), 30.0, 1e-6);
    EXPECT_NEAR(v2.length(), 50.0, 1e-9);
}

TEST(PointDirection, SignedSquaresAndTheZeroVector) {
    const Point d = Point(3, -4).direction();
    EXPECT_DOUBLE_EQ(d.x, 9.0 / 25.0);
    EXPECT_DOUBLE_EQ(d.y, -16.0 / 25.0);
    EXPECT_DOUBLE_EQ(std::fabs(d.x) + std::fabs(d.y), 1.0);
    EXPECT_NEAR(Point(7, 7).direction().length(), std::sqrt(0.5), 1e-12);
    EXPECT_EQ(Point(0, -9).direction(), Point(0, -1));
    const Point z = Point(0, 0).direction();
    EXPECT_EQ(z, Point(0, 0));
    EXPECT_FALSE(std::isnan(z.x) || std::isnan(z.y));
}
