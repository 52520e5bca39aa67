// The Arts: their choice by colour and level, their lives, and what each does.
#include "input/Direction.h"
#include "objects/Art.h"
#include "objects/ArtNames.h"
#include "support/PlayerFixture.h"

#include <memory>
#include <stdexcept>
#include <string>

namespace {

using ArtTest = PlayerFixture;

// The Art of that colour and level, bought by `owner` now.
std::unique_ptr<Art> start(Player& owner, int color, int level) {
    owner.artColor = color;
    return createArt(owner, level, Game::instance()->window.get());
}

// Counts the calls its owner makes into it.
struct CountingArt : Art {
    explicit CountingArt(int* calls) : calls(calls) {}
    void start() override {}
    void frame() override { ++calls[0]; }
    void finish() override { ++calls[1]; }
    const std::string& description() const override { return artDescription(0, 1); }
    int* calls;
};

}  // namespace

TEST_F(ArtTest, EachColourAndLevelFlashesRunsTintedForItsTimeAndThenUndoesItself) {
    const struct {
        int color, level;
        Uint32 duration;
        bool Player::*flag;  // set to the opposite of its resting value while the Art runs
    } table[] = {
        {0, 1, 0, nullptr},   {0, 2, 0, nullptr},   {0, 3, 0, nullptr},
        {1, 1, 10000, &Player::letsOpponentMove},   {1, 2, 10000, &Player::pushAura},
        {1, 3, 1000, &Player::killAura},            {2, 1, 500, nullptr},
        {2, 2, 10000, nullptr},                     {2, 3, 10000, nullptr},
        {3, 1, 3000, &Player::flipAura},            {3, 2, 3000, &Player::absorbAura},
        {3, 3, 3000, &Player::flipOwnAura},         {4, 1, 0, nullptr},
        {4, 2, 0, nullptr},   {4, 3, 0, nullptr},   {5, 1, 0, nullptr},
        {5, 2, 10000, &Player::maxRank},            {5, 3, 0, nullptr},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.color * 10 + row.level);
        placePlayers();
        game.lastTicks = 1000;
        Player& p = white();
        Window* normal = p.sprite->image;
        const bool resting = row.flag ? p.*row.flag : false;
        p.art = start(p, row.color, row.level);
        EXPECT_EQ(&p.art->description(), &artDescription(row.color, row.level));
        EXPECT_EQ(screenAt(150, 50), mapped(artColorValue(row.color)));
        EXPECT_EQ(p.sprite->image, p.artImage.get());
        if (row.flag) {
            EXPECT_NE(p.*row.flag, resting);
        }
        stepAt(1000 + row.duration);
        ASSERT_NE(p.art, nullptr);
        stepAt(1001 + row.duration);
        EXPECT_EQ(p.art, nullptr);
        EXPECT_EQ(p.sprite->image, normal);
        EXPECT_EQ(p.savedSprite, nullptr);
        if (row.flag) {
            EXPECT_EQ(p.*row.flag, resting);
        }
    }
    EXPECT_THROW(start(white(), 0, 4), std::out_of_range);
    EXPECT_THROW(artDescription(6, 1), std::out_of_range);
    EXPECT_THROW(artDescription(0, 0), std::out_of_range);
    EXPECT_THROW(artWord(-1), std::out_of_range);
    EXPECT_THROW(artWord(6), std::out_of_range);
}

TEST_F(ArtTest, FramesRunToTheLastTickAndFinishOnceButNotWhenDeletedWithItsOwner) {
    int calls[2] = {};
    white().art = std::make_unique<CountingArt>(calls);
    white().art->owner = &white();
    game.lastTicks = 1000;
    white().art->setDuration(32);
    white().beginArtLook();
    for (Uint32 t : {1000u, 1016u, 1032u, 1033u, 1050u}) stepAt(t);
    EXPECT_EQ(calls[0], 4);
    EXPECT_EQ(calls[1], 1);
    EXPECT_EQ(white().art, nullptr);
    white().art = std::make_unique<CountingArt>(calls);
    white().art->owner = &white();
    placePlayers();
    EXPECT_EQ(calls[1], 1);
}

TEST_F(ArtTest, RedArtsDeleteTheOpponentsShotsAndMoveEatingsInStepsOfFive) {
    Shot& theirs = shotOffWhite(Point(50, 0), Point(0, 0), 1);
    Shot& own = shotOffWhite(Point(60, 0), Point(0, 0), 0);
    start(white(), 0, 1);
    EXPECT_FALSE(theirs.alive);
    EXPECT_TRUE(own.alive);
    const struct {
        int level, mine, theirs, mineAfter, theirsAfter;
    } table[] = {{2, 403, 150, 500, 150}, {2, 123, 150, 320, 150}, {3, 123, 150, 420, 0},
                 {3, 0, 403, 300, 200}};
    for (const auto& row : table) {
        white().eatings = row.mine;
        black().eatings = row.theirs;
        start(white(), 0, row.level);
        EXPECT_EQ(white().eatings, row.mineAfter) << row.level << " " << row.mine;
        EXPECT_EQ(black().eatings, row.theirsAfter) << row.level << " " << row.mine;
    }
}

