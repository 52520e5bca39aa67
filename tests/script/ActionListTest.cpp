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

TEST(ActionList, CommentsAndBlankLinesGiveAnEmptyListThatHandsOutNothingInEitherOrder) {
    ActionList randomList(actionFile("# nothing to play\n\n   \n\t# indented comment\n#Zako\n#Commands List\n"));
    EXPECT_EQ(randomList.size(), 0u);
    EXPECT_TRUE(randomList.isRandom());
    EXPECT_FALSE(randomList.isZako());
    EXPECT_EQ(randomList.next(), nullptr);
    ActionList sequential(actionFile("Commands List\n"));
    EXPECT_FALSE(sequential.isRandom());
    EXPECT_EQ(sequential.next(), nullptr);
    sequential.rewind();
    EXPECT_EQ(sequential.next(), nullptr);
}

TEST(ActionList, OnlyTheFirstWordCountsAndAHashEndsIt) {
    ActionList list(actionFile("Zako#dyeing enemies\n" + kDoc1 + "#first document\n" + kDoc2 +
                               " trailing words # and a comment\n#" + kDoc3 + "\n"));
    EXPECT_TRUE(list.isZako());
    ASSERT_EQ(list.size(), 2u);
    EXPECT_STREQ(list.document(0)->getName(), kDoc1.c_str());
    EXPECT_STREQ(list.document(1)->getName(), kDoc2.c_str());
}

TEST(ActionList, KeywordsAreCaseSensitiveAndTheLastCommandsWins) {
    EXPECT_TRUE(ActionList(actionFile("Commands List\nCommands Random\n")).isRandom());
    EXPECT_FALSE(ActionList(actionFile("Commands Random\nCommands List\n")).isRandom());
    EXPECT_FALSE(ActionList(actionFile("Commands List # in order\n")).isRandom());
    // "zako" is not the keyword but a document path, which does not exist.
    EXPECT_EQ(errorOf(actionFile("zako\n")).rfind("zako: ", 0), 0u);
}

TEST(ActionList, RandomOrderReachesEveryDocumentAndTheTopDrawPlaysTheLast) {
    ActionList list(actionFile(kDoc1 + "\n" + kDoc2 + "\n" + kDoc3 + "\n"));
    ASSERT_TRUE(list.isRandom());
    seedForTopDraw();
    EXPECT_EQ(list.next(), list.document(2));
    std::set<BulletMLParser*> seen;
    for (int i = 0; i < 200; ++i) seen.insert(list.next());
    EXPECT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen.count(nullptr), 0u);
}

TEST(ActionList, UnknownCommandsArgumentIsNamed) {
    EXPECT_EQ(errorOf(actionFile("Commands Shuffle\n")), "Unknown \"Commands\" argumentShuffle");
    EXPECT_EQ(errorOf(actionFile("Commands list\n")), "Unknown \"Commands\" argumentlist");
    EXPECT_EQ(errorOf(actionFile("Commands\n")), "Unknown \"Commands\" argument");
    // The argument is taken whole: a "#" in it is not a comment.
    EXPECT_EQ(errorOf(actionFile("Commands List#x\n")), "Unknown \"Commands\" argumentList#x");
}

TEST(ActionList, LineOfMoreThan255CharactersIsAnErrorNamingFileAndLine) {
    const std::string longest = "#" + std::string(254, 'x');
    EXPECT_EQ(ActionList(actionFile(longest + "\n" + kDoc1 + "\n")).size(), 1u);

    const std::string path = actionFile("# fine\n" + kDoc1 + "\n#" + std::string(255, 'x') + "\n" + kDoc2 + "\n");
    EXPECT_EQ(errorOf(path), path + ":3: line longer than 255 characters");
}

TEST(ActionList, FaultyDocumentStopsLoadingWithItsOwnError) {
    const std::string bad = std::string(SKELVO_TEST_DATA) + "/bulletml/bad/empty-wait.xml";
    const std::string message = errorOf(actionFile(kDoc1 + "\n" + bad + "\n"));
    EXPECT_EQ(message.rfind(bad + ": line 4: ", 0), 0u) << message;
    EXPECT_THROW(ActionList(actionFile(bad + "\n")), BulletMLError);
}
