// The BulletML runner against a real enemy on a headless game: units, aim, clock, rank, firing.
#include "objects/Enemy.h"
#include "objects/Shot.h"
#include "script/BulletMLDocument.h"
#include "script/EnemyCommand.h"
#include "support/HeadlessGame.h"

#include <iterator>
#include <string>
#include <tuple>

namespace {

void expectNear(const Point& seen, const Point& expected) {
    EXPECT_NEAR(seen.distance(expected), 0.0, 1e-4) << testing::PrintToString(seen);
}

class EnemyCommandTest : public HeadlessGameTest {
protected:
    // Their runners play documents that this fixture owns.
    ~EnemyCommandTest() override { game.enemies.clear(); }

    // A partner of colour c at `at` whose runner plays the named document of tests/data/enemy.
    EnemyCommand& bind(const Point& at, int c = 0, const std::string& name = "idle.xml") {
        documents.push_back(BulletMLDocument::load(SKELVO_TEST_DATA "/enemy/" + name));
        game.enemies.push_back(std::make_unique<Enemy>(at, game.enemyImages[c].get(),
                                                       game.actions.defaultList(), c));
        Enemy& owner = *game.enemies.back();
        owner.command = std::make_unique<EnemyCommand>(documents.back().get(), &owner);
        return *owner.command;
    }
    Enemy& enemy(int i) { return **std::next(game.enemies.begin(), i); }

    std::vector<std::unique_ptr<BulletMLDocument>> documents;
};

}  // namespace

TEST_F(EnemyCommandTest, SpeaksDegreesFromUpAndHundredsOfPixelsPerSecondAimsAtTheOtherColour) {
    EnemyCommand& command = bind(Point(150, 200));
    Point& vel = enemy(0).vel;
    vel = Point(30, 40);
    EXPECT_NEAR(command.getBulletDirection(), 143.130102, 1e-5);
    EXPECT_EQ(std::make_tuple(command.getBulletSpeed(), command.getBulletSpeedX(),
                              command.getBulletSpeedY()),
              std::make_tuple(0.5, 0.3, 0.4));
    command.doChangeDirection(135);
    expectNear(vel, Point(35.355339, 35.355339));
    command.doChangeSpeed(2);
    expectNear(vel, Point(141.421356, 141.421356));
    command.doAccelX(1.5);
    command.doAccelY(-0.25);
    EXPECT_EQ(vel, Point(150, -25));
    // A runner turned while standing still keeps its new heading when it speeds up.
    vel = Point(0, 0);
    command.doChangeDirection(135);
    command.doChangeSpeed(1);
    expectNear(vel, Point(70.710678, 70.710678));
    EnemyCommand& black = bind(Point(150, 200), 1);
    game.players[0]->center = Point(200, 300);
    game.players[1]->center = Point(100, 300);
    game.players[0]->rank = 0.42;
    game.players[1]->rank = 0.7;
    EXPECT_NEAR(command.getAimDirection(), 206.565051, 1e-5);
    EXPECT_NEAR(black.getAimDirection(), 153.434949, 1e-5);
    EXPECT_EQ(std::make_pair(command.getRank(), black.getRank()), std::make_pair(0.42, 0.7));
}

TEST_F(EnemyCommandTest, ATurnIsSixteenMillisecondsAndALateRunnerCatchesUpFourAStep) {
    // The first step takes the clock's turn, even at the top of the clock's range.
    EnemyCommand& command = bind(Point(150, 200));
    std::vector<int> turns;
    for (Uint32 ticks : {0xfffffff0u, 16015u, 16016u, 17616u, 17616u, 16112u}) {
        game.lastTicks = ticks;
        command.beginStep();
        turns.push_back(command.getTurn());
    }
    EXPECT_EQ(turns, (std::vector<int>{0x0fffffff, 1000, 1001, 1005, 1009, 1007}));
}

TEST_F(EnemyCommandTest, BulletsLeaveTheOwnersCentreInItsColourAtTheFiredVelocity) {
    bind(Point(120, 80), 1, "default-speed.xml");
    enemy(0).step();
    ASSERT_EQ(std::make_pair(game.shots.size(), game.enemies.size()), std::make_pair(1ul, 2ul));
    const Shot& shot = *game.shots.front();
    const Enemy& bullet = enemy(1);
    EXPECT_EQ(std::make_tuple(shot.color, shot.center, bullet.color, bullet.center, bullet.dyeing),
              std::make_tuple(1, Point(120, 80), 1, Point(120, 80), true));
    // No speed given: the default speed of 1 is 100 pixels per second.
    expectNear(shot.vel, Point(100.0, 0.0));
    expectNear(bullet.vel, Point(0.0, 150.0));
}

TEST_F(EnemyCommandTest, AFullFieldFiresNothingAndFreesWhatItDidNotFire) {
    // A shot, a bullet with actions, a shot and a bullet with actions; room for one of them.
    bind(Point(150, 100), 0, "both-kinds.xml");
    while (game.shots.size() + game.enemies.size() < Game::kMaxBullets - 1)
        game.addShot(Point(10, 10), Point(0, 0), 1);
    const std::size_t shotsBefore = game.shots.size();
    enemy(0).step();
    EXPECT_EQ(std::make_pair(game.shots.size(), game.enemies.size()),
              std::make_pair(shotsBefore + 1, std::size_t{1}));
}
