// Field objects (proximity, the boundary rule, the dye trail, sparks, the partners' round) and the
// player's rules: control, the Art button, levels, the hit rule, rank, death; the Arts.
#include "input/Direction.h"
#include "objects/Art.h"
#include "objects/ArtNames.h"
#include "objects/BuzzEffect.h"
#include "script/EnemyCommand.h"
#include "support/HeadlessGame.h"

#include <cmath>
#include <tuple>
#include <vector>

using namespace MSDL;
using CharactorTest = HeadlessGameTest;
using PlayerTest = HeadlessGameTest;

// Under 20 pixels strictly, between centres truncated toward zero.
TEST_F(CharactorTest, NearMeansUnderTwentyPixelsOfTruncatedCentres) {
    for (auto [a, b, near] : {std::tuple{Point(150, 200), Point(138, 215), true},
                              {Point(150, 200), Point(166, 212), false},
                              {Point(-0.9, 5), Point(19.9, 5), true},
                              {Point(5, -0.9), Point(5, 19.9), true}})
        EXPECT_EQ(shot(a, 0).isNear(shot(b, 0)), near) << b.x << "," << b.y;
}

// A partner-sized object is clamped first: it must not lend its bounds to the player.
TEST_F(CharactorTest, ObjectsAreClampedByTheirOwnSizeAndDyeingOnesDieOnlyBeyondTheEdge) {
    partner(Point(1000, 1000), 0).checkField();
    EXPECT_EQ(game.enemies.back()->center, Point(288, 388));
    for (auto [from, to] : {std::pair{Point(1000, 1000), Point(280, 380)},
                            {Point(-5, -0.5), Point(0, 0)}}) {
        white().pos = from;
        white().checkField();
        EXPECT_EQ(white().center, to + Point(10, 10));
    }
    const double w = field().x, h = field().y;
    for (auto [at, alive] : {std::pair{Point(w, 200), true}, {Point(0, 0), true},
                             {Point(150, h), true}, {Point(w + 0.01, 200), false},
                             {Point(-0.01, 5), false}, {Point(5, h + 1), false},
                             {Point(7, -1), false}}) {
        Shot& s = shot(at, 1);
        const Point before = s.pos;
        s.checkField();
        EXPECT_EQ(s.alive, alive) << at.x << "," << at.y;
        EXPECT_EQ(s.pos, before);  // dyeing objects are not pushed back
    }
}

// On the game's own 16-bit canvas with its own stamps: a dye too faint for the canvas to show,
// or stamps too far apart, leave pixels of the path as they were.
TEST_F(CharactorTest, AShotCrossingTheFieldLeavesAnUnbrokenTrailOfItsColour) {
    for (int colour : {0, 1}) {
        for (int fps : {1000, 60}) {
            game.window->resetCanvas();
            std::vector<int> before;
            for (int x = 0; x < field().x; ++x) before.push_back(canvasRed(x, 200));
            game.addShot(Point(0, 200), Point(150, 0), colour);
            game.frameSeconds = 1.0 / fps;
            for (int frame = 0; !game.shots.empty() && frame < 3 * fps; ++frame) {
                game.updateAll();
                game.sweep();
            }
            // White lightens the field, black darkens it, all along the centre line.
            for (int x = 4; x < field().x - 4; ++x)
                ASSERT_GT((colour == 0 ? 1 : -1) * (canvasRed(x, 200) - before[x]), 0)
                    << colour << " at " << fps << " fps, x " << x;
        }
        // Standing still from no dye saved, white stamps every 8th frame, black every 16th.
        game.window->resetCanvas();
        game.objectsMade = 0;
        shot(Point(150, 100), colour);
        std::string stamps;
        for (int frame = 0; frame < 16; ++frame) {
            const int before = canvasRed(150, 100);
            game.updateAll();
            stamps += canvasRed(150, 100) != before ? 's' : '-';
        }
        EXPECT_EQ(stamps, colour == 0 ? "-------s-------s" : "---------------s");
        game.shots.clear();
    }
}

