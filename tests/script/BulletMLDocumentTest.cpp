// Hostile and odd documents against the loader: every bad one refused naming its file, every good one played.
#include "script/BulletMLDocument.h"
#include "support/SimulatedField.h"

#include <bulletmlerror.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

const fs::path kCorpus = fs::path(SKELVO_TEST_DATA) / "bulletml";

// Each hostile document with a piece of the reason it must be refused for; a file of the
// corpus missing here fails the test, so every addition says what it is about.
// A few documents also give the line where the fault is, which is easy to get wrong.
struct Refusal {
    Refusal(const char* reason, int line = 0) : reason(reason), line(line) {}
    std::string reason;
    int line;
};
const std::map<std::string, Refusal> kRefusals = {
    {"empty.xml", "is empty"},  // hangs TinyXML
    {"blank.xml", "no root element"},
    {"not-xml.xml", "text outside the root"},
    {"only-comment.xml", "no root element"},
    {"deep-nesting.xml", "deeper than 64"},  // overflows the library's stack when deep enough
    {"nested-bulletml.xml", "<bulletml> inside <bulletml>"},  // crashes
    {"pi-in-element.xml", "processing instruction inside <action>"},  // aborts
    {"declaration-without-equals.xml", "declaration attribute without \"=\""},  // crashes
    {"instruction-unquoted.xml", "declaration attribute without a quoted value"},  // crashes
    {"doctype-in-element.xml", "declaration inside <action>"},  // aborts
    {"cdata-in-action.xml", "text inside <action>"},  // crashes
    {"missing-action-label.xml", "action \"nowhere\", which does not exist"},  // throws mid-match
    {"missing-bullet-label.xml", {"bullet \"nowhere\", which does not exist", 5}},
    {"missing-fire-label.xml", "fire \"nowhere\", which does not exist"},
    {"ref-wrong-kind.xml", "action \"b\", which does not exist"},
    {"ref-without-label.xml", "<actionRef> without a label"},  // hangs
    {"nested-label-ref.xml", "only children of <bulletml> may be labelled"},  // hangs
    {"nested-top-label.xml", "only children of <bulletml> may be labelled"},
    {"repeat-without-times.xml", "<repeat> needs a <times>"},  // loops inside one run()
    {"repeat-without-action.xml", "<repeat> needs exactly one <action> or <actionRef>"},
    {"changespeed-without-term.xml", "<changeSpeed> needs a <term>"},  // aborts
    {"changespeed-without-speed.xml", "<changeSpeed> needs a <speed>"},  // crashes
    {"changedirection-without-direction.xml", "<changeDirection> needs a <direction>"},
    {"changedirection-without-term.xml", "<changeDirection> needs a <term>"},
    {"accel-without-term.xml", "<accel> needs a <term>"},
    {"empty-wait.xml", "<wait> is empty"},  // crashes
    {"empty-speed.xml", "<speed> is empty"},
    {"empty-times.xml", "<times> is empty"},
    {"empty-param.xml", "<param> is empty"},
    {"fire-without-bullet.xml", "<fire> needs exactly one <bullet> or <bulletRef>"},
    {"two-bullets.xml", "<fire> needs exactly one <bullet> or <bulletRef>"},
    {"times-in-fire.xml", "<times> cannot stand inside <fire>"},
    {"direction-infinite.xml", "can become infinite"},  // hangs the angle normalisation
    {"direction-huge.xml", "can reach 1e+20"},
    {"direction-rand-division.xml", "can become infinite"},
    {"direction-param-huge.xml", "can reach 1e+09"},
    {"speed-huge.xml", "can reach 1000"},
    {"wait-huge.xml", "can reach 1e+09"},
    {"times-huge.xml", "can reach 3e+09"},
    {"param-grows-through-cycle.xml", {"can become infinite", 14}},
    {"nested-repeat-burst.xml", "can run 1e+06 commands without a wait"},  // stalls the frame
    {"burst-after-wait.xml", {"can run 90000 commands without a wait", 6}},
    {"bullet-burst.xml", {"can run 27000 commands without a wait", 9}},
    {"actionref-cycle.xml", "leads back into action \"top\" without a wait"},  // memory without bound
    {"actionref-self.xml", "leads back into action \"top\" without a wait"},
    {"actionref-cycle-short-wait.xml", "without a wait"},  // a wait under one turn does not wait
    {"actionref-cycle-wait-may-vanish.xml", "without a wait"},
    {"fireref-cycle.xml", "leads back into fire \"f\" without a wait"},
    {"bulletref-self-no-wait.xml", {"leads back into bullet \"b\" without a wait", 11}},
    {"formula-trailing-operator.xml", "\"1+\" ends where a number was expected"},  // "yyerror"
    {"formula-lone-dollar.xml", "unknown variable"},
    {"formula-junk.xml", "\"12abc\" has something unexpected"},
    {"formula-param-10.xml", {"\"$10\" has something unexpected", 18}},
    {"formula-param-zero.xml", "unknown variable"},
    {"formula-modulo.xml", "\"7%3\""},
    {"formula-exponent.xml", "\"1e3\""},
    {"formula-double-negation.xml", "negates a negation"},  // evaluated as -90
    {"formula-two-points.xml", "two decimal points"},  // read as 1.2
    {"formula-unary-plus.xml", "\"+1\""},
    {"formula-lone-point.xml", "not a number"},
    {"formula-unclosed.xml", "closing parenthesis"},
    {"formula-too-long.xml", "longer than 1000"},  // deep trees overflow the stack
    {"references-too-deep.xml", "references nest too deeply"},
    {"formula-split-by-comment.xml", "reads only the first piece"},  // read as 1
    {"formula-cdata-and-text.xml", "reads only the first piece"},
    {"number-holds-element.xml", "<wait> holds element <vanish>"},
    {"text-in-action.xml", "text inside <action>"},  // "yyerror"
    {"text-in-root.xml", "text inside <bulletml>"},
    {"entity.xml", "entity"},
    {"entity-in-label.xml", "entity"},
    {"unknown-element.xml", "unknown element <explode>"},
    {"unknown-type.xml", "unknown type \"forward\""},
    {"type-not-for-speed.xml", "unknown type \"aim\" of <speed>"},
    {"type-on-action.xml", "<action> takes no type"},
    {"root-type.xml", "unknown type \"diagonal\" of <bulletml>"},
    {"root-not-bulletml.xml", "root element is <action>"},
    {"two-roots.xml", "second root element"},
    {"trailing-garbage.xml", "after the root element"},
    {"no-top-action.xml", "no top action"},  // the runner would never end
    {"duplicate-label.xml", {"label \"a\" is given to a second <action>", 9}},
    {"duplicate-attribute.xml", "repeats attribute label"},  // loses the top action
    {"unknown-attribute.xml", "unknown attribute lable"},
    {"label-on-wait.xml", "<wait> takes no label"},
    {"empty-label.xml", "empty label"},
    {"unquoted-attribute.xml", "without quotes"},
    {"end-tag-space.xml", "wrong end tag"},
    {"mismatched-end-tag.xml", "wrong end tag"},
    {"unterminated.xml", "ends before </bulletml>"},
    {"unterminated-comment.xml", {"unterminated comment", 6}},
    {"dtd-internal-subset.xml", "internal subset"},
    {"byte-order-mark.xml", "byte order mark"},
    {"nul-byte.xml", "NUL byte"},
};

