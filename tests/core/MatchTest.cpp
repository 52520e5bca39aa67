// The match loop: order of updates and hits, the sweep, the queries, the clock and the waits.
#include "objects/BuzzEffect.h"
#include "objects/Enemy.h"
#include "objects/Player.h"
#include "objects/Shot.h"
#include "support/HeadlessGame.h"

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

struct MatchTest : HeadlessGameTest {
    // Puts recording players at `white` and `black` and a recording shot at each point.
    void stage(const Point& white, const Point& black, std::initializer_list<Point> shots) {
        for (int c : {0, 1})
            game.players[c] = std::make_unique<Recording<Player>>(
                rec, c ? black : white, halo(c), game.inputs[c].get(), c, 0, 2);
        rec.names[game.players[0].get()] = "white";
        rec.names[game.players[1].get()] = "black";
        char name = 'A';
        for (const Point& at : shots) {
            game.shots.push_back(
                std::make_unique<Recording<Shot>>(rec, at, Point(0, 0), game.shotImages[1].get(), 1));
            rec.names[game.shots.back().get()] = std::string(1, name++);
        }
    }
    // Adds a recording black partner at each point, named from 'P' on.
    void stageEnemies(std::initializer_list<Point> at) {
        char name = 'P';
        for (const Point& p : at) {
            game.enemies.push_back(std::make_unique<Recording<Enemy>>(
                rec, p, game.enemyImages[1].get(), game.actions.defaultList(), 1));
            rec.names[game.enemies.back().get()] = std::string(1, name++);
        }
    }
    Shot& shot(int i) { return **std::next(game.shots.begin(), i); }
    Window* halo(int c) { return game.haloImages[c].get(); }

    Recorder rec;
};

}  // namespace

TEST_F(MatchTest, UpdatesEnemiesThenShotsThenSparksThenPlayersAndChecksEachGroupAfterItMoved) {
    stage(Point(100, 350), Point(200, 350), {Point(50, 50), Point(60, 50)});
    stageEnemies({Point(150, 50), Point(250, 50)});
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
    stage(Point(100, 350), Point(110, 350), {Point(105, 350), Point(125, 350), Point(160, 350)});
    stageEnemies({Point(105, 340)});
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
    for (int i = 0; i < 4; ++i) game.addShot(Point(10.0 * i, 10), Point(0, 0), 0);
    shot(1).vanish();
    shot(3).vanish();
    stageEnemies({Point(50, 50), Point(60, 50), Point(70, 50)});
    Enemy* kept = game.enemies.front().get();
    Enemy* last = game.enemies.back().get();
    (*std::next(game.enemies.begin()))->vanish();
    Player* owner = game.players[0].get();
    for (int i = 0; i < 3; ++i)
        game.addBuzzEffect(std::make_unique<BuzzEffect>(owner, Point(50, 50), 0));
    BuzzEffect* live = game.buzzEffects[1].get();
    BuzzEffect* waiting = game.buzzEffects[2].get();
    game.buzzEffects[0]->vanish();
    waiting->vanish();

    game.sweep();
    ASSERT_EQ(game.shots.size(), 2u);
    EXPECT_EQ(shot(0).center, Point(0, 10));
    EXPECT_EQ(shot(1).center, Point(20, 10));
    ASSERT_EQ(game.enemies.size(), 2u);
    EXPECT_EQ(game.enemies.front().get(), kept);
    EXPECT_EQ(game.enemies.back().get(), last);
    ASSERT_EQ(game.buzzEffects.size(), 2u);
    EXPECT_EQ(game.buzzEffects[0].get(), live);
    EXPECT_EQ(game.buzzEffects[1].get(), waiting);

    live->vanish();
    game.sweep();
    EXPECT_TRUE(game.buzzEffects.empty());
}

TEST_F(MatchTest, ThreatsAreTheOtherColourStrictlyWithin100PixelsOfTheCorner) {
    const Point p(150, 200);
    // Corners measured, not centres: this one's centre is 94 pixels away, its corner 100.
    Shot& atEdge = game.addShot(Point(0, 0), Point(0, 0), 1);
    atEdge.pos = p + Point(-60, -80);
    atEdge.updateCenter();
    Shot& inside = game.addShot(Point(0, 0), Point(3, 4), 1);
    inside.pos = p + Point(60, 79.9);
    inside.updateCenter();
    game.addShot(p, Point(0, 0), 0);  // own colour
    game.addShot(p + Point(0, 120), Point(0, 0), 1);

    std::vector<std::pair<Point, Point>> out;
    game.collectThreats(out, 0, p);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].first, inside.center);
    EXPECT_EQ(out[0].second, Point(3, 4));
    out.clear();
    game.collectThreats(out, 1, p);
    EXPECT_EQ(out.size(), 1u);
}