// A spark flies to its owner at 100 pixels a second for 200 ms; only a graze (a spark of the
// other colour) flashes a square of the owner's colour, and only in its first 50 ms.
TEST_F(CharactorTest, ASparkFliesToItsOwnerFor200msAndOnlyAGrazeFlashes) {
    const Point owner = white().center;
    BuzzEffect graze(&white(), owner + Point(0, -100), 1), eat(&white(), Point(50, 200), 0);
    const auto flash = [this](const BuzzEffect& s) {
        return screenAt(int(s.pos.x) + 4, int(s.pos.y) + 4) == mapped(WHITE) ? "f" : "-";
    };
    game.frameSeconds = 0.1;
    std::string seen;
    for (Uint32 t : {1049u, 1050u, 1200u, 1201u}) {
        game.window->clear();
        game.lastTicks = t;
        graze.update();
        eat.update();
        seen += (graze.alive ? "a" : "d") + std::string(flash(graze)) + flash(eat) + " ";
    }
    EXPECT_EQ(std::make_pair(seen, graze.pos),
              std::make_pair(std::string("af- a-- a-- d-- "), owner + Point(0, -70)));
}

// Made at 1000 on the default list; a test pattern handed over ends on cue.
TEST_F(CharactorTest, APatternStarts1500msAfterThePartnerIsMadeAndASecondAfterTheLastEnds) {
    Enemy& e = partner(Point(150, 100), 0);
    for (auto [t, playing] : {std::pair{2499u, false}, {2500u, true}}) {
        game.lastTicks = t;
        e.step();
        EXPECT_EQ(e.command != nullptr, playing) << t;
    }
    e.command = std::make_unique<EnemyCommand>(load("enemy/fire-speed-1.xml"), &e);
    for (int i = 0; i < 100 && e.command; ++i) {
        game.lastTicks += 16;
        e.step();
    }
    EXPECT_EQ(std::pair(e.command == nullptr, e.nextStart), std::pair(true, game.lastTicks + 1000));
}

// Only both flips double the speed; the killing aura carries the player on as it was.
TEST_F(PlayerTest, SteersInEightDirectionsSlowlyWhenAskedAndNotAtAllUnderTheKillingAura) {
    const double S = Player::kSpeed, D = S / std::sqrt(2.0), L = Player::kSlowSpeed;
    enum Aura { NO, FLIP, BOTH_FLIPS, KILL };
    // The direction's bits, the slow button, the aura, the velocity.
    const std::tuple<int, bool, Aura, Point> table[] = {
        {UP, false, NO, {0, -S}},         {DOWN, false, NO, {0, S}},
        {RIGHT, false, NO, {S, 0}},       {LEFT, false, NO, {-S, 0}},
        {UP | RIGHT, false, NO, {D, -D}}, {DOWN | RIGHT, false, NO, {D, D}},
        {UP | LEFT, false, NO, {-D, -D}}, {DOWN | LEFT, false, NO, {-D, D}},
        {NONE, false, NO, {0, 0}},        {RIGHT, true, NO, {L, 0}},
        {RIGHT, true, FLIP, {L, 0}},      {RIGHT, true, BOTH_FLIPS, {2 * L, 0}},
        {UP, false, KILL, {-3, 4}}};
    for (const auto& [bits, slow, aura, vel] : table) {
        white().vel = Point(-3, 4);
        white().flipAura = aura == FLIP || aura == BOTH_FLIPS;
        white().flipOwnAura = aura == BOTH_FLIPS;
        white().killAura = aura == KILL;
        direction = bits;
        held = slow ? std::set<int>{Player::kSlowButton} : std::set<int>{};
        white().step();
        EXPECT_LT((white().vel - vel).length(), 1e-9) << bits << " " << aura;
    }
    EXPECT_FALSE(game.matchOver);
    held = {Player::kEndButton};
    white().step();
    EXPECT_TRUE(game.matchOver);
}

