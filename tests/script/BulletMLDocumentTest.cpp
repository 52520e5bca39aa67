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
#include <fstream>
#include <map>
#include <sstream>

namespace fs = std::filesystem;

namespace {

const fs::path kCorpus = fs::path(SKELVO_TEST_DATA) / "bulletml";
const Uint32 FRAME_MS = 16;

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

TEST(BulletMLDocument, RefusesEveryHostileDocumentNamingFileLineAndReason) {
    auto refusals = table("refusals.txt");
    testing::internal::CaptureStdout();
    for (const fs::path& file : filesIn(kCorpus / "bad")) {
        const auto row = refusals.find(file.filename().string());
        if (row == refusals.end()) {
            ADD_FAILURE() << file << " has no row in refusals.txt";
            continue;
        }
        std::istringstream expected(row->second);
        int line = 0;
        std::string reason;
        std::getline(expected >> line >> std::ws, reason);
        const std::string message = refusal(file.string());
        const std::string prefix = file.string() + ": line " + (line ? std::to_string(line) + ": " : "");
        EXPECT_EQ(message.rfind(prefix, 0), 0u) << message;
        EXPECT_NE(message.find(reason), std::string::npos) << message;
        refusals.erase(row);
    }
    // The library writes "yyerror" when a formula reaches it unchecked.
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    for (const auto& row : refusals) ADD_FAILURE() << row.first << " is missing from the corpus";
}

TEST(BulletMLDocument, RefusesWhatIsNotARegularFileBeforeReadingIt) {
    ScratchDir dir;
    ASSERT_EQ(mkfifo(dir.file("pipe.xml").c_str(), 0600), 0);
    for (const std::string& path : {dir.file("missing.xml"), dir.path(), dir.file("pipe.xml")})
        EXPECT_EQ(refusal(path).rfind(path + ": ", 0), 0u) << path;
    // A sound document of exactly the limit loads; one byte more is refused.
    std::string sound = "<bulletml><action label=\"top\"/></bulletml>";
    sound.resize(BulletMLDocument::kMaxFileSize, ' ');
    dir.write("full.xml", sound);
    dir.write("big.xml", sound + " ");
    EXPECT_EQ(refusal(dir.file("full.xml")), "");
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
    auto standingShots = table("standing.txt");
    testing::internal::CaptureStdout();
    for (const fs::path& file : filesIn(kCorpus / "good")) {
        const std::string name = file.filename().string();
        SCOPED_TRACE(name);
        std::unique_ptr<BulletMLDocument> document;
        ASSERT_NO_THROW(document = BulletMLDocument::load(file.string()));
        play(*document);
        run(60);
        if (standingShots.count(name)) {
            EXPECT_EQ(std::to_string(standing()), standingShots[name]);
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
