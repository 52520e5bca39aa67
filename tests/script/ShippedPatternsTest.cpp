// The pattern library the game ships, as a player meets it: every document loads and is played
// by some list, and none of them puts a bullet on top of a player.
#include "objects/Enemy.h"
#include "objects/Shot.h"
#include "script/ActionLibrary.h"
#include "script/BulletMLDocument.h"
#include "script/EnemyCommand.h"
#include "support/HeadlessGame.h"

#include <filesystem>
#include <set>

namespace fs = std::filesystem;

namespace {

// Closer than this to a player's centre a new bullet cannot be dodged.
const double kFairRadius = 40.0;
// Seven seconds on a 16 ms clock: long enough for fired bullets to fire in their turn.
const int kFrames = 440;

// HeadlessGameTest runs in the staged game directory, where the lists name their documents.
class ShippedPatterns : public HeadlessGameTest {
protected:
    // Every object a player can meet, so that the new ones show.
    std::set<const Charactor*> onField() const {
        std::set<const Charactor*> all;
        for (const auto& s : game.shots) all.insert(s.get());
        for (const auto& e : game.enemies) all.insert(e.get());
        return all;
    }

    // Holds nothing, so that the partner plays only the document under test.
    static std::string emptyList(const ScratchDir& dir) {
        dir.write("none.act", "");
        return dir.file("none.act");
    }
    ScratchDir scratch;
    ActionList idle{emptyList(scratch)};
};

}  // namespace

TEST_F(ShippedPatterns, EveryDocumentLoadsAndSomeListPlaysIt) {
    testing::internal::CaptureStdout();
    ActionLibrary library;
    ASSERT_NO_THROW(library.load());
    std::set<std::string> named;
    std::set<bool> orders;
    for (int slot = 0; slot < ActionLibrary::kSlots; ++slot) {
        const ActionList* list = library.slot(slot);
        EXPECT_GE(list->size(), 2u) << ActionLibrary::fileName(slot);
        orders.insert(list->isRandom());
        // Partners are made from the level lists; a Zako partner would dye and vanish.
        if (slot >= ActionLibrary::kFirstLevelSlot) {
            EXPECT_FALSE(list->isZako()) << ActionLibrary::fileName(slot);
        }
        for (std::size_t i = 0; i < list->size(); ++i) named.insert(list->document(i)->getName());
    }
    EXPECT_EQ(orders.size(), 2u) << "both List and Random lists";
    for (const auto& entry : fs::directory_iterator("bml")) {
        const std::string path = "bml/" + entry.path().filename().string();
        std::unique_ptr<BulletMLDocument> document;
        ASSERT_NO_THROW(document = BulletMLDocument::load(path)) << path;
        // The runner ends as soon as any one of its top actions ends.
        EXPECT_EQ(document->getTopActions().size(), 1u) << path;
        EXPECT_TRUE(named.count(path)) << path << " is in no list";
    }
    // The library prints "yyerror" for formulas it cannot read.
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST_F(ShippedPatterns, NoDocumentPutsABulletOnTopOfAPlayer) {
    for (const auto& entry : fs::directory_iterator("bml")) {
        const std::string path = "bml/" + entry.path().filename().string();
        SCOPED_TRACE(path);
        const auto document = BulletMLDocument::load(path);
        // A partner where partners fly and the players standing well below it, but within
        // reach of what its bullets fire in their turn.
        game.reset();
        game.players[0] = std::make_unique<Player>(Point(110, 230), game.haloImages[0].get(), input, 0, 0, 2);
        game.players[1] = std::make_unique<Player>(Point(190, 230), game.haloImages[1].get(), input2, 1, 5, 2);
        game.enemies.push_front(std::make_unique<Enemy>(Point(150, 100), game.enemyImages[0].get(), &idle, 0));
        game.enemies.front()->command = std::make_unique<EnemyCommand>(document.get(), game.enemies.front().get());
        std::set<const Charactor*> before = onField();
        double nearest = 1e9;
        for (int frame = 0; frame < kFrames; ++frame) {
            game.runFrame(game.lastTicks + 16);
            const std::set<const Charactor*> now = onField();
            for (const Charactor* o : now) {
                if (before.count(o)) continue;
                for (const auto& p : game.players) nearest = std::min(nearest, o->center.distance(p->center));
            }
            before = now;
        }
        EXPECT_GE(nearest, kFairRadius);
        EXPECT_LT(nearest, 1e9) << "fires nothing";
    }
}
