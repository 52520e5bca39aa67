// The match loop: its start, the order of a frame's steps, the queries and how a match ends.
#include "core/Conf.h"
#include "objects/BuzzEffect.h"
#include "objects/Enemy.h"
#include "objects/Shot.h"
#include "script/BulletMLDocument.h"
#include "script/EnemyCommand.h"
#include "support/HeadlessGame.h"

#include <algorithm>
#include <iterator>
#include <set>
#include <tuple>

namespace {

struct Named {
    std::string name;
};

// Writes its moves and meetings into `calls`. Met by a player it only dies, and a player met
// does nothing, so the order of the meetings is all that shows.
template <class Base>
struct Recording : Base, Named {
    template <class... Args>
    Recording(std::string& c, const std::string& name, Args&&... args)
        : Base(std::forward<Args>(args)...), Named{name}, calls(c) {}
    void hit(Charactor& o) override {
        calls += name + ".hit(" + dynamic_cast<Named&>(o).name + ") ";
        Base::hit(o);
    }
    void hitByPlayer(Player&) override { Charactor::vanish(); }
    void hitByShot(Shot&) override {}
    void hitByEnemy(Enemy&) override {}
    void update() override {
        calls += name + ".update ";
        Base::update();
    }
    void checkField() override {
        calls += name + ".checkField ";
        Base::checkField();
    }
    std::string& calls;
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
    Shot& shot(int i) { return **std::next(game.shots.begin(), i); }
    // A match ended by the first device's choice, with standard output.
    std::pair<int, std::string> play() {
        testing::internal::CaptureStdout();
        const int result = game.play();
        return {result, testing::internal::GetCapturedStdout()};
    }
};

}  // namespace

TEST_F(MatchTest, StartsWithAWhiteAndABlackPartnerUnlessADefinitionsFileIsGiven) {
    game.startMatch(5000);
    using Partner = std::tuple<int, Point, Window*, ActionList*, bool>;
    std::vector<Partner> partners;
    for (const auto& e : game.enemies)
        partners.emplace_back(e->color, e->center, e->sprite->image, e->actions, e->dyeing);
    ActionList* list = game.actions.defaultList();
    EXPECT_EQ(partners, (std::vector<Partner>{
                            {0, Point(155, 100), game.enemyImages[0].get(), list, false},
                            {1, Point(145, 100), game.enemyImages[1].get(), list, false}}));
    // Only a definitions file stands in for them; an action file's name does not.
    for (auto [name, count] : {std::pair("absent.act", 2u), {"absent-definitions.conf", 0u}}) {
        game.reset();
        std::string program = "skelvo", argument = name;
        char* argv[] = {program.data(), argument.data(), nullptr};
        Conf conf(2, argv);
        game.startMatch(6000);
        EXPECT_EQ(game.enemies.size(), count) << name;
    }
    // An added partner stands anywhere in the box from (50, 50) to (250, 150).
    double left = 250, right = 50;
    for (int i = 0; i < 100; ++i) {
        const Point at = game.addPartner(i % 2).center;
        EXPECT_TRUE(at.x >= 50 && at.x <= 250 && at.y >= 50 && at.y <= 150) << at.x << "," << at.y;
        std::tie(left, right) = std::pair(std::min(left, at.x), std::max(right, at.x));
    }
    EXPECT_TRUE(left < 70 && right > 230) << left << " " << right;
}

// The frame is measured first, so everything moves by its length. Then both devices are read,
// every group moves and then checks the field, and the meetings go shot by shot, then enemy by
// enemy, white first, the dead included. What died in them is gone by the frame's end, and the
// sweep takes sparks from the front only.
TEST_F(MatchTest, AFrameMeasuresControlsMovesCollidesAndSweepsInThatOrder) {
    std::string calls;
    for (int c : {0, 1}) {
        const std::string name = c ? "black" : "white";
        game.players[c] = std::make_unique<Recording<Player>>(
            calls, name, Point(100 + 10 * c, 350), game.haloImages[c].get(), game.inputs[c].get(),
            c, 0, 2);
        (c ? input2 : input)->direction = [&calls, name] {
            calls += name + ".control ";
            return 0;
        };
    }
    // A is near both players, B near black only, C near neither; the enemy P near both.
    for (const auto& [name, at] : {std::pair("A", Point(105, 350)), {"B", Point(125, 350)},
                                   {"C", Point(160, 350)}})
        game.shots.push_back(std::make_unique<Recording<Shot>>(calls, name, at, Point(0, 0),
                                                               game.shotImages[1].get(), 1));
    for (const auto& [name, at] : {std::pair("P", Point(105, 340)), {"Q", Point(250, 50)}})
        game.enemies.push_back(std::make_unique<Recording<Enemy>>(
            calls, name, at, game.enemyImages[1].get(), game.actions.defaultList(), 1));
    for (const char* name : {"dead", "S", "dead"}) {
        game.addBuzzEffect(std::make_unique<Recording<BuzzEffect>>(
            calls, name, game.players[0].get(), Point(150, 150), 0));
        if (name[0] == 'd') game.buzzEffects.back()->vanish();
    }
    shot(2).vel = Point(0, 50);
    game.runFrame(game.lastTicks + 100);
    EXPECT_EQ(calls,
              "white.control black.control P.update Q.update P.checkField Q.checkField A.update "
              "B.update C.update A.checkField B.checkField C.checkField dead.update S.update "
              "dead.update white.update black.update white.checkField black.checkField "
              "A.hit(white) white.hit(A) A.hit(black) black.hit(A) B.hit(black) black.hit(B) "
              "P.hit(white) white.hit(P) P.hit(black) black.hit(P) ");
    EXPECT_EQ(std::make_tuple(game.frameSeconds, game.frameCount), std::make_tuple(0.1, 1));
    EXPECT_EQ(std::make_tuple(game.shots.size(), game.enemies.size(), game.buzzEffects.size()),
              std::make_tuple(1u, 1u, 2u));
    EXPECT_EQ(shot(0).center, Point(160, 355));
}

