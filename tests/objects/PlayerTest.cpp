// The player's rules: control, the Art button, levels, the hit rule, rank, death and auras.
#include "input/Direction.h"
#include "objects/Art.h"
#include "objects/ArtNames.h"
#include "support/PlayerFixture.h"

#include <cmath>
#include <vector>

namespace {

using PlayerTest = PlayerFixture;

const double S = Player::kSpeed;
const double D = Player::kSpeed / std::sqrt(2.0);

}  // namespace

TEST_F(PlayerTest, SteersInEightDirectionsAtTheTableSpeeds) {
    using namespace MSDL;
    const struct {
        int bits;
        Point vel;
    } table[] = {{UP, {0, -S}},          {DOWN, {0, S}},        {RIGHT, {S, 0}},
                 {LEFT, {-S, 0}},        {UP | RIGHT, {D, -D}}, {DOWN | RIGHT, {D, D}},
                 {UP | LEFT, {-D, -D}},  {DOWN | LEFT, {-D, D}}, {UP | DOWN, {0, 0}},
                 {LEFT | RIGHT, {0, 0}}, {NONE, {0, 0}}};
    for (const auto& row : table) {
        white().vel = Point(1, 1);
        direction = row.bits;
        white().step();
        EXPECT_NEAR(white().vel.x, row.vel.x, 1e-9) << row.bits;
        EXPECT_NEAR(white().vel.y, row.vel.y, 1e-9) << row.bits;
    }
    direction = RIGHT;
    held = {Player::kSlowButton};
    white().step();
    EXPECT_EQ(white().vel, Point(Player::kSlowSpeed, 0));
    white().flipAura = true;
    white().step();
    EXPECT_EQ(white().vel, Point(Player::kSlowSpeed, 0));
    white().flipOwnAura = true;
    white().step();
    EXPECT_EQ(white().vel, Point(2 * Player::kSlowSpeed, 0));

    // Under the killing aura the player flies on as it was, whatever it holds.
    white().killAura = true;
    white().vel = Point(-3, 4);
    direction = UP;
    white().step();
    EXPECT_EQ(white().vel, Point(-3, 4));
}

TEST_F(PlayerTest, TheEndButtonEndsTheMatchAndTheGaugesShowBuzzAndAFifthOfTheEatings) {
    white().buzz = 50;
    white().eatings = 400;
    white().step();
    EXPECT_FALSE(game.matchOver);
    const Uint32 bar = mapped(WHITE);
    // The buzz bar runs to 20 + 50; the eatings bar to 20 + 80.
    EXPECT_EQ(canvasAt(70, 378), bar);
    EXPECT_NE(canvasAt(71, 378), bar);
    EXPECT_EQ(canvasAt(100, 390), bar);
    EXPECT_NE(canvasAt(101, 390), bar);
    held = {Player::kEndButton};
    white().step();
    EXPECT_TRUE(game.matchOver);
}

TEST_F(PlayerTest, TheArtButtonBuysTheLevelTheBuzzAffords) {
    const struct {
        int buzz;
        int level;  // 0: no Art
        int left;
    } table[] = {{30, 0, 30}, {31, 1, 1}, {60, 1, 30}, {61, 2, 1}, {99, 2, 39}, {100, 3, 0}};
    held = {Player::kArtButton};
    for (const auto& row : table) {
        placePlayers();
        white().buzz = row.buzz;
        white().step();
        EXPECT_EQ(white().buzz, row.left) << row.buzz;
        if (row.level == 0) {
            EXPECT_EQ(white().art, nullptr) << row.buzz;
        } else {
            ASSERT_NE(white().art, nullptr) << row.buzz;
            EXPECT_EQ(white().art->description(), artDescription(white().artColor, row.level));
        }
    }
}

