// The match loop: its start, the order of updates and hits, the sweep, the queries, the clock
// and how a match ends.
#include "core/Conf.h"
#include "objects/BuzzEffect.h"
#include "objects/Enemy.h"
#include "objects/Shot.h"
#include "script/BulletMLDocument.h"
#include "script/EnemyCommand.h"
#include "support/HeadlessGame.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

// Names the objects of a test and writes down every call they report, in order.
struct Recorder {
    std::map<const Charactor*, std::string> names;
    std::vector<std::string> calls;
    void note(const Charactor& self, const std::string& what, const Charactor* other = nullptr) {
        calls.push_back(names[&self] + "." + what + (other ? "(" + names[other] + ")" : ""));
    }
};

// Writes down its calls; a hitBy call stops there, so only the order of the hits is tested.
template <class Base>
struct Recording : Base {
    template <class... Args>
    Recording(Recorder& r, Args&&... args) : Base(std::forward<Args>(args)...), rec(r) {}
    void hit(Charactor& o) override { rec.note(*this, "hit", &o); Base::hit(o); }
    void hitByPlayer(Player& p) override { rec.note(*this, "hitByPlayer", &p); }
    void hitByShot(Shot& s) override { rec.note(*this, "hitByShot", &s); }
    void hitByEnemy(Enemy& e) override { rec.note(*this, "hitByEnemy", &e); }
    void update() override { rec.note(*this, "update"); Base::update(); }
    void checkField() override { rec.note(*this, "checkField"); Base::checkField(); }
    Recorder& rec;
};

// Ends the match after a number of its own updates, as a player's death would. It reads a
// device of its own, so the tests script the first device for the after-match choice alone.
struct FinishingPlayer : Player {
    FinishingPlayer(Window* image, int frames)
        : Player(Point(100, 350), image, &idle, 0, 0, 2), left(frames) {}
    void update() override {
        Player::update();
        if (--left == 0) Game::instance()->matchOver = true;
    }
    ScriptedInput idle;
    int left;
};

void closeWindow() {
    SDL_Event quit;
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
}

struct MatchTest : HeadlessGameTest {
    // Recording players at `white` and `black`, and recording black shots named from 'A' and
    // black partners named from 'P' at the points.
    void stage(const Point& white, const Point& black, std::initializer_list<Point> shots,
               std::initializer_list<Point> partners) {
        for (int c : {0, 1}) {
            game.players[c] = std::make_unique<Recording<Player>>(
                rec, c ? black : white, game.haloImages[c].get(), game.inputs[c].get(), c, 0, 2);
            rec.names[game.players[c].get()] = c ? "black" : "white";
        }
        char name = 'A';
        for (const Point& at : shots) {
            game.shots.push_back(std::make_unique<Recording<Shot>>(rec, at, Point(0, 0),
                                                                   game.shotImages[1].get(), 1));
            rec.names[game.shots.back().get()] = std::string(1, name++);
        }
        name = 'P';
        for (const Point& at : partners) {
            game.enemies.push_back(std::make_unique<Recording<Enemy>>(
                rec, at, game.enemyImages[1].get(), game.actions.defaultList(), 1));
            rec.names[game.enemies.back().get()] = std::string(1, name++);
        }
    }
    Enemy& partner(int c, const Point& at, ActionList* list = nullptr) {
        game.enemies.push_back(std::make_unique<Enemy>(
            at, game.enemyImages[c].get(), list ? list : game.actions.defaultList(), c));
        return *game.enemies.back();
    }
    Shot& shot(int i) { return **std::next(game.shots.begin(), i); }
    // A match ended by the first device's choice, with standard output.
    std::pair<int, std::string> play() {
        testing::internal::CaptureStdout();
        const int result = game.play();
        return {result, testing::internal::GetCapturedStdout()};
    }

    Recorder rec;
};

}  // namespace

TEST_F(MatchTest, StartsWithAWhiteAndABlackPartnerUnlessADefinitionsFileIsGiven) {
    game.startMatch(5000);
    EXPECT_EQ(game.startTicks, 5000u);
    ASSERT_EQ(game.enemies.size(), 2u);
    for (int c : {0, 1}) {
        const Enemy& e = **std::next(game.enemies.begin(), c);
        EXPECT_EQ(e.color, c);
        EXPECT_EQ(e.center, Point(c ? 145 : 155, 100));
        EXPECT_EQ(e.sprite->image, game.enemyImages[c].get());
        EXPECT_EQ(e.actions, game.actions.defaultList());
        EXPECT_FALSE(e.dyeing);
    }
    game.reset();
    char program[] = "skelvo";
    char argument[] = "absent-definitions.conf";
    char* argv[] = {program, argument, nullptr};
    Conf conf(2, argv);
    game.startMatch(6000);
    EXPECT_TRUE(game.enemies.empty());
}

