// Enemies: the partners' round of wait and pattern, Zako partners, and bullets that play their
// own actions.
#include "script/ActionLibrary.h"
#include "script/BulletMLDocument.h"
#include "script/EnemyCommand.h"
#include "support/PlayerFixture.h"

#include <string>

namespace {

struct EnemyTest : PlayerFixture {
    ~EnemyTest() override { game.enemies.clear(); }

    // Hands the enemy the test pattern `name` and plays it to its end in turns of 16 ms.
    void playOut(Enemy& e, const std::string& name) {
        document = BulletMLDocument::load(std::string(SKELVO_TEST_DATA) + "/enemy/" + name);
        e.command = std::make_unique<EnemyCommand>(document.get(), &e);
        for (int i = 0; i < 100 && e.command; ++i) {
            game.lastTicks += 16;
            e.step();
        }
    }

    std::unique_ptr<BulletMLDocument> document;
};

}  // namespace

TEST_F(EnemyTest, APatternStarts1500msAfterThePartnerIsMadeAndASecondAfterTheLastEnds) {
    Enemy& e = partner(Point(150, 100), 0);  // at 1000
    game.lastTicks = 2499;
    e.step();
    EXPECT_EQ(e.command, nullptr);
    game.lastTicks = 2500;
    e.step();
    EXPECT_NE(e.command, nullptr);
    playOut(e, "fire-speed-1.xml");
    EXPECT_EQ(e.command, nullptr);
    EXPECT_EQ(e.nextStart, game.lastTicks + 1000);
}

TEST_F(EnemyTest, ZakoPartnersAndBulletsDieOnTouchingTheirOwnPlayerAndFlyOnWhenDone) {
    Enemy& still = partner(Point(150, 100), 0);
    game.enemies.push_back(std::make_unique<Enemy>(Point(150, 100), game.enemyImages[0].get(),
                                                   game.actions.slot(0), 0));  // bosses.act
    Enemy& zako = *game.enemies.back();
    still.hitByPlayer(white());
    zako.hitByPlayer(black());
    EXPECT_EQ(std::pair(still.alive, zako.alive), std::pair(true, true));
    zako.hitByPlayer(white());
    EXPECT_FALSE(zako.alive);
    // A bullet, dyeing like a Zako, plays its actions once and flies on with its last velocity.
    playOut(still, "speeds-up-once.xml");
    Enemy& bullet = *game.enemies.back();
    for (int i = 0; i < 100; ++i) {
        game.lastTicks += 16;
        bullet.step();
    }
    EXPECT_EQ(bullet.command, nullptr);
    EXPECT_NEAR(bullet.vel.y, 200.0, 1e-6);
    EXPECT_TRUE(bullet.dyeing);
}
