// The BulletML runner against a real enemy on a headless game: units, aim, clock, rank, firing.
#include "objects/Enemy.h"
#include "objects/Shot.h"
#include "script/BulletMLDocument.h"
#include "script/EnemyCommand.h"
#include "support/HeadlessGame.h"

#include <algorithm>
#include <iterator>
#include <string>

namespace {

void expectNear(const Point& seen, const Point& expected) {
    EXPECT_NEAR(seen.x, expected.x, 1e-4) << "x of " << testing::PrintToString(seen);
    EXPECT_NEAR(seen.y, expected.y, 1e-4) << "y of " << testing::PrintToString(seen);
}

std::unique_ptr<BulletMLDocument> load(const std::string& name) {
    return BulletMLDocument::load(std::string(SKELVO_TEST_DATA) + "/enemy/" + name);
}

class EnemyCommandTest : public HeadlessGameTest {
protected:
    ~EnemyCommandTest() override {
        // Their runners play documents that this fixture owns.
        game.enemies.clear();
    }

    // A partner of colour c centred at `at`, in the game's list, with a runner over the
    // document that the test calls by hand or steps.
    Enemy& bind(const Point& at, int c, BulletMLParser* document) {
        game.enemies.push_back(std::make_unique<Enemy>(at, game.enemyImages[c].get(),
                                                       game.actions.defaultList(), c));
        Enemy& owner = *game.enemies.back();
        owner.command = std::make_unique<EnemyCommand>(document, &owner);
        return owner;
    }
    Enemy& bind(const Point& at, int c = 0) { return bind(at, c, idle.get()); }

    void placePlayer(int c, const Point& center) {
        game.players[c] = std::make_unique<Player>(center, game.haloImages[c].get(),
                                                   game.inputs[c].get(), c, 0, 2);
    }
    Enemy& enemy(int i) { return **std::next(game.enemies.begin(), i); }

    std::unique_ptr<BulletMLDocument> idle = load("idle.xml");
};

}  // namespace

TEST_F(EnemyCommandTest, ReadsTheOwnersVelocityInDegreesAndBulletMLUnits) {
    Enemy& owner = bind(Point(150, 200));
    EnemyCommand& command = *owner.command;
    // Sideways and still all read as -90: the patterns were tuned with it.
    const struct {
        Point vel;
        double direction, speed;
    } table[] = {{{0, -100}, 0.0, 1.0},         {{30, 40}, 143.130102, 0.5},
                 {{-100, -100}, -45.0, 1.4142136}, {{-10, 50}, 191.309932, 0.5099020},
                 {{100, 0}, -90.0, 1.0},       {{-100, 0}, -90.0, 1.0},
                 {{0, 0}, -90.0, 0.0}};
    for (const auto& row : table) {
        owner.vel = row.vel;
        SCOPED_TRACE(testing::PrintToString(row.vel));
        EXPECT_NEAR(command.getBulletDirection(), row.direction, 1e-5);
        EXPECT_NEAR(command.getBulletSpeed(), row.speed, 1e-6);
        EXPECT_DOUBLE_EQ(command.getBulletSpeedX(), row.vel.x / 100);
        EXPECT_DOUBLE_EQ(command.getBulletSpeedY(), row.vel.y / 100);
    }
    EXPECT_EQ(command.getDefaultSpeed(), 1.0);
}

TEST_F(EnemyCommandTest, WritesTheOwnersVelocityInPixelsPerSecond) {
    Enemy& owner = bind(Point(150, 200));
    EnemyCommand& command = *owner.command;
    // Every heading BulletML may hand over comes back as it went in, length kept.
    owner.vel = Point(0, -50);
    for (double d : {90.0, -89.0, -30.0, 0.0, 45.0, 179.0, 200.0, 269.0, 135.0}) {
        command.doChangeDirection(d);
        EXPECT_NEAR(command.getBulletDirection(), d, 1e-5);
        EXPECT_NEAR(owner.vel.length(), 50.0, 1e-9);
    }
    command.doChangeSpeed(2);
    expectNear(owner.vel, Point(141.421356, 141.421356));
    command.doAccelX(1.5);
    command.doAccelY(-0.25);
    EXPECT_EQ(owner.vel, Point(150, -25));
    // Sideways or standing still reads as -90, so a speed change sends it exactly right...
    for (const Point& v : {Point(80, 0), Point(0, 0)}) {
        owner.vel = v;
        command.doChangeSpeed(1);
        expectNear(owner.vel, Point(-100.0, 0.0));
    }
    // ...unless a stopped object was turned: it keeps its new heading.
    owner.vel = Point(0, 0);
    command.doChangeDirection(135);
    EXPECT_NEAR(owner.vel.length(), EnemyCommand::kStoppedSpeed, 1e-12);
    command.doChangeSpeed(1);
    expectNear(owner.vel, Point(70.710678, 70.710678));
}