TEST_F(MatchTest, UpdatesEnemiesThenShotsThenSparksThenPlayersAndChecksEachGroupAfterItMoved) {
    stage(Point(100, 350), Point(200, 350), {Point(50, 50), Point(60, 50)},
          {Point(150, 50), Point(250, 50)});
    game.buzzEffects.push_back(std::make_unique<Recording<BuzzEffect>>(
        rec, game.players[0].get(), Point(150, 150), 0));
    rec.names[game.buzzEffects.back().get()] = "S";
    game.updateAll();
    EXPECT_EQ(rec.calls, (std::vector<std::string>{
                             "P.update", "Q.update", "P.checkField", "Q.checkField",
                             "A.update", "B.update", "A.checkField", "B.checkField", "S.update",
                             "white.update", "black.update", "white.checkField",
                             "black.checkField"}));
}

TEST_F(MatchTest, CollisionsGoShotByShotThenEnemyByEnemyWhiteFirstAndIncludeTheDead) {
    // A is near both players, B near black only, C near neither; the enemy P near both.
    stage(Point(100, 350), Point(110, 350), {Point(105, 350), Point(125, 350), Point(160, 350)},
          {Point(105, 340)});
    shot(0).vanish();
    game.enemies.front()->vanish();
    game.collide();
    EXPECT_EQ(rec.calls, (std::vector<std::string>{
                             "A.hit(white)", "white.hitByShot(A)", "white.hit(A)",
                             "A.hitByPlayer(white)", "A.hit(black)", "black.hitByShot(A)",
                             "black.hit(A)", "A.hitByPlayer(black)", "B.hit(black)",
                             "black.hitByShot(B)", "black.hit(B)", "B.hitByPlayer(black)",
                             "P.hit(white)", "white.hitByEnemy(P)", "white.hit(P)",
                             "P.hitByPlayer(white)", "P.hit(black)", "black.hitByEnemy(P)",
                             "black.hit(P)", "P.hitByPlayer(black)"}));
    EXPECT_EQ(game.shots.size(), 3u);  // removal is the sweep's
    EXPECT_EQ(game.enemies.size(), 1u);
}

TEST_F(MatchTest, SweepRemovesDeadShotsAndEnemiesAndOnlyTheLeadingDeadSparks) {
    for (int i = 0; i < 3; ++i) {
        game.addShot(Point(10.0 * i, 10), Point(0, 0), 0);
        partner(1, Point(10.0 * i, 50));
        game.addBuzzEffect(std::make_unique<BuzzEffect>(game.players[0].get(), Point(50, 50), 0));
    }
    shot(1).vanish();
    game.enemies.front()->vanish();
    BuzzEffect* live = game.buzzEffects[1].get();
    game.buzzEffects[0]->vanish();
    game.buzzEffects[2]->vanish();
    game.sweep();
    ASSERT_EQ(game.shots.size(), 2u);
    EXPECT_EQ(shot(1).center, Point(20, 10));
    ASSERT_EQ(game.enemies.size(), 2u);
    EXPECT_EQ(game.enemies.front()->center, Point(10, 50));
    ASSERT_EQ(game.buzzEffects.size(), 2u);
    EXPECT_EQ(game.buzzEffects[0].get(), live);
    live->vanish();
    game.sweep();
    EXPECT_TRUE(game.buzzEffects.empty());
}

