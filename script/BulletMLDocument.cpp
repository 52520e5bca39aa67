// A BulletML document read through libbulletml's TinyXML parser after the game's own check.
#include "script/BulletMLDocument.h"

#include "script/BulletMLChecker.h"

#include <bulletmlerror.h>

BulletMLDocument::BulletMLDocument(std::string path)
    : BulletMLParserTinyXML(""), path_(std::move(path)) {
    setName(path_.c_str());
}

std::unique_ptr<BulletMLDocument> BulletMLDocument::load(const std::string& path) {
    BulletMLChecker(path).check();
    std::unique_ptr<BulletMLDocument> document(new BulletMLDocument(path));
    try {
        document->build();
    } catch (const BulletMLError& e) {
        // TinyXML's messages start with the path, the library's own ones do not.
        const std::string message = e.what();
        if (message.compare(0, path.size() + 1, path + ":") == 0) throw;
        throw BulletMLError(path + ": " + message);
    }
    return document;
}
