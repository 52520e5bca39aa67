// The BulletML documents one action file names, and the order in which enemies play them.
#pragma once

#include <bulletmlparser.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

// An action file is read line by line (at most kMaxLineLength characters). Only the first
// word of a line counts, cut at its first "#": nothing left is a comment, "Zako" makes the
// enemies of the list dye the field, "Commands List" or "Commands Random" picks the order,
// and any other word is the path of a document, loaded at once.
class ActionList {
public:
    static constexpr std::size_t kMaxLineLength = 255;

    // Throws std::runtime_error: path + "action File not Found!\n" when the file cannot be
    // opened or is not a regular file, 'Unknown "Commands" argument' + word, "path:N: ..." for
    // an overlong line, "path: cannot be read" when a read fails; and the BulletMLError of the
    // first document that fails to load.
    explicit ActionList(const std::string& path);
    ActionList(const ActionList&) = delete;
    ActionList& operator=(const ActionList&) = delete;

    bool isZako() const { return zako_; }
    bool isRandom() const { return random_; }
    std::size_t size() const { return documents_.size(); }
    // The i-th document in file order; not owned.
    BulletMLParser* document(std::size_t i) const { return documents_.at(i).get(); }

    // Back to the first document; every enemy made with the list does this.
    void rewind() { cursor_ = 0; }

    // The document to play next (not owned), or null when the list names none. In
    // "List" order the cursor is shared by every enemy of the list and wraps around.
    BulletMLParser* next();

private:
    void readLine(const std::string& line);

    std::vector<std::unique_ptr<BulletMLParser>> documents_;
    bool zako_ = false;
    bool random_ = true;
    std::size_t cursor_ = 0;
};