// A bullet fired during the walk takes its first step in the same walk, which fires its shot.
TEST_F(MatchTest, ABulletFiredInTheWalkStepsInItAndTheQueriesKeepListOrder) {
    auto document = BulletMLDocument::load(SKELVO_TEST_DATA "/enemy/fires-at-birth.xml");
    Enemy& firer = partner(Point(100, 100), 0);
    firer.command = std::make_unique<EnemyCommand>(document.get(), &firer);
    game.thinkEnemies();
    ASSERT_EQ(std::make_tuple(game.enemies.size(), game.shots.size()), std::make_tuple(2u, 1u));
    Enemy& bullet = *game.enemies.back();
    Shot& fired = shot(0);
    Enemy& zako = partner(Point(150, 100), 0, game.actions.slot(0));
    Enemy& other = partner(Point(150, 100), 0);
    Enemy& black = partner(Point(150, 100), 1);
    Shot& extra = game.addShot(Point(10, 10), Point(0, 0), 0);
    game.addShot(Point(10, 10), Point(0, 0), 1);
    std::vector<Charactor*> eaten;
    game.collect(0, eaten);
    EXPECT_EQ(eaten, (std::vector<Charactor*>{&fired, &extra, &bullet, &zako}));
    // A level reaches only the still partners of its colour.
    game.setLevel(0, 7);
    ActionList* seventh = game.actions.listForLevel(7);
    EXPECT_EQ(std::make_tuple(firer.actions, other.actions, zako.actions, black.actions),
              std::make_tuple(seventh, seventh, game.actions.slot(0), game.actions.defaultList()));
}

TEST_F(MatchTest, LivesAreDrawnFromEachBottomCorner) {
    game.players[1]->lives = 3;
    game.drawLives();
    // Icons are 8 pixels wide, 10 apart, from x 2 rightward and from x 290 leftward.
    for (int x : {6, 16, 294, 284, 274}) EXPECT_NE(screenAt(x, 359), canvasAt(x, 359)) << x;
    for (int x : {26, 264}) EXPECT_EQ(screenAt(x, 359), canvasAt(x, 359)) << x;
}

// A finished match reports its frame rate, and the button that chose is let go before the menu
// could see it; the reset empties the field and wipes the dye. Closing the window after a
// match, or during one, ends the program; during a match, without the frame rate line.
// The choice itself: button 3 quits, and wins over 0 and 1, which go to the menu.
TEST_F(MatchTest, AMatchEndsByItsChoiceOrByClosingTheWindow) {
    std::set<int> pressed;
    input->pressed = [&](int b) { return pressed.count(b) > 0; };
    for (const auto& [buttons, result] : {std::pair(std::set{1}, 0), {{0, 3}, 1}}) {
        pressed = buttons;
        EXPECT_EQ(game.waitDecision(), result) << *buttons.begin();
    }
    pressed.clear();
    game.players[0] = std::make_unique<FinishingPlayer>(game.haloImages[0].get(), 4);
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
    auto [result, out] = play();
    // The first update places the field before the clock starts; three frames follow.
    EXPECT_EQ(std::make_tuple(result, pressed.empty(), heldLooks, game.frameCount),
              std::make_tuple(0, true, 4, 3));
    EXPECT_EQ(out, Game::fpsLine(3, game.startTicks, game.lastTicks) + "\n");
    // Frames x 1000 of a long fast match pass 32 bits; the tick counter wraps after 49 days.
    EXPECT_EQ(Game::fpsLine(3, 10, 17) + Game::fpsLine(5000000, 0, 1000000) +
                  Game::fpsLine(120, 0xfffffc18u, 1000),
              "428fps5000fps60fps");
    const Uint32 field = canvasAt(2, 2);
    game.stampDye(Point(0, 0), 0);
    ASSERT_NE(canvasAt(2, 2), field);
    game.addShot(Point(50, 50), Point(0, 0), 0);
    game.reset();
    EXPECT_TRUE(game.shots.empty() && game.enemies.empty() && canvasAt(2, 2) == field);

    game.players[0] = std::make_unique<FinishingPlayer>(game.haloImages[0].get(), 2);
    input->anyButtonPressed = [] {
        closeWindow();
        return false;
    };
    std::tie(result, out) = play();
    EXPECT_EQ(std::make_pair(result, game.quitRequested), std::make_pair(1, true));
    EXPECT_EQ(out, Game::fpsLine(game.frameCount, game.startTicks, game.lastTicks) + "\n");

    game.reset();
    closeWindow();
    EXPECT_EQ(play(), std::make_pair(1, std::string()));
    EXPECT_EQ(game.frameCount, 1);
}
