// The match loop (its start, the order of a frame's steps, the queries, how a match ends), the
// menus (cursor, choices, leaving, the waits for release, drawing, what a selection builds) and
// the soak: the computer on both sides of whole matches, every character and level list.
#include "core/Conf.h"
#include "core/Menus.h"
#include "core/Selection.h"
#include "input/CpuInput.h"
#include "input/Direction.h"
#include "input/Error.h"
#include "input/Input.h"
#include "objects/ArtNames.h"
#include "objects/BuzzEffect.h"
#include "objects/Enemy.h"
#include "objects/Shot.h"
#include "support/HeadlessGame.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <set>
#include <tuple>

namespace {

struct Named { std::string name; };

// Writes its moves and meetings into `calls`. Met by a player it only dies, and a player met
// does nothing, so the order of the meetings is all that shows.
template <class Base>
struct Recording : Base, Named {
    template <class... Args>
    Recording(std::string& c, const std::string& name, Args&&... args)
        : Base(std::forward<Args>(args)...), Named{name}, calls(c) {}
    void hit(Charactor& o) override {
        calls += name + ".hit(" + dynamic_cast<Named&>(o).name + ") ";
        Base::hit(o);
    }
    void hitByPlayer(Player&) override { Charactor::vanish(); }
    void hitByShot(Shot&) override {}
    void hitByEnemy(Enemy&) override {}
    void update() override {
        calls += name + ".update ";
        Base::update();
    }
    void checkField() override {
        calls += name + ".checkField ";
        Base::checkField();
    }
    std::string& calls;
};

// Ends the match after a number of its own updates, as a player's death would. It reads a
// device of its own, so the tests script the first device for the after-match choice alone.
struct FinishingPlayer : Player {
    FinishingPlayer(Window* image, int frames)
        : Player(Point(100, 350), image, &idle, 0, 0, 2), left(frames) {}
    void update() override {
        Player::update();
        if (--left == 0) Game::instance()->matchOver = true;
    }
    ScriptedInput idle;
    int left;
};

struct MatchTest : HeadlessGameTest {
    Shot& shot(int i) { return **std::next(game.shots.begin(), i); }
    // A match ended by the first device's choice, with standard output.
    std::pair<int, std::string> play() {
        testing::internal::CaptureStdout();
        const int result = game.play();
        return {result, testing::internal::GetCapturedStdout()};
    }
};

}  // namespace

TEST_F(MatchTest, StartsWithAWhiteAndABlackPartnerUnlessADefinitionsFileIsGiven) {
    game.startMatch(5000);
    using Partner = std::tuple<int, Point, Window*, ActionList*, bool>;
    std::vector<Partner> partners;
    for (const auto& e : game.enemies)
        partners.emplace_back(e->color, e->center, e->sprite->image, e->actions, e->dyeing);
    ActionList* list = game.actions.defaultList();
    EXPECT_EQ(partners, (std::vector<Partner>{
                            {0, Point(155, 100), game.enemyImages[0].get(), list, false},
                            {1, Point(145, 100), game.enemyImages[1].get(), list, false}}));
    // Only a definitions file stands in for them; an action file's name does not.
    for (auto [name, count] : {std::pair("absent.act", 2u), {"absent-definitions.conf", 0u}}) {
        game.reset();
        std::string program = "skelvo", argument = name;
        char* argv[] = {program.data(), argument.data(), nullptr};
        Conf conf(2, argv);
        game.startMatch(6000);
        EXPECT_EQ(game.enemies.size(), count) << name;
    }
    // An added partner stands anywhere in the box from (50, 50) to (250, 150).
    double left = 250, right = 50;
    for (int i = 0; i < 100; ++i) {
        const Point at = game.addPartner(i % 2).center;
        EXPECT_TRUE(at.x >= 50 && at.x <= 250 && at.y >= 50 && at.y <= 150) << at.x << "," << at.y;
        std::tie(left, right) = std::pair(std::min(left, at.x), std::max(right, at.x));
    }
    EXPECT_TRUE(left < 70 && right > 230) << left << " " << right;
}

