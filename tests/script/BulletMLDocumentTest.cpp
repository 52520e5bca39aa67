// Hostile and odd documents against the loader, played on a headless game with the real runner.
#include "objects/Enemy.h"
#include "objects/Shot.h"
#include "script/ActionList.h"
#include "script/BulletMLDocument.h"
#include "script/EnemyCommand.h"
#include "support/HeadlessGame.h"

#include <bulletmlerror.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

namespace fs = std::filesystem;

namespace {

const fs::path kCorpus = fs::path(SKELVO_TEST_DATA) / "bulletml";
const Uint32 FRAME_MS = 16;

// Each hostile document with a piece of the reason it must be refused for; a file of the
// corpus missing here fails the test, so every addition says what it is about. A few also
// give the line of the fault, which is easy to get wrong.
struct Refusal {
    Refusal(const char* reason, int line = 0) : reason(reason), line(line) {}
    std::string reason;
    int line;
};
const std::map<std::string, Refusal> kRefusals = {
    // Not XML, or not what the library's tree can hold.
    {"empty.xml", "no element found"},
    {"blank.xml", "no element found"},
    {"only-comment.xml", "no element found"},
    {"not-xml.xml", "syntax error"},
    {"nul-byte.xml", {"not well-formed", 4}},
    {"unquoted-attribute.xml", "not well-formed"},
    {"doctype-in-element.xml", "not well-formed"},
    {"declaration-without-equals.xml", "XML declaration not well-formed"},
    {"duplicate-attribute.xml", "duplicate attribute"},
    {"mismatched-end-tag.xml", "mismatched tag"},
    {"unterminated.xml", "no element found"},
    {"unterminated-comment.xml", {"unclosed token", 6}},
    {"trailing-garbage.xml", "junk after document element"},
    {"two-roots.xml", "junk after document element"},
    {"dtd-internal-subset.xml", "declares the entity x"},
    {"deep-nesting.xml", "nest deeper than 64"},
    {"root-not-bulletml.xml", "root element is <action>"},
    {"nested-bulletml.xml", "<bulletml> cannot stand inside <bulletml>"},
    {"unknown-element.xml", "unknown element <explode>"},
    {"times-in-fire.xml", "<times> cannot stand inside <fire>"},
    {"number-holds-element.xml", "<wait> holds element <vanish>"},
    {"text-in-action.xml", "text inside <action>"},
    {"text-in-root.xml", "text inside <bulletml>"},
    {"unknown-type.xml", "unknown type \"forward\""},
    {"type-not-for-speed.xml", "unknown type \"aim\" of <speed>"},
    {"type-on-action.xml", "<action> takes no type"},
    {"root-type.xml", "unknown type \"diagonal\" of <bulletml>"},
    {"unknown-attribute.xml", "unknown attribute lable"},
    {"label-on-wait.xml", "<wait> takes no label"},
    {"duplicate-label.xml", {"label \"a\" is given to a second <action> (first on line 6)", 9}},
    {"nested-top-label.xml", "top action \"top\" inside <action>"},
    {"no-top-action.xml", "no top action"},  // the runner would never end
    // Missing or misplaced children: the runner crashes, loops or throws mid-match.
    {"repeat-without-times.xml", "<repeat> needs a <times>"},
    {"repeat-without-action.xml", "<repeat> needs exactly one <action> or <actionRef>"},
    {"action-before-times.xml", "as its last child"},
    {"fire-without-bullet.xml", "<fire> needs exactly one <bullet> or <bulletRef>"},
    {"two-bullets.xml", "<fire> needs exactly one <bullet> or <bulletRef>"},
    {"bullet-before-direction.xml", "as its last child"},
    {"changespeed-without-term.xml", "<changeSpeed> needs a <term>"},
    {"changespeed-without-speed.xml", "<changeSpeed> needs a <speed>"},
    {"changedirection-without-direction.xml", "<changeDirection> needs a <direction>"},
    {"changedirection-without-term.xml", "<changeDirection> needs a <term>"},
    {"accel-without-term.xml", "<accel> needs a <term>"},
    {"empty-wait.xml", "<wait> is empty"},
    {"empty-speed.xml", "<speed> is empty"},
    {"empty-times.xml", "<times> is empty"},
    {"empty-param.xml", "<param> is empty"},
    // References the runner cannot come back from.
    {"ref-without-label.xml", "<actionRef> without a label"},
    {"missing-action-label.xml", "action \"nowhere\", which does not exist"},
    {"missing-bullet-label.xml", {"bullet \"nowhere\", which does not exist", 5}},
    {"missing-fire-label.xml", "fire \"nowhere\", which does not exist"},
    {"ref-wrong-kind.xml", "action \"b\", which does not exist"},
    {"nested-label-ref.xml", {"action \"inner\" on line 4, which stands inside another element", 9}},
    {"actionref-to-top.xml", {"names action \"top2\", a top action", 5}},
    // Formulas outside the library's grammar: it prints "yyerror" and reuses an old formula.
    {"formula-trailing-operator.xml", "\"1+\" ends where a number was expected"},
    {"formula-lone-dollar.xml", "unknown variable"},
    {"formula-junk.xml", "\"12abc\" has something unexpected"},
    {"formula-param-10.xml", {"\"$10\" has something unexpected", 18}},
    {"formula-param-zero.xml", "unknown variable"},
    {"formula-modulo.xml", "\"7%3\""},
    {"formula-exponent.xml", "\"1e3\""},
    {"formula-double-negation.xml", "negates a negation"},  // evaluated as -90
    {"formula-two-points.xml", "two decimal points"},       // read as 1.2
    {"formula-unary-plus.xml", "\"+1\""},
    {"formula-lone-point.xml", "not a number"},
    {"formula-unclosed.xml", "closing parenthesis"},
    {"formula-too-long.xml", "longer than 1000"},  // deep trees overflow the stack
    // Values that hang the library's angle normalisation or overflow its turn counts.
    {"direction-infinite.xml", "can become infinite"},
    {"direction-rand-division.xml", "can become infinite"},
    {"direction-huge.xml", "can reach 1e+20"},
    {"direction-param-huge.xml", "can reach 1e+09"},
    {"wait-huge.xml", "can reach 1e+09"},
    {"times-huge.xml", "can reach 3e+09"},
    {"param-grows-through-cycle.xml", {"can become infinite", 14}},  // doubles each turn
    // Work that would stall a frame.
    {"nested-repeat-burst.xml", "commands without a wait"},
    {"burst-after-wait.xml", {"can run 180901 commands without a wait", 6}},
    {"bullet-burst.xml", {"can run 36001 commands without a wait", 9}},
    {"busy-bullet.xml", "can run 20001 commands without a wait"},
    {"empty-action-in-repeats.xml", {"10000 steps in a row that do nothing the game sees", 6}},
    {"empty-actionref-in-repeats.xml", "can run 20001 commands without a wait"},
    {"empty-repeat.xml", "200 steps in a row that do nothing"},
    {"references-too-deep.xml", "references nest too deeply"},
    // Reference cycles without a wait of a turn: memory or a frame without end.
    {"actionref-cycle.xml", "leads back into action \"a\" without a wait"},
    {"actionref-self.xml", "leads back into action \"loop\" without a wait"},
    {"actionref-cycle-short-wait.xml", "without a wait"},  // a wait under one turn does not wait
    {"actionref-cycle-wait-may-vanish.xml", "without a wait"},
    {"fireref-cycle.xml", "leads back into fire \"f\" without a wait"},
    {"bulletref-self-no-wait.xml", {"leads back into bullet \"b\" without a wait", 11}},
};

// Sound documents whose numbers the reader must hand to the library exactly as checked: the
// shots each leaves standing (fired at speed 0) in its first second.
const std::map<std::string, std::size_t> kStandingShots = {
    {"cdata-line-break.xml", 3},       // "12 / 4", which the library's reader would take as 12
    {"comments-around-number.xml", 12},
    {"formula-cdata-and-text.xml", 3},
    {"entity.xml", 2},
    {"entity-in-label.xml", 1},
    {"schema-root.xml", 1},
    {"nested-label.xml", 1},
    {"library-quirks.xml", 2},  // a repeat's body runs once for no or negative times
    {"long-wait.xml", 1},
};

std::vector<fs::path> filesIn(const fs::path& dir) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(dir)) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::string refusal(const std::string& path) {
    try {
        BulletMLDocument::load(path);
    } catch (const BulletMLError& e) {
        return e.what();
    }
    return "";
}

