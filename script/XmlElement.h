// One element of a document as the game's own reader saw it, with the line it starts on.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

struct XmlElement {
    std::string name;
    int line = 0;
    std::vector<std::pair<std::string, std::string>> attributes;
    std::vector<std::unique_ptr<XmlElement>> children;
    // Character data directly inside the element, text and CDATA sections joined.
    std::string text;
    // How many runs of text, CDATA sections and comments lie directly inside: a number
    // element must be one run, as the library only reads the first.
    int pieces = 0;
    bool hasCdata = false;

    // The attribute's value, or null when the element has none of that name.
    const std::string* attribute(const std::string& key) const {
        for (const auto& [k, v] : attributes)
            if (k == key) return &v;
        return nullptr;
    }
};
