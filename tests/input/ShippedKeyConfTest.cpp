// The key files the game ships: they parse, and two people can share one keyboard.
#include "InputTestSupport.h"

#include "input/ButtonAxisInput.h"
#include "input/Direction.h"
#include "input/KeyConf.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

using namespace MSDL;

namespace {

const char* const KEYS[] = {"UP_AXIS",  "RIGHT_AXIS", "DOWN_AXIS", "LEFT_AXIS",
                            "BUTTON_1", "BUTTON_2",   "BUTTON_3",  "END"};

std::string shipped(const std::string& name) {
    return std::string(SKELVO_SOURCE_DIR) + "/data/" + name;
}

ConfMap readShipped(const std::string& name) {
    std::ifstream in(shipped(name));
    EXPECT_TRUE(in) << shipped(name);
    return readConfMap(in);
}

std::vector<std::string> words(const std::string& value) {
    std::vector<std::string> out;
    std::string::size_type start = 0;
    while ((start = value.find_first_not_of(' ', start)) != std::string::npos) {
        const auto end = value.find(' ', start);
        out.push_back(value.substr(start, end - start));
        start = end;
    }
    return out;
}

// Every key code the file's known keys name.
std::set<int> keyCodes(const ConfMap& conf) {
    std::set<int> codes;
    for (const char* key : KEYS) {
        const auto it = conf.find(key);
        if (it == conf.end()) continue;
        for (const std::string& word : words(it->second)) {
            if (word.rfind("KEY_", 0) == 0) codes.insert(keyCodeFromRest(word.substr(4)));
        }
    }
    return codes;
}

class ShippedKeys : public inputtest::SdlTest {};

}  // namespace

TEST(ShippedKeyFiles, EveryLineFitsAndEveryKeyIsThere) {
    for (const char* name : {"1Pkey.conf", "2Pkey.conf"}) {
        std::ifstream in(shipped(name));
        ASSERT_TRUE(in) << name;
        std::string line;
        int number = 0;
        while (std::getline(in, line)) {
            ++number;
            EXPECT_LE(line.size(), CONF_LINE_MAX) << name << ":" << number;
        }
        const ConfMap conf = readShipped(name);
        for (const char* key : KEYS) EXPECT_EQ(conf.count(key), 1u) << name << " " << key;
        EXPECT_EQ(conf.size(), 8u) << name << " names nothing else";
    }
}

TEST(ShippedKeyFiles, NoKeyServesBothPlayers) {
    const std::set<int> first = keyCodes(readShipped("1Pkey.conf"));
    const std::set<int> second = keyCodes(readShipped("2Pkey.conf"));
    EXPECT_GE(first.size(), 10u);
    EXPECT_GE(second.size(), 8u);
    for (int code : first)
        EXPECT_EQ(second.count(code), 0u) << "key " << code << " is in both files";
}

TEST(ShippedKeyFiles, EachPlayerHasItsOwnJoystick) {
    // The joystick a word names: 0 for JOY_ and JOY1_, 1 for JOY2_, -1 for a key.
    auto joystickOf = [](const std::string& word) {
        if (word.rfind("JOY_", 0) == 0 || word.rfind("JOY1_", 0) == 0) return 0;
        if (word.rfind("JOY2_", 0) == 0) return 1;
        return -1;
    };
    for (const auto& [name, own] : {std::pair{"1Pkey.conf", 0}, std::pair{"2Pkey.conf", 1}}) {
        const ConfMap conf = readShipped(name);
        for (const char* key : KEYS) {
            int ownSources = 0;
            for (const std::string& word : words(conf.at(key))) {
                const int joystick = joystickOf(word);
                EXPECT_TRUE(joystick == -1 || joystick == own) << name << " " << key << " " << word;
                ownSources += joystick == own;
            }
            EXPECT_EQ(ownSources, 1) << name << " " << key;
        }
    }
}

TEST_F(ShippedKeys, PlayerOneMovesWithTheArrowsAndWasdAndDrivesTheMenus) {
    if (attachedJoysticks() > 0) GTEST_SKIP() << "a joystick is attached";
    makeJoysticks();
    testing::internal::CaptureStdout();
    auto input = generateConfMap(shipped("1Pkey.conf"));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "joystick inited.\nfailed open joystick 0\n");
    const std::pair<int, int> moves[] = {{SDLK_UP, UP},       {SDLK_w, UP},      {SDLK_DOWN, DOWN},
                                         {SDLK_s, DOWN},      {SDLK_LEFT, LEFT}, {SDLK_a, LEFT},
                                         {SDLK_RIGHT, RIGHT}, {SDLK_d, RIGHT}};
    for (const auto& [key, direction] : moves) {
        hold(key);
        EXPECT_EQ(input->getDirection(), direction) << key;
        release(key);
    }
    // Button 0 confirms in the menus, button 3 leaves them.
    for (const auto& [key, button] :
         {std::pair{SDLK_LSHIFT, 0}, std::pair{SDLK_z, 0}, std::pair{SDLK_SPACE, 1},
          std::pair{SDLK_x, 1}, std::pair{SDLK_ESCAPE, 3}}) {
        hold(key);
        EXPECT_TRUE(input->isPressed(button)) << key;
        for (int other = 0; other < 4; ++other) {
            if (other != button) {
                EXPECT_FALSE(input->isPressed(other)) << key << " " << other;
            }
        }
        release(key);
    }
    EXPECT_FALSE(input->isAnyPressed());
}

TEST_F(ShippedKeys, PlayerTwoMovesWithIjkl) {
    if (attachedJoysticks() > 1) GTEST_SKIP() << "two joysticks are attached";
    makeJoysticks();
    testing::internal::CaptureStdout();
    auto input = generateConfMap(shipped("2Pkey.conf"));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("failed open joystick 1\n"), std::string::npos) << out;
    const std::pair<int, int> moves[] = {
        {SDLK_i, UP}, {SDLK_k, DOWN}, {SDLK_j, LEFT}, {SDLK_l, RIGHT}};
    for (const auto& [key, direction] : moves) {
        hold(key);
        EXPECT_EQ(input->getDirection(), direction) << key;
        release(key);
    }
    for (const auto& [key, button] :
         {std::pair{SDLK_SEMICOLON, 0}, std::pair{SDLK_RSHIFT, 0}, std::pair{SDLK_RALT, 1},
          std::pair{SDLK_RETURN, 1}, std::pair{SDLK_DELETE, 3}}) {
        hold(key);
        EXPECT_TRUE(input->isPressed(button)) << key;
        release(key);
    }
    // Player one's keys do nothing here.
    for (int key : {SDLK_UP, SDLK_w, SDLK_LSHIFT, SDLK_SPACE, SDLK_ESCAPE}) hold(key);
    EXPECT_FALSE(input->isAnyPressed());
}