// A partner of its own at the top of a headless field, with a list that holds nothing, so
// that only the document under test plays.
class Playing : public HeadlessGameTest {
protected:
    Enemy& play(BulletMLDocument& document) {
        game.enemies.push_front(std::make_unique<Enemy>(Point(150, 100), game.enemyImages[0].get(), &idle, 0));
        Enemy& partner = *game.enemies.front();
        partner.command = std::make_unique<EnemyCommand>(&document, &partner);
        return partner;
    }
    // Frames of `ms` milliseconds; the most pattern work one of them did.
    long run(int frames, Uint32 ms = FRAME_MS) {
        long most = 0;
        for (int i = 0; i < frames; ++i) {
            game.runFrame(game.lastTicks + ms);
            most = std::max(most, game.patternWork);
        }
        return most;
    }
    std::size_t standing() const {
        return static_cast<std::size_t>(std::count_if(game.shots.begin(), game.shots.end(),
                                                      [](const auto& s) { return s->vel == Point(0, 0); }));
    }

    static std::string emptyList(const ScratchDir& dir) {
        dir.write("none.act", "");
        return dir.file("none.act");
    }

    ScratchDir scratch;
    ActionList idle{emptyList(scratch)};
};

}  // namespace

TEST(BulletMLDocument, RefusesEveryHostileDocumentNamingFileAndReason) {
    std::set<std::string> seen;
    testing::internal::CaptureStdout();
    for (const fs::path& file : filesIn(kCorpus / "bad")) {
        const std::string name = file.filename().string();
        seen.insert(name);
        const auto expected = kRefusals.find(name);
        ASSERT_NE(expected, kRefusals.end()) << name << " has no expected reason in this test";
        const std::string message = refusal(file.string());
        ASSERT_FALSE(message.empty()) << name << " was accepted";
        EXPECT_EQ(message.rfind(file.string() + ": line ", 0), 0u) << message;
        EXPECT_NE(message.find(expected->second.reason), std::string::npos) << message;
        if (expected->second.line) {
            EXPECT_NE(message.find(": line " + std::to_string(expected->second.line) + ": "), std::string::npos)
                << message;
        }
    }
    // The library writes "yyerror" when a formula reaches it unchecked.
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    for (const auto& [name, reason] : kRefusals) EXPECT_TRUE(seen.count(name)) << name << " is missing from the corpus";
}