// The frame is measured first, so everything moves by its length. Then both devices are read,
// every group moves and then checks the field, and the meetings go shot by shot, then enemy by
// enemy, white first, the dead included. What died in them is gone by the frame's end, and the
// sweep takes sparks from the front only.
TEST_F(MatchTest, AFrameMeasuresControlsMovesCollidesAndSweepsInThatOrder) {
    std::string calls;
    for (int c : {0, 1}) {
        const std::string name = c ? "black" : "white";
        game.players[c] = std::make_unique<Recording<Player>>(
            calls, name, Point(100 + 10 * c, 350), game.haloImages[c].get(), game.inputs[c].get(),
            c, 0, 2);
        (c ? input2 : input)->direction = [&calls, name] {
            calls += name + ".control ";
            return 0;
        };
    }
    // A is near both players, B near black only, C near neither; the enemy P near both.
    for (const auto& [name, at] : {std::pair("A", Point(105, 350)), {"B", Point(125, 350)},
                                   {"C", Point(160, 350)}})
        game.shots.push_back(std::make_unique<Recording<Shot>>(calls, name, at, Point(0, 0),
                                                               game.shotImages[1].get(), 1));
    for (const auto& [name, at] : {std::pair("P", Point(105, 340)), {"Q", Point(250, 50)}})
        game.enemies.push_back(std::make_unique<Recording<Enemy>>(
            calls, name, at, game.enemyImages[1].get(), game.actions.defaultList(), 1));
    for (const char* name : {"dead", "S", "dead"}) {
        game.addBuzzEffect(std::make_unique<Recording<BuzzEffect>>(
            calls, name, game.players[0].get(), Point(150, 150), 0));
        if (name[0] == 'd') game.buzzEffects.back()->vanish();
    }
    shot(2).vel = Point(0, 50);
    game.runFrame(game.lastTicks + 100);
    EXPECT_EQ(calls,
              "white.control black.control P.update Q.update P.checkField Q.checkField A.update "
              "B.update C.update A.checkField B.checkField C.checkField dead.update S.update "
              "dead.update white.update black.update white.checkField black.checkField "
              "A.hit(white) white.hit(A) A.hit(black) black.hit(A) B.hit(black) black.hit(B) "
              "P.hit(white) white.hit(P) P.hit(black) black.hit(P) ");
    EXPECT_EQ(std::make_tuple(game.frameSeconds, game.frameCount), std::make_tuple(0.1, 1));
    EXPECT_EQ(std::make_tuple(game.shots.size(), game.enemies.size(), game.buzzEffects.size()),
              std::make_tuple(1u, 1u, 2u));
    EXPECT_EQ(shot(0).center, Point(160, 355));
}

// A bullet fired during the walk takes its first step in the same walk, which fires its shot.
TEST_F(MatchTest, ABulletFiredInTheWalkStepsInItAndTheQueriesKeepListOrder) {
    Enemy& firer = partner(Point(100, 100), 0, nullptr, load("enemy/fires-at-birth.xml"));
    game.thinkEnemies();
    ASSERT_EQ(std::make_tuple(game.enemies.size(), game.shots.size()), std::make_tuple(2u, 1u));
    Enemy& bullet = *game.enemies.back();
    Shot& fired = shot(0);
    Enemy& zako = partner(Point(150, 100), 0, game.actions.slot(0));
    Enemy& other = partner(Point(150, 100), 0);
    Enemy& black = partner(Point(150, 100), 1);
    Shot& extra = game.addShot(Point(10, 10), Point(0, 0), 0);
    game.addShot(Point(10, 10), Point(0, 0), 1);
    std::vector<Charactor*> eaten;
    game.collect(0, eaten);
    EXPECT_EQ(eaten, (std::vector<Charactor*>{&fired, &extra, &bullet, &zako}));
    // A level reaches only the still partners of its colour.
    game.setLevel(0, 7);
    ActionList* seventh = game.actions.listForLevel(7);
    EXPECT_EQ(std::make_tuple(firer.actions, other.actions, zako.actions, black.actions),
              std::make_tuple(seventh, seventh, game.actions.slot(0), game.actions.defaultList()));
}

