// Field objects: proximity, the boundary rule, the dye trail and the partners' round.
#include "objects/BuzzEffect.h"
#include "script/BulletMLDocument.h"
#include "script/EnemyCommand.h"
#include "support/HeadlessGame.h"

#include <tuple>
#include <vector>

using CharactorTest = HeadlessGameTest;

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
    auto document = BulletMLDocument::load(SKELVO_TEST_DATA "/enemy/fire-speed-1.xml");
    e.command = std::make_unique<EnemyCommand>(document.get(), &e);
    for (int i = 0; i < 100 && e.command; ++i) {
        game.lastTicks += 16;
        e.step();
    }
    EXPECT_EQ(std::pair(e.command == nullptr, e.nextStart), std::pair(true, game.lastTicks + 1000));
}
