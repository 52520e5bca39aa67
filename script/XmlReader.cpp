// Reads the small part of XML that BulletML documents are written in, strictly.
#include "script/XmlReader.h"

#include <bulletmlerror.h>

#include <cstring>

namespace {

bool isNameStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':';
}

bool isNameChar(char c) {
    return isNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

}  // namespace

XmlReader::XmlReader(std::string name, const std::string& content)
    : name_(std::move(name)), text_(content) {}

std::unique_ptr<XmlElement> XmlReader::read() {
    if (text_.find('\0') != std::string::npos) {
        advanceTo(text_.find('\0'));
        fail("contains a NUL byte");
    }
    if (startsWith("\xEF\xBB\xBF")) fail("starts with a byte order mark, which the library cannot read");
    if (startsWith("<?xml")) declaration();
    skipMisc(true);
    if (pos_ == text_.size()) fail("has no root element");
    if (!startsWith("<")) fail("has text outside the root element");
    auto root = element(1);
    skipMisc(false);
    if (pos_ != text_.size()) {
        if (startsWith("<") && pos_ + 1 < text_.size() && isNameStart(text_[pos_ + 1]))
            fail("has a second root element");
        fail("has something after the root element");
    }
    return root;
}

void XmlReader::skipMisc(bool beforeRoot) {
    bool sawDoctype = false;
    for (;;) {
        skipSpace();
        if (startsWith("<!--")) {
            const std::size_t end = find("-->");
            if (end == std::string::npos) fail("has an unterminated comment");
            advanceTo(end + 3);
        } else if (startsWith("<?")) {
            if (startsWith("<?xml") && pos_ + 5 < text_.size() && !isNameChar(text_[pos_ + 5]))
                fail("has an XML declaration that is not at the start of the file");
            declaration();
        } else if (startsWith("<!DOCTYPE")) {
            if (!beforeRoot || sawDoctype) fail("has a DOCTYPE out of place");
            const std::size_t end = find(">");
            if (end == std::string::npos) fail("has an unterminated DOCTYPE");
            // TinyXML ends the declaration at the first '>', inside an internal subset too.
            if (text_.find('[', pos_) < end) fail("has a DOCTYPE with an internal subset");
            advanceTo(end + 1);
            sawDoctype = true;
        } else {
            return;
        }
    }
}

std::unique_ptr<XmlElement> XmlReader::element(int depth) {
    if (depth > kMaxDepth) fail("nests elements deeper than " + std::to_string(kMaxDepth) + " levels");
    auto element = std::make_unique<XmlElement>();
    element->line = line_;
    expect("<", "a tag");
    element->name = name();
    attributes(*element);
    if (startsWith("/>")) {
        pos_ += 2;
        return element;
    }
    expect(">", "the end of the <" + element->name + "> tag");
    content(*element, depth);
    // An end tag is read as TinyXML reads it: no white space before the '>'.
    const std::string endTag = "</" + element->name + ">";
    if (!startsWith(endTag.c_str())) {
        if (pos_ == text_.size()) fail("ends before </" + element->name + ">");
        fail("has a wrong end tag where " + endTag + " was expected (for line " +
             std::to_string(element->line) + ")");
    }
    pos_ += endTag.size();
    return element;
}

void XmlReader::content(XmlElement& parent, int depth) {
    for (;;) {
        if (pos_ == text_.size()) return;
        if (startsWith("</")) return;
        if (startsWith("<!--")) {
            const std::size_t end = find("-->");
            if (end == std::string::npos) fail("has an unterminated comment");
            advanceTo(end + 3);
            ++parent.pieces;
        } else if (startsWith("<![CDATA[")) {
            const std::size_t end = find("]]>");
            if (end == std::string::npos) fail("has an unterminated CDATA section");
            parent.text += text_.substr(pos_ + 9, end - pos_ - 9);
            parent.hasCdata = true;
            ++parent.pieces;
            advanceTo(end + 3);
        } else if (startsWith("<?")) {
            fail("has a processing instruction inside <" + parent.name + ">, which crashes the library");
        } else if (startsWith("<!")) {
            fail("has a declaration inside <" + parent.name + ">, which crashes the library");
        } else if (startsWith("<")) {
            parent.children.push_back(element(depth + 1));
        } else {
            const std::size_t end = std::min(text_.find('<', pos_), text_.size());
            const std::size_t amp = text_.find('&', pos_);
            if (amp < end) {
                advanceTo(amp);
                fail("uses an entity or character reference, which the library misreads");
            }
            parent.text += text_.substr(pos_, end - pos_);
            ++parent.pieces;
            advanceTo(end);
        }
    }
}