// The buzz buys an Art below a full eatings gauge; a full one raises the level, or with the
// slow button lowers it for a new partner. Once per press.
TEST_F(PlayerTest, TheArtButtonBuysAnArtOrChangesTheLevel) {
    const struct {
        int buzz, eatings, level;
        bool slow;
        int art, buzzAfter, eatingsAfter, levelAfter;  // art 0: none
    } table[] = {{30, 0, 5, false, 0, 30, 0, 5},     {31, 0, 5, false, 1, 1, 0, 5},
                 {60, 0, 5, false, 1, 30, 0, 5},    {61, 0, 5, false, 2, 1, 0, 5},
                 {99, 499, 5, false, 2, 39, 499, 5}, {100, 0, 5, false, 3, 0, 0, 5},
                 {100, 500, 9, false, 0, 100, 0, 10}, {0, 500, 10, false, 0, 0, 0, 9},
                 {0, 500, 5, true, 0, 0, 0, 4},     {0, 500, 0, true, 0, 0, 0, 0}};
    for (const auto& row : table) {
        SCOPED_TRACE(testing::Message() << row.buzz << " " << row.eatings << " " << row.level);
        placePlayers();
        game.enemies.clear();
        game.window->clear();
        Enemy& playing = partner(Point(150, 100), 0);
        playing.nextStart = 0;
        playing.step();
        partner(Point(150, 150), 1);
        white().artColor = 3;  // auras alone: the gauges stay as the purchase left them
        white().buzz = row.buzz;
        white().eatings = row.eatings;
        white().level = row.level;
        held = {Player::kArtButton};
        if (row.slow) held.insert(Player::kSlowButton);
        white().step();
        white().step();  // still the same press
        EXPECT_EQ(std::tuple(white().buzz, white().eatings, white().level),
                  std::tuple(row.buzzAfter, row.eatingsAfter, row.levelAfter));
        const Art* art = white().art.get();
        EXPECT_EQ(art ? &art->description() : nullptr,
                  row.art > 0 ? &artDescription(white().artColor, row.art) : nullptr);
        // A raise aborts and flashes, a fall adds a partner; only white's play the new list.
        const bool raised = row.levelAfter > row.level, changed = row.eatings == 500;
        EXPECT_EQ(std::tuple(playing.command == nullptr, playing.nextStart,
                             screenAt(150, 300) == mapped(WHITE), game.enemies.size(),
                             playing.actions, game.enemies.back()->actions),
                  std::tuple(raised, raised ? game.lastTicks + 1000 : 0, raised,
                             changed && !raised ? 3u : 2u,
                             changed ? game.actions.listForLevel(row.levelAfter)
                                     : game.actions.defaultList(),
                             game.actions.defaultList()));
    }
}

// What an object of a colour at an offset from white's centre does to white, guards included,
// and white to it: each meeting goes through both halves of the double dispatch.
TEST_F(PlayerTest, TheHitRule) {
    enum Guard { NO, INVINCIBLE, KILL, ABSORB, FLIP, MAX_RANK, PARTNER, ZAKO };
    const struct {
        int color, level;
        Guard guard;
        double dx, rank;
        int lives, buzz, eatings;
        bool alive;
    } table[] = {
        // The other colour kills closer than 2 px, else is grazed: rank, below level 3 eatings.
        {1, 5, NO, 1.9, 0, 1, 0, 400, false},       {1, 5, NO, 2.0, 0.0003, 2, 1, 400, true},
        {1, 4, NO, 10, 0.0006, 2, 1, 400, true},    {1, 3, NO, 10, 0.0006, 2, 1, 400, true},
        {1, 2, NO, 10, 0.0006, 2, 1, 405, true},    {1, 5, INVINCIBLE, 0, 0, 2, 0, 400, true},
        {1, 5, KILL, 0, 0, 2, 0, 400, true},        {1, 5, ABSORB, 0, 0.00006, 2, 0, 401, false},
        {1, 5, FLIP, 0, 0, 2, 0, 400, true},
        // The own colour is eaten, feeding the rank except at levels 6 to 9 and under maxRank.
        {0, 5, NO, 10, 0.00006, 2, 0, 401, false}, {0, 6, NO, 10, 0, 2, 0, 401, false},
        {0, 9, NO, 10, 0, 2, 0, 401, false},       {0, 10, NO, 10, 0.00006, 2, 0, 401, false},
        {0, 5, MAX_RANK, 10, 0, 2, 0, 400, false}, {0, 5, INVINCIBLE, 0, 0.00006, 2, 0, 401, false},
        // Partners of either colour are never eaten or grazed, and kill only up close; a Zako
        // (a dyeing enemy) of the other colour is grazed and lives on. The rest are shots.
        {0, 5, PARTNER, 5, 0, 2, 0, 400, true},    {1, 5, PARTNER, 5, 0, 2, 0, 400, true},
        {1, 5, PARTNER, 1.9, 0, 1, 0, 400, true},  {1, 5, ZAKO, 10, 0.0003, 2, 1, 400, true},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(testing::Message() << row.color << row.level << row.guard << " " << row.dx);
        placePlayers();
        Player& p = white();
        p.level = row.level;
        p.invincibleUntil = row.guard == INVINCIBLE ? 5000 : 0;
        p.killAura = row.guard == KILL;
        p.absorbAura = row.guard == ABSORB;
        p.flipAura = row.guard == FLIP;
        p.maxRank = row.guard == MAX_RANK;
        const Point at = p.center + Point(row.dx, 0);
        Charactor& x = row.guard >= PARTNER ? static_cast<Charactor&>(partner(at, row.color))
                                             : shot(at, row.color);
        x.dyeing = row.guard != PARTNER;
        for (int meeting = 0; meeting < 2 && x.alive; ++meeting) {  // grazed only once
            x.hit(p);
            p.hit(x);
        }
        EXPECT_EQ(std::tuple(p.lives, p.buzz, p.eatings, x.alive),
                  std::tuple(row.lives, row.buzz, row.eatings, row.alive));
        EXPECT_DOUBLE_EQ(p.rank, row.rank);
    }
    // The gauges stop at their tops.
    placePlayers();
    white().eatings = 499;
    white().buzz = 100;
    white().level = 2;
    white().hitByShot(shot(white().center + Point(10, 0), 1));
    white().hitByShot(shot(white().center + Point(10, 0), 0));
    EXPECT_EQ(std::pair(white().eatings, white().buzz), std::pair(500, 100));
}

