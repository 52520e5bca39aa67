// The Arts: their choice by colour and level, their lives, and what each does.
#include "objects/Art.h"
#include "objects/ArtNames.h"
#include "support/PlayerFixture.h"

#include <stdexcept>
#include <tuple>

using ArtTest = PlayerFixture;

// White, at level 7 with 123 eatings, buys each Art; black has 403 eatings. A shot of each
// colour lies far from both. Pulls move objects by their corners, in the owner's 100 ms
// frames; in its last frame black tries to move down past white while white moves right.
TEST_F(ArtTest, EachColourAndLevelDoesItsOwnThingForItsTimeAndThenUndoesItself) {
    enum Mark { NONE, SQUARE, WASH, ALL, PULLS_OWN, PULLS_OPPONENT, HOLDS, PUSHES, KILLS };
    const struct {
        int color, level;
        Uint32 duration;
        bool Player::*flag;  // true while the Art runs, but for letsOpponentMove
        int mine, theirs;    // eatings
        bool ownShot, theirShotDuring, theirShotAfter;
        double rank;
        bool partner;  // on white's level
        Mark mark;
    } table[] = {
        {0, 1, 0, nullptr, 123, 403, true, false, false, 0, false, NONE},
        {0, 2, 0, nullptr, 320, 403, true, true, true, 0, false, NONE},
        {0, 3, 0, nullptr, 420, 200, true, true, true, 0, false, NONE},
        {1, 1, 10000, &Player::letsOpponentMove, 123, 403, true, true, true, 0, false, HOLDS},
        {1, 2, 10000, &Player::pushAura, 123, 403, true, true, true, 0, false, PUSHES},
        {1, 3, 1000, &Player::killAura, 123, 403, false, true, false, 0, false, KILLS},
        {2, 1, 500, nullptr, 123, 403, true, true, true, 0, false, PULLS_OWN},
        {2, 2, 10000, nullptr, 123, 403, true, true, true, 0, false, PULLS_OWN},
        {2, 3, 10000, nullptr, 123, 403, true, true, true, 0, false, PULLS_OPPONENT},
        {3, 1, 3000, &Player::flipAura, 123, 403, true, true, true, 0, false, NONE},
        {3, 2, 3000, &Player::absorbAura, 123, 403, true, true, true, 0, false, NONE},
        {3, 3, 3000, &Player::flipOwnAura, 123, 403, true, true, true, 0, false, NONE},
        {4, 1, 0, nullptr, 123, 403, true, true, true, 0, false, SQUARE},
        {4, 2, 0, nullptr, 123, 403, true, true, true, 0, false, WASH},
        {4, 3, 0, nullptr, 123, 403, true, true, true, 0, false, ALL},
        {5, 1, 0, nullptr, 123, 403, true, true, true, 0.009, false, NONE},
        {5, 2, 10000, &Player::maxRank, 123, 403, true, true, true, 0, false, NONE},
        {5, 3, 0, nullptr, 0, 403, true, true, true, 0, true, NONE},
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
        EXPECT_EQ(&p.art->description(), &artDescription(row.color, row.level));
        EXPECT_EQ(screenAt(150, 50), mapped(artColorValue(row.color)));
        if (row.flag) {
            EXPECT_NE(p.*row.flag, row.flag == &Player::letsOpponentMove);
        }
        ActionList* partner = game.enemies.empty() ? nullptr : game.enemies.front()->actions;
        EXPECT_EQ(std::tuple(p.eatings, black().eatings, theirs.alive, partner, p.sprite->image),
                  std::tuple(row.mine, row.theirs, row.theirShotDuring,
                             row.partner ? game.actions.listForLevel(7) : nullptr,
                             p.artImage.get()));
        EXPECT_DOUBLE_EQ(p.rank, row.rank);
        const bool square = canvasAt(x - 100, y - 100) == mapped(WHITE) &&
                            canvasAt(x + 100, y) == mapped(WHITE);
        EXPECT_EQ(square, row.mark == SQUARE || row.mark == ALL);
        EXPECT_EQ(canvasAt(x + 101, y) != beside, row.mark == WASH || row.mark == ALL);

        stepAt(1000 + row.duration);
        ASSERT_NE(p.art, nullptr);
        // Pixels closer in the frame: own bullets 190 away at 20000 or 3000 / 200, black 50.
        const double pull = row.mark == PULLS_OPPONENT ? 5 : row.level == 1 ? 10 : 1.5;
        EXPECT_DOUBLE_EQ(ownFar - own.pos.distance(p.pos), pull * (row.mark == PULLS_OWN));
        EXPECT_DOUBLE_EQ(blackFar - black().pos.distance(p.pos),
                         pull * (row.mark == PULLS_OPPONENT));
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
        stepAt(1001 + row.duration);
        EXPECT_EQ(p.art, nullptr);
        if (row.flag) {
            EXPECT_EQ(p.*row.flag, row.flag == &Player::letsOpponentMove);
        }
        EXPECT_EQ(std::tuple(own.alive, theirs.alive, p.sprite->image == p.artImage.get()),
                  std::tuple(row.ownShot, row.theirShotAfter, false));
    }
    EXPECT_THROW(createArt(white(), 4, game.window.get()), std::out_of_range);
}

// Through the frame's collisions: the shot and the player each tell the other.
TEST_F(ArtTest, GreenArt3SendsOwnBulletsAwayWhileOwnBulletsWithActionsStillVanish) {
    white().artColor = 3;
    auto art = createArt(white(), 3, game.window.get());
    Shot& own = shotOffWhite(Point(10, 0), Point(-50, 0), 0);
    Shot& onTop = shotOffWhite(Point(0, 0), Point(-50, 0), 0);  // no way away: it stops
    Enemy& withActions = partner(white().center + Point(0, 5), 0);
    withActions.dyeing = true;
    game.collide();
    EXPECT_EQ(std::tuple(own.alive, own.vel, onTop.vel, withActions.alive),
              std::tuple(true, Point(75, 0), Point(0, 0), false));
}
