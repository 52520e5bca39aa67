// The Arts: their choice by colour and level, their lives, and what each does.
#include "objects/Art.h"
#include "objects/ArtNames.h"
#include "support/PlayerFixture.h"

#include <memory>
#include <stdexcept>
#include <tuple>

namespace {

using ArtTest = PlayerFixture;

// The Art of that colour and level, bought by `owner` now.
std::unique_ptr<Art> start(Player& owner, int color, int level) {
    owner.artColor = color;
    return createArt(owner, level, Game::instance()->window.get());
}

}  // namespace

// White, at level 7 with 123 eatings, buys each Art; black has 403 eatings. A shot of each
// colour lies far from both.
TEST_F(ArtTest, EachColourAndLevelDoesItsOwnThingForItsTimeAndThenUndoesItself) {
    enum Dye { NONE, SQUARE, WASH, ALL };
    const struct {
        int color, level;
        Uint32 duration;
        bool Player::*flag;  // true while the Art runs, but for letsOpponentMove
        int mine, theirs;    // eatings
        bool ownShot, theirShotDuring, theirShotAfter;
        double rank;
        std::size_t partners;
        Dye dye;
    } table[] = {
        {0, 1, 0, nullptr, 123, 403, true, false, false, 0, 0, NONE},
        {0, 2, 0, nullptr, 320, 403, true, true, true, 0, 0, NONE},
        {0, 3, 0, nullptr, 420, 200, true, true, true, 0, 0, NONE},
        {1, 1, 10000, &Player::letsOpponentMove, 123, 403, true, true, true, 0, 0, NONE},
        {1, 2, 10000, &Player::pushAura, 123, 403, true, true, true, 0, 0, NONE},
        {1, 3, 1000, &Player::killAura, 123, 403, false, true, false, 0, 0, NONE},
        {2, 1, 500, nullptr, 123, 403, true, true, true, 0, 0, NONE},
        {2, 2, 10000, nullptr, 123, 403, true, true, true, 0, 0, NONE},
        {2, 3, 10000, nullptr, 123, 403, true, true, true, 0, 0, NONE},
        {3, 1, 3000, &Player::flipAura, 123, 403, true, true, true, 0, 0, NONE},
        {3, 2, 3000, &Player::absorbAura, 123, 403, true, true, true, 0, 0, NONE},
        {3, 3, 3000, &Player::flipOwnAura, 123, 403, true, true, true, 0, 0, NONE},
        {4, 1, 0, nullptr, 123, 403, true, true, true, 0, 0, SQUARE},
        {4, 2, 0, nullptr, 123, 403, true, true, true, 0, 0, WASH},
        {4, 3, 0, nullptr, 123, 403, true, true, true, 0, 0, ALL},
        {5, 1, 0, nullptr, 123, 403, true, true, true, 0.009, 0, NONE},
        {5, 2, 10000, &Player::maxRank, 123, 403, true, true, true, 0, 0, NONE},
        {5, 3, 0, nullptr, 0, 403, true, true, true, 0, 1, NONE},
    };
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
        Shot& own = shot(Point(20, 20), 0);
        Shot& theirs = shot(Point(280, 20), 1);
        const int x = static_cast<int>(p.center.x), y = static_cast<int>(p.center.y);
        const Uint32 beside = canvasAt(x + 101, y);
        p.art = start(p, row.color, row.level);
        EXPECT_EQ(&p.art->description(), &artDescription(row.color, row.level));
        EXPECT_EQ(screenAt(150, 50), mapped(artColorValue(row.color)));
        EXPECT_EQ(p.sprite->image, p.artImage.get());
        if (row.flag) {
            EXPECT_NE(p.*row.flag, row.flag == &Player::letsOpponentMove);
        }
        EXPECT_EQ(std::tuple(p.eatings, black().eatings, theirs.alive, game.enemies.size()),
                  std::tuple(row.mine, row.theirs, row.theirShotDuring, row.partners));
        EXPECT_DOUBLE_EQ(p.rank, row.rank);
        if (row.partners > 0) {
            EXPECT_EQ(game.enemies.front()->actions, game.actions.listForLevel(7));
        }
        const bool square = canvasAt(x - 100, y - 100) == mapped(WHITE) &&
                            canvasAt(x + 100, y) == mapped(WHITE);
        EXPECT_EQ(square, row.dye == SQUARE || row.dye == ALL);
        EXPECT_EQ(canvasAt(x + 101, y) == beside, row.dye <= SQUARE);

        stepAt(1000 + row.duration);
        ASSERT_NE(p.art, nullptr);
        stepAt(1001 + row.duration);
        EXPECT_EQ(p.art, nullptr);
        EXPECT_NE(p.sprite->image, p.artImage.get());
        if (row.flag) {
            EXPECT_EQ(p.*row.flag, row.flag == &Player::letsOpponentMove);
        }
        EXPECT_EQ(std::pair(own.alive, theirs.alive), std::pair(row.ownShot, row.theirShotAfter));
    }
    EXPECT_THROW(start(white(), 0, 4), std::out_of_range);
    EXPECT_THROW(artDescription(6, 1), std::out_of_range);
    EXPECT_THROW(artDescription(0, 0), std::out_of_range);
}

// Pulls run in the owner's frame, through the Art's tick, and move objects by their corners.
TEST_F(ArtTest, YellowArtsPullOwnBulletsTheClosestFastestOrTheOpponentAtFiftyPixels) {
    const struct {
        int level;
        Point way;  // from the owner to the bullet, one pixel long
        double distance, speed;
    } table[] = {{1, {1, 0}, 190, 100}, {2, {0, 1}, 2, 250}, {1, {0, 0}, 0, 0}};
    game.frameSeconds = 0.001;
    for (const auto& row : table) {
        SCOPED_TRACE(row.level * 1000 + row.distance);
        Shot& own = shotOffWhite(row.way * row.distance, Point(0, 0), 0);
        Shot& theirs = shotOffWhite(row.way * row.distance, Point(0, 0), 1);
        const Point at = own.pos;
        white().art = start(white(), 2, row.level);
        stepAt(game.lastTicks);
        EXPECT_LT((own.pos - (at - row.way * (row.speed * game.frameSeconds))).length(), 1e-9);
        EXPECT_EQ(own.center, own.pos + own.sprite->image->center);
        EXPECT_EQ(theirs.pos, at);
        game.shots.clear();
    }
    game.frameSeconds = 0.1;
    black().pos = white().pos + Point(0, -100);
    start(white(), 2, 3)->frame();
    EXPECT_EQ(black().center, white().pos + Point(0, -95) + black().sprite->image->center);
}

// Through the frame's collisions: the shot and the player each tell the other.
TEST_F(ArtTest, GreenArt3SendsOwnBulletsAwayWhileOwnBulletsWithActionsStillVanish) {
    start(white(), 3, 3);
    Shot& own = shotOffWhite(Point(10, 0), Point(-50, 0), 0);
    Shot& onTop = shotOffWhite(Point(0, 0), Point(-50, 0), 0);  // no way away: it stops
    Enemy& withActions = partner(white().center + Point(0, 5), 0);
    withActions.dyeing = true;
    game.collide();
    EXPECT_TRUE(own.alive);
    EXPECT_EQ(own.vel, Point(75, 0));
    EXPECT_EQ(onTop.vel, Point(0, 0));
    EXPECT_FALSE(withActions.alive);
    EXPECT_EQ(white().eatings, Player::kStartEatings);
}