TEST_F(MatchTest, LivesAreDrawnFromEachBottomCorner) {
    game.players[1]->lives = 3;
    game.drawLives();
    // Icons are 8 pixels wide, 10 apart, from x 2 rightward and from x 290 leftward.
    for (int x : {6, 16, 294, 284, 274}) EXPECT_NE(screenAt(x, 359), canvasAt(x, 359)) << x;
    for (int x : {26, 264}) EXPECT_EQ(screenAt(x, 359), canvasAt(x, 359)) << x;
}

// A finished match reports its frame rate, and the button that chose is let go before the menu
// could see it; the reset empties the field and wipes the dye. Closing the window after a
// match, or during one, ends the program; during a match, without the frame rate line.
// The choice itself: button 3 quits, and wins over 0 and 1, which go to the menu.
TEST_F(MatchTest, AMatchEndsByItsChoiceOrByClosingTheWindow) {
    std::set<int> pressed;
    input->pressed = [&](int b) { return pressed.count(b) > 0; };
    for (const auto& [buttons, result] : {std::pair(std::set{1}, 0), {{0, 3}, 1}}) {
        pressed = buttons;
        EXPECT_EQ(game.waitDecision(), result) << *buttons.begin();
    }
    pressed.clear();
    game.players[0] = std::make_unique<FinishingPlayer>(game.haloImages[0].get(), 4);
    int looks = 0;
    int heldLooks = 0;
    // Button 0 goes down during the second look and is let go three looks later.
    input->pressed = [&](int b) {
        if (++looks > 4 && heldLooks == 0) pressed.insert(0);
        return pressed.count(b) > 0;
    };
    input->anyButtonPressed = [&] {
        if (!pressed.empty() && ++heldLooks > 3) pressed.clear();
        return !pressed.empty();
    };
    auto [result, out] = play();
    // The first update places the field before the clock starts; three frames follow.
    EXPECT_EQ(std::make_tuple(result, pressed.empty(), heldLooks, game.frameCount),
              std::make_tuple(0, true, 4, 3));
    EXPECT_EQ(out, Game::fpsLine(3, game.startTicks, game.lastTicks) + "\n");
    // Frames x 1000 of a long fast match pass 32 bits; the tick counter wraps after 49 days.
    EXPECT_EQ(Game::fpsLine(3, 10, 17) + Game::fpsLine(5000000, 0, 1000000) +
                  Game::fpsLine(120, 0xfffffc18u, 1000),
              "428fps5000fps60fps");
    const Uint32 field = canvasAt(2, 2);
    game.stampDye(Point(0, 0), 0);
    ASSERT_NE(canvasAt(2, 2), field);
    game.addShot(Point(50, 50), Point(0, 0), 0);
    game.reset();
    EXPECT_TRUE(game.shots.empty() && game.enemies.empty() && canvasAt(2, 2) == field);

    game.players[0] = std::make_unique<FinishingPlayer>(game.haloImages[0].get(), 2);
    input->anyButtonPressed = [] {
        closeWindow();
        return false;
    };
    std::tie(result, out) = play();
    EXPECT_EQ(std::make_pair(result, game.quitRequested), std::make_pair(1, true));
    EXPECT_EQ(out, Game::fpsLine(game.frameCount, game.startTicks, game.lastTicks) + "\n");

    game.reset();
    closeWindow();
    EXPECT_EQ(play(), std::make_pair(1, std::string()));
    EXPECT_EQ(game.frameCount, 1);
}

using MSDL::DOWN;
using MSDL::UP;