TEST_F(PlayerTest, RankRisesInBandsAndIsSnappedAtTheEnds) {
    for (const auto& [before, after] : {std::pair{0.29, 0.2903}, {0.3, 0.3002}, {0.5, 0.500125},
                                        {0.99995, 1.0}}) {
        white().rank = before;
        white().raiseRank(1.0);
        EXPECT_DOUBLE_EQ(white().rank, after) << before;
    }
    white().maxRank = true;
    EXPECT_EQ(white().currentRank(), 1.0);
}

// A lost life clears the other colour's threats, dyes white's square (the Blue Arts' marks)
// and blinks for 3000 ms; the last one ends the match.
TEST_F(PlayerTest, DeathClearsTheThreatsDyesTheFieldAndBlinksAndTheLastOneEndsTheMatch) {
    Shot& threat = shot(Point(20, 20), 1);
    Shot& own = shot(Point(30, 20), 0);
    Enemy& zako = partner(Point(40, 20), 1, game.actions.slot(0));  // bosses.act: Zako
    Enemy& theirs = partner(Point(50, 20), 1);
    white().vanish();
    EXPECT_EQ(std::tuple(white().lives, threat.alive, zako.alive, own.alive, theirs.alive),
              std::tuple(1, false, false, true, true));
    EXPECT_EQ(canvasAt(static_cast<int>(white().center.x) + 100, 250), mapped(WHITE));
    stepAt(4000);
    EXPECT_TRUE(white().sprite->blink);
    stepAt(4001);
    EXPECT_EQ(std::pair(white().sprite->blink, game.matchOver), std::pair(false, false));
    white().lives = 0;
    white().vanish();
    EXPECT_EQ(std::pair(game.matchOver, white().lives), std::pair(true, 0));
}

