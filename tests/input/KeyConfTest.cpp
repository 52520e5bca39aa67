// The key configuration format and its source words.
#include "InputTestSupport.h"

#include "core/InputFile.h"
#include "input/ButtonAxisInput.h"
#include "input/Direction.h"
#include "input/Error.h"
#include "input/KeyButtonInput.h"
#include "input/KeyConf.h"
#include "support/TestDirs.h"

#include <gtest/gtest.h>

#include <string>

using namespace MSDL;

namespace {

ConfMap readText(const std::string& text) {
    ScratchDir dir;
    dir.write("k.conf", text);
    InputFile in(dir.file("k.conf"));
    return readConfMap(in);
}

// The message of the MSDL::Error that reading `word` throws, or "" if none.
std::string wordError(const std::string& word) {
    try {
        generateButtonInputFromString(word);
    } catch (const Error& e) {
        return e.what();
    }
    return "";
}

int keyOf(const std::string& word) {
    const auto source = generateButtonInputFromString(word);
    const auto* key = dynamic_cast<const KeyButtonInput*>(source.get());
    return key ? key->getKey() : -1;
}

class KeyConf : public inputtest::SdlTest {
protected:
    std::unique_ptr<Input> load(const std::string& text) {
        dir.write("test.conf", text);
        return generateConfMap(dir.file("test.conf"));
    }
    static const ButtonAxisInput& axisOf(const Input& input) {
        EXPECT_EQ(input.getAxes().size(), 1u);
        const auto* axis = dynamic_cast<const ButtonAxisInput*>(input.getAxes().at(0).get());
        if (!axis) throw std::logic_error("not a ButtonAxisInput");
        return *axis;
    }
    ScratchDir dir;
};

}  // namespace

// ---- the line format ----

TEST(ConfFormat, KeyEqualsAndValueWords) {
    const ConfMap conf = readText(
        "UP_AXIS = KEY_up KEY_w\n"
        "DOWN_AXIS KEY_down\n"
        "  \t LEFT_AXIS   =   KEY_left\t JOY_LEFT   \n"
        "RIGHT_AXIS =\n");
    const ConfMap expected{{"UP_AXIS", "KEY_up KEY_w"},
                           {"DOWN_AXIS", "KEY_down"},
                           {"LEFT_AXIS", "KEY_left JOY_LEFT"},
                           {"RIGHT_AXIS", ""}};
    EXPECT_EQ(conf, expected);
}

TEST(ConfFormat, AnEqualsSignInsideAWordIsPartOfTheKey) {
    EXPECT_EQ(readText("UP_AXIS=KEY_up\n"), (ConfMap{{"UP_AXIS=KEY_up", ""}}));
    EXPECT_EQ(readText("UP_AXIS= KEY_up\n"), (ConfMap{{"UP_AXIS=", "KEY_up"}}));
    EXPECT_EQ(readText("UP_AXIS =KEY_up\n"), (ConfMap{{"UP_AXIS", "=KEY_up"}}));
    // Only the second word is skipped when it is "=".
    EXPECT_EQ(readText("END = = KEY_a\n"), (ConfMap{{"END", "= KEY_a"}}));
    EXPECT_EQ(readText("= KEY_a\n"), (ConfMap{{"=", "KEY_a"}}));
}

TEST(ConfFormat, CommentsAndBlankLines) {
    const ConfMap conf = readText(
        "# a whole-line comment\n"
        "\n"
        "      \n"
        "   # an indented comment\n"
        "BUTTON_1 KEY_z KEY_lshift # shot\n"
        "END KEY_escape#no blank needed\n"
        "#UP_AXIS KEY_i\n");
    const ConfMap expected{{"BUTTON_1", "KEY_z KEY_lshift"}, {"END", "KEY_escape"}};
    EXPECT_EQ(conf, expected);
}

TEST(ConfFormat, TheLastLineOfAKeyWins) {
    EXPECT_EQ(readText("UP_AXIS = KEY_up KEY_w\nUP_AXIS KEY_i\n"), (ConfMap{{"UP_AXIS", "KEY_i"}}));
    // Even an empty value replaces the earlier one.
    EXPECT_EQ(readText("UP_AXIS KEY_i\nUP_AXIS\n"), (ConfMap{{"UP_AXIS", ""}}));
}

