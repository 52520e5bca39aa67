// The BulletML documents one action file names, and the order in which enemies play them.
#include "script/ActionList.h"

#include "core/InputFile.h"
#include "core/Random.h"
#include "script/BulletMLDocument.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

ActionList::ActionList(const std::string& path) {
    // A FIFO or a device is no action file: it is reported like a missing one.
    InputFile in(path);
    if (!in.isOpen()) throw std::runtime_error(path + "action File not Found!\n");
    std::string line;
    for (int number = 1;; ++number) {
        const InputFile::Line got = in.readLine(line, kMaxLineLength);
        if (got == InputFile::Line::End) break;
        if (got == InputFile::Line::TooLong)
            throw std::runtime_error(path + ":" + std::to_string(number) + ": line longer than " +
                                     std::to_string(kMaxLineLength) + " characters");
        readLine(line);
    }
    if (in.failed()) throw std::runtime_error(path + ": cannot be read");
}

void ActionList::readLine(const std::string& line) {
    std::istringstream words(line);
    std::string first;
    words >> first;
    first = first.substr(0, first.find('#'));
    if (first.empty()) return;
    if (first == "Zako") {
        zako_ = true;
    } else if (first == "Commands") {
        std::string mode;
        words >> mode;
        if (mode == "List")
            random_ = false;
        else if (mode == "Random")
            random_ = true;
        else
            throw std::runtime_error("Unknown \"Commands\" argument" + mode);
    } else {
        documents_.push_back(BulletMLDocument::load(first));
    }
}

BulletMLParser* ActionList::next() {
    if (documents_.empty()) return nullptr;
    if (random_) {
        // randomInt(n) is n for the top draw: that one plays the last document.
        const std::size_t i = static_cast<std::size_t>(randomInt(static_cast<int>(documents_.size())));
        return documents_[std::min(i, documents_.size() - 1)].get();
    }
    BulletMLParser* document = documents_[cursor_].get();
    cursor_ = (cursor_ + 1) % documents_.size();
    return document;
}
