// Field objects: proximity, movement, the boundary rule, blinking and the collision dispatch.
#include "objects/Charactor.h"
#include "objects/Player.h"
#include "objects/Shot.h"
#include "objects/Sprite.h"
#include "support/HeadlessGame.h"

#include <string>
#include <vector>

namespace {

using CharactorTest = HeadlessGameTest;

// An object without a picture, placed by its centre alone.
struct Dot : Charactor {
    explicit Dot(const Point& c) : Charactor(c, nullptr, 0) { pos = center = c; }
};

// Records which of its hitBy operations was called, and with what.
struct Target : Dot {
    Target() : Dot(Point(0, 0)) {}
    void hitByPlayer(Player& p) override { calls.push_back({"player", &p}); }
    void hitByEnemy(Enemy&) override { calls.push_back({"enemy", nullptr}); }
    void hitByShot(Shot& s) override { calls.push_back({"shot", &s}); }
    std::vector<std::pair<std::string, const Charactor*>> calls;
};

bool near(const Point& a, const Point& b) { return Dot(a).isNear(Dot(b)); }

}  // namespace

TEST_F(CharactorTest, NearMeansUnderTwentyPixelsStrictly) {
    const Point o(150, 200);
    EXPECT_FALSE(near(o, o + Point(20, 0)));
    EXPECT_FALSE(near(o, o + Point(0, -20)));
    EXPECT_TRUE(near(o, o + Point(19, 0)));
    EXPECT_TRUE(near(o, o + Point(-12, 15)));   // 19.2
    EXPECT_FALSE(near(o, o + Point(16, 12)));   // exactly 20
    EXPECT_FALSE(near(o, o + Point(-16, -12)));
    EXPECT_FALSE(near(o, o + Point(20, 20)));   // inside the box, outside the circle
    EXPECT_FALSE(near(o, o + Point(21, 0)));
    EXPECT_TRUE(near(o, o));
}

TEST_F(CharactorTest, NearComparesCentresTruncatedTowardZero) {
    // 19.6 apart, but 0 and 20 once truncated.
    EXPECT_FALSE(near(Point(0.9, 5), Point(20.5, 5)));
    // 20.8 apart, but 0 and 19: truncating -0.9 downward would give -1 and a distance of 20.
    EXPECT_TRUE(near(Point(-0.9, 5), Point(19.9, 5)));
    EXPECT_TRUE(near(Point(5, -0.9), Point(5, 19.9)));
}

TEST_F(CharactorTest, EachObjectIsClampedByItsOwnSize) {
    // A partner-sized object clamped first must not lend its bounds to the player.
    Charactor partner(Point(150, 100), game.enemyImages[0].get(), 0);
    Player& white = *game.players[0];
    ASSERT_EQ(partner.getSize(), Point(24, 24));
    ASSERT_EQ(white.getSize(), Point(20, 20));

    partner.pos = Point(1000, 1000);
    partner.checkField();
    EXPECT_EQ(partner.pos, Point(276, 376));
    EXPECT_EQ(partner.center, Point(288, 388));

    white.pos = Point(1000, 1000);
    white.checkField();
    EXPECT_EQ(white.pos, Point(280, 380));
    EXPECT_EQ(white.center, Point(290, 390));

    white.pos = Point(-5, 170);
    white.checkField();
    EXPECT_EQ(white.pos, Point(0, 170));
    white.pos = Point(280, -0.5);
    white.checkField();
    EXPECT_EQ(white.pos, Point(280, 0));
    EXPECT_EQ(white.center, Point(290, 10));
    EXPECT_TRUE(white.alive);
}

TEST_F(CharactorTest, BlinkingHidesTheFirstHalfOfEvery128ms) {
    Sprite s(game.shotImages[0].get());
    for (Uint32 now : {0u, 63u, 64u, 127u, 128u, 0xffffffffu}) EXPECT_TRUE(s.isVisible(now));
    s.blink = true;
    for (Uint32 now : {0u, 63u, 128u, 191u, 0xffffff80u}) EXPECT_FALSE(s.isVisible(now)) << now;
    for (Uint32 now : {64u, 127u, 192u, 255u, 0xffffffffu}) EXPECT_TRUE(s.isVisible(now)) << now;

    const Uint32 field = screenAt(54, 54);
    s.draw(*game.window, Point(50, 50), 1000 + 10);  // 1010 & 127 = 114: shown
    EXPECT_NE(screenAt(54, 54), field);
    game.window->clear();
    s.draw(*game.window, Point(50, 50), 1024);  // 1024 & 127 = 0: hidden
    EXPECT_EQ(screenAt(54, 54), field);
}

TEST_F(CharactorTest, EachKindNamesItselfToTheOther) {
    Target t;
    Charactor plain(Point(10, 10), nullptr, 0);
    Shot& shot = game.addShot(Point(10, 10), Point(0, 0), 1);
    Player& black = *game.players[1];

    plain.hit(t);
    EXPECT_TRUE(t.calls.empty());
    shot.hit(t);
    black.hit(t);
    ASSERT_EQ(t.calls.size(), 2u);
    EXPECT_EQ(t.calls[0].first, "shot");
    EXPECT_EQ(t.calls[0].second, &shot);
    EXPECT_EQ(t.calls[1].first, "player");
    EXPECT_EQ(t.calls[1].second, &black);
    // Only shots and enemies can be grazed.
    EXPECT_NE(dynamic_cast<Buzzable*>(static_cast<Charactor*>(&shot)), nullptr);
    EXPECT_EQ(dynamic_cast<Buzzable*>(static_cast<Charactor*>(&black)), nullptr);
}
