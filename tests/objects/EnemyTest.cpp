// Enemies: the partners' round of wait, countdown and pattern, and bullets that play their own.
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

    // An action list playing these test documents in order.
    ActionList* list(const std::vector<std::string>& documents, bool zako = false) {
        std::string text = zako ? "Zako\nCommands List\n" : "Commands List\n";
        for (const std::string& d : documents) text += kEnemy + d + "\n";
        const std::string name = "list" + std::to_string(lists.size());
        dir.write(name, text);
        lists.push_back(std::make_unique<ActionList>(dir.file(name)));
        return lists.back().get();
    }
    Enemy& partner(ActionList* actions) {
        game.enemies.push_back(std::make_unique<Enemy>(Point(150.5, 200.5),
                                                       game.enemyImages[0].get(), actions, 0));
        return *game.enemies.back();
    }
    // Steps the enemy at `t`; whether it is playing a pattern then.
    bool playingAt(Enemy& e, Uint32 t) {
        game.lastTicks = t;
        e.step();
        return e.command != nullptr;
    }
    // Starts the enemy's next pattern as soon as it may, or goes on with the playing one, to its
    // end in turns of 16 ms; the speed, in BulletML units, of the first shot it fired then.
    double playNext(Enemy& e) {
        EXPECT_TRUE(playingAt(e, std::max(game.lastTicks, e.nextStart)));
        return playOut(e);
    }
    double playOut(Enemy& e) {
        game.shots.clear();
        for (int i = 0; i < 100 && e.command; ++i) playingAt(e, game.lastTicks + 16);
        EXPECT_EQ(e.command, nullptr);
        if (game.shots.empty()) return 0.0;
        return game.shots.front()->vel.length() / EnemyCommand::kPixelsPerSpeedUnit;
    }

    ScratchDir dir;
    std::vector<std::unique_ptr<ActionList>> lists;
};

}  // namespace

TEST_F(EnemyTest, APatternStarts1500msAfterThePartnerIsMadeAndASecondAfterTheLastEnds) {
    const Uint32 made = game.lastTicks;
    Enemy& e = partner(list({"fire-speed-1.xml"}));
    EXPECT_FALSE(playingAt(e, made + 1499));
    EXPECT_TRUE(playingAt(e, made + 1500));
    EXPECT_TRUE(game.shots.empty());  // the pattern plays from the next step on
    EXPECT_EQ(playOut(e), 1.0);
    EXPECT_EQ(e.nextStart, game.lastTicks + 1000);
    // A list without documents looks again after the same pause, and never acts.
    Enemy& idle = partner(list({}));
    EXPECT_FALSE(playingAt(idle, idle.nextStart));
    EXPECT_EQ(idle.nextStart, game.lastTicks + 1000);
}

TEST_F(EnemyTest, PartnersSharingAListTakeItsDocumentsInTurnAndANewOneRewindsIt) {
    ActionList* shared = list({"fire-speed-1.xml", "fire-speed-2.xml", "fire-speed-3.xml"});
    Enemy& a = partner(shared);
    Enemy& b = partner(shared);
    Enemy& c = partner(shared);
    EXPECT_EQ(playNext(a), 1.0);
    EXPECT_EQ(playNext(b), 2.0);
    EXPECT_EQ(playNext(c), 3.0);
    EXPECT_EQ(playNext(a), 1.0);
    partner(shared);
    EXPECT_EQ(playNext(b), 1.0);
    // A list set mid-pattern serves the next pattern from where its cursor stands.
    ActionList* second = list({"fire-speed-1.xml", "fire-speed-3.xml"});
    second->next();
    EXPECT_TRUE(playingAt(c, std::max(game.lastTicks, c.nextStart)));
    c.setActions(second);
    EXPECT_EQ(playOut(c), 2.0);
    EXPECT_EQ(playNext(c), 3.0);
}

TEST_F(EnemyTest, ZakoPartnersAndBulletsDieOnTouchingTheirOwnPlayerAndFlyOnWhenDone) {
    Player& white = *game.players[0];
    Player& black = *game.players[1];
    Enemy& still = partner(list({"fire-speed-1.xml"}));
    Enemy& zako = partner(list({}, true));
    EXPECT_TRUE(zako.dyeing);
    still.hitByPlayer(white);
    zako.hitByPlayer(black);
    EXPECT_TRUE(still.alive);
    EXPECT_TRUE(zako.alive);
    zako.hitByPlayer(white);
    EXPECT_FALSE(zako.alive);

    // A bullet plays its actions once and flies on with its last velocity.
    auto document = BulletMLDocument::load(kEnemy + "speeds-up-once.xml");
    still.command = std::make_unique<EnemyCommand>(document.get(), &still);
    still.step();
    Enemy& bullet = *game.enemies.back();
    for (int i = 0; i < 100; ++i) playingAt(bullet, game.lastTicks + 16);
    EXPECT_NEAR(bullet.vel.y, 200.0, 1e-6);
    EXPECT_TRUE(bullet.dyeing);
}
