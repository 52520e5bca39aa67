// The BulletML runner against a real enemy on a headless game: units, aim, clock, rank, firing.
#include "objects/Enemy.h"
#include "objects/Shot.h"
#include "script/BulletMLDocument.h"
#include "script/EnemyCommand.h"
#include "support/HeadlessGame.h"

#include <iterator>
#include <string>

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
    // document that the test calls by hand or steps.
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
    // Sideways and still read as -90: the patterns were tuned with it.
    const struct {
        Point vel;
        double direction, speed;
    } table[] = {{{0, -100}, 0.0, 1.0}, {{30, 40}, 143.130102, 0.5}, {{100, 0}, -90.0, 1.0},
                 {{0, 0}, -90.0, 0.0}};
    for (const auto& row : table) {
        vel = row.vel;
        SCOPED_TRACE(testing::PrintToString(row.vel));
        EXPECT_NEAR(command.getBulletDirection(), row.direction, 1e-5);
        EXPECT_NEAR(command.getBulletSpeed(), row.speed, 1e-6);
        expectNear(Point(command.getBulletSpeedX(), command.getBulletSpeedY()) * 100, row.vel);
    }
    // Every heading BulletML may hand over comes back as it went in, length kept.
    vel = Point(0, -50);
    for (double d : {90.0, -30.0, 179.0, 200.0, 269.0, 135.0}) {
        command.doChangeDirection(d);
        EXPECT_NEAR(command.getBulletDirection(), d, 1e-5);
        EXPECT_NEAR(vel.length(), 50.0, 1e-9);
    }
    command.doChangeSpeed(2);
    expectNear(vel, Point(141.421356, 141.421356));
    command.doAccelX(1.5);
    command.doAccelY(-0.25);
    EXPECT_EQ(vel, Point(150, -25));
    // Standing still reads as -90, so a speed change sends it left, unless it was turned:
    // it keeps its new heading.
    vel = Point(0, 0);
    command.doChangeSpeed(1);
    expectNear(vel, Point(-100.0, 0.0));
    vel = Point(0, 0);
    command.doChangeDirection(135);
    EXPECT_NEAR(vel.length(), EnemyCommand::kStoppedSpeed, 1e-12);
    command.doChangeSpeed(1);
    expectNear(vel, Point(70.710678, 70.710678));
}

TEST_F(EnemyCommandTest, AimsAtThePlayerOfTheOtherColourAndPlaysAtItsOwnPlayersRank) {
    const Point at(150, 200);
    EnemyCommand& white = bind(at, 0);
    // The white player sits where the aim would show if the white partner used it.
    game.players[0]->center = at + Point(0, -100);
    const std::pair<Point, double> table[] = {
        {{0, -100}, 0.0}, {{0, 100}, 180.0}, {{-50, 100}, 206.565051}};
    for (const auto& [offset, aim] : table) {
        game.players[1]->center = at + offset;
        EXPECT_NEAR(white.getAimDirection(), aim, 1e-5) << testing::PrintToString(offset);
    }
    EnemyCommand& black = bind(at, 1);
    game.players[0]->center = at + Point(50, 100);
    EXPECT_NEAR(black.getAimDirection(), 153.434949, 1e-5);
    game.players[0]->rank = 0.42;
    game.players[1]->rank = 0.7;
    EXPECT_EQ(std::make_pair(white.getRank(), black.getRank()), std::make_pair(0.42, 0.7));
}

TEST_F(EnemyCommandTest, ATurnIsSixteenMillisecondsAndALateRunnerCatchesUpFourAStep) {
    // The whole range of the clock stays a positive turn count.
    const std::pair<Uint32, int> table[] = {
        {16000, 1000}, {16015, 1000}, {16016, 1001}, {0xfffffff0u, 0x0fffffff}};
    for (const auto& [ticks, turn] : table) {
        game.lastTicks = ticks;
        EnemyCommand& command = bind(Point(150, 200));
        command.beginStep();
        EXPECT_EQ(command.getTurn(), turn) << ticks;
    }
    game.lastTicks = 16000;
    EnemyCommand& late = bind(Point(150, 200));
    late.beginStep();
    game.lastTicks = 16000 + 16 * 100;
    std::vector<int> turns;
    for (int step = 0; step < 2; ++step) {
        late.beginStep();
        turns.push_back(late.getTurn());
    }
    game.lastTicks = 16000 + 16 * 5;
    late.beginStep();
    turns.push_back(late.getTurn());
    EXPECT_EQ(turns, (std::vector<int>{1004, 1008, 1005}));
}

TEST_F(EnemyCommandTest, BulletsLeaveTheOwnersCentreInItsColourAtTheFiredVelocity) {
    auto document = load("default-speed.xml");
    bind(Point(120, 80), 1, document.get());
    enemy(0).step();
    ASSERT_EQ(game.shots.size(), 1u);
    ASSERT_EQ(game.enemies.size(), 2u);
    const Shot& shot = *game.shots.front();
    const Enemy& bullet = enemy(1);
    EXPECT_EQ(std::make_tuple(shot.color, shot.center, bullet.color, bullet.center, bullet.dyeing),
              std::make_tuple(1, Point(120, 80), 1, Point(120, 80), true));
    // No speed given: the default speed of 1 is 100 pixels per second.
    expectNear(shot.vel, Point(100.0, 0.0));
    expectNear(bullet.vel, Point(0.0, 150.0));
    EXPECT_EQ(bullet.actions, nullptr);
}

TEST_F(EnemyCommandTest, BulletsThatCanFireAreDrawnWithTheFiringImage) {
    auto document = load("bullet-images.xml");
    for (int c : {0, 1}) {
        SCOPED_TRACE(c);
        game.enemies.clear();
        bind(Point(150, 100), c, document.get());
        enemy(0).step();
        // A fire deep in a repeat, a fireRef, an actionRef; then one that only steers, and
        // the one that the first fires a few turns later, which only steers too.
        for (int turn = 0; turn < 4 && game.enemies.size() == 5; ++turn) {
            game.lastTicks += 16;
            game.thinkEnemies();
        }
        std::vector<Window*> images;
        for (const auto& e : game.enemies) {
            images.push_back(e->sprite->image);
            EXPECT_EQ(e->color, c);
        }
        Window* firing = game.firingBulletImages[c].get();
        Window* plain = game.plainBulletImages[c].get();
        EXPECT_EQ(images, (std::vector<Window*>{game.enemyImages[c].get(), firing, firing,
                                                firing, plain, plain}));
    }
}

TEST_F(EnemyCommandTest, AFullFieldFiresNothingAndFreesWhatItDidNotFire) {
    // A shot, a bullet with actions, a shot and a bullet with actions.
    auto document = load("both-kinds.xml");
    bind(Point(150, 100), 0, document.get());
    Enemy& owner = enemy(0);
    // Room for exactly one more object: the first shot fits, the rest is dropped.
    while (game.shots.size() + game.enemies.size() < Game::kMaxBullets - 1)
        game.addShot(Point(10, 10), Point(0, 0), 1);
    const std::size_t shotsBefore = game.shots.size();
    owner.step();
    EXPECT_EQ(game.shots.size(), shotsBefore + 1);
    EXPECT_EQ(game.enemies.size(), 1u);
    // With room for two, a shot and a bullet with actions come out.
    game.shots.resize(game.shots.size() - 2);
    owner.command = std::make_unique<EnemyCommand>(document.get(), &owner);
    owner.step();
    EXPECT_EQ(game.shots.size() + game.enemies.size(), Game::kMaxBullets);
    EXPECT_EQ(game.enemies.size(), 2u);
}