TEST_F(MatchTest, LivesAreDrawnFromEachBottomCorner) {
    game.players[0]->lives = 2;
    game.players[1]->lives = 3;
    game.drawLives();
    // Icons are 8 pixels wide, 10 apart, from x 2 rightward and from x 290 leftward.
    for (int x : {6, 16}) EXPECT_NE(screenAt(x, 359), canvasAt(x, 359)) << x;
    EXPECT_EQ(screenAt(26, 359), canvasAt(26, 359));
    for (int x : {294, 284, 274}) EXPECT_NE(screenAt(x, 359), canvasAt(x, 359)) << x;
    EXPECT_EQ(screenAt(264, 359), canvasAt(264, 359));
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
    game.lastTicks = SDL_GetTicks();
    const Uint32 before = game.lastTicks;
    game.tick(game.waitForTick());
    EXPECT_NE(game.lastTicks, before);
    EXPECT_DOUBLE_EQ(game.frameSeconds, (game.lastTicks - before) / 1000.0);
    EXPECT_EQ(game.frameCount, 1);

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
    EXPECT_TRUE(game.shots.empty());
    EXPECT_TRUE(game.enemies.empty());
    EXPECT_TRUE(game.buzzEffects.empty());
    EXPECT_FALSE(game.matchOver);
    EXPECT_EQ(game.frameCount, 0);
    EXPECT_EQ(canvasAt(2, 2), field);
    EXPECT_EQ(screenAt(2, 2), field);
    EXPECT_NE(game.players[0], nullptr);
}

TEST_F(MatchTest, ClosingTheWindowEndsTheMatchWithoutTheFpsLine) {
    game.addShot(Point(150, 100), Point(0, 50), 1);
    SDL_Event quit;
    quit.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&quit), 0);
    testing::internal::CaptureStdout();
    const int result = game.play();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(result, 0);
    EXPECT_TRUE(game.quitRequested);
    EXPECT_EQ(game.frameCount, 1);
    EXPECT_EQ(out, "");
}

TEST_F(MatchTest, AFinishedMatchReportsItsFrameRateAndWaitsForTheChoice) {
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
    testing::internal::CaptureStdout();
    const int result = game.play();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(result, 0);
    // The choosing button is up again before the menu could see it.
    EXPECT_TRUE(pressed.empty());
    EXPECT_EQ(heldLooks, 4);
    // The first update places the field before the clock starts; three frames follow.
    EXPECT_EQ(game.frameCount, 3);
    EXPECT_EQ(out, Game::fpsLine(3, game.startTicks, game.lastTicks) + "\n");
    EXPECT_FALSE(game.quitRequested);
}

TEST_F(MatchTest, ClosingTheWindowWhileWaitingForTheChoiceEndsTheProgram) {
    game.players[0] = std::make_unique<FinishingPlayer>(game.haloImages[0].get(), 2);
    input->anyButtonPressed = [] {
        SDL_Event quit;
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
        return false;
    };
    testing::internal::CaptureStdout();
    const int result = game.play();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(result, 0);
    EXPECT_TRUE(game.quitRequested);
    EXPECT_EQ(out, Game::fpsLine(game.frameCount, game.startTicks, game.lastTicks) + "\n");
}

TEST_F(MatchTest, TheChoiceReadsButtonThreeFirst) {
    std::set<int> pressed;
    input->pressed = [&](int b) { return pressed.count(b) > 0; };
    pressed = {0};
    EXPECT_EQ(game.waitDecision(), 0);
    pressed = {1};
    EXPECT_EQ(game.waitDecision(), 0);
    pressed = {3};
    EXPECT_NE(game.waitDecision(), 0);
    pressed = {0, 3};
    EXPECT_NE(game.waitDecision(), 0);
    pressed = {1, 3};
    EXPECT_NE(game.waitDecision(), 0);
}

