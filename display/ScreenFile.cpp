// The optional "screen" file.
#include "display/ScreenFile.h"

#include "core/InputFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace {

// Far beyond any display, small enough for SDL's 16-bit rectangle sizes.
const long MAX_SIDE = 16384;
// One line of a text file; a longer "screen" is not one a player wrote.
const std::size_t MAX_BYTES = 256;
const char* const BLANKS = " \t\n\v\f\r";

// The next blank-delimited token from `at`, which moves past it; empty at the end.
std::string nextToken(const std::string& text, std::size_t& at) {
    const std::size_t start = text.find_first_not_of(BLANKS, at);
    if (start == std::string::npos) return "";
    at = std::min(text.find_first_of(BLANKS, start), text.size());
    return text.substr(start, at - start);
}

// The token as a window side when all of it is one, else 0: "400.5", "400px" and "400"
// followed by a NUL byte are not.
long sideOf(const std::string& token) {
    char* end = nullptr;
    errno = 0;
    const long side = std::strtol(token.c_str(), &end, 10);
    const bool whole = errno == 0 && end == token.c_str() + token.size();
    return whole && side > 0 && side <= MAX_SIDE ? side : 0;
}

bool isPrintable(const std::string& word) {
    return std::none_of(word.begin(), word.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x20 || u == 0x7f;
    });
}

}  // namespace

ScreenFile ScreenFile::read(InputFile& in) {
    in.require();
    const std::string text = in.readAll(MAX_BYTES);
    std::size_t at = 0;
    const long width = sideOf(nextToken(text, at));
    const long height = sideOf(nextToken(text, at));
    const std::string word = nextToken(text, at);
    // A file that does not say what size to stretch to is a mistake worth hearing about.
    if (width == 0 || height == 0 || !isPrintable(word)) {
        throw std::runtime_error(in.path() +
                                 ": expected a width and a height in pixels (two positive "
                                 "integers), then an optional word for full screen");
    }
    ScreenFile s;
    s.width = static_cast<int>(width);
    s.height = static_cast<int>(height);
    s.fullScreen = !word.empty();
    return s;
}
