// Enemies: the partners' round of wait and pattern.
#include "script/BulletMLDocument.h"
#include "script/EnemyCommand.h"
#include "support/PlayerFixture.h"

using EnemyTest = PlayerFixture;

// Made at 1000 on the default list; a test pattern handed over ends on cue.
TEST_F(EnemyTest, APatternStarts1500msAfterThePartnerIsMadeAndASecondAfterTheLastEnds) {
    Enemy& e = partner(Point(150, 100), 0);
    for (auto [t, playing] : {std::pair{2499u, false}, {2500u, true}}) {
        game.lastTicks = t;
        e.step();
        EXPECT_EQ(e.command != nullptr, playing) << t;
    }
    auto document = BulletMLDocument::load(SKELVO_TEST_DATA "/enemy/fire-speed-1.xml");
    e.command = std::make_unique<EnemyCommand>(document.get(), &e);
    for (int i = 0; i < 100 && e.command; ++i) {
        game.lastTicks += 16;
        e.step();
    }
    EXPECT_EQ(e.command, nullptr);
    EXPECT_EQ(e.nextStart, game.lastTicks + 1000);
}
