// Action files: line format, order of play, every error; the library of thirteen; definitions.
#include "script/ActionLibrary.h"

#include "core/Conf.h"
#include "core/InputFile.h"
#include "core/Random.h"
#include "script/Definitions.h"
#include "support/TestDirs.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <tuple>

namespace {

const std::string kDocA = std::string(SKELVO_TEST_DATA) + "/bulletml/good/cdata-number.xml";
const std::string kDocB = std::string(SKELVO_TEST_DATA) + "/bulletml/good/two-top-actions.xml";

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
    // The list of an action file of the given text.
    std::unique_ptr<ActionList> read(const std::string& text) {
        dir.write("t.act", text);
        return std::make_unique<ActionList>(dir.file("t.act"));
    }
    ScratchDir dir;
};

}  // namespace

TEST_F(ActionListTest, ReadsFirstWordsAndTheLastCommandsAndSharesOneCursorThatWraps) {
    const auto list = read("Commands Random\n \t\nZako#dyeing\n" + kDocA + "#first\n" + kDocB +
                           " trailing words\n#" + kDocA + "\nCommands List # in order\n");
    EXPECT_EQ(std::make_tuple(list->size(), list->isRandom(), list->isZako()),
              std::make_tuple(2u, false, true));
    EXPECT_EQ(std::string(list->document(1)->getName()), kDocB);
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