TEST_F(PlayerTest, OnePressActsOnceAndNoSecondArtStartsWhileOneRuns) {
    held = {Player::kArtButton};
    white().eatings = 500;
    white().step();
    white().eatings = 500;
    white().step();
    EXPECT_EQ(white().level, 6);
    held = {};
    white().step();
    EXPECT_EQ(white().artLatch, 0);
    held = {Player::kArtButton};
    white().eatings = 500;
    white().step();
    EXPECT_EQ(white().level, 7);

    // An orange Art lasts: pressing again while it runs keeps the buzz.
    white().artColor = 1;
    white().buzz = 100;
    held = {};
    white().step();
    held = {Player::kArtButton};
    white().step();
    ASSERT_NE(white().art, nullptr);
    white().buzz = 100;
    held = {};
    white().step();
    held = {Player::kArtButton};
    white().step();
    EXPECT_EQ(white().buzz, 100);
}

TEST_F(PlayerTest, AFullEatingsGaugeRaisesTheLevelOrLowersItForAPartner) {
    const struct {
        int level;
        bool slow;
        int after;
    } table[] = {{5, false, 6}, {9, false, 10}, {10, false, 9},
                 {5, true, 4},  {0, true, 0},   {0, false, 1}};
    for (const auto& row : table) {
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

        const bool raised = row.after > row.level;
        EXPECT_EQ(white().level, row.after) << row.level << row.slow;
        EXPECT_EQ(white().eatings, 0);
        EXPECT_EQ(game.enemies.size(), raised ? 2u : 3u);
        std::vector<Enemy*> partners;
        game.collectStillEnemies(0, partners);
        for (Enemy* e : partners) EXPECT_EQ(e->actions, game.actions.listForLevel(row.after));
        // A raise drops the playing pattern and flashes the screen in the side colour.
        EXPECT_EQ(first.command == nullptr, raised);
        if (raised) {
            EXPECT_EQ(first.nextStart, game.lastTicks + Enemy::kPatternPause);
        }
        EXPECT_EQ(screenAt(150, 300) == mapped(WHITE), raised);
        EXPECT_EQ(game.enemies.back()->actions, game.actions.defaultList());
    }
}

TEST_F(PlayerTest, AnOpposingCentreKillsOnlyCloserThanTwoPixelsElseItIsGrazedOnce) {
    Shot& grazed = shot(white().center + Point(2.0, 0), 1);
    white().hitByShot(grazed);
    white().hitByShot(grazed);
    EXPECT_EQ(white().lives, 2);
    EXPECT_EQ(white().buzz, 1);
    EXPECT_TRUE(grazed.buzzed);
    EXPECT_EQ(game.buzzEffects.size(), 1u);

    Shot& fatal = shot(white().center + Point(1.9, 0), 1);
    white().hitByShot(fatal);
    EXPECT_EQ(white().lives, 1);
    EXPECT_EQ(white().buzz, 1);
    EXPECT_EQ(white().invincibleUntil, game.lastTicks + Player::kInvincibleTime);
}

TEST_F(PlayerTest, GrazingPaysByLevel) {
    const struct {
        int level;
        double rank;
        int eatings;
    } table[] = {{2, 0.0006, 405}, {3, 0.0006, 400}, {4, 0.0006, 400},
                 {5, 0.0003, 400}, {10, 0.0003, 400}};
    for (const auto& row : table) {
        placePlayers();
        white().level = row.level;
        white().hitByShot(shot(white().center + Point(10, 0), 1));
        EXPECT_DOUBLE_EQ(white().rank, row.rank) << row.level;
        EXPECT_EQ(white().eatings, row.eatings) << row.level;
        EXPECT_EQ(white().buzz, 1) << row.level;
    }
    white().level = 2;
    white().eatings = 498;
    white().buzz = 100;
    white().hitByShot(shot(white().center + Point(10, 0), 1));
    EXPECT_EQ(white().eatings, 500);
    EXPECT_EQ(white().buzz, 100);
}