namespace {

const int CHOOSE = 0;
const int LEAVE = 3;

// What the device shows to one snapshot. `onShow` runs as the snapshot is taken, after the
// screen has presented everything it shows while waiting.
struct Step {
    int direction = 0;
    std::vector<int> buttons = {};
    std::function<void()> onShow = nullptr;
    int heldLooks = 0;  // how many looks of the release waits still find the button down
};

// Each step of the script is a tap: shown to one snapshot and let go before anything else asks
// unless it is held for a number of looks. A snapshot asks for the direction first, then for
// the buttons. A screen that asks past the script sees the window closed, and returns -1.
// The game runs in a copy of its directory (a base made first), whose key files a test rewrites.
struct MenusTest : GameCopy, HeadlessGameTest {
    MenusTest() : HeadlessGameTest(path()) {
        selection.window = game.window.get();
        selection.input = input;
        input->direction = [this] {
            current = taken < script.size() ? script[taken] : Step{0, {}, closeWindow};
            ++taken;
            if (current.onShow) current.onShow();
            stillHeld = current.heldLooks;
            return current.direction;
        };
        input->pressed = [this](int b) {
            return std::count(current.buttons.begin(), current.buttons.end(), b) > 0;
        };
        input->anyButtonPressed = [this] {
            if (stillHeld == 0) return false;
            --stillHeld;
            return true;
        };
    }
    int run(const std::function<int(Selection&)>& screen, std::vector<Step> steps) {
        script = std::move(steps);
        taken = 0;
        return screen(selection);
    }
    // The mode, then white's and black's characters, each chosen after `down` moves.
    int select(bool vs2P, int whiteDown, int blackDown) {
        std::vector<Step> steps = {{vs2P ? DOWN : 0, {CHOOSE}}};
        for (int down : {whiteDown, blackDown}) {
            for (int i = 1; i < down; ++i) steps.push_back({DOWN});
            steps.push_back({down > 0 ? DOWN : 0, {CHOOSE}});
        }
        return run([this](Selection&) { return game.selectPlayers(); }, steps);
    }
    // Whether a pixel of the `length` cells from (column, row) shows `c` on the screen.
    bool cellsShow(int column, int row, int length, Color c) const {
        const int right = std::min((column + length) * MENU_CELL_WIDTH, int(field().x));
        for (int y = row * MENU_CELL_HEIGHT; y < (row + 1) * MENU_CELL_HEIGHT; ++y)
            for (int x = column * MENU_CELL_WIDTH; x < right; ++x)
                if (screenAt(x, y) == mapped(c)) return true;
        return false;
    }

    Selection selection;
    std::vector<Step> script;
    std::size_t taken = 0;
    Step current;
    int stillHeld = 0;
};

}  // namespace

// Both held, the moves cancel except where the first has nowhere to go; a diagonal counts for
// its up or down part.
TEST(Cursor, MovesDownFirstThenUpAndNeverPastAnEnd) {
    const int rows[][4] = {// cursor, direction, last, result
                           {0, DOWN, 5, 1},      {5, DOWN, 5, 5},
                           {0, UP, 5, 0},        {0, UP | DOWN, 5, 0},
                           {5, UP | DOWN, 5, 4}, {2, DOWN | MSDL::LEFT, 5, 3}};
    for (const auto& r : rows)
        EXPECT_EQ(moveCursor(r[0], r[1], r[2]), r[3]) << r[0] << " " << r[1];
}

// The menu moves before it looks at the button, and button 3 leaves unless button 0 is down
// too. Its mark follows the cursor, and a choice leaves the screen bare once the button that
// chose is let go, so that it does not choose again on the next screen.
TEST_F(MenusTest, ModeMenuMovesThenChoosesOrLeaves) {
    const auto markOn = [this] {
        EXPECT_TRUE(cellsShow(8, 12, 1, BLACK) && !cellsShow(8, 10, 1, BLACK));
    };
    // The steps, what the menu returns, and the mode it writes.
    const std::tuple<std::vector<Step>, int, bool> table[] = {
        {{{DOWN}, {UP, {CHOOSE}, markOn, 3}}, 0, true},
        {{{0, {LEAVE}}}, -1, false},
        {{{0, {CHOOSE, LEAVE}}}, 0, true}};
    for (const auto& [steps, result, vsCpu] : table) {
        SCOPED_TRACE(steps.size() * 10 + steps[0].buttons.size());
        // A choice must write its answer; leaving must write nothing.
        selection.vsCpu = result == 0 ? !vsCpu : false;
        EXPECT_EQ(run(modeMenu, steps), result);
        EXPECT_EQ(std::make_tuple(selection.vsCpu, cellsShow(8, 10, 8, BLACK), stillHeld),
                  std::make_tuple(vsCpu, result != 0, 0));
    }
}