// A shot of each colour lies far from both players. Pulls move objects by their corners, in
// the owner's 100 ms frames; in its last frame black tries to move down past white moving right.
TEST_F(PlayerTest, TheArtsEachColourAndLevelDoesItsOwnThingForItsTimeAndThenUndoesItself) {
    enum Mark { NONE, SQUARE, WASH, ALL, PULLS, PULLS_BLACK, HOLDS, PUSHES, KILLS, RANK, PARTNER };
    const struct {
        int color, level;
        Uint32 duration;
        bool Player::*flag;  // true while the Art runs, but for letsOpponentMove
        int mine, theirs;    // eatings
        bool ownShot, theirShotDuring, theirShotAfter;
        Mark mark;
    } table[] = {
        {0, 1, 0, nullptr, 123, 403, true, false, false, NONE},
        {0, 2, 0, nullptr, 320, 403, true, true, true, NONE},
        {0, 3, 0, nullptr, 420, 200, true, true, true, NONE},
        {1, 1, 10000, &Player::letsOpponentMove, 123, 403, true, true, true, HOLDS},
        {1, 2, 10000, &Player::pushAura, 123, 403, true, true, true, PUSHES},
        {1, 3, 1000, &Player::killAura, 123, 403, false, true, false, KILLS},
        {2, 1, 500, nullptr, 123, 403, true, true, true, PULLS},
        {2, 2, 10000, nullptr, 123, 403, true, true, true, PULLS},
        {2, 3, 10000, nullptr, 123, 403, true, true, true, PULLS_BLACK},
        {3, 1, 3000, &Player::flipAura, 123, 403, true, true, true, NONE},
        {3, 2, 3000, &Player::absorbAura, 123, 403, true, true, true, NONE},
        {3, 3, 3000, &Player::flipOwnAura, 123, 403, true, true, true, NONE},
        {4, 1, 0, nullptr, 123, 403, true, true, true, SQUARE},
        {4, 2, 0, nullptr, 123, 403, true, true, true, WASH},
        {4, 3, 0, nullptr, 123, 403, true, true, true, ALL},
        {5, 1, 0, nullptr, 123, 403, true, true, true, RANK},
        {5, 2, 10000, &Player::maxRank, 123, 403, true, true, true, NONE},
        {5, 3, 0, nullptr, 0, 403, true, true, true, PARTNER},
    };
    game.frameSeconds = 0.1;
    for (const auto& row : table) {
        SCOPED_TRACE(row.color * 10 + row.level);
        placePlayers();
        game.enemies.clear();
        game.window->resetCanvas();
        game.lastTicks = 1000;
        Player& p = white();
        p.level = 7;
        p.eatings = 123;
        black().eatings = 403;
        Shot& own = shotOffWhite(Point(0, -190), Point(0, 0), 0);
        Shot& theirs = shot(Point(280, 20), 1);
        const double ownFar = own.pos.distance(p.pos), blackFar = black().pos.distance(p.pos);
        const int x = static_cast<int>(p.center.x), y = static_cast<int>(p.center.y);
        const Uint32 beside = canvasAt(x + 101, y);

        p.artColor = row.color;
        p.art = createArt(p, row.level, game.window.get());
        const auto auraOn = [&] {
            return row.flag && p.*row.flag != (row.flag == &Player::letsOpponentMove);
        };
        ActionList* partner = game.enemies.empty() ? nullptr : game.enemies.front()->actions;
        EXPECT_EQ(std::tuple(p.eatings, black().eatings, theirs.alive, partner, auraOn(),
                             p.sprite->image),
                  std::tuple(row.mine, row.theirs, row.theirShotDuring,
                             row.mark == PARTNER ? game.actions.listForLevel(7) : nullptr,
                             row.flag != nullptr, p.artImage.get()));
        EXPECT_DOUBLE_EQ(p.rank, row.mark == RANK ? 0.009 : 0);
        const bool square = canvasAt(x - 100, y - 100) == mapped(WHITE) &&
                            canvasAt(x + 100, y) == mapped(WHITE);
        EXPECT_EQ(square, row.mark == SQUARE || row.mark == ALL);
        EXPECT_EQ(canvasAt(x + 101, y) != beside, row.mark == WASH || row.mark == ALL);

        stepAt(1000 + row.duration);
        ASSERT_NE(p.art, nullptr);
        // Pixels closer in the frame: own bullets 190 away at 20000 or 3000 / 200, black 50.
        const double pull = row.mark == PULLS_BLACK ? 5 : row.level == 1 ? 10 : 1.5;
        EXPECT_DOUBLE_EQ(ownFar - own.pos.distance(p.pos), pull * (row.mark == PULLS));
        EXPECT_DOUBLE_EQ(blackFar - black().pos.distance(p.pos),
                         pull * (row.mark == PULLS_BLACK));
        black().pos = p.pos + Point(10, 0);
        black().updateCenter();
        black().vel = Point(0, 100);
        p.vel = Point(50, 0);
        black().move();
        const Point moved = row.mark == HOLDS    ? Point(0, 0)
                            : row.mark == PUSHES ? Point(10, 10)
                                                 : Point(0, 10);
        EXPECT_EQ(std::pair(black().pos, black().lives),
                  std::pair(p.pos + Point(10, 0) + moved, row.mark == KILLS ? 1 : 2));
        black().vel = Point(0, 0);
        black().move();  // the life just lost shields it
        EXPECT_EQ(black().lives, row.mark == KILLS ? 1 : 2);
        stepAt(1001 + row.duration);
        EXPECT_EQ(std::tuple(p.art.get(), own.alive, theirs.alive, auraOn(),
                             p.sprite->image == p.artImage.get()),
                  std::tuple(nullptr, row.ownShot, row.theirShotAfter, false, false));
    }
}

// Through the frame's collisions: the shot and the player each tell the other.
TEST_F(PlayerTest, GreenArt3SendsOwnBulletsAwayWhileOwnBulletsWithActionsStillVanish) {
    white().artColor = 3;
    auto art = createArt(white(), 3, game.window.get());
    Shot& own = shotOffWhite(Point(10, 0), Point(-50, 0), 0);
    Enemy& withActions = partner(white().center + Point(0, 5), 0);
    withActions.dyeing = true;
    game.collide();
    EXPECT_EQ(std::tuple(own.alive, own.vel, withActions.alive),
              std::tuple(true, Point(75, 0), false));
}