void XmlReader::attributes(XmlElement& element) {
    for (;;) {
        const std::size_t before = pos_;
        skipSpace();
        if (startsWith(">") || startsWith("/>") || pos_ == text_.size()) return;
        if (pos_ == before) fail("needs white space between attributes of <" + element.name + ">");
        const std::string key = name();
        skipSpace();
        expect("=", "'=' after attribute " + key);
        skipSpace();
        if (pos_ == text_.size() || (text_[pos_] != '"' && text_[pos_] != '\''))
            fail("has attribute " + key + " without quotes");
        const char quote = text_[pos_];
        const std::size_t end = text_.find(quote, pos_ + 1);
        if (end == std::string::npos) fail("has an unterminated value of attribute " + key);
        const std::string value = text_.substr(pos_ + 1, end - pos_ - 1);
        if (value.find('<') != std::string::npos) fail("has '<' in attribute " + key);
        if (value.find('&') != std::string::npos)
            fail("uses an entity or character reference in attribute " + key + ", which the library misreads");
        if (element.attribute(key)) fail("repeats attribute " + key + " of <" + element.name + ">");
        element.attributes.emplace_back(key, value);
        advanceTo(end + 1);
    }
}

void XmlReader::declaration() {
    // TinyXML reads every "<?...?>" outside the root as a declaration with attributes, and
    // crashes on an attribute without its "=" and quoted value: only well-formed ones pass.
    const std::size_t end = find("?>");
    if (end == std::string::npos) fail("has an unterminated XML declaration or processing instruction");
    pos_ += 2;
    name();
    for (;;) {
        const std::size_t before = pos_;
        skipSpace();
        if (startsWith("?>")) break;
        if (pos_ == before) fail("has a declaration whose attributes are not separated by space");
        name();
        skipSpace();
        // A bare word is read as an attribute without a value; a quote after a name is not.
        if (pos_ < text_.size() && (text_[pos_] == '"' || text_[pos_] == '\'')) {
            fail("has a declaration attribute without \"=\"");
        }
        if (!startsWith("=")) continue;
        ++pos_;
        skipSpace();
        if (pos_ == text_.size() || (text_[pos_] != '"' && text_[pos_] != '\'')) {
            fail("has a declaration attribute without a quoted value");
        }
        const std::size_t close = text_.find(text_[pos_], pos_ + 1);
        if (close == std::string::npos || close > end ||
            text_.find_first_of("<>", pos_) < close) {
            fail("has a declaration attribute whose value is not closed");
        }
        advanceTo(close + 1);
    }
    advanceTo(end + 2);
}

std::string XmlReader::name() {
    if (pos_ == text_.size() || !isNameStart(text_[pos_])) fail("has a tag or attribute without a proper name");
    const std::size_t start = pos_;
    while (pos_ < text_.size() && isNameChar(text_[pos_])) ++pos_;
    return text_.substr(start, pos_ - start);
}

void XmlReader::skipSpace() {
    while (pos_ < text_.size() && isSpace(text_[pos_])) {
        if (text_[pos_] == '\n') ++line_;
        ++pos_;
    }
}

bool XmlReader::startsWith(const char* prefix) const {
    return text_.compare(pos_, std::strlen(prefix), prefix) == 0;
}

void XmlReader::expect(const char* token, const std::string& what) {
    if (!startsWith(token)) fail(pos_ == text_.size() ? "ends where " + what + " was expected"
                                                     : "lacks " + what);
    pos_ += std::strlen(token);
}

std::size_t XmlReader::find(const char* token) const { return text_.find(token, pos_); }

void XmlReader::advanceTo(std::size_t pos) {
    for (; pos_ < pos && pos_ < text_.size(); ++pos_)
        if (text_[pos_] == '\n') ++line_;
}

void XmlReader::fail(const std::string& what) const {
    throw BulletMLError(name_ + ": line " + std::to_string(line_) + ": " + what);
}