// Both sides choose in turn on the first device, black's turn looking only once white's button
// is let go; button 3 or a closed window while black chooses leaves with white's choice kept.
// The word under the cursor is in its Art colour, the others in the side's; its descriptions
// follow it, white's staying while black chooses.
TEST_F(MenusTest, PlayerSelectHighlightsTheCursorAndKeepsWhitesChoiceWhenLeft) {
    const auto blackOnRank = [this] {
        EXPECT_EQ(stillHeld, 0);
        EXPECT_TRUE(cellsShow(1, 11, 4, RED) && cellsShow(18, 15, 20, RED));
        EXPECT_TRUE(cellsShow(1, 2, 8, WHITE) && cellsShow(11, 2, 27, ORANGE));
        // A new description covers the old one whole.
        for (int row = 1; row <= 6; ++row) EXPECT_FALSE(cellsShow(11, row, 27, RED)) << row;
    };
    for (const Step& last : {Step{0, {LEAVE}, blackOnRank}, Step{0, {CHOOSE}, closeWindow}}) {
        selection.artColor = {-1, -1};
        EXPECT_EQ(run(playerSelect, {{DOWN}, {0, {CHOOSE}, nullptr, 3}, last}), -1);
        EXPECT_EQ(selection.artColor, (std::array<int, 2>{1, -1}));
    }
    EXPECT_TRUE(game.quitRequested);
}

// In the game's font every description lies within the screen, whole and in order, on its
// label's row and the next.
TEST_F(MenusTest, EveryDescriptionFitsItsPlaceOnTheScreen) {
    for (int art = 0; art < ART_COLORS * ART_LEVELS; ++art) {
        const std::string& text = artDescription(art / ART_LEVELS, 1 + art % ART_LEVELS);
        std::string joined;
        for (const TextLine& line : layOutDescription(*game.window, text, 3)) {
            const int right = line.column * MENU_CELL_WIDTH + game.window->textWidth(line.text);
            EXPECT_TRUE(right <= MainWindow::WIDTH && (line.row == 3 || line.row == 4)) << text;
            joined += (joined.empty() || line.text.empty() ? "" : " ") + line.text;
        }
        EXPECT_EQ(joined, text.substr(0, text.find_last_not_of(' ') + 1));
    }
}

