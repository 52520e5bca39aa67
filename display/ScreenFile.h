// The optional "screen" file: the size of a stretched window and whether it is full screen.
#pragma once

#include <istream>
#include <string>

struct ScreenFile {
    int width = 0;
    int height = 0;
    bool fullScreen = false;

    // Reads "WIDTH HEIGHT [WORD]"; fails naming `name` unless it begins with two positive
    // integers of a size a window can have.
    static ScreenFile read(std::istream& in, const std::string& name);
};
