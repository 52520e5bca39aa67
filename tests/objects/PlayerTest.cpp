// The player's rules: control, the Art button, levels, the hit rule, rank, death and auras.
#include "input/Direction.h"
#include "objects/Art.h"
#include "objects/ArtNames.h"
#include "objects/BuzzEffect.h"
#include "support/PlayerFixture.h"

#include <cmath>
#include <vector>

using namespace MSDL;

namespace {

using PlayerTest = PlayerFixture;

const double S = Player::kSpeed;
const double D = Player::kSpeed / std::sqrt(2.0);
const double L = Player::kSlowSpeed;

}  // namespace

TEST_F(PlayerTest, SteersInEightDirectionsSlowlyWhenAskedAndNotAtAllUnderTheKillingAura) {
    enum Aura { NO, FLIP, BOTH_FLIPS, KILL };  // only both flips double
    const struct {
        int bits;
        bool slow;
        Aura aura;
        Point vel;
    } table[] = {{UP, false, NO, {0, -S}},         {DOWN, false, NO, {0, S}},
                 {RIGHT, false, NO, {S, 0}},       {LEFT, false, NO, {-S, 0}},
                 {UP | RIGHT, false, NO, {D, -D}}, {DOWN | RIGHT, false, NO, {D, D}},
                 {UP | LEFT, false, NO, {-D, -D}}, {DOWN | LEFT, false, NO, {-D, D}},
                 {NONE, false, NO, {0, 0}},        {RIGHT, true, NO, {L, 0}},
                 {RIGHT, true, FLIP, {L, 0}},      {RIGHT, true, BOTH_FLIPS, {2 * L, 0}},
                 {UP, false, KILL, {-3, 4}}};
    for (const auto& row : table) {
        SCOPED_TRACE(testing::Message() << row.bits << " " << row.slow << " " << row.aura);
        white().vel = Point(-3, 4);
        white().flipAura = row.aura == FLIP || row.aura == BOTH_FLIPS;
        white().flipOwnAura = row.aura == BOTH_FLIPS;
        white().killAura = row.aura == KILL;
        direction = row.bits;
        held = row.slow ? std::set<int>{Player::kSlowButton} : std::set<int>{};
        white().step();
        EXPECT_NEAR(white().vel.x, row.vel.x, 1e-9);
        EXPECT_NEAR(white().vel.y, row.vel.y, 1e-9);
    }
}

TEST_F(PlayerTest, TheEndButtonEndsTheMatchAndTheGaugesShowBuzzAndAFifthOfTheEatings) {
    white().buzz = 50;
    white().eatings = 400;
    white().step();
    EXPECT_FALSE(game.matchOver);
    // The buzz bar runs to 20 + 50; the eatings bar to 20 + 80.
    EXPECT_EQ(canvasAt(70, 378), mapped(WHITE));
    EXPECT_NE(canvasAt(71, 378), mapped(WHITE));
    EXPECT_EQ(canvasAt(100, 390), mapped(WHITE));
    EXPECT_NE(canvasAt(101, 390), mapped(WHITE));
    held = {Player::kEndButton};
    white().step();
    EXPECT_TRUE(game.matchOver);
}

TEST_F(PlayerTest, TheArtButtonBuysWhatTheBuzzAffordsOncePerPressAndNeverOverARunningArt) {
    const struct {
        int buzz, level, left;  // level 0: no Art
    } table[] = {{30, 0, 30}, {31, 1, 1}, {60, 1, 30}, {61, 2, 1}, {99, 2, 39}, {100, 3, 0}};
    held = {Player::kArtButton};
    for (const auto& row : table) {
        placePlayers();
        white().buzz = row.buzz;
        white().step();
        EXPECT_EQ(white().buzz, row.left) << row.buzz;
        ASSERT_EQ(white().art != nullptr, row.level > 0) << row.buzz;
        if (row.level > 0) {
            EXPECT_EQ(&white().art->description(), &artDescription(white().artColor, row.level));
        }
    }
    // An orange Art lasts: held on, or pressed again while it runs, the buzz stays.
    placePlayers();
    white().artColor = 1;
    white().buzz = 100;
    white().step();
    ASSERT_NE(white().art, nullptr);
    white().buzz = 100;
    white().step();
    held = {};
    white().step();
    EXPECT_EQ(white().artLatch, 0);
    held = {Player::kArtButton};
    white().step();
    EXPECT_EQ(white().buzz, 100);
}

