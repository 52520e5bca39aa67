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

std::unique_ptr<BulletMLDocument> load(const std::string& name) {
    return BulletMLDocument::load(std::string(SKELVO_TEST_DATA) + "/enemy/" + name);
}

class EnemyCommandTest : public HeadlessGameTest {
protected:
    // Their runners play documents that this fixture owns.
    ~EnemyCommandTest() override { game.enemies.clear(); }

    // A partner of colour c centred at `at`, in the game's list, with a runner over the
    // document (by default one that idles), which the test calls by hand or steps.
    EnemyCommand& bind(const Point& at, int c = 0, BulletMLParser* document = nullptr) {
        game.enemies.push_back(std::make_unique<Enemy>(at, game.enemyImages[c].get(),
                                                       game.actions.defaultList(), c));
        Enemy& owner = *game.enemies.back();
        owner.command = std::make_unique<EnemyCommand>(document ? document : idle.get(), &owner);
        return *owner.command;
    }
    Enemy& enemy(int i) { return **std::next(game.enemies.begin(), i); }

    std::unique_ptr<BulletMLDocument> idle = load("idle.xml");
};

}  // namespace

TEST_F(EnemyCommandTest, SpeaksDegreesClockwiseFromUpAndHundredsOfPixelsPerSecond) {
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
    // Standing still reads as -90, so a speed change sends it left, unless it was turned:
    // then it keeps its new heading.
    vel = Point(0, 0);
    command.doChangeSpeed(1);
    expectNear(vel, Point(-100.0, 0.0));
    vel = Point(0, 0);
    command.doChangeDirection(135);
    command.doChangeSpeed(1);
    expectNear(vel, Point(70.710678, 70.710678));
}

TEST_F(EnemyCommandTest, AimsAtThePlayerOfTheOtherColourAndPlaysAtItsOwnPlayersRank) {
    const Point at(150, 200);
    EnemyCommand& white = bind(at, 0);
    EnemyCommand& black = bind(at, 1);
    game.players[0]->center = at + Point(50, 100);
    game.players[1]->center = at + Point(-50, 100);
    game.players[0]->rank = 0.42;
    game.players[1]->rank = 0.7;
    EXPECT_NEAR(white.getAimDirection(), 206.565051, 1e-5);
    EXPECT_NEAR(black.getAimDirection(), 153.434949, 1e-5);
    EXPECT_EQ(std::make_pair(white.getRank(), black.getRank()), std::make_pair(0.42, 0.7));
}

TEST_F(EnemyCommandTest, ATurnIsSixteenMillisecondsAndALateRunnerCatchesUpFourAStep) {
    EnemyCommand& command = bind(Point(150, 200));
    std::vector<int> turns;
    for (Uint32 ticks : {16015u, 16016u, 17616u, 17616u, 16112u}) {
        game.lastTicks = ticks;
        command.beginStep();
        turns.push_back(command.getTurn());
    }
    EXPECT_EQ(turns, (std::vector<int>{1000, 1001, 1005, 1009, 1007}));
    // The whole range of the clock stays a positive turn count.
    game.lastTicks = 0xfffffff0u;
    EnemyCommand& fresh = bind(Point(150, 200));
    fresh.beginStep();
    EXPECT_EQ(fresh.getTurn(), 0x0fffffff);
}

TEST_F(EnemyCommandTest, BulletsLeaveTheOwnersCentreInItsColourAtTheFiredVelocity) {
    auto document = load("default-speed.xml");
    bind(Point(120, 80), 1, document.get());
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

TEST_F(EnemyCommandTest, BulletsThatCanFireAreDrawnWithTheFiringImage) {
    // A fire deep in a repeat, a fireRef and an actionRef can fire; one that only steers
    // cannot.
    auto document = load("bullet-images.xml");
    for (int c : {0, 1}) {
        game.enemies.clear();
        bind(Point(150, 100), c, document.get());
        enemy(0).step();
        std::vector<Window*> images;
        for (const auto& e : game.enemies) images.push_back(e->sprite->image);
        Window* firing = game.firingBulletImages[c].get();
        EXPECT_EQ(images, (std::vector<Window*>{game.enemyImages[c].get(), firing, firing, firing,
                                                game.plainBulletImages[c].get()}))
            << c;
    }
}

TEST_F(EnemyCommandTest, AFullFieldFiresNothingAndFreesWhatItDidNotFire) {
    // A shot, a bullet with actions, a shot and a bullet with actions; room for one of them.
    auto document = load("both-kinds.xml");
    bind(Point(150, 100), 0, document.get());
    while (game.shots.size() + game.enemies.size() < Game::kMaxBullets - 1)
        game.addShot(Point(10, 10), Point(0, 0), 1);
    const std::size_t shotsBefore = game.shots.size();
    enemy(0).step();
    EXPECT_EQ(std::make_pair(game.shots.size(), game.enemies.size()),
              std::make_pair(shotsBefore + 1, std::size_t{1}));
}
