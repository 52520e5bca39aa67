// The key files the game ships: they parse, and two people can share one keyboard.
#include "InputTestSupport.h"

#include "core/InputFile.h"
#include "input/ButtonAxisInput.h"
#include "input/Direction.h"
#include "input/KeyConf.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
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
    InputFile in(shipped(name));
    EXPECT_TRUE(in.isOpen()) << shipped(name);
    return readConfMap(in);
}

std::vector<std::string> words(const std::string& value) {
    std::istringstream in(value);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
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

// NoKeyServesBothPlayers keeps each file's keys out of the other's device.
TEST_F(ShippedKeys, EachFileMovesItsPlayerAndPressesItsButtons) {
    if (attachedJoysticks() > 0) GTEST_SKIP() << "a joystick is attached";
    makeJoysticks();
    const struct {
        const char* name;
        std::vector<std::pair<int, int>> moves;
        std::vector<std::pair<int, int>> buttons;  // 0 confirms in the menus, 3 leaves them
    } files[] = {
        {"1Pkey.conf",
         {{SDLK_UP, UP}, {SDLK_w, UP}, {SDLK_DOWN, DOWN}, {SDLK_s, DOWN}, {SDLK_LEFT, LEFT},
          {SDLK_a, LEFT}, {SDLK_RIGHT, RIGHT}, {SDLK_d, RIGHT}},
         {{SDLK_LSHIFT, 0}, {SDLK_z, 0}, {SDLK_SPACE, 1}, {SDLK_x, 1}, {SDLK_ESCAPE, 3}}},
        {"2Pkey.conf",
         {{SDLK_i, UP}, {SDLK_k, DOWN}, {SDLK_j, LEFT}, {SDLK_l, RIGHT}},
         {{SDLK_SEMICOLON, 0}, {SDLK_RSHIFT, 0}, {SDLK_RALT, 1}, {SDLK_RETURN, 1},
          {SDLK_DELETE, 3}}}};
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        testing::internal::CaptureStdout();
        auto input = generateConfMap(shipped(file.name));
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_NE(out.find("failed open joystick"), std::string::npos) << out;
        for (const auto& [key, direction] : file.moves) {
            hold(key);
            EXPECT_EQ(input->getDirection(), direction) << key;
            release(key);
        }
        for (const auto& [key, button] : file.buttons) {
            hold(key);
            for (int b = 0; b < 4; ++b) EXPECT_EQ(input->isPressed(b), b == button) << key << " " << b;
            release(key);
        }
        EXPECT_FALSE(input->isAnyPressed());
    }
}
