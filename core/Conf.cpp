// The run's configuration.
#include "core/Conf.h"

#include "core/InputFile.h"
#include "script/Definitions.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace {

// Not a std::runtime_error on purpose: main reports it as an unknown exception.
struct NoExtension {};

// The usage text: Japanese in EUC-JP bytes. The options it lists are not taken; each fails as
// an argument without a dot.
const char USAGE[] =
    " skelvo [OPTION] [CONFFILE]\n"
    "  \xa1\xa6\xb0\xca\xb2\xbc\xa4\xce\xa5\xaa\xa5\xd7\xa5\xb7\xa5\xe7\xa5\xf3\xa4\xf2\xc1\xaa\xc2\xf2\xa4\xb9\xa4\xeb\xa4\xc8\xa5\xcf\xa5\xa4\xa5\xb9\xa5\xb3\xa5\xa2\xa4\xcb\xbe\xe8\xa4\xea\xa4\xde\xa4\xbb\xa4\xf3\n"
    "\t-e NUM \t \xc5\xa8\xa4\xce\xbf\xf4\xa4\xf2\xbb\xd8\xc4\xea\xa4\xb7\xa4\xde\xa4\xb9\n"
    "\t-w     \t \xcc\xb5\xc5\xa8\xa5\xe2\xa1\xbc\xa5\xc9\xa4\xcb\xa4\xca\xa4\xea\xa4\xde\xa4\xb9\n"
    "\t-d NUM \t \xa4\xb3\xa4\xce\xc7\xdc\xce\xa8\xa4\xc7\xa5\xb9\xa5\xed\xa1\xbc\xa4\xac\xa4\xab\xa4\xab\xa4\xea\xa4\xde\xa4\xb9\n"
    "\t-l NUM \t 0\xa4\xab\xa4\xe9" "100\xa4\xde\xa4\xc7\xa4\xf2\xbb\xd8\xc4\xea\xa4\xb7\xa4\xc6\xa5\xec\xa5\xd9\xa5\xeb\xa4\xf2\xc0\xdf\xc4\xea\xa4\xc7\xa4\xad\xa4\xde\xa4\xb9\n"
    "\t-c     \t \xa5\xb3\xa5\xf3\xa5\xd4\xa5\xe5\xa1\xbc\xa5\xbf\xa4\xce\xa5\xd7\xa5\xec\xa5\xa4\xa4\xf2\xc4\xaf\xa4\xe1\xa4\xde\xa4\xb9\n"
    "  \xa1\xa6\xb0\xca\xb2\xbc\xa4\xce\xa5\xaa\xa5\xd7\xa5\xb7\xa5\xe7\xa5\xf3\xa4\xcf\xc1\xaa\xc2\xf2\xa4\xb7\xa4\xc6\xa4\xe2\xa5\xcf\xa5\xa4\xa5\xb9\xa5\xb3\xa5\xa2\xa4\xcb\xbe\xe8\xa4\xea\xa4\xde\xa4\xb9\n"
    "\t-n NAME\t \xcc\xbe\xc1\xb0\xa4\xf2\xbb\xd8\xc4\xea\xa4\xb7\xa4\xde\xa4\xb9\n"
    "\t-s FILE\t \xb5\xad\xcf\xbf\xa5\xd5\xa5\xa1\xa5\xa4\xa5\xeb\xa4\xf2\xbb\xd8\xc4\xea\xa4\xb7\xa4\xde\xa4\xb9\n"
    "\t-v NUM \t \xa4\xa4\xa4\xed\xa4\xf3\xa4\xca\xbe\xf0\xca\xf3\xa4\xf2NUM\xa5\xbf\xa1\xbc\xa5\xf3\xcb\xe8\xa4\xcb\xc9\xbd\xbc\xa8\xa4\xb7\xa4\xde\xa4\xb9\n"
    "\t-f     \t \xa5\xb7\xa5\xf3\xa5\xd7\xa5\xeb\xa4\xca\xa5\xe2\xa1\xbc\xa5\xc9\xa4\xc7\xb5\xaf\xc6\xb0\xa4\xb7\xa4\xde\xa4\xb9\n"
    "\t-p     \t \xa5\xd7\xa5\xed\xa5\xd5\xa5\xa1\xa5\xa4\xa5\xea\xa5\xf3\xa5\xb0\xa4\xf2\xa4\xb7\xa4\xde\xa4\xb9\n"
    "\t-h     \t \xa4\xb3\xa4\xce\xa4\xd8\xa5\xeb\xa5\xd7\xa4\xf2\xc9\xbd\xbc\xa8\xa4\xb7\xa4\xde\xa4\xb9\n";

const char* const NAME_FILE = "name.cache";
const char* const DEFAULT_NAME = "KLV";
const std::size_t MAX_NAME = 255;
const char* const BLANKS = " \t\n\v\f\r";

// The first word of the name file's first 255 characters; only those are read, so a word that
// runs past them (or a file that is missing, unreadable or blank there) gives the default.
std::string readName() {
    InputFile names(NAME_FILE);
    const std::string head = names.readSome(MAX_NAME + 1);
    const std::size_t start = head.find_first_not_of(BLANKS);
    if (start == std::string::npos) return DEFAULT_NAME;
    const std::size_t end = std::min(head.find_first_of(BLANKS, start), head.size());
    return end > MAX_NAME ? DEFAULT_NAME : head.substr(start, end - start);
}

}  // namespace

const char* Conf::usage() { return USAGE; }

Conf::Conf(int argc, char** argv) {
    const std::string arg = argc > 1 && argv[1] ? argv[1] : "";
    if (!arg.empty()) {
        if (arg == "--help") {
            std::fputs(USAGE, stderr);
            std::exit(1);
        }
        if (arg == "--version") {
            std::fputs("skelvo version ?\n", stdout);
            std::exit(0);
        }
        const std::size_t dot = arg.rfind('.');
        if (dot == std::string::npos) throw NoExtension();
        const std::string ext = arg.substr(dot);
        if (ext == ".conf") {
            // Missing, or not a file at all: read as empty.
            InputFile in(arg);
            readDefinitions(*this, in);
            confKind = DEFINITIONS;
        } else if (ext == ".act") {
            confKind = ACTIONS;
        } else if (ext == ".xml") {
            confKind = BULLETML;
        } else {
            throw std::runtime_error(arg + ": can't understand.");
        }
    }
    playerName = readName();
}