TEST(ConfFormat, ALineOf255CharactersIsReadAndALongerOneEndsTheFile) {
    const std::string key = "UP_AXIS KEY_i";
    const std::string line255 = key + std::string(CONF_LINE_MAX - key.size(), ' ');
    ASSERT_EQ(line255.size(), 255u);
    const std::string line256 = key + " #" + std::string(256 - key.size() - 2, 'x');
    ASSERT_EQ(line256.size(), 256u);

    EXPECT_EQ(readText("DOWN_AXIS KEY_k\n" + line255 + "\nLEFT_AXIS KEY_j\n"),
              (ConfMap{{"DOWN_AXIS", "KEY_k"}, {"UP_AXIS", "KEY_i"}, {"LEFT_AXIS", "KEY_j"}}));
    // The long line and everything after it are dropped; the lines before it count.
    EXPECT_EQ(readText("DOWN_AXIS KEY_k\n" + line256 + "\nLEFT_AXIS KEY_j\n"),
              (ConfMap{{"DOWN_AXIS", "KEY_k"}}));
    EXPECT_EQ(readText(line256 + "\nLEFT_AXIS KEY_j\n"), ConfMap{});
    // A last line without an end of line counts like any other.
    EXPECT_EQ(readText("END KEY_a\n" + line255), (ConfMap{{"END", "KEY_a"}, {"UP_AXIS", "KEY_i"}}));
    EXPECT_EQ(readText("END KEY_a\n" + line256), (ConfMap{{"END", "KEY_a"}}));
}

// ---- source words ----

TEST(ConfWords, OneCharacterKeysAreTheirCodeAndNamedKeysFollowTheTable) {
    const std::pair<std::string, int> table[] = {
        {"z", 122},      {"A", 65},       {"1", '1'},        {";", ';'},         {"_", '_'},
        {"\xE9", 0xE9},  {"tab", 9},      {"space", 32},     {"delete", 127},    {"return", 13},
        {"escape", 27},  {"up", SDLK_UP}, {"down", 274},     {"left", 276},      {"right", 275},
        {"insert", SDLK_INSERT},          {"rshift", 303},   {"ralt", 307},      {"rctrl", SDLK_RCTRL},
        {"lshift", 304}, {"lalt", SDLK_LALT},                {"lctrl", 306}};
    for (const auto& [rest, code] : table) {
        EXPECT_EQ(keyOf("KEY_" + rest), code) << rest;
        if (rest.size() > 1) {
            EXPECT_EQ(keyCodeFromRest(rest), code) << rest;
        }
    }
}

TEST(ConfWords, UnreadableWords) {
    for (const char* rest : {"f1", "UP", "", "a_b"})
        EXPECT_EQ(wordError(std::string("KEY_") + rest), rest + std::string(": unknown key"));
    for (const char* word : {"XYZ", "key_a", "JOY3_1", "_a", ""})
        EXPECT_EQ(wordError(word), "generateButtonInputFromString: unknown string format") << word;
}

TEST(ConfWords, JoystickRests) {
    for (int digit = 0; digit <= 9; ++digit) {
        const JoystickPart part = joystickPartFromRest(std::to_string(digit));
        EXPECT_FALSE(part.isAxis);
        EXPECT_EQ(part.value, digit);
    }
    const std::pair<const char*, int> halves[] = {
        {"UP", UP}, {"RIGHT", RIGHT}, {"DOWN", DOWN}, {"LEFT", LEFT}};
    for (const auto& [rest, direction] : halves) {
        const JoystickPart part = joystickPartFromRest(rest);
        EXPECT_TRUE(part.isAxis);
        EXPECT_EQ(part.value, direction);
    }
    // With the joystick open these are what "JOY_10", "JOY_x", "JOY_up" and "JOY_" fail with.
    const std::pair<const char*, const char*> bad[] = {
        {"10", "10: unknown key"}, {"x", "x: unknown key"}, {"up", "up: unknown key"},
        {"", ": unknown key"},     {"-", "-: unknown key"}, {"UPPER", "UPPER: unknown key"}};
    for (const auto& [rest, message] : bad) {
        try {
            joystickPartFromRest(rest);
            ADD_FAILURE() << "read the joystick rest \"" << rest << "\"";
        } catch (const Error& e) {
            EXPECT_STREQ(e.what(), message);
        }
    }
}

