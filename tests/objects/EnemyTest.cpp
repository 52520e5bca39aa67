// Enemies: the partners' round of wait and pattern, and bullets that play their own.
#include "objects/Enemy.h"
#include "objects/Shot.h"
#include "script/ActionList.h"
#include "script/BulletMLDocument.h"
#include "script/EnemyCommand.h"
#include "support/HeadlessGame.h"

#include <string>
#include <vector>

namespace {

const std::string kEnemy = std::string(SKELVO_TEST_DATA) + "/enemy/";

class EnemyTest : public HeadlessGameTest {
protected:
    ~EnemyTest() override { game.enemies.clear(); }

    // An action list of this kind playing these test documents in turn.
    ActionList* list(std::string kind, const std::vector<std::string>& documents) {
        for (const std::string& d : documents) kind += "\n" + kEnemy + d;
        const std::string name = "list" + std::to_string(lists.size());
        dir.write(name, kind + "\n");
        lists.push_back(std::make_unique<ActionList>(dir.file(name)));
        return lists.back().get();
    }
    Enemy& partner(ActionList* actions) {
        game.enemies.push_back(
            std::make_unique<Enemy>(Point(150, 100), game.enemyImages[0].get(), actions, 0));
        return *game.enemies.back();
    }
    // Steps the enemy at `t`; whether it is playing a pattern then.
    bool playingAt(Enemy& e, Uint32 t) {
        game.lastTicks = t;
        e.step();
        return e.command != nullptr;
    }
    // Plays the enemy's pattern, started as soon as it may, to its end in turns of 16 ms; the
    // speed, in BulletML units, of the first shot it fired.
    double playNext(Enemy& e) {
        EXPECT_TRUE(playingAt(e, std::max(game.lastTicks, e.nextStart)));
        game.shots.clear();
        for (int i = 0; i < 100 && e.command; ++i) playingAt(e, game.lastTicks + 16);
        EXPECT_EQ(e.command, nullptr);
        return game.shots.empty() ? 0.0
                                  : game.shots.front()->vel.length() /
                                        EnemyCommand::kPixelsPerSpeedUnit;
    }

    ScratchDir dir;
    std::vector<std::unique_ptr<ActionList>> lists;
};

}  // namespace

// The partner is made at 1000. A list without documents waits the pause again, never acting.
TEST_F(EnemyTest, APatternStarts1500msAfterThePartnerIsMadeAndASecondAfterTheLastEnds) {
    Enemy& e = partner(list("Commands List", {"fire-speed-1.xml"}));
    EXPECT_FALSE(playingAt(e, 2499));
    EXPECT_EQ(playNext(e), 1.0);
    EXPECT_EQ(e.nextStart, game.lastTicks + 1000);
    Enemy& idle = partner(list("Commands List", {}));
    EXPECT_FALSE(playingAt(idle, idle.nextStart));
    EXPECT_EQ(idle.nextStart, game.lastTicks + 1000);
}

TEST_F(EnemyTest, PartnersSharingAListTakeItsDocumentsInTurnAndANewOneRewindsIt) {
    ActionList* shared = list("Commands List", {"fire-speed-1.xml", "fire-speed-2.xml"});
    Enemy& a = partner(shared);
    Enemy& b = partner(shared);
    EXPECT_EQ(playNext(a), 1.0);
    EXPECT_EQ(playNext(b), 2.0);
    partner(shared);
    EXPECT_EQ(playNext(a), 1.0);
}

TEST_F(EnemyTest, ZakoPartnersAndBulletsDieOnTouchingTheirOwnPlayerAndFlyOnWhenDone) {
    Enemy& still = partner(list("Commands List", {"fire-speed-1.xml"}));
    Enemy& zako = partner(list("Zako", {"fire-speed-1.xml"}));
    still.hitByPlayer(*game.players[0]);
    zako.hitByPlayer(*game.players[1]);
    EXPECT_EQ(std::pair(still.alive, zako.alive), std::pair(true, true));
    zako.hitByPlayer(*game.players[0]);
    EXPECT_FALSE(zako.alive);
    // A bullet, dyeing like a Zako, plays its actions once and flies on with its last velocity.
    auto document = BulletMLDocument::load(kEnemy + "speeds-up-once.xml");
    still.command = std::make_unique<EnemyCommand>(document.get(), &still);
    still.step();
    Enemy& bullet = *game.enemies.back();
    for (int i = 0; i < 100; ++i) playingAt(bullet, game.lastTicks + 16);
    EXPECT_NEAR(bullet.vel.y, 200.0, 1e-6);
    EXPECT_TRUE(bullet.dyeing);
}