TEST_F(PlayerTest, AFullEatingsGaugeRaisesTheLevelOrLowersItForAPartner) {
    const struct {
        int level;
        bool slow;
        int after;
    } table[] = {{9, false, 10}, {10, false, 9}, {5, true, 4}, {0, true, 0}, {0, false, 1}};
    for (const auto& row : table) {
        SCOPED_TRACE(row.level * 10 + row.slow);
        placePlayers();
        game.enemies.clear();
        game.lastTicks += 5000;
        game.window->clear();
        Enemy& first = partner(Point(150, 100), 0);
        first.nextStart = 0;
        first.step();  // playing
        partner(Point(150, 150), 1);
        white().level = row.level;
        white().eatings = 500;
        held = {Player::kArtButton};
        if (row.slow) held.insert(Player::kSlowButton);
        white().step();
        EXPECT_EQ(white().eatings, 0);
        white().eatings = 500;
        white().step();  // still the same press

        const bool raised = row.after > row.level;
        EXPECT_EQ(white().level, row.after);
        EXPECT_EQ(game.enemies.size(), raised ? 2u : 3u);
        std::vector<Enemy*> partners;
        game.collectStillEnemies(0, partners);
        for (Enemy* e : partners) EXPECT_EQ(e->actions, game.actions.listForLevel(row.after));
        EXPECT_EQ(game.enemies.back()->actions, game.actions.defaultList());
        // A raise drops the playing pattern and flashes the screen in the side colour.
        EXPECT_EQ(first.command == nullptr, raised);
        if (raised) {
            EXPECT_EQ(first.nextStart, game.lastTicks + Enemy::kPatternPause);
        }
        EXPECT_EQ(screenAt(150, 300) == mapped(WHITE), raised);
    }
}

// What an object of a colour at an offset from white's centre does to white, guards included.
TEST_F(PlayerTest, TheHitRule) {
    enum Guard { NO, INVINCIBLE, KILL, ABSORB, FLIP, MAX_RANK };
    const struct {
        int color, level;
        Guard guard;
        double dx;
        int lives, buzz, eatings;
        double rank;
        bool alive;
    } table[] = {
        // The other colour kills closer than 2 px, else it is grazed: rank and, below level
        // 3, eatings too.
        {1, 5, NO, 1.9, 1, 0, 400, 0, false},       {1, 5, NO, 2.0, 2, 1, 400, 0.0003, true},
        {1, 4, NO, 10, 2, 1, 400, 0.0006, true},    {1, 3, NO, 10, 2, 1, 400, 0.0006, true},
        {1, 2, NO, 10, 2, 1, 405, 0.0006, true},    {1, 5, INVINCIBLE, 0, 2, 0, 400, 0, true},
        {1, 5, KILL, 0, 2, 0, 400, 0, true},        {1, 5, ABSORB, 0, 2, 0, 401, 0.00006, false},
        {1, 5, FLIP, 0, 2, 0, 400, 0, true},
        // The own colour is eaten, feeding the rank except at levels 6 to 9 and under maxRank.
        {0, 5, NO, 10, 2, 0, 401, 0.00006, false}, {0, 6, NO, 10, 2, 0, 401, 0, false},
        {0, 9, NO, 10, 2, 0, 401, 0, false},       {0, 10, NO, 10, 2, 0, 401, 0.00006, false},
        {0, 5, MAX_RANK, 10, 2, 0, 400, 0, false}, {0, 5, INVINCIBLE, 0, 2, 0, 401, 0.00006, false},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(testing::Message() << row.color << " " << row.level << " " << row.guard
                                        << " " << row.dx);
        placePlayers();
        game.buzzEffects.clear();
        Player& p = white();
        p.level = row.level;
        p.invincibleUntil = row.guard == INVINCIBLE ? 5000 : 0;
        p.killAura = row.guard == KILL;
        p.absorbAura = row.guard == ABSORB;
        p.flipAura = row.guard == FLIP;
        p.maxRank = row.guard == MAX_RANK;
        Shot& s = shot(p.center + Point(row.dx, 0), row.color);
        p.hitByShot(s);
        if (s.alive) p.hitByShot(s);  // a shot is grazed once
        EXPECT_EQ(p.lives, row.lives);
        EXPECT_EQ(p.buzz, row.buzz);
        EXPECT_EQ(p.eatings, row.eatings);
        EXPECT_DOUBLE_EQ(p.rank, row.rank);
        EXPECT_EQ(s.alive, row.alive);
        const bool eaten = row.color == 0 || row.guard == ABSORB;
        EXPECT_EQ(game.buzzEffects.size(), row.buzz + (eaten ? 1u : 0u));
        if (row.lives == 1) {
            EXPECT_EQ(p.invincibleUntil, game.lastTicks + Player::kInvincibleTime);
        }
    }
    // The gauges stop at their tops (on a fresh white: the last row left it invincible).
    placePlayers();
    white().eatings = 499;
    white().buzz = 100;
    white().level = 2;
    white().hitByShot(shot(white().center + Point(10, 0), 1));
    white().hitByShot(shot(white().center + Point(10, 0), 0));
    EXPECT_EQ(white().eatings, 500);
    EXPECT_EQ(white().buzz, 100);
    // Partners of either colour are never eaten or grazed, and kill only up close.
    for (int c = 0; c < 2; ++c) {
        placePlayers();
        Enemy& near = partner(white().center + Point(5, 0), c);
        white().hitByEnemy(near);
        EXPECT_TRUE(near.alive);
        EXPECT_EQ(white().buzz + white().eatings, Player::kStartEatings);
        white().hitByEnemy(partner(white().center + Point(0, 1.9), c));
        EXPECT_EQ(white().lives, 1);
    }
}

