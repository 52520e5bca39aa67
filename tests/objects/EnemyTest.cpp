// Enemies: the partners' round of wait, countdown and pattern, and bullets that play their own.
#include "objects/Enemy.h"
#include "objects/Shot.h"
#include "script/ActionList.h"
#include "script/BulletMLDocument.h"
#include "script/EnemyCommand.h"
#include "support/HeadlessGame.h"

#include <iterator>
#include <string>
#include <vector>

namespace {

const std::string kData = std::string(SKELVO_TEST_DATA) + "/";
const std::string kSpeed1 = kData + "enemy/fire-speed-1.xml";
const std::string kSpeed2 = kData + "enemy/fire-speed-2.xml";
const std::string kSpeed3 = kData + "enemy/fire-speed-3.xml";

class EnemyTest : public HeadlessGameTest {
protected:
    ~EnemyTest() override { game.enemies.clear(); }

    // An action list read from a file of the given lines.
    ActionList* list(const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines) text += line + "\n";
        const std::string name = "list" + std::to_string(lists.size()) + ".act";
        dir.write(name, text);
        lists.push_back(std::make_unique<ActionList>(dir.file(name)));
        return lists.back().get();
    }
    Enemy& partner(ActionList* actions, const Point& at = Point(150, 100), int c = 0) {
        game.enemies.push_back(std::make_unique<Enemy>(at, game.enemyImages[c].get(), actions, c));
        return *game.enemies.back();
    }
    // The clock moves `turns` turns of 16 ms, the enemy stepping at each.
    void play(Enemy& e, int turns) {
        for (int i = 0; i < turns; ++i) {
            game.lastTicks += 16;
            e.step();
        }
    }
    // Steps the enemy at `t`; whether it is playing a pattern then.
    bool playingAt(Enemy& e, Uint32 t) {
        game.lastTicks = t;
        e.step();
        return e.command != nullptr;
    }
    // Starts the enemy's next pattern as soon as it may and plays it to its end; the speed, in
    // BulletML units, of the first shot it fired.
    double playNext(Enemy& e) {
        EXPECT_TRUE(playingAt(e, std::max(game.lastTicks, e.nextStart)));
        const std::size_t before = game.shots.size();
        for (int i = 0; i < 100 && e.command; ++i) play(e, 1);
        EXPECT_EQ(e.command, nullptr);
        if (game.shots.size() == before) return 0.0;
        return std::next(game.shots.begin(), static_cast<long>(before))->get()->vel.length() /
               EnemyCommand::kPixelsPerSpeedUnit;
    }

    ScratchDir dir;
    std::vector<std::unique_ptr<ActionList>> lists;
};

}  // namespace

TEST_F(EnemyTest, APatternStarts1500msAfterThePartnerIsMadeAndASecondAfterTheLastEnds) {
    const Uint32 made = game.lastTicks;
    Enemy& e = partner(list({"Commands List", kSpeed1}));
    EXPECT_FALSE(playingAt(e, made + 1499));
    EXPECT_TRUE(playingAt(e, made + 1500));
    // The pattern plays from the next step on.
    EXPECT_TRUE(game.shots.empty());
    play(e, 1);
    EXPECT_EQ(game.shots.size(), 1u);

    // The library reports the end of even an empty pattern only after its second run.
    Enemy& empty = partner(list({kData + "enemy/ends-at-once.xml"}));
    EXPECT_TRUE(playingAt(empty, empty.nextStart));
    play(empty, 1);
    EXPECT_NE(empty.command, nullptr);
    play(empty, 1);
    EXPECT_EQ(empty.command, nullptr);
    const Uint32 ended = game.lastTicks;
    EXPECT_FALSE(playingAt(empty, ended + 999));
    EXPECT_TRUE(playingAt(empty, ended + 1000));
}

TEST_F(EnemyTest, APatternWithSeveralTopActionsEndsWithTheFirstToEnd) {
    Enemy& e = partner(list({kData + "bulletml/good/two-top-actions.xml"}));
    // The first top action fires and waits 5 turns; the second waits 50 before it fires.
    const Uint32 started = e.nextStart;
    EXPECT_GT(playNext(e), 0.0);
    EXPECT_LT(e.nextStart - 1000 - started, 16u * 10);
    EXPECT_EQ(game.shots.size(), 1u);
}

TEST_F(EnemyTest, PartnersSharingAListTakeItsDocumentsInTurnAndANewOneRewindsIt) {
    ActionList* shared = list({"Commands List", kSpeed1, kSpeed2, kSpeed3});
    Enemy& a = partner(shared, Point(50, 100));
    Enemy& b = partner(shared, Point(150, 100));
    Enemy& c = partner(shared, Point(250, 100));
    EXPECT_EQ(playNext(a), 1.0);
    EXPECT_EQ(playNext(b), 2.0);
    EXPECT_EQ(playNext(c), 3.0);
    EXPECT_EQ(playNext(a), 1.0);
    partner(shared, Point(150, 150));
    EXPECT_EQ(playNext(b), 1.0);
    EXPECT_EQ(playNext(c), 2.0);
}

TEST_F(EnemyTest, AnEmptyListMakesAPartnerWaitWithoutActing) {
    Enemy& e = partner(list({"# nothing to play"}));
    const Uint32 first = e.nextStart;
    EXPECT_FALSE(playingAt(e, first));
    EXPECT_EQ(e.nextStart, first + 1000);
    play(e, 200);
    EXPECT_EQ(e.command, nullptr);
    EXPECT_TRUE(game.shots.empty());
    EXPECT_TRUE(e.alive);
}

