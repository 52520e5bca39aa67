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

// Counts the calls the owner makes into it.
struct CountingArt : Art {
    CountingArt(int& frames, int& finishes) : frames(frames), finishes(finishes) {}
    void start() override {}
    void frame() override { ++frames; }
    void finish() override { ++finishes; }
    const std::string& description() const override { return artDescription(0, 1); }
    int& frames;
    int& finishes;
};

}  // namespace

TEST_F(ArtTest, EachColourAndLevelFlashesRunsTintedForItsTimeAndThenUndoesItself) {
    const struct {
        int color;
        int level;
        Uint32 duration;
        bool Player::*flag;  // set to the opposite of its resting value while the Art runs
    } table[] = {
        {0, 1, 0, nullptr},       {0, 2, 0, nullptr},
        {0, 3, 0, nullptr},       {1, 1, 10000, &Player::letsOpponentMove},
        {1, 2, 10000, &Player::pushAura},   {1, 3, 1000, &Player::killAura},
        {2, 1, 500, nullptr},     {2, 2, 10000, nullptr},
        {2, 3, 10000, nullptr},   {3, 1, 3000, &Player::flipAura},
        {3, 2, 3000, &Player::absorbAura},  {3, 3, 3000, &Player::flipOwnAura},
        {4, 1, 0, nullptr},       {4, 2, 0, nullptr},
        {4, 3, 0, nullptr},       {5, 1, 0, nullptr},
        {5, 2, 10000, &Player::maxRank},    {5, 3, 0, nullptr},
    };
    for (const auto& row : table) {
        placePlayers();
        game.lastTicks = 1000;
        game.window->clear();
        Player& p = white();
        Window* normal = p.sprite->image;
        const bool resting = row.flag ? p.*row.flag : false;
        p.art = start(p, row.color, row.level);
        EXPECT_EQ(p.art->description(), artDescription(row.color, row.level));
        EXPECT_EQ(screenAt(150, 50), mapped(artColorValue(row.color)));
        EXPECT_EQ(p.sprite->image, p.artImage.get());
        if (row.flag) {
            EXPECT_NE(p.*row.flag, resting) << row.color << row.level;
        }

        stepAt(1000 + row.duration);
        ASSERT_NE(p.art, nullptr) << row.color << row.level;
        stepAt(1001 + row.duration);
        EXPECT_EQ(p.art, nullptr) << row.color << row.level;
        EXPECT_EQ(p.sprite->image, normal);
        EXPECT_EQ(p.savedSprite, nullptr);
        if (row.flag) {
            EXPECT_EQ(p.*row.flag, resting) << row.color << row.level;
        }
    }
    EXPECT_THROW(start(white(), 0, 4), std::out_of_range);
}

TEST_F(ArtTest, FrameRunsToTheLastFrameAndFinishOnceButNotWhenDeletedWithItsOwner) {
    int frames = 0;
    int finishes = 0;
    auto art = std::make_unique<CountingArt>(frames, finishes);
    art->owner = &white();
    game.lastTicks = 1000;
    art->setDuration(32);
    white().beginArtLook();
    white().art = std::move(art);
    for (Uint32 t : {1000u, 1016u, 1032u}) stepAt(t);
    EXPECT_EQ(frames, 3);
    EXPECT_EQ(finishes, 0);
    stepAt(1033);
    stepAt(1050);
    EXPECT_EQ(frames, 4);
    EXPECT_EQ(finishes, 1);
    EXPECT_EQ(white().art, nullptr);

    white().art = std::make_unique<CountingArt>(frames, finishes);
    white().art->owner = &white();
    white().art->setDuration(100);
    placePlayers();
    EXPECT_EQ(finishes, 1);
}

