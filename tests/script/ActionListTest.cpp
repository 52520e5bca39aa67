// Action files: the line format, the order documents are handed out in, and every error.
#include "script/ActionList.h"

#include "core/Random.h"

#include <bulletmlerror.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <string>
#include <unistd.h>

namespace {

const std::string kGood = std::string(SKELVO_TEST_DATA) + "/bulletml/good/";
const std::string kDoc1 = kGood + "cdata-number.xml";
const std::string kDoc2 = kGood + "two-top-actions.xml";
const std::string kDoc3 = kGood + "horizontal-root.xml";

// Writes an action file of the given text into the test's temporary directory.
std::string actionFile(const std::string& text) {
    static int count = 0;
    const std::string path =
        testing::TempDir() + "list-" + std::to_string(::getpid()) + "-" + std::to_string(count++) + ".act";
    std::ofstream(path) << text;
    return path;
}

std::string errorOf(const std::string& path) {
    try {
        ActionList list(path);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "";
}

// A seed after which the first draw is the top one, 32767: randomInt(n) then gives n.
unsigned seedForTopDraw() {
    for (unsigned seed = 1;; ++seed) {
        std::srand(seed);
        if (randomDraw() == 32767) {
            std::srand(seed);
            return seed;
        }
    }
}

}  // namespace

TEST(ActionList, ReadsOnlyFirstWordsCaseSensitiveKeywordsAndTheLastCommands) {
    ActionList empty(actionFile("# nothing to play\n\n   \n\t# indented comment\n#Zako\n#Commands List\n"));
    EXPECT_EQ(empty.size(), 0u);
    EXPECT_TRUE(empty.isRandom());
    EXPECT_FALSE(empty.isZako());
    EXPECT_EQ(empty.next(), nullptr);

    ActionList list(actionFile("Commands Random\nZako#dyeing enemies\n" + kDoc1 + "#first document\n" + kDoc2 +
                               " trailing words # and a comment\n#" + kDoc3 + "\nCommands List # in order\n"));
    EXPECT_TRUE(list.isZako());
    EXPECT_FALSE(list.isRandom());
    ASSERT_EQ(list.size(), 2u);
    EXPECT_STREQ(list.document(0)->getName(), kDoc1.c_str());
    EXPECT_STREQ(list.document(1)->getName(), kDoc2.c_str());
    EXPECT_TRUE(ActionList(actionFile("Commands List\nCommands Random\n")).isRandom());
}

TEST(ActionList, SequentialOrderSharesOneCursorThatWrapsAndRewinds) {
    ActionList list(actionFile("Commands List\n" + kDoc1 + "\n" + kDoc2 + "\n" + kDoc3 + "\n"));
    // Two enemies drawing in turn take D1, D2, D3, D1 between them: the cursor is the list's.
    for (std::size_t i : {0, 1, 2, 0}) EXPECT_EQ(list.next(), list.document(i));
    list.rewind();
    EXPECT_EQ(list.next(), list.document(0));
    EXPECT_EQ(ActionList(actionFile("Commands List\n")).next(), nullptr);
}

TEST(ActionList, RandomOrderReachesEveryDocumentAndTheTopDrawPlaysTheLast) {
    ActionList list(actionFile(kDoc1 + "\n" + kDoc2 + "\n" + kDoc3 + "\n"));
    seedForTopDraw();
    EXPECT_EQ(list.next(), list.document(2));
    std::set<BulletMLParser*> seen;
    for (int i = 0; i < 200; ++i) seen.insert(list.next());
    EXPECT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen.count(nullptr), 0u);
}

TEST(ActionList, EveryFaultStopsLoadingWithItsMessage) {
    const std::string bad = std::string(SKELVO_TEST_DATA) + "/bulletml/bad/empty-wait.xml";
    const std::string missing = testing::TempDir() + "no-such-list.act";
    const std::string longLine = actionFile("# fine\n" + kDoc1 + "\n#" + std::string(255, 'x') + "\n" + kDoc2 + "\n");
    const std::pair<std::string, std::string> table[] = {
        {actionFile("Commands Shuffle\n"), "Unknown \"Commands\" argumentShuffle"},
        {actionFile("Commands list\n"), "Unknown \"Commands\" argumentlist"},
        {actionFile("Commands\n"), "Unknown \"Commands\" argument"},
        // The argument is taken whole: a "#" in it is not a comment.
        {actionFile("Commands List#x\n"), "Unknown \"Commands\" argumentList#x"},
        {missing, missing + "action File not Found!\n"},
        {longLine, longLine + ":3: line longer than 255 characters"},
        // "zako" is not the keyword but a document path, which does not exist.
        {actionFile("zako\n"), "zako: "},
        // A document's own error, after a sound one.
        {actionFile(kDoc1 + "\n" + bad + "\n"), bad + ": line 4: "},
    };
    for (const auto& [path, message] : table) EXPECT_EQ(errorOf(path).substr(0, message.size()), message) << path;
    EXPECT_EQ(ActionList(actionFile("#" + std::string(254, 'x') + "\n" + kDoc1 + "\n")).size(), 1u);
}
