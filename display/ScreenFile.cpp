// The optional "screen" file.
#include "display/ScreenFile.h"

#include <stdexcept>

namespace {

// Far beyond any display, small enough for SDL's 16-bit rectangle sizes.
const long MAX_SIDE = 16384;

}  // namespace

ScreenFile ScreenFile::read(std::istream& in, const std::string& name) {
    long width = 0;
    long height = 0;
    // A file that does not say what size to stretch to is a mistake worth hearing about.
    if (!(in >> width >> height) || width <= 0 || height <= 0 || width > MAX_SIDE ||
        height > MAX_SIDE) {
        throw std::runtime_error(name +
                                 ": expected a width and a height in pixels (two positive "
                                 "integers), then an optional word for full screen");
    }
    std::string word;
    in >> word;
    ScreenFile s;
    s.width = static_cast<int>(width);
    s.height = static_cast<int>(height);
    s.fullScreen = !word.empty();
    return s;
}
