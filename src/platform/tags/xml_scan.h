#pragma once
// A tolerant scanner for the XML-like playlist files (.wpl, .asx, .wvx,
// .wax): it walks the tags of a text and hands each one over with its
// attributes. It does not require the file to be well-formed: names are
// matched without regard to case, attribute values may be unquoted, and a
// bare "&" stays as it is.
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarvolin::xml {

struct Tag {
    std::string name;  // in lower case, without "/"
    bool closing = false;      // </name>
    bool selfClosing = false;  // <name ... />
    std::vector<std::pair<std::string, std::string>> attributes;  // names as written, values decoded

    // The value of the attribute name, matched without regard to case, or nullptr.
    const std::string* attribute(std::string_view name) const;
};

// Calls onTag for every tag of text in order. Comments, processing
// instructions and declarations are skipped.
void scanTags(std::string_view text, const std::function<void(const Tag&)>& onTag);

// Decodes &amp; &lt; &gt; &quot; &apos; and numeric references; anything
// else after "&" is kept as written.
std::string decodeEntities(std::string_view s);

// Escapes text for an attribute value in double quotes.
std::string escapeAttribute(std::string_view s);

// The text of a playlist file as UTF-8: a byte order mark (UTF-8 or
// UTF-16) is honoured; without one, UTF-8 when valid, else Windows-1253.
std::string fileText(const std::string& bytes);

}  // namespace tarvolin::xml
