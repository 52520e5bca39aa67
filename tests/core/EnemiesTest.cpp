// Enemies on the field of a match: the start, added partners, levels, the queries, the walk.
#include "core/Conf.h"
#include "core/Random.h"
#include "objects/Enemy.h"
#include "objects/Shot.h"
#include "script/BulletMLDocument.h"
#include "script/EnemyCommand.h"
#include "support/HeadlessGame.h"

#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

namespace {

const std::string kData = std::string(SKELVO_TEST_DATA) + "/";

class EnemiesTest : public HeadlessGameTest {
protected:
    ~EnemiesTest() override { game.enemies.clear(); }

    Enemy& partner(int c, const Point& at, ActionList* list) {
        game.enemies.push_back(std::make_unique<Enemy>(at, game.enemyImages[c].get(), list, c));
        return *game.enemies.back();
    }
    Enemy& partner(int c, const Point& at = Point(150, 100)) {
        return partner(c, at, game.actions.defaultList());
    }
    // A bullet with actions of colour c, fired by a partner playing `document`.
    Enemy& bullet(int c, const Point& at, BulletMLParser* document) {
        Enemy& firer = partner(c, at);
        firer.command = std::make_unique<EnemyCommand>(document, &firer);
        firer.step();
        Enemy& fired = *game.enemies.back();
        firer.vanish();
        return fired;
    }
    Enemy& enemy(int i) { return **std::next(game.enemies.begin(), i); }
    // One frame of 16 ms, as play() runs it after the clock, showing `born` every object the
    // enemies' patterns fired in it, before anything moves.
    template <class Born>
    void frame(Born&& born) {
        game.lastTicks += 16;
        game.frameSeconds = 0.016;
        game.controlPlayers();
        const long shots = static_cast<long>(game.shots.size());
        const long enemies = static_cast<long>(game.enemies.size());
        game.thinkEnemies();
        // Patterns only append.
        for (auto it = std::next(game.shots.begin(), shots); it != game.shots.end(); ++it)
            born(static_cast<const Charactor&>(**it));
        for (auto it = std::next(game.enemies.begin(), enemies); it != game.enemies.end(); ++it)
            born(static_cast<const Charactor&>(**it));
        game.drawLives();
        game.updateAll();
        game.window->clear();
        game.collide();
        game.sweep();
        game.pollEvents();
    }

    std::unique_ptr<BulletMLDocument> firing =
        BulletMLDocument::load(kData + "enemy/default-speed.xml");
};

// The cosine of the angle between v and the way from `from` to `to`.
double towards(const Point& v, const Point& from, const Point& to) {
    const Point d = to - from;
    return (v.x * d.x + v.y * d.y) / (v.length() * d.length());
}

}  // namespace

TEST_F(EnemiesTest, AMatchStartsWithAWhiteAndABlackPartnerPlayingTheDefaultList) {
    game.spawnInitialEnemies();
    ASSERT_EQ(game.enemies.size(), 2u);
    const Enemy& white = enemy(0);
    const Enemy& black = enemy(1);
    EXPECT_EQ(white.color, 0);
    EXPECT_EQ(white.center, Point(155, 100));
    EXPECT_EQ(white.sprite->image, game.enemyImages[0].get());
    EXPECT_EQ(black.color, 1);
    EXPECT_EQ(black.center, Point(145, 100));
    EXPECT_EQ(black.sprite->image, game.enemyImages[1].get());
    for (const Enemy* e : {&white, &black}) {
        EXPECT_EQ(e->actions, game.actions.slot(ActionLibrary::kFirstLevelSlot + 5));
        EXPECT_FALSE(e->dyeing);
        EXPECT_EQ(e->command, nullptr);
    }
}

TEST_F(EnemiesTest, ADefinitionsFileStartsTheMatchWithoutEnemies) {
    char program[] = "skelvo";
    char argument[] = "absent-definitions.conf";
    char* argv[] = {program, argument, nullptr};
    Conf conf(2, argv);
    game.spawnInitialEnemies();
    EXPECT_TRUE(game.enemies.empty());
}

TEST_F(EnemiesTest, TheStartingPartnersFireAtTheOtherSide) {
    game.spawnInitialEnemies();
    const Point partners[2] = {enemy(0).center, enemy(1).center};
    // Shots of both colours within a few seconds of the start, each flying straight out
    // of the partner of its colour.
    bool seen[2] = {false, false};
    for (int i = 0; i < 250 && !(seen[0] && seen[1]); ++i) {
        frame([](const Charactor&) {});
        for (const auto& s : game.shots) seen[s->color] = true;
    }
    ASSERT_TRUE(seen[0] && seen[1]);
    for (const auto& s : game.shots) {
        const Point out = s->center - partners[s->color];
        EXPECT_NEAR((out.x * s->vel.y - out.y * s->vel.x) / s->vel.length(), 0.0, 1.0);
        EXPECT_GE(out.x * s->vel.x + out.y * s->vel.y, 0.0);
    }

    // Over twenty seconds, what each side fires heads on the whole for the other player.
    double sum[2] = {0, 0};
    int count[2] = {0, 0};
    for (int i = 0; i < 1250; ++i) {
        frame([&](const Charactor& o) {
            if (o.vel.length() == 0.0) return;
            sum[o.color] += towards(o.vel, o.center, game.players[1 - o.color]->center);
            ++count[o.color];
        });
    }
    for (int c : {0, 1}) {
        ASSERT_GT(count[c], 50) << c;
        EXPECT_GT(sum[c] / count[c], 0.15) << c;
    }
}