// A bullet fired during the walk takes its first step in the same walk, which fires its shot.
TEST_F(MatchTest, ABulletFiredInTheWalkStepsInItAndTheQueriesKeepListOrder) {
    auto document = BulletMLDocument::load(SKELVO_TEST_DATA "/enemy/fires-at-birth.xml");
    Enemy& firer = partner(0, Point(100, 100));
    firer.command = std::make_unique<EnemyCommand>(document.get(), &firer);
    game.thinkEnemies();
    ASSERT_EQ(game.enemies.size(), 2u);
    ASSERT_EQ(game.shots.size(), 1u);
    Enemy& bullet = *game.enemies.back();
    Shot& fired = shot(0);
    Enemy& zako = partner(0, Point(150, 100), game.actions.slot(0));
    Enemy& other = partner(0, Point(150, 100));
    Enemy& black = partner(1, Point(150, 100));
    partner(1, Point(150, 100), game.actions.slot(0));
    Shot& extra = game.addShot(Point(10, 10), Point(0, 0), 0);
    game.addShot(Point(10, 10), Point(0, 0), 1);

    std::vector<Charactor*> eaten;
    game.collect(0, eaten);
    EXPECT_EQ(eaten, (std::vector<Charactor*>{&fired, &extra, &bullet, &zako}));
    std::vector<Enemy*> still;
    game.collectStillEnemies(0, still);
    EXPECT_EQ(still, (std::vector<Enemy*>{&firer, &other}));
    // A level reaches only the still partners of its colour, clamped to the level lists.
    const std::pair<int, int> levels[] = {{-3, 0}, {42, 10}, {7, 7}};
    for (const auto& [asked, level] : levels) {
        game.setLevel(0, asked);
        for (const Enemy* e : still)
            EXPECT_EQ(e->actions, game.actions.slot(ActionLibrary::kFirstLevelSlot + level));
    }
    EXPECT_EQ(black.actions, game.actions.defaultList());
    EXPECT_EQ(zako.actions, game.actions.slot(0));
    EXPECT_EQ(bullet.actions, nullptr);
}

TEST_F(MatchTest, ThreatsAreTheOtherColoursEnemiesThenShotsStrictlyWithin100PixelsOfTheCorner) {
    const Point p(150, 200);
    const auto shotAt = [&](const Point& corner, const Point& vel, int c) -> Shot& {
        Shot& s = game.addShot(Point(0, 0), vel, c);
        s.pos = p + corner;
        s.updateCenter();
        return s;
    };
    // Corners measured, not centres: this one's centre is 94 pixels away, its corner 100.
    shotAt(Point(-60, -80), Point(0, 0), 1);
    Shot& inside = shotAt(Point(60, 79.9), Point(3, 4), 1);
    shotAt(Point(0, 0), Point(0, 0), 0);
    Enemy& near = partner(1, p + Point(10, 10));
    near.vel = Point(5, 6);
    partner(1, p + Point(150, 0));
    std::vector<std::pair<Point, Point>> out;
    game.collectThreats(out, 0, p);
    EXPECT_EQ(out, (std::vector<std::pair<Point, Point>>{{near.center, Point(5, 6)},
                                                        {inside.center, Point(3, 4)}}));
    out.clear();
    game.collectThreats(out, 1, p);
    EXPECT_EQ(out.size(), 1u);
}

// Over many added partners the random places fill the box 50..250 x 50..150, no further.
TEST_F(MatchTest, AnAddedPartnerGoesToTheFrontAtARandomPlaceInItsBox) {
    partner(0, Point(150, 100));
    Point low(1000, 1000), high(0, 0);
    for (int i = 0; i < 2000; ++i) {
        Enemy& added = game.addPartner(i % 2);
        ASSERT_EQ(&added, game.enemies.front().get());
        EXPECT_EQ(added.color, i % 2);
        EXPECT_EQ(added.sprite->image, game.enemyImages[i % 2].get());
        EXPECT_EQ(added.actions, game.actions.defaultList());
        low = Point(std::min(low.x, added.center.x), std::min(low.y, added.center.y));
        high = Point(std::max(high.x, added.center.x), std::max(high.y, added.center.y));
    }
    EXPECT_TRUE(low.x >= 50 && low.x < 53 && low.y >= 50 && low.y < 53) << low.x << "," << low.y;
    EXPECT_TRUE(high.x <= 250 && high.x > 247 && high.y <= 150 && high.y > 147)
        << high.x << "," << high.y;
}

TEST_F(MatchTest, LivesAreDrawnFromEachBottomCorner) {
    game.players[0]->lives = 2;
    game.players[1]->lives = 3;
    game.drawLives();
    // Icons are 8 pixels wide, 10 apart, from x 2 rightward and from x 290 leftward.
    for (int x : {6, 16, 294, 284, 274}) EXPECT_NE(screenAt(x, 359), canvasAt(x, 359)) << x;
    for (int x : {26, 264}) EXPECT_EQ(screenAt(x, 359), canvasAt(x, 359)) << x;
}

TEST(FpsLine, DividesFramesByTheMatchLengthInWholeFrames) {
    EXPECT_EQ(Game::fpsLine(57, 1000, 2000), "57fps");
    EXPECT_EQ(Game::fpsLine(3, 10, 17), "428fps");
    EXPECT_EQ(Game::fpsLine(1, 0, 1), "1000fps");
    // A long fast match: frames × 1000 no longer fits in 32 bits.
    EXPECT_EQ(Game::fpsLine(5000000, 0, 1000000), "5000fps");
    // The tick counter wraps after 49 days; the match length must not.
    EXPECT_EQ(Game::fpsLine(120, 0xfffffc18u, 1000), "60fps");
}

