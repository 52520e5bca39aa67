#include "input/KeyConf.h"

#include "core/InputFile.h"
#include "input/ButtonAxisInput.h"
#include "input/Direction.h"
#include "input/Error.h"
#include "input/JoystickAxisButtonInput.h"
#include "input/JoystickButtonInput.h"
#include "input/JoystickMgr.h"
#include "input/KeyButtonInput.h"

#include <iostream>
#include <vector>

namespace MSDL {

namespace {

const char* const BLANKS = " \t\n\v\f\r";

std::vector<std::string> splitWords(const std::string& text) {
    std::vector<std::string> words;
    std::string::size_type start = text.find_first_not_of(BLANKS);
    while (start != std::string::npos) {
        const std::string::size_type end = text.find_first_of(BLANKS, start);
        words.push_back(
            text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        start = end == std::string::npos ? end : text.find_first_not_of(BLANKS, end);
    }
    return words;
}

const std::map<std::string, int>& keyNames() {
    static const std::map<std::string, int> names = {
        {"tab", 9},     {"space", 32},   {"delete", 127}, {"return", 13},
        {"escape", 27}, {"up", 273},     {"down", 274},   {"left", 276},
        {"right", 275}, {"insert", 277}, {"rshift", 303}, {"ralt", 307},
        {"rctrl", 305}, {"lshift", 304}, {"lalt", 308},   {"lctrl", 306},
    };
    return names;
}

Error unknownKey(const std::string& rest) { return Error(rest + ": unknown key"); }

}  // namespace

ConfMap readConfMap(InputFile& in) {
    ConfMap conf;
    std::string line;
    while (in.readLine(line, CONF_LINE_MAX) == InputFile::Line::Read) {
        const std::string::size_type comment = line.find('#');
        if (comment != std::string::npos) line.erase(comment);
        const std::vector<std::string> words = splitWords(line);
        if (words.empty()) continue;
        std::size_t first = 1;
        if (words.size() > 1 && words[1] == "=") first = 2;
        std::string value;
        for (std::size_t i = first; i < words.size(); ++i) {
            if (!value.empty()) value += ' ';
            value += words[i];
        }
        conf[words[0]] = value;
    }
    return conf;
}

int keyCodeFromRest(const std::string& rest) {
    if (rest.size() == 1) return static_cast<unsigned char>(rest[0]);
    const auto it = keyNames().find(rest);
    if (it == keyNames().end()) throw unknownKey(rest);
    return it->second;
}

JoystickPart joystickPartFromRest(const std::string& rest) {
    if (rest.size() == 1) {
        if (rest[0] < '0' || rest[0] > '9') throw unknownKey(rest);
        return {false, rest[0] - '0'};
    }
    if (rest == "UP") return {true, UP};
    if (rest == "RIGHT") return {true, RIGHT};
    if (rest == "DOWN") return {true, DOWN};
    if (rest == "LEFT") return {true, LEFT};
    throw unknownKey(rest);
}

std::unique_ptr<ButtonInput> generateButtonInputFromString(const std::string& word) {
    const std::string::size_type underscore = word.find('_');
    const std::string prefix =
        underscore == std::string::npos ? std::string() : word.substr(0, underscore + 1);
    const std::string rest = underscore == std::string::npos ? word : word.substr(underscore + 1);

    if (prefix == "KEY_") return std::make_unique<KeyButtonInput>(keyCodeFromRest(rest));

    if (prefix == "JOY_" || prefix == "JOY1_" || prefix == "JOY2_") {
        const int index = prefix == "JOY2_" ? 1 : 0;
        if (JoystickMgr::current().getJoystick(index).expired()) return nullptr;
        const JoystickPart part = joystickPartFromRest(rest);
        if (part.isAxis) return std::make_unique<JoystickAxisButtonInput>(index, part.value);
        return std::make_unique<JoystickButtonInput>(index, part.value);
    }

    throw Error("generateButtonInputFromString: unknown string format");
}

std::unique_ptr<Input> generateConfMap(const std::string& file) {
    auto input = std::make_unique<Input>();

    ConfMap conf;
    InputFile in(file);
    if (in.isOpen()) {
        conf = readConfMap(in);
    } else {
        std::cerr << file << ": file not found in generateConfMap" << std::endl;
    }

    auto wordsOf = [&conf](const char* key) {
        const auto it = conf.find(key);
        return it == conf.end() ? std::vector<std::string>() : splitWords(it->second);
    };

    auto axis = std::make_unique<ButtonAxisInput>();
    const std::pair<const char*, int> directions[] = {
        {"UP_AXIS", UP}, {"RIGHT_AXIS", RIGHT}, {"DOWN_AXIS", DOWN}, {"LEFT_AXIS", LEFT}};
    for (const auto& [key, direction] : directions) {
        for (const std::string& word : wordsOf(key)) {
            axis->add(direction, generateButtonInputFromString(word));
        }
    }
    input->addAxis(std::move(axis));

    const std::pair<const char*, int> buttons[] = {
        {"BUTTON_1", 0}, {"BUTTON_2", 1}, {"BUTTON_3", 2}, {"END", 3}};
    for (const auto& [key, button] : buttons) {
        for (const std::string& word : wordsOf(key)) {
            input->addButton(button, generateButtonInputFromString(word));
        }
    }
    return input;
}

}  // namespace MSDL