TEST_F(KeyConf, JoystickWordsWithoutAJoystickAreSkippedBeforeTheirRestIsRead) {
    if (attachedJoysticks() > 0) GTEST_SKIP() << "a joystick is attached";
    makeJoysticks();
    testing::internal::CaptureStdout();
    for (const char* word : {"JOY_10", "JOY_x", "JOY_UP", "JOY1_UP", "JOY_3", "JOY_",
                             "JOY1_nonsense", "JOY2_3", "JOY2_zz"}) {
        EXPECT_EQ(generateButtonInputFromString(word), nullptr) << word;
    }
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "joystick inited.\nfailed open joystick 0\nfailed open joystick 1\n");
}

TEST_F(KeyConf, JoystickWordsNeedAJoystickMgr) {
    ASSERT_EQ(JoystickMgr::instance(), nullptr);
    EXPECT_THROW(generateButtonInputFromString("JOY_0"), Error);
    // Key words do not.
    EXPECT_EQ(keyOf("KEY_a"), 'a');
}

// ---- whole files ----

TEST_F(KeyConf, ButtonsDirectionsAndComments) {
    auto input = load(
        "# player\n"
        "UP_AXIS = KEY_up\n"
        "RIGHT_AXIS = KEY_right KEY_d\n"
        "DOWN_AXIS = KEY_down\n"
        "LEFT_AXIS = KEY_left\n"
        "BUTTON_1 KEY_z KEY_lshift # shot\n"
        "BUTTON_2 = KEY_x\n"
        "BUTTON_3 = KEY_c\n"
        "END = KEY_escape\n"
        "SOMETHING_ELSE = KEY_f1 XYZ\n");  // unknown keys are never read, so never fail
    const ButtonAxisInput& axis = axisOf(*input);
    EXPECT_EQ(axis.sourceCount(UP), 1u);
    EXPECT_EQ(axis.sourceCount(RIGHT), 2u);
    EXPECT_EQ(input->sourceCount(0), 2u);
    EXPECT_EQ(input->sourceCount(1), 1u);
    EXPECT_EQ(input->sourceCount(2), 1u);
    EXPECT_EQ(input->sourceCount(3), 1u);
    EXPECT_EQ(input->sourceCount(4), 0u);

    hold(SDLK_d);
    hold(SDLK_UP);
    EXPECT_EQ(input->getDirection(), UP | RIGHT);
    hold(SDLK_LSHIFT);
    hold(SDLK_c);
    EXPECT_TRUE(input->isPressed(0));
    EXPECT_FALSE(input->isPressed(1));
    EXPECT_TRUE(input->isPressed(2));
    EXPECT_FALSE(input->isPressed(3));
    const ButtonStates expected{{0, true}, {1, false}, {2, true}, {3, false}};
    EXPECT_EQ(*input->getButtons(), expected);
}

TEST_F(KeyConf, AnUnreadableWordFailsTheWholeFile) {
    try {
        load("UP_AXIS KEY_up\nBUTTON_1 KEY_z KEY_f1\n");
        FAIL() << "read KEY_f1";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "f1: unknown key");
    }
    try {
        load("END XYZ\n");
        FAIL() << "read XYZ";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "generateButtonInputFromString: unknown string format");
    }
}

TEST_F(KeyConf, AnAllJoystickFileWithoutJoysticksNeverReportsAnything) {
    if (attachedJoysticks() > 0) GTEST_SKIP() << "a joystick is attached";
    makeJoysticks();
    dir.write("joy.conf",
                                       "UP_AXIS = JOY_UP JOY2_UP\n"
                                       "RIGHT_AXIS = JOY1_RIGHT JOY2_RIGHT\n"
                                       "DOWN_AXIS = JOY_DOWN\n"
                                       "LEFT_AXIS = JOY2_LEFT\n"
                                       "BUTTON_1 = JOY_0 JOY2_0\n"
                                       "BUTTON_2 = JOY_10\n"
                                       "BUTTON_3 = JOY_x\n"
                                       "END = JOY2_3\n");
    testing::internal::CaptureStdout();
    auto input = generateConfMap(dir.file("joy.conf"));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "joystick inited.\nfailed open joystick 0\nfailed open joystick 1\n");
    const ButtonAxisInput& axis = axisOf(*input);
    for (int direction : {UP, RIGHT, DOWN, LEFT}) EXPECT_EQ(axis.sourceCount(direction), 0u);
    EXPECT_TRUE(input->getButtons()->empty());
    EXPECT_EQ(input->getDirection(), NONE);
    EXPECT_FALSE(input->isAnyPressed());
}
