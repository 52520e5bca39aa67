// The definitions file reader.
#include "script/Definitions.h"

#include "core/Conf.h"
#include "core/InputFile.h"

#include <sstream>
#include <stdexcept>

namespace {

const std::size_t MAX_LINE = 255;

}  // namespace

void readDefinitions(Conf& conf, InputFile& in) {
    conf.firstGlobal = 0;
    std::string line;
    for (int number = 1;; ++number) {
        const InputFile::Line got = in.readLine(line, MAX_LINE);
        if (got == InputFile::Line::End) return;
        if (got == InputFile::Line::TooLong) {
            // A line this long is not a definition; reading on would take its tail for one.
            throw std::runtime_error(in.path() + ": line " + std::to_string(number) +
                                     " is longer than 255 characters");
        }
        std::istringstream words(line);
        std::string first;
        words >> first;
        if (first == "Enemy" || first == "Global") {
            int id = 0;
            std::string word;
            words >> id >> word;
            auto& table = first == "Enemy" ? conf.enemyDefinitions : conf.globalDefinitions;
            if (!table.emplace(id, word).second) throw std::runtime_error(first + ": same IDs!\n");
        } else if (first == "FirstGlobal") {
            words >> conf.firstGlobal;
        }
    }
}
