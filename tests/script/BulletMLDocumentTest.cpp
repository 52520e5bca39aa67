// BulletML documents: hostile and odd ones against the loader, and the frame's budget.
#include "objects/Enemy.h"
#include "objects/Shot.h"
#include "script/BulletMLDocument.h"
#include "script/EnemyCommand.h"
#include "support/HeadlessGame.h"

#include <bulletmlerror.h>
#include <sys/stat.h>

#include <algorithm>
#include <map>

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

std::string refusal(const std::string& path) {
    try {
        BulletMLDocument::load(path);
    } catch (const BulletMLError& e) {
        return e.what();
    }
    return "";
}

// A headless field whose partners play the document given, else from a list of none.
class Playing : public HeadlessGameTest {
protected:
    void partner(BulletMLDocument* document = nullptr) {
        game.enemies.push_back(
            std::make_unique<Enemy>(Point(150, 100), game.enemyImages[0].get(), &idle, 0));
        Enemy& owner = *game.enemies.back();
        if (document) owner.command = std::make_unique<EnemyCommand>(document, &owner);
    }

    ActionList idle{SKELVO_TEST_DATA "/enemy/none.act"};
};

}  // namespace

TEST(BulletMLDocument, RefusesEveryHostileDocumentNamingFileLineAndReason) {
    const auto refusals = table("refusals.txt");
    testing::internal::CaptureStdout();
    for (const auto& [name, row] : refusals) {
        // The row: the line of the fault (0: any line), then a piece of the reason.
        const std::string line = row.substr(0, row.find(' '));
        const std::string file = (kCorpus / "bad" / name).string();
        const std::string start = file + ": line " + (line == "0" ? "" : line + ": ");
        const std::string message = refusal(file);
        EXPECT_EQ(message.substr(0, start.size()), start) << message;
        EXPECT_NE(message.find(row.substr(line.size() + 1)), std::string::npos) << message;
    }
    // The library writes "yyerror" when a formula reaches it unchecked.
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST(BulletMLDocument, RefusesWhatIsNotARegularFileOrIsTooLargeBeforeReadingIt) {
    ScratchDir dir;
    ASSERT_EQ(mkfifo(dir.file("pipe.xml").c_str(), 0600), 0);
    for (const std::string& path : {dir.file("missing.xml"), dir.path(), dir.file("pipe.xml")})
        EXPECT_EQ(refusal(path).rfind(path + ": ", 0), 0u) << path;
    std::string sound = "<bulletml><action label=\"top\"/></bulletml>";
    sound.resize(BulletMLDocument::kMaxFileSize, ' ');
    dir.write("full.xml", sound);
    dir.write("big.xml", sound + " ");
    EXPECT_EQ(refusal(dir.file("full.xml")), "");
    EXPECT_NE(refusal(dir.file("big.xml")).find("is larger than"), std::string::npos);
}

TEST_F(Playing, EveryOddButSoundDocumentPlaysAsChecked) {
    auto standingShots = table("standing.txt");
    for (const auto& entry : fs::directory_iterator(kCorpus / "good")) {
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        std::unique_ptr<BulletMLDocument> document;
        ASSERT_NO_THROW(document = BulletMLDocument::load(entry.path().string()));
        partner(document.get());
        for (int frame = 0; frame < 60; ++frame) game.runFrame(game.lastTicks + 16);
        // Shots fired at speed 0 stay where they were fired.
        const auto standing = std::count_if(game.shots.begin(), game.shots.end(),
                                            [](const auto& s) { return s->vel == Point(0, 0); });
        if (standingShots.count(name)) {
            EXPECT_EQ(std::to_string(standing), standingShots[name]);
        }
        game.reset();
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
    std::vector<std::pair<Uint32, int>> runs;
    for (const auto& e : game.enemies) {
        if (runs.empty() || runs.back().first != e->nextStart) runs.push_back({e->nextStart, 0});
        ++runs.back().second;
    }
    const std::vector<std::pair<Uint32, int>> expected = {
        {7000, 15001}, {6000, 4999}, {7000, 4999}};
    EXPECT_EQ(runs, expected);
}
