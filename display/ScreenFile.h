// The optional "screen" file: the size of a stretched window and whether it is full screen.
#pragma once

class InputFile;

struct ScreenFile {
    int width = 0;
    int height = 0;
    bool fullScreen = false;

    // Reads "WIDTH HEIGHT [WORD]"; fails naming the file unless it is open, readable, at most
    // 256 bytes, and begins with two whole positive integers of a size a window can have,
    // followed by nothing or a word of printable characters (anything after that word is ignored).
    static ScreenFile read(InputFile& in);
};