TEST_F(EnemyTest, AbortingWaitsASecondFromNowWhetherWaitingOrPlaying) {
    Enemy& e = partner(list({kData + "enemy/repeating.xml"}));
    game.lastTicks = e.nextStart - 5;
    e.abortPattern();
    EXPECT_EQ(e.nextStart, game.lastTicks + 1000);
    EXPECT_FALSE(playingAt(e, game.lastTicks + 5));
    // Inside its repeat the pattern is dropped there and then. (The library leaks the record of
    // the repeat here; the sanitizer's suppression names its frame alone.)
    EXPECT_TRUE(playingAt(e, e.nextStart));
    play(e, 12);
    const std::size_t fired = game.shots.size();
    EXPECT_GT(fired, 1u);
    e.abortPattern();
    EXPECT_EQ(e.command, nullptr);
    EXPECT_EQ(e.nextStart, game.lastTicks + 1000);
    play(e, 50);
    EXPECT_EQ(game.shots.size(), fired);
}

TEST_F(EnemyTest, ANewListTakesOverFromTheNextPatternWhereItsCursorStands) {
    ActionList* second = list({"Commands List", kSpeed2, kSpeed3});
    EXPECT_NE(second->next(), nullptr);
    Enemy& e = partner(list({"Commands List", kSpeed1}));
    EXPECT_TRUE(playingAt(e, e.nextStart));
    e.setActions(second);
    EXPECT_EQ(e.actions, second);
    // The playing pattern goes on; the next comes from the second list, not rewound.
    play(e, 1);
    ASSERT_EQ(game.shots.size(), 1u);
    EXPECT_DOUBLE_EQ(game.shots.front()->vel.length(), 100.0);
    for (int i = 0; i < 10 && e.command; ++i) play(e, 1);
    EXPECT_EQ(playNext(e), 3.0);
}

// In the last second a square of left/10 pixels from (centre - k/2) truncated, in the side
// colour at alpha 255 - 2k.
TEST_F(EnemyTest, TheCountdownSquareShrinksAndHardensInTheLastSecond) {
    for (int c : {0, 1}) {
        SCOPED_TRACE(c);
        Enemy& e = partner(list({kSpeed1}), Point(150.5, 200.5), c);
        const Uint32 grey = mapped(GREY);
        for (Uint32 left : {1000u, 999u, 500u, 20u, 19u}) {
            SCOPED_TRACE(left);
            game.window->fillRect(nullptr, GREY);
            EXPECT_FALSE(playingAt(e, e.nextStart - left));
            if (left == 1000 || left < 20) {
                EXPECT_EQ(screenAt(150, 200), grey);
                continue;
            }
            const int k = static_cast<int>(left / 10);
            const int x0 = static_cast<int>(150.5 - k / 2), y0 = static_cast<int>(200.5 - k / 2);
            for (const auto& [x, y] : {std::pair{x0, y0}, {x0 + k - 1, y0 + k - 1}}) {
                Uint8 r, g, b;
                SDL_GetRGB(screenAt(x, y), game.window->getSurface()->format, &r, &g, &b);
                EXPECT_NEAR(g, 127 + ((c == 0 ? 255 : 0) - 127) * (255 - 2 * k) / 255, 8);
            }
            for (const auto& [x, y] : {std::pair{x0 - 1, y0}, {x0, y0 - 1}, {x0 + k, y0 + k - 1},
                                       {x0 + k - 1, y0 + k}})
                EXPECT_EQ(screenAt(x, y), grey) << x << "," << y;
        }
        game.enemies.clear();
    }
}

TEST_F(EnemyTest, ZakoPartnersAndBulletsDieOnTouchingTheirOwnPlayerAndFlyOnWhenDone) {
    Player& white = *game.players[0];
    Player& black = *game.players[1];
    Enemy& still = partner(list({kSpeed1}));
    Enemy& zako = partner(list({"Zako", kSpeed1}));
    EXPECT_TRUE(zako.dyeing);
    still.hitByPlayer(white);
    zako.hitByPlayer(black);
    EXPECT_TRUE(still.alive);
    EXPECT_TRUE(zako.alive);
    zako.hitByPlayer(white);
    EXPECT_FALSE(zako.alive);

    // A bullet plays its actions once and flies on with its last velocity.
    auto document = BulletMLDocument::load(kData + "enemy/speeds-up-once.xml");
    still.command = std::make_unique<EnemyCommand>(document.get(), &still);
    still.step();
    ASSERT_EQ(game.enemies.size(), 3u);
    Enemy& bullet = *game.enemies.back();
    EXPECT_TRUE(bullet.dyeing);
    EXPECT_EQ(bullet.actions, nullptr);
    for (int i = 0; i < 10 && bullet.command; ++i) play(bullet, 1);
    ASSERT_EQ(bullet.command, nullptr);
    const Point last = bullet.vel;
    EXPECT_NEAR(last.y, 200.0, 1e-6);
    game.frameSeconds = 0.5;
    play(bullet, 100);
    EXPECT_EQ(bullet.vel, last);
    const Point before = bullet.center;
    bullet.move();
    EXPECT_NEAR(bullet.center.y, before.y + 100.0, 1e-9);
    bullet.hitByPlayer(black);
    EXPECT_TRUE(bullet.alive);
    bullet.hitByPlayer(white);
    EXPECT_FALSE(bullet.alive);
    game.enemies.clear();
}
