// A BulletML document: read once by expat into libbulletml's own node tree, then checked.
#pragma once

#include "script/BulletMLFormula.h"

#include <bulletmlparser.h>
#include <bulletmltree.h>

#include <cstddef>
#include <map>
#include <memory>
#include <string>

// libbulletml trusts its documents: its own TinyXML reader crashes or hangs on many bad files,
// and a tree with a missing child, an empty number or an element in the wrong place crashes
// or stalls its runner in the middle of a match. So the library never reads a file: the
// document reads it with expat and builds the library's tree through the parser's extension
// point (parse() with addContent and addAttribute), refusing on the way whatever the runner
// cannot play, and then BulletMLChecker checks the finished tree. Every number reaches the
// library as the text the checker evaluated: blanks and line breaks made single spaces once,
// here, because the library's formula reader stops at a line break.
class BulletMLDocument : public BulletMLParser {
public:
    static constexpr std::size_t kMaxFileSize = 1 << 20;
    // Deeper trees overflow the stack of the library's recursive walks.
    static constexpr int kMaxDepth = 64;

    // The one way documents enter the game: reads, builds and checks the file. Every failure
    // is a BulletMLError "PATH: line N: what is wrong" (or "PATH: what is wrong").
    static std::unique_ptr<BulletMLDocument> load(const std::string& path);
    ~BulletMLDocument() override;

    const std::string& path() const { return path_; }

    // What the checker needs to know of an element beyond the library's tree.
    struct Element {
        int line = 0;
        // Directly inside <bulletml>.
        bool atRoot = false;
        bool labelled = false;
        std::string label;
        // Number elements only: the formula the library was handed.
        std::unique_ptr<BulletMLFormula> formula;
    };

    const BulletMLNode& root() const { return *bulletml_; }
    const Element& element(const BulletMLNode& node) const { return elements_.at(&node); }
    // The element a bulletRef, actionRef or fireRef names, or null when no element has its
    // label.
    const BulletMLNode* target(const BulletMLNode& reference) const;
    // The element name, as written in a document.
    static const char* nameOf(BulletMLNode::Name name);

    [[noreturn]] void fail(const BulletMLNode& where, const std::string& what) const;
    [[noreturn]] void fail(int line, const std::string& what) const;

protected:
    // Builds the tree from the file's content; the library's build() calls it.
    void parse() override;

private:
    class Reader;

    BulletMLDocument(std::string path, std::string content);

    std::string path_;
    std::string content_;
    std::map<const BulletMLNode*, Element> elements_;
    // Labelled elements by label: bullets, actions, fires.
    std::map<std::string, const BulletMLNode*> labels_[3];
};