// A selection places both players on pictures tinted in their Art colours (the ball, 8 x 8 and
// white inside its rim, sits at (6, 6) in the 20 x 20 halo), and leaves the white template
// and the transparent pixels as they were. Leaving either screen keeps the last match's players
// and devices. The second key file is read before every two-player match; against the computer
// it is not read, and none of the last computer's plan carries over. A bad key file fails with
// the last players kept.
TEST_F(MenusTest, ASelectionBuildsPlayersAndDevicesButLeavingKeepsTheLastOnes) {
    using Steps = std::vector<Step>;
    for (const Steps& steps :
         {Steps{{0, {LEAVE}}}, Steps{{0, {CHOOSE}}, {DOWN, {CHOOSE}}, {0, {LEAVE}}}}) {
        EXPECT_NE(run([this](Selection&) { return game.menu(); }, steps), 0);
        EXPECT_EQ(taken, steps.size());
    }
    const Player& black = *game.players[1];
    EXPECT_EQ(std::make_tuple(black.artColor, black.sprite->image, game.inputs[1].get()),
              std::make_tuple(5, game.haloImages[1].get(), (MSDL::InputBase*)input2));
    write("2Pkey.conf", "BUTTON_1 = KEY_a KEY_b\n");
    ASSERT_EQ(select(true, 0, 0), 0);
    EXPECT_EQ(dynamic_cast<const MSDL::Input&>(*game.inputs[1]).sourceCount(0), 2u);
    write("2Pkey.conf", "BUTTON_1 = KEY_nosuchkey\n");
    ASSERT_EQ(select(false, 0, 0), 0);
    dynamic_cast<CpuInput&>(*game.inputs[1]).artPlan = 2;
    ASSERT_EQ(select(false, 0, 1), 0);
    const auto shows = [](const Window& image, int x, int y, Color color) {
        const SDL_PixelFormat* f = image.getSurface()->format;
        return image.getPixel(x, y) == SDL_MapRGB(f, redOf(color), greenOf(color), blueOf(color));
    };
    const auto keyed = [](const Window& image) {
        return image.getSurface()->format->colorkey == image.getPixel(0, 0);
    };
    for (int c = 0; c < 2; ++c) {
        const Window& picture = *game.playerImages[c];
        EXPECT_TRUE(shows(*game.lifeIcons[c], 3, 4, artColorValue(c)) &&
                    shows(picture, 6 + 3, 6 + 4, artColorValue(c)) &&
                    shows(*game.ballImage, 3, 4, WHITE) && shows(picture, 0, 0, CYAN_KEY) &&
                    keyed(picture) && keyed(*game.lifeIcons[c]))
            << c;
        const Player& p = *game.players[c];
        EXPECT_EQ(std::make_tuple(p.color, p.artColor, p.lives, p.sprite->image, p.center),
                  std::make_tuple(c, c, 2, &picture, Point(100 + 100 * c, 350)));
    }
    EXPECT_EQ(dynamic_cast<CpuInput&>(*game.inputs[1]).artPlan, 0);
    EXPECT_THROW(select(true, 1, 1), MSDL::Error);
    EXPECT_EQ(game.players[0]->artColor, 0);
}

using Soak = HeadlessGameTest;

TEST_F(Soak, ComputerMatchesEndWithAWinnerAndStayBounded) {
    std::srand(8);
    const char* asked = std::getenv("SKELVO_SOAK_MATCHES");
    const int matches =
        asked && std::atoi(asked) > 0 ? std::atoi(asked) : 2 * ART_COLORS * ART_LEVELS;
    for (int match = 0; match < matches; ++match) {
        SCOPED_TRACE("match " + std::to_string(match));
        // As the front end makes a match: fresh devices, then the players in their places.
        for (auto& p : game.players) p.reset();
        for (int side = 0; side < 2; ++side) {
            auto cpu = std::make_unique<CpuInput>(side);
            cpu->artPlan = 1 + (match / ART_COLORS + side) % ART_LEVELS;
            game.players[side] = std::make_unique<Player>(
                Point(100 + 100 * side, 350), game.haloImages[side].get(), cpu.get(), side,
                (match + 3 * side) % ART_COLORS, 2);
            game.inputs[side] = std::move(cpu);
        }
        game.startMatch(game.lastTicks);
        for (int side = 0; side < 2; ++side) {
            game.players[side]->level = match % (Player::kTopLevel + 1);
            game.setLevel(side, game.players[side]->level);
        }
        bool artSeen = false;
        // An hour of play on a 16 ms clock: a match still going then has stopped ending.
        for (int frame = 0; !game.matchOver && frame < 60 * 60 * 1000 / 16; ++frame) {
            game.runFrame(game.lastTicks + 16);
            // Until the first Art, a graze now and then, so even a short match reaches a price.
            for (auto& p : game.players) {
                artSeen = artSeen || p->art;
                if (!artSeen && frame % 4 == 0) p->buzz = std::min(p->buzz + 1, Player::kMaxBuzz);
            }
            // Sparks have no cap of their own: none outlives its 200 ms, the front one oldest.
            ASSERT_LE(game.shots.size() + game.enemies.size(), Game::kMaxBullets) << frame;
            ASSERT_TRUE(game.buzzEffects.empty() ||
                        game.buzzEffects.front()->expireTime >= game.lastTicks);
        }
        ASSERT_TRUE(game.matchOver);
        EXPECT_EQ(std::make_tuple(game.quitRequested, artSeen), std::make_tuple(false, true));
        EXPECT_EQ(std::min(game.players[0]->lives, game.players[1]->lives), 0);
        game.reset();
    }
}