TEST_F(ArtTest, RedArtsDeleteTheOpponentsShotsAndMoveEatingsInStepsOfFive) {
    Shot& theirs = shotOffWhite(Point(50, 0), Point(0, 0), 1);
    Shot& own = shotOffWhite(Point(60, 0), Point(0, 0), 0);
    start(white(), 0, 1);
    EXPECT_FALSE(theirs.alive);
    EXPECT_TRUE(own.alive);

    white().eatings = 403;
    start(white(), 0, 2);
    EXPECT_EQ(white().eatings, 500);
    white().eatings = 123;
    start(white(), 0, 2);
    EXPECT_EQ(white().eatings, 320);

    white().eatings = 123;
    black().eatings = 150;
    start(white(), 0, 3);
    EXPECT_EQ(white().eatings, 420);
    EXPECT_EQ(black().eatings, 0);
    black().eatings = 403;
    start(white(), 0, 3);
    EXPECT_EQ(black().eatings, 200);
}

TEST_F(ArtTest, YellowArtsPullOwnBulletsTheClosestFastestAndLeaveVelocitiesAlone) {
    const struct {
        int level;
        Point way;  // from the owner to the bullet, one pixel long
        double distance;
        double speed;
    } table[] = {{1, {1, 0}, 190, 100},         {1, {0, -1}, 2, 20000.0 / 12},
                 {2, {-1, 0}, 190, 15},        {2, {0, 1}, 2, 250},
                 {1, {0, 0}, 0, 0},            {2, {0, 0}, 0, 0}};
    game.frameSeconds = 0.001;
    for (const auto& row : table) {
        game.shots.clear();
        Shot& own = shotOffWhite(row.way * row.distance, Point(7, 0), 0);
        Shot& theirs = shotOffWhite(row.way * row.distance, Point(0, 0), 1);
        const Point at = own.pos;
        auto art = start(white(), 2, row.level);
        art->frame();
        const Point moved = at - row.way * (row.speed * game.frameSeconds);
        EXPECT_NEAR(own.pos.x, moved.x, 1e-9) << row.level << " " << row.distance;
        EXPECT_NEAR(own.pos.y, moved.y, 1e-9) << row.level << " " << row.distance;
        EXPECT_EQ(own.center, own.pos + own.sprite->image->center);
        EXPECT_EQ(own.vel, Point(7, 0));
        EXPECT_EQ(theirs.pos, at);
    }
}

TEST_F(ArtTest, YellowArt3PullsTheOpponentAtFiftyPixelsPerSecond) {
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
    EXPECT_TRUE(white().killAura);
    EXPECT_FALSE(own.alive);
    EXPECT_TRUE(theirs.alive);
    direction = MSDL::LEFT;
    stepAt(1500);
    stepAt(2000);
    EXPECT_EQ(white().vel, Point(Player::kSpeed, 0));
    EXPECT_TRUE(theirs.alive);
    stepAt(2001);
    EXPECT_FALSE(theirs.alive);
    EXPECT_FALSE(white().killAura);
    stepAt(2002);
    EXPECT_EQ(white().vel, Point(-Player::kSpeed, 0));
}

TEST_F(ArtTest, GreenArt3SendsOwnBulletsAwayWhileOwnBulletsWithActionsStillVanish) {
    auto art = start(white(), 3, 3);
    Shot& own = shotOffWhite(Point(10, 0), Point(-50, 0), 0);
    Enemy& withActions = partner(white().center + Point(0, 5), 0);
    withActions.dyeing = true;
    ASSERT_TRUE(white().isNear(own));
    game.collide();
    EXPECT_TRUE(own.alive);
    EXPECT_EQ(own.vel, Point(75, 0));
    EXPECT_FALSE(withActions.alive);
    EXPECT_EQ(white().eatings, Player::kStartEatings);
}

TEST_F(ArtTest, BlueArtsDyeTheCanvasInTheOwnersSideColour) {
    const Point c = white().center;
    const int x = static_cast<int>(c.x);
    const int y = static_cast<int>(c.y);
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
    std::vector<Enemy*> partners;
    game.collectStillEnemies(0, partners);
    ASSERT_EQ(partners.size(), 2u);
    for (Enemy* e : partners) EXPECT_EQ(e->actions, game.actions.listForLevel(7));
    EXPECT_EQ(game.enemies.back()->actions, game.actions.defaultList());
    EXPECT_EQ(white().eatings, 0);
}