TEST_F(PlayerTest, RankRisesInBandsAndIsSnappedAtTheEnds) {
    const struct {
        double before;
        double after;
    } table[] = {{0.29, 0.2903}, {0.3, 0.3002}, {0.5, 0.500125}, {0.99995, 1.0}};
    for (const auto& row : table) {
        white().rank = row.before;
        white().raiseRank(1.0);
        EXPECT_DOUBLE_EQ(white().rank, row.after) << row.before;
    }
    white().rank = 0.000005;
    EXPECT_EQ(white().currentRank(), 0.0);
    white().rank = 0.5;
    EXPECT_EQ(white().currentRank(), 0.5);
    white().maxRank = true;
    EXPECT_EQ(white().currentRank(), 1.0);
}

TEST_F(PlayerTest, EatingFeedsRankExceptAtLevelsSixToNineAndNothingUnderMaxRank) {
    const struct {
        int level;
        bool maxRank;
        double rank;
        int eatings;
    } table[] = {{5, false, 0.00006, 401}, {6, false, 0, 401}, {9, false, 0, 401},
                 {10, false, 0.00006, 401}, {5, true, 0, 400}};
    for (const auto& row : table) {
        placePlayers();
        white().level = row.level;
        white().maxRank = row.maxRank;
        Shot& own = shot(white().center + Point(10, 0), 0);
        white().hitByShot(own);
        EXPECT_FALSE(own.alive);
        EXPECT_DOUBLE_EQ(white().rank, row.rank) << row.level;
        EXPECT_EQ(white().eatings, row.eatings) << row.level;
    }
    EXPECT_EQ(game.buzzEffects.size(), 5u);
    white().eatings = 500;
    white().hitByShot(shot(white().center, 0));
    EXPECT_EQ(white().eatings, 500);
}

TEST_F(PlayerTest, PartnersOfEitherColourAreNeverEatenOrGrazedAndKillOnlyUpClose) {
    for (int c = 0; c < 2; ++c) {
        Enemy& near = partner(white().center + Point(5, 0), c);
        ASSERT_FALSE(near.dyeing);
        white().hitByEnemy(near);
        EXPECT_TRUE(near.alive);
        EXPECT_FALSE(near.buzzed);
        EXPECT_EQ(white().buzz, 0);
        EXPECT_EQ(white().eatings, Player::kStartEatings);
        EXPECT_TRUE(game.buzzEffects.empty());

        white().invincibleUntil = 0;
        white().hitByEnemy(partner(white().center + Point(0, 1.9), c));
        EXPECT_EQ(white().lives, 1 - c);
    }
}

TEST_F(PlayerTest, GuardsHoldOpposingBulletsOff) {
    // Invincible: no death and no graze, but eating goes on.
    white().invincibleUntil = 5000;
    white().hitByShot(shot(white().center, 1));
    EXPECT_EQ(white().lives, 2);
    EXPECT_EQ(white().buzz, 0);
    white().hitByShot(shot(white().center, 0));
    EXPECT_EQ(white().eatings, 401);
    white().invincibleUntil = 0;

    white().killAura = true;
    Shot& ignored = shot(white().center, 1);
    white().hitByShot(ignored);
    EXPECT_TRUE(ignored.alive);
    EXPECT_EQ(white().buzz, 0);
    white().killAura = false;

    white().absorbAura = true;
    Shot& absorbed = shot(white().center, 1);
    white().hitByShot(absorbed);
    EXPECT_FALSE(absorbed.alive);
    EXPECT_EQ(white().eatings, 402);
    white().absorbAura = false;

    white().flipAura = true;
    Shot& flipped = shotOffWhite(Point(0, -1), Point(0, 10), 1);
    white().hitByShot(flipped);
    EXPECT_TRUE(flipped.alive);
    EXPECT_EQ(flipped.vel, Point(0, -15));
    EXPECT_EQ(white().lives, 2);
    EXPECT_EQ(white().buzz, 0);
}

TEST_F(PlayerTest, FlipSendsAwayHalfAsFastAgainAndLeavesAnObjectOnThePlayerInPlace) {
    Shot& beside = shotOffWhite(Point(10, 0), Point(0, 100), 0);
    white().flip(beside);
    EXPECT_EQ(beside.vel, Point(150, 0));

    Shot& on = shotOffWhite(Point(0, 0), Point(30, 40), 0);
    white().flip(on);
    EXPECT_EQ(on.vel, Point(0, 0));
    game.frameSeconds = 0.1;
    on.move();
    EXPECT_EQ(on.pos, white().pos);
}

