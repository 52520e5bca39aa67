// BulletML formulas, hostile and odd documents; the runner on a headless game (units, aim, clock,
// firing, the frame's budget, shipped files); action files, the library of thirteen, definitions.
#include "core/Conf.h"
#include "core/InputFile.h"
#include "core/Random.h"
#include "script/ActionLibrary.h"
#include "script/BulletMLDocument.h"
#include "script/BulletMLFormula.h"
#include "script/Definitions.h"
#include "script/EnemyCommand.h"
#include "support/HeadlessGame.h"

#include <bulletmlerror.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <tuple>

namespace {

const fs::path kCorpus = fs::path(SKELVO_TEST_DATA) / "bulletml";

// The rows of one of the corpus's tables: a file name, then what the file must give.
std::map<std::string, std::string> table(const char* name) {
    std::map<std::string, std::string> rows;
    std::ifstream in(kCorpus / name);
    for (std::string line; std::getline(in, line);) {
        const std::size_t space = line.find(' ');
        if (!line.empty() && line[0] != '#') rows[line.substr(0, space)] = line.substr(space + 1);
    }
    return rows;
}

const std::string kDocA = (kCorpus / "good" / "cdata-number.xml").string();
const std::string kDocB = (kCorpus / "good" / "two-top-actions.xml").string();

// What `f` throws; "" if it returns.
template <class F>
std::string failure(F f) {
    try {
        f();
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "";
}

struct ActionListTest : testing::Test {
    std::unique_ptr<ActionList> read(const std::string& text) {
        dir.write("t.act", text);
        return std::make_unique<ActionList>(dir.file("t.act"));
    }
    ScratchDir dir;
};

// Partners on a list of none, playing the document given, if any.
class Playing : public HeadlessGameTest {
protected:
    Enemy& partner(BulletMLParser* document = nullptr, const Point& at = Point(150, 100),
                   int c = 0) {
        return HeadlessGameTest::partner(at, c, &idle, document);
    }
    Enemy& enemy(int i) { return **std::next(game.enemies.begin(), i); }
    // Plays `document` alone for `frames` frames: how near to a player a new bullet started.
    double play(BulletMLParser* document, int frames) {
        game.reset();
        std::set<const Charactor*> before = {&partner(document, Point(150, 220))};
        double nearest = 1e9;
        for (int frame = 0; frame < frames; ++frame) {
            game.runFrame(game.lastTicks + 16);
            std::set<const Charactor*> now;
            for (const auto& s : game.shots) now.insert(s.get());
            for (const auto& e : game.enemies) now.insert(e.get());
            for (const Charactor* o : now) {
                if (before.count(o)) continue;
                for (const auto& p : game.players)
                    nearest = std::min(nearest, o->center.distance(p->center));
            }
            before = now;
        }
        return nearest;
    }

    ActionList idle{SKELVO_TEST_DATA "/enemy/none.act"};
};

}  // namespace

TEST(BulletMLFormula, ComputesTheLibrarysValuesAndCoversEveryValueItCanTake) {
    std::ifstream rows(SKELVO_TEST_DATA "/bulletml/formulas.txt");
    int count = 0;
    for (std::string line; std::getline(rows, line);) {
        if (line[0] == '#') continue;
        const std::size_t bar = line.rfind('|');
        double low = 0.0, high = 0.0;
        std::istringstream(line.substr(bar + 1)) >> low >> high;
        const Interval range =
            BulletMLFormula(line.substr(0, bar)).range({Interval(7.0), Interval(3.0)});
        EXPECT_EQ(range, Interval(low, high)) << line;
        ++count;
    }
    EXPECT_EQ(count, 17);
}

TEST(BulletMLFormula, RefusesWhatTheLibraryMisparses) {
    // The library prints "yyerror" and reuses an earlier formula, or reads another value than
    // written. The rest, from "1+" to "$10", are documents of the refusal corpus.
    for (const char* text : {"  ", "3 4", "()", "1*+2", "$RANK", "$randx", "1$1", "$1.5", "-(-1)",
                             "1\n/2"})
        EXPECT_THROW(BulletMLFormula{text}, BulletMLError) << "\"" << text << "\"";
    const std::string open(32, '('), close(32, ')');
    EXPECT_NO_THROW(BulletMLFormula{open + "1" + close});
    EXPECT_THROW(BulletMLFormula{"(" + open + "1" + close + ")"}, BulletMLError);
}

TEST(BulletMLDocument, RefusesEveryHostileDocumentNamingFileLineAndReason) {
    testing::internal::CaptureStdout();
    for (const auto& [name, row] : table("refusals.txt")) {
        // The row: the line of the fault (0: any line), then a piece of the reason.
        const std::string line = row.substr(0, row.find(' '));
        const std::string file = (kCorpus / "bad" / name).string();
        const std::string start = file + ": line " + (line == "0" ? "" : line + ": ");
        const std::string message = failure([&] { BulletMLDocument::load(file); });
        EXPECT_EQ(message.substr(0, start.size()), start) << message;
        EXPECT_NE(message.find(row.substr(line.size() + 1)), std::string::npos) << message;
    }
    // The library writes "yyerror" when a formula reaches it unchecked.
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

// The reader's other refusals (no file, not a regular one) are the game's for every file.
TEST(BulletMLDocument, RefusesAFileOverItsSizeLimitBeforeReadingIt) {
    ScratchDir dir;
    dir.write("big.xml", std::string(BulletMLDocument::kMaxFileSize + 1, '<'));
    EXPECT_EQ(failure([&] { BulletMLDocument::load(dir.file("big.xml")); }),
              dir.file("big.xml") + ": is larger than 1048576 bytes");
}

TEST_F(Playing, EveryOddButSoundDocumentPlaysAsChecked) {
    auto standingShots = table("standing.txt");
    for (const auto& entry : fs::directory_iterator(kCorpus / "good")) {
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        play(load("bulletml/good/" + name), 60);
        const auto standing = std::count_if(game.shots.begin(), game.shots.end(),
                                            [](const auto& s) { return s->vel == Point(0, 0); });
        if (!standingShots.count(name)) continue;
        EXPECT_EQ(std::to_string(standing), standingShots[name]);
    }
}

TEST_F(Playing, AWalkCutShortGoesOnWhereItStoppedThenRoundToWhereItBegan) {
    // A partner waiting on an empty list costs one a step; its next look tells its last step.
    for (int i = 0; i < 25000; ++i) partner();
    game.lastTicks = 5000;
    game.thinkEnemies();
    // The sweep moves the point to resume from past the dead.
    (*std::next(game.enemies.begin(), Game::kPatternWorkPerFrame))->alive = false;
    game.sweep();
    game.lastTicks = 6000;
    game.thinkEnemies();
    using Runs = std::vector<std::pair<Uint32, int>>;
    Runs runs;
    for (const auto& e : game.enemies) {
        if (runs.empty() || runs.back().first != e->nextStart) runs.push_back({e->nextStart, 0});
        ++runs.back().second;
    }
    EXPECT_EQ(runs, (Runs{{7000, 15001}, {6000, 4999}, {7000, 4999}}));
}

TEST_F(Playing, SpeaksDegreesAndPixelsPerSecondInTurnsOf16msAndAimsAtTheOtherColour) {
    EnemyCommand& command = *partner(load("enemy/idle.xml"), Point(150, 200)).command;
    // The first step takes the clock's turn, even at the top of the clock's range; a late
    // runner catches up four turns a step.
    std::vector<int> turns;
    for (Uint32 ticks : {0xfffffff0u, 16015u, 16016u, 17616u, 17616u, 16112u}) {
        game.lastTicks = ticks;
        command.beginStep();
        turns.push_back(command.getTurn());
    }
    EXPECT_EQ(turns, (std::vector<int>{0x0fffffff, 1000, 1001, 1005, 1009, 1007}));
    Point& vel = enemy(0).vel;
    vel = Point(30, 40);
    EXPECT_NEAR(command.getBulletDirection(), 143.130102, 1e-5);
    EXPECT_EQ(std::make_tuple(command.getBulletSpeed(), command.getBulletSpeedX(),
                              command.getBulletSpeedY()),
              std::make_tuple(0.5, 0.3, 0.4));
    command.doChangeDirection(135);
    EXPECT_NEAR(vel.distance(Point(35.355339, 35.355339)), 0, 1e-4);
    command.doChangeSpeed(2);
    EXPECT_NEAR(vel.distance(Point(141.421356, 141.421356)), 0, 1e-4);
    command.doAccelX(1.5);
    command.doAccelY(-0.25);
    EXPECT_EQ(vel, Point(150, -25));
    // A runner turned while standing still keeps its new heading when it speeds up.
    vel = Point(0, 0);
    command.doChangeDirection(135);
    command.doChangeSpeed(1);
    EXPECT_NEAR(vel.distance(Point(70.710678, 70.710678)), 0, 1e-4);
    EnemyCommand& black = *partner(load("enemy/idle.xml"), Point(150, 200), 1).command;
    game.players[0]->center = Point(200, 300);
    game.players[1]->center = Point(100, 300);
    game.players[0]->rank = 0.42;
    game.players[1]->rank = 0.7;
    EXPECT_NEAR(command.getAimDirection(), 206.565051, 1e-5);
    EXPECT_NEAR(black.getAimDirection(), 153.434949, 1e-5);
    EXPECT_EQ(std::make_pair(command.getRank(), black.getRank()), std::make_pair(0.42, 0.7));
}

TEST_F(Playing, BulletsLeaveTheOwnersCentreInItsColourAtTheFiredVelocityButNotIntoAFullField) {
    partner(load("enemy/default-speed.xml"), Point(120, 80), 1).step();
    ASSERT_EQ(std::make_pair(game.shots.size(), game.enemies.size()), std::make_pair(1ul, 2ul));
    const Shot& shot = *game.shots.front();
    const Enemy& bullet = enemy(1);
    EXPECT_EQ(std::make_tuple(shot.color, shot.center, bullet.color, bullet.center, bullet.dyeing),
              std::make_tuple(1, Point(120, 80), 1, Point(120, 80), true));
    // No speed given: the default speed of 1 is 100 pixels per second.
    EXPECT_NEAR(shot.vel.distance(Point(100, 0)) + bullet.vel.distance(Point(0, 150)), 0, 1e-4);
    // A shot, a bullet with actions, a shot and a bullet with actions; room for one of them.
    game.reset();
    partner(load("enemy/both-kinds.xml"));
    while (game.shots.size() + game.enemies.size() < Game::kMaxBullets - 1)
        game.addShot(Point(10, 10), Point(0, 0), 1);
    enemy(0).step();
    EXPECT_EQ(game.shots.size() + game.enemies.size(), Game::kMaxBullets);
}

// Each document the game ships is in a list; the partner plays each for seven seconds, long
// enough for fired bullets to fire in their turn, and no new bullet may start closer to a
// player than 40 px, where it could not be dodged.
TEST_F(Playing, EveryShippedDocumentIsListedAndStartsNoBulletOnAPlayer) {
    std::map<std::string, BulletMLParser*> listed;
    for (int slot = 0; slot < ActionLibrary::kSlots; ++slot) {
        const ActionList& list = *game.actions.slot(slot);
        for (std::size_t i = 0; i < list.size(); ++i)
            listed[list.document(i)->getName()] = list.document(i);
    }
    for (const auto& entry : fs::directory_iterator("bml"))
        EXPECT_EQ(listed.count("bml/" + entry.path().filename().string()), 1u) << entry.path();
    for (const auto& [name, document] : listed) {
        const double nearest = play(document, 440);
        EXPECT_GE(nearest, 40.0) << name;
        EXPECT_LT(nearest, 1e9) << name << " fires nothing";
    }
}

TEST_F(ActionListTest, ReadsFirstWordsAndTheLastCommandsAndSharesOneCursorThatWraps) {
    const auto list = read("Commands Random\n \t\nZako#dyeing\n" + kDocA + "#first\n" + kDocB +
                           " trailing words\n#" + kDocA + "\nCommands List # in order\n");
    EXPECT_EQ(std::make_tuple(list->size(), list->isRandom(), list->isZako()),
              std::make_tuple(2u, false, true));
    // Enemies drawing in turn take A, B, A between them; a new one rewinds to A.
    std::vector<BulletMLParser*> drawn = {list->next(), list->next(), list->next()};
    list->rewind();
    drawn.push_back(list->next());
    const auto a = list->document(0), b = list->document(1);
    EXPECT_EQ(drawn, (std::vector<BulletMLParser*>{a, b, a, a}));
}

TEST_F(ActionListTest, RandomOrderReachesEveryDocumentAndTheTopDrawPlaysTheLast) {
    const auto list = read(kDocA + "\n" + kDocB + "\n" + kDocA + "\n");
    // A seed after which the first draw is the top one, 32767: randomInt(n) then gives n.
    unsigned seed = 1;
    for (std::srand(seed); randomDraw() != 32767; std::srand(++seed)) {
    }
    std::srand(seed);
    EXPECT_EQ(list->next(), list->document(2));
    std::srand(seed);
    EXPECT_EQ(randomInt(10), 10);
    std::set<BulletMLParser*> seen;
    for (int i = 0; i < 200; ++i) seen.insert(list->next());
    EXPECT_EQ(seen.size(), 3u);
}

TEST_F(ActionListTest, EveryFaultStopsLoadingWithItsMessage) {
    const std::string bad = std::string(SKELVO_TEST_DATA) + "/bulletml/bad/empty-wait.xml";
    const std::string longLine = "# fine\n" + kDocA + "\n#" + std::string(255, 'x') + "\n";
    const std::pair<std::string, std::string> table[] = {
        {"Commands list\n", "Unknown \"Commands\" argumentlist"},
        {longLine, dir.file("t.act") + ":3: line longer than 255 characters"},
        {"#" + std::string(254, 'x') + "\n" + kDocA + "\n", ""},
        // A document's own error, after a sound one.
        {kDocA + "\n" + bad + "\n", bad + ": line 4: "},
    };
    for (const auto& [text, message] : table)
        EXPECT_EQ(failure([&] { read(text); }).substr(0, message.size()), message) << text;
}

TEST_F(ActionListTest, TheLibraryLoadsBossListsThenLevelListsAndClampsTheLevelAsked) {
    for (int i = 0; i < ActionLibrary::kSlots; ++i) dir.write(ActionLibrary::fileName(i), "");
    dir.write("bosses.act.hard", "Zako\n");
    dir.write("act.d/act-5.act", "Zako\n");
    ChangeDir in(dir.path());
    ActionLibrary library;
    library.load();
    EXPECT_EQ(std::make_tuple(library.slot(0)->isZako(), library.slot(1)->isZako(),
                              library.defaultList()->isZako()),
              std::make_tuple(false, true, true));
    const std::vector<ActionList*> levels = {library.listForLevel(-1), library.listForLevel(0),
                                             library.listForLevel(10), library.listForLevel(11)};
    EXPECT_EQ(levels, (std::vector<ActionList*>{library.slot(2), library.slot(2), library.slot(12),
                                                library.slot(12)}));
    dir.remove("act.d/act-7.act");
    EXPECT_EQ(failure([&] { library.load(); }), "act.d/act-7.actaction File not Found!\n");
}

TEST_F(ActionListTest, DefinitionsReadEnemyGlobalAndFirstGlobalAndStopAtRepeatsAndLongLines) {
    char* argv[] = {nullptr};
    Conf conf(0, argv);
    const auto failureOf = [&](const std::string& text) {
        dir.write("t.conf", text);
        InputFile file(dir.file("t.conf"));
        return failure([&] { readDefinitions(conf, file); });
    };
    EXPECT_EQ(failureOf("Enemy 3 z\nGlobal 3 g\nFirstGlobal 9\nnoise 1 2\nEnemy 1 a b\n"), "");
    EXPECT_EQ(conf.enemyDefinitions, (std::map<int, std::string>{{1, "a"}, {3, "z"}}));
    EXPECT_EQ(conf.globalDefinitions, (std::map<int, std::string>{{3, "g"}}));
    EXPECT_EQ(conf.firstGlobal, 9);
    EXPECT_EQ(failureOf("Global 2 a\nGlobal 2 b\n"), "Global: same IDs!\n");
    // A line of 255 characters is read; one longer is named, not taken for two.
    EXPECT_EQ(failureOf(std::string(255, ' ') + "\nEnemy 5 " + std::string(248, 'x') + "\n"),
              dir.file("t.conf") + ": line 2 is longer than 255 characters");
}