TEST_F(ArtTest, YellowArtsPullOwnBulletsTheClosestFastestOrTheOpponentAtFiftyPixels) {
    const struct {
        int level;
        Point way;  // from the owner to the bullet, one pixel long
        double distance, speed;
    } table[] = {{1, {1, 0}, 190, 100}, {1, {0, -1}, 2, 20000.0 / 12}, {2, {-1, 0}, 190, 15},
                 {2, {0, 1}, 2, 250},   {1, {0, 0}, 0, 0},             {2, {0, 0}, 0, 0}};
    game.frameSeconds = 0.001;
    for (const auto& row : table) {
        SCOPED_TRACE(row.level * 1000 + row.distance);
        game.shots.clear();
        Shot& own = shotOffWhite(row.way * row.distance, Point(7, 0), 0);
        Shot& theirs = shotOffWhite(row.way * row.distance, Point(0, 0), 1);
        const Point at = own.pos;
        start(white(), 2, row.level)->frame();
        const Point moved = at - row.way * (row.speed * game.frameSeconds);
        EXPECT_NEAR(own.pos.x, moved.x, 1e-9);
        EXPECT_NEAR(own.pos.y, moved.y, 1e-9);
        EXPECT_EQ(own.center, own.pos + own.sprite->image->center);
        EXPECT_EQ(own.vel, Point(7, 0));
        EXPECT_EQ(theirs.pos, at);
    }
    game.frameSeconds = 0.1;
    black().pos = white().pos + Point(0, -100);
    auto art = start(white(), 2, 3);
    art->frame();
    EXPECT_EQ(black().pos, white().pos + Point(0, -95));
    EXPECT_EQ(black().center, black().pos + black().sprite->image->center);
    black().pos = white().pos;
    art->frame();
    EXPECT_EQ(black().pos, white().pos);
}

TEST_F(ArtTest, OrangeArt3ClearsOwnColourAtOnceAndTheOpponentsASecondLaterWithoutSteering) {
    Shot& own = shotOffWhite(Point(50, -50), Point(0, 0), 0);
    Shot& theirs = shotOffWhite(Point(-50, -50), Point(0, 0), 1);
    white().artColor = 1;
    white().buzz = 100;
    held = {Player::kArtButton};
    direction = MSDL::RIGHT;
    stepAt(1000);
    EXPECT_FALSE(own.alive);
    direction = MSDL::LEFT;
    stepAt(2000);
    EXPECT_EQ(white().vel, Point(Player::kSpeed, 0));
    EXPECT_TRUE(theirs.alive);
    stepAt(2001);
    EXPECT_FALSE(theirs.alive);
    stepAt(2002);
    EXPECT_EQ(white().vel, Point(-Player::kSpeed, 0));
}

TEST_F(ArtTest, GreenArt3SendsOwnBulletsAwayWhileOwnBulletsWithActionsStillVanish) {
    auto art = start(white(), 3, 3);
    Shot& own = shotOffWhite(Point(10, 0), Point(-50, 0), 0);
    Enemy& withActions = partner(white().center + Point(0, 5), 0);
    withActions.dyeing = true;
    game.collide();
    EXPECT_TRUE(own.alive);
    EXPECT_EQ(own.vel, Point(75, 0));
    EXPECT_FALSE(withActions.alive);
    EXPECT_EQ(white().eatings, Player::kStartEatings);
}

TEST_F(ArtTest, BlueArtsDyeTheCanvasInTheOwnersSideColour) {
    const int x = static_cast<int>(white().center.x), y = static_cast<int>(white().center.y);
    const int far = canvasRed(290, 10);
    const Uint32 outside = canvasAt(x + 101, y);
    start(white(), 4, 1);
    EXPECT_EQ(canvasAt(x - 100, y - 100), mapped(WHITE));
    EXPECT_EQ(canvasAt(x + 100, y), mapped(WHITE));
    EXPECT_EQ(canvasAt(x + 101, y), outside);
    start(white(), 4, 2);
    EXPECT_GT(canvasRed(290, 10), far + (255 - far) / 3);
    EXPECT_LT(canvasRed(290, 10), 255);
    start(black(), 4, 3);
    EXPECT_EQ(canvasAt(0, 0), mapped(BLACK));
    EXPECT_EQ(canvasAt(299, 399), mapped(BLACK));
}

TEST_F(ArtTest, PurpleArtsRaiseTheRankAndAddAPartnerAtTheOwnersLevel) {
    start(white(), 5, 1);
    EXPECT_DOUBLE_EQ(white().rank, 0.009);
    partner(Point(150, 100), 0);
    partner(Point(150, 150), 1);
    white().level = 7;
    start(white(), 5, 3);
    ASSERT_EQ(game.enemies.size(), 3u);
    EXPECT_EQ(game.enemies.front()->color, 0);
    EXPECT_EQ(game.enemies.front()->actions, game.actions.listForLevel(7));
    EXPECT_EQ(game.enemies.back()->actions, game.actions.defaultList());
    EXPECT_EQ(white().eatings, 0);
}