TEST_F(PlayerTest, RankRisesInBandsAndIsSnappedAtTheEnds) {
    for (const auto& [before, after] : {std::pair{0.29, 0.2903}, {0.3, 0.3002}, {0.5, 0.500125},
                                        {0.99995, 1.0}}) {
        white().rank = before;
        white().raiseRank(1.0);
        EXPECT_DOUBLE_EQ(white().rank, after) << before;
    }
    white().rank = 0.000005;
    EXPECT_EQ(white().currentRank(), 0.0);
    white().rank = 0.5;
    EXPECT_EQ(white().currentRank(), 0.5);
    white().maxRank = true;
    EXPECT_EQ(white().currentRank(), 1.0);
}

TEST_F(PlayerTest, ALostLifeClearsTheThreatsDyesTheFieldAndBlinksFor3000ms) {
    Shot& threat = shot(Point(20, 20), 1);
    Shot& own = shot(Point(30, 20), 0);
    Enemy& zako = partner(Point(40, 20), 1);
    zako.dyeing = true;
    Enemy& theirs = partner(Point(50, 20), 1);
    game.lastTicks = 1000;
    white().vanish();
    EXPECT_EQ(white().lives, 1);
    EXPECT_FALSE(threat.alive);
    EXPECT_FALSE(zako.alive);
    EXPECT_TRUE(own.alive);
    EXPECT_TRUE(theirs.alive);
    EXPECT_TRUE(white().alive);
    EXPECT_FALSE(game.matchOver);
    // The marks are the Blue Arts' (tested there): the square's corner is white's.
    EXPECT_EQ(canvasAt(static_cast<int>(white().center.x) + 100, 250), mapped(WHITE));

    // An Art begun meanwhile shows without blinking; the normal look keeps the blink.
    white().beginArtLook();
    EXPECT_FALSE(white().sprite->blink);
    stepAt(4000);
    EXPECT_TRUE(white().savedSprite->blink);
    stepAt(4001);
    EXPECT_EQ(white().invincibleUntil, 0u);
    white().endArtLook();
    EXPECT_FALSE(white().sprite->blink);
}

TEST_F(PlayerTest, WithoutASpareLifeTheOtherSideIsAnnouncedInItsArtColour) {
    white().lives = 0;
    white().vanish();
    EXPECT_TRUE(game.matchOver);
    EXPECT_EQ(white().lives, 0);
    // Black's character is purple: "BLACK WINS." starts at (150, 200).
    int purple = 0;
    for (int y = 200; y < 230; ++y)
        for (int x = 150; x < 300; ++x) purple += screenAt(x, y) == mapped(PURPLE);
    EXPECT_GT(purple, 20);
}

TEST_F(PlayerTest, MovingNearAnOpponentObeysItsAuras) {
    game.frameSeconds = 0.1;
    const Point start = black().pos - Point(10, 0);
    const auto moveFrom = [&](const Point& at, const Point& vel) {
        white().pos = at;
        white().updateCenter();
        white().vel = vel;
        white().move();
    };
    black().letsOpponentMove = false;
    moveFrom(start, Point(0, 100));
    EXPECT_EQ(white().pos, start);
    // Out of reach the auras do nothing.
    moveFrom(black().pos - Point(40, 0), Point(0, 100));
    EXPECT_EQ(white().pos, black().pos - Point(40, -10));
    black().letsOpponentMove = true;

    black().pushAura = true;
    black().vel = Point(50, 0);
    moveFrom(start, Point(0, 100));
    EXPECT_EQ(white().pos, start + Point(10, 10));
    black().pushAura = false;

    black().killAura = true;
    white().invincibleUntil = 1;
    moveFrom(start, Point(0, 0));
    EXPECT_EQ(white().lives, 2);
    white().invincibleUntil = 0;
    moveFrom(start, Point(0, 0));
    EXPECT_EQ(white().lives, 1);
}