TEST(BulletMLDocument, RefusesWhatIsNotARegularFileBeforeReadingIt) {
    ScratchDir dir;
    ASSERT_EQ(mkfifo(dir.file("pipe.xml").c_str(), 0600), 0);
    for (const std::string& path : {dir.file("missing.xml"), dir.path(), dir.file("pipe.xml")})
        EXPECT_EQ(refusal(path).rfind(path + ": ", 0), 0u) << path;
    dir.write("big.xml", "<bulletml>" + std::string(BulletMLDocument::kMaxFileSize, ' ') + "</bulletml>");
    EXPECT_NE(refusal(dir.file("big.xml")).find("is larger than"), std::string::npos);
}

TEST(BulletMLDocument, OwnsItsNameAndItsTree) {
    std::unique_ptr<BulletMLDocument> first;
    const std::string path = (kCorpus / "good" / "two-top-actions.xml").string();
    {
        std::string name = path;
        first = BulletMLDocument::load(name);
        name.assign(name.size(), 'x');
    }
    EXPECT_EQ(std::string(first->getName()), path);
    // The same file loaded again is a tree of its own.
    const auto second = BulletMLDocument::load(path);
    ASSERT_EQ(first->getTopActions().size(), 2u);
    EXPECT_NE(first->getTopActions().front(), second->getTopActions().front());
}

TEST_F(Playing, EveryOddButSoundDocumentPlaysAsChecked) {
    testing::internal::CaptureStdout();
    for (const fs::path& file : filesIn(kCorpus / "good")) {
        const std::string name = file.filename().string();
        SCOPED_TRACE(name);
        std::unique_ptr<BulletMLDocument> document;
        ASSERT_NO_THROW(document = BulletMLDocument::load(file.string()));
        play(*document);
        run(60);
        const auto expected = kStandingShots.find(name);
        if (expected != kStandingShots.end()) {
            EXPECT_EQ(standing(), expected->second);
        }
        run(100, 50);
        EXPECT_LE(game.shots.size() + game.enemies.size(), Game::kMaxBullets);
        game.reset();
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST_F(Playing, TheFramesBudgetCutsTheWalkShortAndResumesItInOrder) {
    auto document = BulletMLDocument::load((kCorpus / "good" / "busy-bullets.xml").string());
    play(*document);
    run(1);
    const std::size_t fired = game.enemies.size() - 1;
    ASSERT_EQ(fired, 300u);
    // Each bullet turns 6000 times a turn: a handful of them spend a frame's budget.
    int frames = 0;
    long most = 0;
    while (game.enemies.size() > 1 && frames < 2000) {
        most = std::max(most, run(1));
        ++frames;
    }
    EXPECT_EQ(game.enemies.size(), 1u) << "bullets starved of steps";
    EXPECT_GT(frames, 300);
    EXPECT_LT(most, Game::kPatternWorkPerFrame + 4 * 6001 * (EnemyCommand::kMaxTurnsPerStep + 1));
}

TEST_F(Playing, ARunnerBehindTheClockCatchesUpAFewTurnsAStep) {
    // One shot a turn: a frame of a second is 62 turns, of which a step plays a few.
    auto document = BulletMLDocument::load((kCorpus / "good" / "long-repeat-with-waits.xml").string());
    play(*document);
    run(1);
    run(1, 1000);
    EXPECT_EQ(standing(), 1u + EnemyCommand::kMaxTurnsPerStep);
    run(10);
    EXPECT_EQ(standing(), 1u + EnemyCommand::kMaxTurnsPerStep * 11);
}
