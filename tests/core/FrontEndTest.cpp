// Game's front end: what a finished selection builds for the match, and what a left one keeps.
#include "input/CpuInput.h"
#include "input/Direction.h"
#include "input/Error.h"
#include "input/Input.h"
#include "support/HeadlessGame.h"
#include "support/MenuScript.h"

#include <SDL.h>

using MSDL::DOWN;

namespace {

const int CHOOSE = 0;
const int LEAVE = 3;

// Mode, then white's and black's characters: each a step that chooses.
std::vector<MenuStep> choose(bool vs2P, int whiteDown, int blackDown) {
    std::vector<MenuStep> steps;
    steps.emplace_back(vs2P ? DOWN : 0, std::vector<int>{CHOOSE});
    for (int down : {whiteDown, blackDown}) {
        for (int i = 1; i < down; ++i) steps.emplace_back(DOWN);
        steps.emplace_back(down > 0 ? DOWN : 0, std::vector<int>{CHOOSE});
    }
    return steps;
}

// The pixel at (x, y) of `image` is the colour, in the image's own format.
::testing::AssertionResult shows(const Window& image, int x, int y, Color c) {
    const SDL_PixelFormat* f = image.getSurface()->format;
    const Uint32 want = SDL_MapRGB(f, static_cast<Uint8>(redOf(c)),
                                   static_cast<Uint8>(greenOf(c)), static_cast<Uint8>(blueOf(c)));
    Uint8 r, g, b;
    SDL_GetRGB(image.getPixel(x, y), f, &r, &g, &b);
    if (image.getPixel(x, y) == want) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << x << ", " << y << ") is " << int(r) << ","
                                         << int(g) << "," << int(b);
}

using FrontEndTest = HeadlessGameTest;

// A copy of the game directory, so a test may rewrite its key files.
struct GameDirCopy {
    GameCopy copy;
};
struct FrontEndCopyTest : GameDirCopy, HeadlessGameTest {
    FrontEndCopyTest() : HeadlessGameTest(copy.path()) {}

    int select(std::vector<MenuStep> steps) {
        MenuScript script(*input, std::move(steps));
        return game.selectPlayers();
    }
    // How many sources serve button 0 of the second device.
    std::size_t secondButtonZeroSources() const {
        const auto* device = dynamic_cast<const MSDL::Input*>(game.inputs[1].get());
        return device ? device->sourceCount(0) : 0;
    }
};

}  // namespace

TEST_F(FrontEndTest, BuildsTintedPicturesAndPlacesBothPlayers) {
    MenuScript script(*input, choose(false, 0, 1));
    ASSERT_EQ(game.selectPlayers(), 0);
    EXPECT_EQ(script.shown(), 3u);

    // The ball is 8 x 8 and white inside its rim; the halo 20 x 20, so the ball sits at (6, 6).
    const Color art[2] = {RED, ORANGE};
    for (int c = 0; c < 2; ++c) {
        SCOPED_TRACE(c);
        const Window& icon = *game.lifeIcons[c];
        const Window& picture = *game.playerImages[c];
        EXPECT_TRUE(shows(icon, 3, 4, art[c]));
        EXPECT_TRUE(shows(picture, 6 + 3, 6 + 4, art[c]));
        // The halo's ring is not tinted, and what was transparent in it still is.
        Uint8 r, g, b;
        SDL_GetRGB(game.haloImages[c]->getPixel(10, 1), game.haloImages[c]->getSurface()->format,
                   &r, &g, &b);
        EXPECT_TRUE(shows(picture, 10, 1, rgb(r, g, b)));
        EXPECT_TRUE(shows(picture, 0, 0, CYAN_KEY));
        EXPECT_TRUE(picture.getSurface()->flags & SDL_SRCCOLORKEY);
        EXPECT_EQ(picture.getSurface()->format->colorkey, picture.getPixel(0, 0));
        EXPECT_EQ(picture.getSize(), game.haloImages[c]->getSize());

        const Player& p = *game.players[c];
        EXPECT_EQ(p.color, c);
        EXPECT_EQ(p.artColor, c);
        EXPECT_EQ(p.lives, 2);
        EXPECT_EQ(p.sprite->image, &picture);
    }
    EXPECT_EQ(game.players[0]->center, Point(100, 350));
    EXPECT_EQ(game.players[1]->center, Point(200, 350));
    // The template stays white for the next match.
    EXPECT_TRUE(shows(*game.ballImage, 3, 4, WHITE));
}

TEST_F(FrontEndTest, LeavingEitherScreenKeepsPlayersAndDevices) {
    {
        MenuScript script(*input, {{0, {LEAVE}}});
        EXPECT_NE(game.menu(), 0);
    }
    {
        MenuScript script(*input, {{0, {CHOOSE}}, {DOWN, {CHOOSE}}, {0, {LEAVE}}});
        EXPECT_NE(game.menu(), 0);
        EXPECT_EQ(script.shown(), 3u);
    }
    // Still the fixture's: black with Art colour 5 on its halo, the scripted second device.
    EXPECT_EQ(game.players[1]->artColor, 5);
    EXPECT_EQ(game.players[1]->sprite->image, game.haloImages[1].get());
    EXPECT_EQ(game.inputs[1].get(), input2);
}

TEST_F(FrontEndCopyTest, ReadsTheSecondKeyFileAnewBeforeEveryTwoPlayerMatch) {
    copy.write("2Pkey.conf", "BUTTON_1 = KEY_a\n");
    ASSERT_EQ(select(choose(true, 0, 0)), 0);
    EXPECT_EQ(secondButtonZeroSources(), 1u);

    copy.write("2Pkey.conf", "BUTTON_1 = KEY_a KEY_b\n");
    ASSERT_EQ(select(choose(true, 0, 0)), 0);
    EXPECT_EQ(secondButtonZeroSources(), 2u);

    // Against the computer the file is not read: a broken one does not matter.
    copy.write("2Pkey.conf", "BUTTON_1 = KEY_nosuchkey\n");
    ASSERT_EQ(select(choose(false, 0, 0)), 0);
    auto* cpu = dynamic_cast<CpuInput*>(game.inputs[1].get());
    ASSERT_NE(cpu, nullptr);
    // A new computer for every match: none of the last one's plan carries over.
    cpu->artPlan = 2;
    ASSERT_EQ(select(choose(false, 0, 0)), 0);
    cpu = dynamic_cast<CpuInput*>(game.inputs[1].get());
    ASSERT_NE(cpu, nullptr);
    EXPECT_EQ(cpu->artPlan, 0);
    // A bad file fails the selection and leaves the last match's players in place.
    EXPECT_THROW(select(choose(true, 1, 1)), MSDL::Error);
    EXPECT_EQ(game.players[0]->artColor, 0);
}