std::vector<fs::path> filesIn(const fs::path& dir) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(dir)) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

TEST(BulletMLDocument, RefusesEveryHostileDocumentNamingFileAndReason) {
    std::set<std::string> seen;
    testing::internal::CaptureStdout();
    for (const fs::path& file : filesIn(kCorpus / "bad")) {
        const std::string name = file.filename().string();
        seen.insert(name);
        const auto expected = kRefusals.find(name);
        ASSERT_NE(expected, kRefusals.end()) << name << " has no expected reason in this test";
        try {
            BulletMLDocument::load(file.string());
            ADD_FAILURE() << name << " was accepted";
        } catch (const BulletMLError& e) {
            const std::string message = e.what();
            EXPECT_EQ(message.rfind(file.string() + ": ", 0), 0u) << message;
            EXPECT_NE(message.find(expected->second.reason), std::string::npos) << message;
            if (expected->second.line) {
                EXPECT_NE(message.find(": line " + std::to_string(expected->second.line) + ": "),
                          std::string::npos) << message;
            }
        }
    }
    // The library writes "yyerror" when a formula reaches it unchecked.
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    for (const auto& [name, reason] : kRefusals) EXPECT_TRUE(seen.count(name)) << name << " is missing from the corpus";
}

TEST(BulletMLDocument, RefusesWhatIsNotARegularFile) {
    const std::string missing = kCorpus.string() + "/no-such-document.xml";
    try {
        BulletMLDocument::load(missing);
        FAIL() << "a missing file was accepted";
    } catch (const BulletMLError& e) {
        EXPECT_EQ(std::string(e.what()), missing + ": cannot be found");
    }
    try {
        BulletMLDocument::load((kCorpus / "good").string());
        FAIL() << "a directory was accepted";
    } catch (const BulletMLError& e) {
        EXPECT_EQ(std::string(e.what()), (kCorpus / "good").string() + ": is not a regular file");
    }
}

TEST(BulletMLDocument, LoadsAndPlaysEveryOddButSoundDocument) {
    testing::internal::CaptureStdout();
    for (const fs::path& file : filesIn(kCorpus / "good")) {
        SCOPED_TRACE(file.filename().string());
        std::unique_ptr<BulletMLDocument> document;
        ASSERT_NO_THROW(document = BulletMLDocument::load(file.string()));
        SimulatedField field(0.5);
        field.play(document.get());
        for (int i = 0; i < 600; ++i) ASSERT_TRUE(field.step()) << "runaway at turn " << i;
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST(BulletMLDocument, KeepsItsOwnNameAfterTheCallersStringIsGone) {
    std::unique_ptr<BulletMLDocument> document;
    {
        std::string path = (kCorpus / "good" / "cdata-number.xml").string();
        document = BulletMLDocument::load(path);
        path.assign(path.size(), 'x');
    }
    EXPECT_EQ(std::string(document->getName()), (kCorpus / "good" / "cdata-number.xml").string());
    EXPECT_EQ(document->getTopActions().size(), 1u);
}

TEST(BulletMLDocument, SameFileLoadedTwiceGivesTwoIndependentDocuments) {
    const std::string path = (kCorpus / "good" / "two-top-actions.xml").string();
    auto first = BulletMLDocument::load(path);
    auto second = BulletMLDocument::load(path);
    EXPECT_NE(first.get(), second.get());
    EXPECT_NE(first->getTopActions().front(), second->getTopActions().front());
}

// What the library does that patterns must be written around.

TEST(BulletMLLibrary, RunsTheRepeatBodyOnceForNoOrNegativeTimes) {
    auto document = BulletMLDocument::load((kCorpus / "good" / "library-quirks.xml").string());
    SimulatedField field(0.0);
    field.play(document.get());
    field.step();
    EXPECT_EQ(field.fired(), 2);
}