TEST_F(EnemiesTest, AnAddedPartnerGoesToTheFrontAtARandomPlaceInItsBox) {
    partner(0);
    for (unsigned seed : {1u, 2u, 77u, 4242u}) {
        std::srand(seed);
        const int y = randomInt(100);
        const int x = randomInt(200);
        std::srand(seed);
        Enemy& added = game.addPartner(1);
        EXPECT_EQ(&added, &enemy(0));
        EXPECT_EQ(added.center, Point(50 + x, 50 + y)) << seed;
        EXPECT_EQ(added.color, 1);
        EXPECT_EQ(added.sprite->image, game.enemyImages[1].get());
        EXPECT_EQ(added.actions, game.actions.defaultList());
    }
    for (int i = 0; i < 200; ++i) {
        const Point at = game.addPartner(0).center;
        EXPECT_TRUE(at.x >= 50 && at.x <= 250 && at.y >= 50 && at.y <= 150) << at.x << "," << at.y;
    }
}

TEST_F(EnemiesTest, ALevelReachesOnlyThePartnersOfItsColourClampedToTheFiles) {
    Enemy& w1 = partner(0);
    Enemy& b = partner(1);
    Enemy& zako = partner(0, Point(150, 100), game.actions.slot(0));
    ASSERT_TRUE(zako.dyeing);
    Enemy& w2 = partner(0);
    Enemy& shell = bullet(0, Point(100, 100), firing.get());

    std::vector<Enemy*> still;
    game.collectStillEnemies(0, still);
    ASSERT_EQ(still.size(), 3u);  // w1, w2 and the partner that fired the bullet
    EXPECT_EQ(still[0], &w1);
    EXPECT_EQ(still[1], &w2);

    const auto level = [&](int n) { return game.actions.slot(ActionLibrary::kFirstLevelSlot + n); };
    game.setLevel(0, -3);
    EXPECT_EQ(w1.actions, level(0));
    EXPECT_EQ(w2.actions, level(0));
    game.setLevel(0, 42);
    EXPECT_EQ(w1.actions, level(10));
    game.setLevel(0, 7);
    EXPECT_EQ(w2.actions, level(7));
    EXPECT_EQ(b.actions, game.actions.defaultList());
    EXPECT_EQ(zako.actions, game.actions.slot(0));
    EXPECT_EQ(shell.actions, nullptr);
}

TEST_F(EnemiesTest, WhatAPlayerCanEatIsItsShotsThenItsDyeingEnemies) {
    Enemy& zako = partner(0, Point(150, 100), game.actions.slot(0));
    partner(0);
    partner(1, Point(150, 100), game.actions.slot(0));
    Enemy& shell = bullet(0, Point(100, 100), firing.get());
    // The firer's own shot comes first in the shots.
    Shot& fired = *game.shots.front();
    Shot& extra = game.addShot(Point(10, 10), Point(0, 0), 0);
    game.addShot(Point(10, 10), Point(0, 0), 1);

    std::vector<Charactor*> out;
    game.collect(0, out);
    EXPECT_EQ(out, (std::vector<Charactor*>{&fired, &extra, &zako, &shell}));
}

TEST_F(EnemiesTest, ThreatsListTheEnemiesBeforeTheShots) {
    const Point p(150, 200);
    Shot& shot = game.addShot(p, Point(1, 2), 1);
    Enemy& near = partner(1, p + Point(10, 10));
    near.vel = Point(3, 4);
    partner(1, p + Point(150, 0));
    partner(0, p);
    std::vector<std::pair<Point, Point>> out;
    game.collectThreats(out, 0, p);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0], std::make_pair(near.center, Point(3, 4)));
    EXPECT_EQ(out[1], std::make_pair(shot.center, Point(1, 2)));
}

TEST_F(EnemiesTest, ABulletFiredDuringTheWalkTakesItsStepInTheSameWalk) {
    auto document = BulletMLDocument::load(kData + "enemy/fires-at-birth.xml");
    Enemy& firer = partner(0);
    firer.command = std::make_unique<EnemyCommand>(document.get(), &firer);
    game.thinkEnemies();
    EXPECT_EQ(game.enemies.size(), 2u);
    // The bullet's own first step fired this.
    EXPECT_EQ(game.shots.size(), 1u);
}

TEST_F(EnemiesTest, EveryShippedDocumentPlaysOnTheFieldWithTheRealRunner) {
    std::vector<BulletMLParser*> documents;
    for (int slot = 0; slot < ActionLibrary::kSlots; ++slot) {
        const ActionList* list = game.actions.slot(slot);
        for (std::size_t i = 0; i < list->size(); ++i) documents.push_back(list->document(i));
    }
    ASSERT_GE(documents.size(), 20u);
    game.players[0]->rank = 1.0;
    game.players[1]->rank = 1.0;
    testing::internal::CaptureStdout();
    for (std::size_t i = 0; i < documents.size(); ++i) {
        SCOPED_TRACE(documents[i]->getName());
        game.reset();
        Enemy& e = partner(static_cast<int>(i % 2), Point(150, 100));
        e.command = std::make_unique<EnemyCommand>(documents[i], &e);
        long fired = 0;
        bool ended = false;
        for (int f = 0; f < 1200; ++f) {
            frame([&](const Charactor&) { ++fired; });
            ended = ended || e.command == nullptr;
        }
        EXPECT_GT(fired, 0);
        EXPECT_TRUE(ended);
    }
    game.reset();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}