TEST_F(EnemyCommandTest, AimsFromItsCentreAtTheCentreOfThePlayerOfTheOtherColour) {
    const Point at(150, 200);
    Enemy& white = bind(at, 0);
    // The white player sits where the aim would show if the white partner used it.
    placePlayer(0, at + Point(0, -100));
    const std::pair<Point, double> table[] = {{{100, 0}, -90.0},  {{-100, 0}, -90.0},
                                              {{0, -100}, 0.0},   {{0, 100}, 180.0},
                                              {{-50, 100}, 206.565051}};
    for (const auto& [offset, aim] : table) {
        placePlayer(1, at + offset);
        EXPECT_NEAR(white.command->getAimDirection(), aim, 1e-5) << testing::PrintToString(offset);
    }
    Enemy& black = bind(at, 1);
    placePlayer(0, at + Point(50, 100));
    EXPECT_NEAR(black.command->getAimDirection(), 153.434949, 1e-5);
}

TEST_F(EnemyCommandTest, ATurnIsSixteenMillisecondsOfTheGameClock) {
    // The whole range of the clock stays a positive turn count.
    const std::pair<Uint32, int> table[] = {
        {16000, 1000}, {16015, 1000}, {16016, 1001}, {16000 + 16 * 37 + 5, 1037}, {0xfffffff0u, 0x0fffffff}};
    for (const auto& [ticks, turn] : table) {
        game.lastTicks = ticks;
        EnemyCommand& command = *bind(Point(150, 200)).command;
        command.beginStep();
        EXPECT_EQ(command.getTurn(), turn) << ticks;
    }
}

TEST_F(EnemyCommandTest, RankIsTheOwnPlayersWithItsEndsSnapped) {
    EnemyCommand& white = *bind(Point(150, 200), 0).command;
    EnemyCommand& black = *bind(Point(150, 200), 1).command;
    game.players[1]->rank = 0.7;
    for (const auto& [rank, seen] : {std::pair{0.999995, 1.0}, {0.000005, 0.0}, {0.99999, 0.99999}, {0.42, 0.42}}) {
        game.players[0]->rank = rank;
        EXPECT_EQ(white.getRank(), seen) << rank;
    }
    EXPECT_EQ(black.getRank(), 0.7);
}

TEST_F(EnemyCommandTest, BulletsLeaveTheOwnersCentreInItsColourAtTheFiredVelocity) {
    auto document = load("default-speed.xml");
    Enemy& owner = bind(Point(120, 80), 1, document.get());
    owner.step();

    ASSERT_EQ(game.shots.size(), 1u);
    const Shot& shot = *game.shots.front();
    EXPECT_EQ(shot.color, 1);
    EXPECT_EQ(shot.center, Point(120, 80));
    // No speed given: the default speed of 1 is 100 pixels per second.
    expectNear(shot.vel, Point(100.0, 0.0));

    ASSERT_EQ(game.enemies.size(), 2u);
    const Enemy& bullet = enemy(1);
    EXPECT_EQ(bullet.color, 1);
    EXPECT_EQ(bullet.center, Point(120, 80));
    expectNear(bullet.vel, Point(0.0, 150.0));
    EXPECT_TRUE(bullet.dyeing);
    EXPECT_EQ(bullet.actions, nullptr);
    EXPECT_NE(bullet.command, nullptr);
}

TEST_F(EnemyCommandTest, BulletsThatCanFireAreDrawnWithTheFiringImage) {
    auto document = load("bullet-images.xml");
    for (int c : {0, 1}) {
        SCOPED_TRACE(c);
        game.enemies.clear();
        bind(Point(150, 100), c, document.get()).step();
        ASSERT_EQ(game.enemies.size(), 5u);
        Window* firing = game.firingBulletImages[c].get();
        Window* plain = game.plainBulletImages[c].get();
        // A fire deep in a repeat, a fireRef, an actionRef to an action that never fires.
        EXPECT_EQ(enemy(1).sprite->image, firing);
        EXPECT_EQ(enemy(2).sprite->image, firing);
        EXPECT_EQ(enemy(3).sprite->image, firing);
        EXPECT_EQ(enemy(4).sprite->image, plain);
        EXPECT_EQ(enemy(4).color, c);

        // The firing bullet fires one that only steers: plain, whoever fired it.
        for (int turn = 0; turn < 4 && game.enemies.size() == 5; ++turn) {
            game.lastTicks += 16;
            game.thinkEnemies();
        }
        ASSERT_EQ(game.enemies.size(), 6u);
        EXPECT_EQ(enemy(5).sprite->image, plain);
        EXPECT_EQ(enemy(5).color, c);
    }
}

TEST_F(EnemyCommandTest, AFullFieldFiresNothingAndFreesWhatItDidNotFire) {
    auto document = load("both-kinds.xml");
    Enemy& owner = bind(Point(150, 100), 0, document.get());
    // Room for exactly one more object.
    while (game.shots.size() + game.enemies.size() < Game::kMaxBullets - 1)
        game.addShot(Point(10, 10), Point(0, 0), 1);
    const std::size_t shotsBefore = game.shots.size();
    owner.step();
    // The first shot fits; both bullets with actions and the second shot are dropped.
    EXPECT_EQ(game.shots.size(), shotsBefore + 1);
    EXPECT_EQ(game.enemies.size(), 1u);
    EXPECT_FALSE(game.hasRoomForBullet());

    // With room for two, a shot and a bullet with actions come out.
    game.shots.resize(game.shots.size() - 2);
    owner.command = std::make_unique<EnemyCommand>(document.get(), &owner);
    owner.step();
    EXPECT_EQ(game.shots.size() + game.enemies.size(), Game::kMaxBullets);
    EXPECT_EQ(game.enemies.size(), 2u);
}
