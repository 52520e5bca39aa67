// The key configuration files "1Pkey.conf" and "2Pkey.conf".
//
// Format, line by line: a line of more than CONF_LINE_MAX characters ends the reading (the lines
// before it count, it and the lines after it do not); "#" starts a comment; the first word is
// the key, a second word that is exactly "=" is skipped, the other words are the value; a key
// that comes again replaces its value. Keys read: UP_AXIS, RIGHT_AXIS, DOWN_AXIS, LEFT_AXIS
// (directions), BUTTON_1, BUTTON_2, BUTTON_3, END (buttons 0, 1, 2, 3); others are ignored.
// Value words: KEY_<one character or key name>, JOY_/JOY1_<digit or UP/RIGHT/DOWN/LEFT>
// (joystick 0), JOY2_<...> (joystick 1).
#pragma once

#include "input/ButtonInput.h"
#include "input/Input.h"

#include <cstddef>
#include <map>
#include <memory>
#include <string>

class InputFile;

namespace MSDL {

// The longest line read, without its end of line.
constexpr std::size_t CONF_LINE_MAX = 255;

// Key -> value (its words joined by single spaces).
using ConfMap = std::map<std::string, std::string>;

// Reads the key/value lines of a configuration file as described above; a read that fails
// ends the reading like an overlong line.
ConfMap readConfMap(InputFile& in);

// The SDL key code a "KEY_" word's rest names: a single character gives its code (0-255), else
// the name table ("tab", "space", "delete", "return", "escape", "up", "down", "left", "right",
// "insert", "rshift", "ralt", "rctrl", "lshift", "lalt", "lctrl"). Throws MSDL::Error
// rest + ": unknown key" for anything else.
int keyCodeFromRest(const std::string& rest);

// What a joystick word's rest names: a button (one decimal digit) or a stick half.
struct JoystickPart {
    bool isAxis;  // a stick half
    int value;    // the button number, or the direction (UP, RIGHT, DOWN, LEFT)
};

// Throws MSDL::Error rest + ": unknown key" for anything but a digit, "UP", "RIGHT", "DOWN" and
// "LEFT" (so "10" and "x" are refused).
JoystickPart joystickPartFromRest(const std::string& rest);

// One source word as a button source. A joystick word asks JoystickMgr::current() for the
// joystick first (a JoystickMgr must exist) and gives null when it cannot be opened, whatever
// the rest; only then is the rest read. Throws MSDL::Error for an unreadable word:
// rest + ": unknown key", or "generateButtonInputFromString: unknown string format" for a
// prefix other than "KEY_", "JOY_", "JOY1_" and "JOY2_" (a word without "_" included).
std::unique_ptr<ButtonInput> generateButtonInputFromString(const std::string& word);

// The device a configuration file describes: one ButtonAxisInput built from the four direction
// keys, and the sources of the four button keys; skipped joystick words leave nothing. Never
// null. A file that cannot be opened or is not a regular file writes
// file + ": file not found in generateConfMap" on standard error and gives a device that never
// reports anything. MSDL::Error from a word leaves it (no device).
std::unique_ptr<Input> generateConfMap(const std::string& file);

}  // namespace MSDL
