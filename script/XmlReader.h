// Reads the small part of XML that BulletML documents are written in, strictly.
#pragma once

#include "script/XmlElement.h"

#include <memory>
#include <string>

// Accepted: an optional XML declaration, comments, processing instructions and one DOCTYPE
// without internal subset before or after the root; inside elements only elements, text,
// comments and CDATA sections. Refused, because TinyXML inside libbulletml mishandles them
// or they are not XML at all: processing instructions and DOCTYPEs inside elements (the
// library aborts), entity and character references (numbers come out wrong), a byte order
// mark, NUL bytes, unquoted or repeated attributes, white space inside end tags, a second
// root, anything after the root, and nesting deeper than kMaxDepth.
class XmlReader {
public:
    static constexpr int kMaxDepth = 64;

    // name: how messages call the document (its path). Throws BulletMLError
    // "name: line N: what is wrong".
    XmlReader(std::string name, const std::string& content);

    // The root element; the reader can be asked once.
    std::unique_ptr<XmlElement> read();

private:
    std::unique_ptr<XmlElement> element(int depth);
    void content(XmlElement& parent, int depth);
    void attributes(XmlElement& element);
    void skipMisc(bool beforeRoot);
    // An XML declaration or processing instruction outside the root, checked to its "?>".
    void declaration();
    std::string name();
    void skipSpace();
    bool startsWith(const char* prefix) const;
    void expect(const char* token, const std::string& what);
    std::size_t find(const char* token) const;
    void advanceTo(std::size_t pos);
    [[noreturn]] void fail(const std::string& what) const;

    std::string name_;
    const std::string& text_;
    std::size_t pos_ = 0;
    int line_ = 1;
};
