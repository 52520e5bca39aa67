// A BulletML document read through libbulletml's TinyXML parser after the game's own check.
#pragma once

#include <bulletmlparser.h>
#include <bulletmlparser-tinyxml.h>

#include <memory>
#include <string>

// The library's parser keeps a pointer to the file name it was given and reads it again in
// build(), and getName() hands it out afterwards; the document owns that name.
class BulletMLDocument : public BulletMLParserTinyXML {
public:
    // The one way documents enter the game: checks the file (BulletMLChecker), then parses
    // and builds it. Every failure is a BulletMLError whose message starts with the path.
    static std::unique_ptr<BulletMLDocument> load(const std::string& path);

    const std::string& path() const { return path_; }

private:
    explicit BulletMLDocument(std::string path);

    std::string path_;
};