TEST_F(MatchTest, TheClockWaitsForTheNextMillisecondAndMeasuresTheFrame) {
    game.frameCount = 0;
    const Uint32 before = game.lastTicks = SDL_GetTicks();
    game.tick(game.waitForTick());
    EXPECT_NE(game.lastTicks, before);
    EXPECT_DOUBLE_EQ(game.frameSeconds, (game.lastTicks - before) / 1000.0);
    game.tick(game.lastTicks + 40);
    EXPECT_DOUBLE_EQ(game.frameSeconds, 0.04);
    EXPECT_EQ(game.frameCount, 2);
}

TEST_F(MatchTest, ResetEmptiesTheFieldAndWipesTheDye) {
    const Uint32 field = canvasAt(2, 2);
    game.dyeImages[0] = std::make_unique<Window>(Point(8, 8), 16, 0);
    game.dyeImages[0]->fillRect(nullptr, RED);
    game.stampDye(Point(0, 0), 0);
    ASSERT_NE(canvasAt(2, 2), field);
    game.addShot(Point(50, 50), Point(0, 0), 0);
    game.addPartner(1);
    game.addBuzzEffect(std::make_unique<BuzzEffect>(game.players[0].get(), Point(50, 50), 0));
    game.matchOver = true;
    game.frameCount = 99;
    game.reset();
    EXPECT_TRUE(game.shots.empty() && game.enemies.empty() && game.buzzEffects.empty());
    EXPECT_FALSE(game.matchOver);
    EXPECT_EQ(game.frameCount, 0);
    EXPECT_EQ(canvasAt(2, 2), field);
    EXPECT_EQ(screenAt(2, 2), field);
    EXPECT_NE(game.players[0], nullptr);
}

TEST_F(MatchTest, ClosingTheWindowEndsTheMatchWithoutTheFpsLine) {
    game.addShot(Point(150, 100), Point(0, 50), 1);
    closeWindow();
    EXPECT_EQ(play(), std::make_pair(1, std::string()));
    EXPECT_TRUE(game.quitRequested);
    EXPECT_EQ(game.frameCount, 1);
}

TEST_F(MatchTest, AFinishedMatchReportsItsFrameRateAndWaitsForTheChoiceToBeLetGo) {
    game.players[0] = std::make_unique<FinishingPlayer>(game.haloImages[0].get(), 4);
    std::set<int> pressed;
    int looks = 0;
    int heldLooks = 0;
    // Button 0 goes down during the second look and is let go three looks later.
    input->pressed = [&](int b) {
        if (++looks > 4 && heldLooks == 0) pressed.insert(0);
        return pressed.count(b) > 0;
    };
    input->anyButtonPressed = [&] {
        if (!pressed.empty() && ++heldLooks > 3) pressed.clear();
        return !pressed.empty();
    };
    const auto [result, out] = play();
    EXPECT_EQ(result, 0);
    // The choosing button is up again before the menu could see it.
    EXPECT_TRUE(pressed.empty());
    EXPECT_EQ(heldLooks, 4);
    // The first update places the field before the clock starts; three frames follow.
    EXPECT_EQ(game.frameCount, 3);
    EXPECT_EQ(out, Game::fpsLine(3, game.startTicks, game.lastTicks) + "\n");
    EXPECT_FALSE(game.quitRequested);
}

TEST_F(MatchTest, TheChoiceReadsButtonThreeFirstAndAClosedWindowEndsTheProgram) {
    std::set<int> pressed;
    input->pressed = [&](int b) { return pressed.count(b) > 0; };
    const std::pair<std::set<int>, int> choices[] = {
        {{0}, 0}, {{1}, 0}, {{3}, 1}, {{0, 3}, 1}, {{1, 3}, 1}};
    for (const auto& [buttons, result] : choices) {
        pressed = buttons;
        EXPECT_EQ(game.waitDecision(), result) << *buttons.begin();
    }
    game.players[0] = std::make_unique<FinishingPlayer>(game.haloImages[0].get(), 2);
    input->anyButtonPressed = [] { return closeWindow(), false; };
    pressed = {0};
    const auto [result, out] = play();
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(game.quitRequested);
    EXPECT_EQ(out, Game::fpsLine(game.frameCount, game.startTicks, game.lastTicks) + "\n");
}