TEST_F(PlayerTest, ALostLifeClearsTheThreatsWashesTheFieldAndDyesTheSquare) {
    Shot& threat = shot(Point(20, 20), 1);
    Shot& own = shot(Point(30, 20), 0);
    Enemy& zako = partner(Point(40, 20), 1);
    zako.dyeing = true;
    Enemy& theirs = partner(Point(50, 20), 1);
    const int before = canvasRed(290, 10);

    white().vanish();
    EXPECT_EQ(white().lives, 1);
    EXPECT_FALSE(threat.alive);
    EXPECT_FALSE(zako.alive);
    EXPECT_TRUE(own.alive);
    EXPECT_TRUE(theirs.alive);
    EXPECT_TRUE(white().alive);
    EXPECT_TRUE(white().sprite->blink);
    EXPECT_FALSE(game.matchOver);
    // Half-way toward white out of the square, white inside it.
    const int after = canvasRed(290, 10);
    EXPECT_GT(after, before + (255 - before) / 3);
    EXPECT_LT(after, 255);
    const Point c = white().center;
    EXPECT_EQ(canvasAt(static_cast<int>(c.x) + 100, static_cast<int>(c.y) - 100), mapped(WHITE));
    EXPECT_NE(canvasAt(static_cast<int>(c.x) + 101, static_cast<int>(c.y)), mapped(WHITE));
}

TEST_F(PlayerTest, InvincibilityEndsOnTheFirstTickPastDeathPlus3000) {
    game.lastTicks = 1000;
    white().vanish();
    // An Art begun meanwhile shows without blinking; the normal look keeps the blink.
    white().beginArtLook();
    EXPECT_FALSE(white().sprite->blink);
    EXPECT_TRUE(white().savedSprite->blink);
    stepAt(4000);
    EXPECT_EQ(white().invincibleUntil, 4000u);
    EXPECT_TRUE(white().savedSprite->blink);
    stepAt(4001);
    EXPECT_EQ(white().invincibleUntil, 0u);
    EXPECT_FALSE(white().savedSprite->blink);
    white().endArtLook();
    EXPECT_FALSE(white().sprite->blink);
}

TEST_F(PlayerTest, WithoutASpareLifeTheOtherSideIsAnnouncedInItsArtColour) {
    white().lives = 0;
    white().vanish();
    EXPECT_TRUE(game.matchOver);
    EXPECT_EQ(white().lives, 0);
    EXPECT_TRUE(white().alive);
    // Black's character is purple: "BLACK WINS." starts at (150, 200).
    int purple = 0;
    for (int y = 200; y < 230; ++y)
        for (int x = 150; x < 300; ++x) purple += screenAt(x, y) == mapped(PURPLE);
    EXPECT_GT(purple, 20);
}

TEST_F(PlayerTest, MovingNearAnOpponentObeysItsAuras) {
    game.frameSeconds = 0.1;
    white().pos = black().pos - Point(10, 0);
    white().updateCenter();
    white().vel = Point(0, 100);
    black().vel = Point(50, 0);
    const Point start = white().pos;

    black().letsOpponentMove = false;
    white().move();
    EXPECT_EQ(white().pos, start);
    black().letsOpponentMove = true;

    black().pushAura = true;
    white().move();
    EXPECT_EQ(white().pos, start + Point(10, 10));
    black().pushAura = false;

    black().killAura = true;
    white().vel = Point(0, 0);
    white().invincibleUntil = 1;
    white().move();
    EXPECT_EQ(white().lives, 2);
    white().invincibleUntil = 0;
    white().move();
    EXPECT_EQ(white().lives, 1);

    // Out of reach the auras do nothing.
    black().letsOpponentMove = false;
    white().pos = black().pos - Point(40, 0);
    white().updateCenter();
    white().vel = Point(0, 100);
    white().move();
    EXPECT_EQ(white().pos, black().pos - Point(40, -10));
}
