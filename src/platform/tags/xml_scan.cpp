#include "platform/tags/xml_scan.h"

#include <cctype>
#include <cstdlib>

#include "platform/tags/text_encoding.h"
#include "toolkit/runtime.h"

namespace tarvolin::xml {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// A character reference or UTF-16 unit that names no character becomes
// the replacement character.
void appendChecked(std::string& out, unsigned long cp) {
    if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
    appendUtf8(out, static_cast<char32_t>(cp));
}

std::string utf16ToUtf8(const std::string& bytes, bool bigEndian) {
    std::string out;
    size_t i = 2;  // after the byte order mark
    auto unit = [&](size_t k) {
        unsigned char a = static_cast<unsigned char>(bytes[k]), b = static_cast<unsigned char>(bytes[k + 1]);
        return bigEndian ? (a << 8 | b) : (b << 8 | a);
    };
    while (i + 1 < bytes.size()) {
        unsigned long cp = unit(i);
        i += 2;
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < bytes.size()) {
            unsigned long lo = unit(i);
            if (lo >= 0xDC00 && lo <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (lo - 0xDC00);
                i += 2;
            }
        }
        appendChecked(out, cp);
    }
    return out;
}

}  // namespace

const std::string* Tag::attribute(std::string_view n) const {
    for (const auto& a : attributes) {
        if (a.first.size() != n.size()) continue;
        bool same = true;
        for (size_t i = 0; i < n.size() && same; ++i)
            same = std::tolower(static_cast<unsigned char>(a.first[i])) == std::tolower(static_cast<unsigned char>(n[i]));
        if (same) return &a.second;
    }
    return nullptr;
}

std::string decodeEntities(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        if (s[i] != '&') {
            out.push_back(s[i++]);
            continue;
        }
        size_t semi = s.find(';', i + 1);
        if (semi == std::string_view::npos || semi - i > 12) {
            out.push_back(s[i++]);
            continue;
        }
        std::string_view ent = s.substr(i + 1, semi - i - 1);
        bool done = true;
        if (ent == "amp") out.push_back('&');
        else if (ent == "lt") out.push_back('<');
        else if (ent == "gt") out.push_back('>');
        else if (ent == "quot") out.push_back('"');
        else if (ent == "apos") out.push_back('\'');
        else if (ent.size() > 1 && ent[0] == '#') {
            std::string num(ent.substr(1));
            int base = 10;
            if (!num.empty() && (num[0] == 'x' || num[0] == 'X')) {
                base = 16;
                num.erase(0, 1);
            }
            char* end = nullptr;
            unsigned long cp = num.empty() ? 0 : std::strtoul(num.c_str(), &end, base);
            if (num.empty() || !end || *end != '\0')
                done = false;
            else
                appendChecked(out, cp);
        } else {
            done = false;
        }
        if (done)
            i = semi + 1;
        else
            out.push_back(s[i++]);
    }
    return out;
}

std::string escapeAttribute(std::string_view s) {
    std::string out;
    out.reserve(s.size() + 8);
    for (char c : s) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            case '\n': out += "&#10;"; break;
            case '\r': out += "&#13;"; break;
            case '\t': out += "&#9;"; break;
            default: out.push_back(c);
        }
    }
    return out;
}

void scanTags(std::string_view text, const std::function<void(const Tag&)>& onTag) {
    size_t i = 0;
    const size_t n = text.size();
    while (i < n) {
        size_t lt = text.find('<', i);
        if (lt == std::string_view::npos) break;
        if (text.substr(lt, 4) == "<!--") {
            size_t end = text.find("-->", lt + 4);
            i = end == std::string_view::npos ? n : end + 3;
            continue;
        }
        if (lt + 1 < n && (text[lt + 1] == '?' || text[lt + 1] == '!')) {
            size_t end = text.find('>', lt + 1);
            i = end == std::string_view::npos ? n : end + 1;
            continue;
        }
        size_t p = lt + 1;
        Tag tag;
        if (p < n && text[p] == '/') {
            tag.closing = true;
            ++p;
        }
        size_t nameStart = p;
        while (p < n && !isSpace(text[p]) && text[p] != '>' && text[p] != '/' && text[p] != '<') ++p;
        if (p == nameStart) {  // a lone "<" in text
            i = lt + 1;
            continue;
        }
        tag.name = lower(text.substr(nameStart, p - nameStart));
        // Attributes up to ">" (values in quotes may hold ">").
        while (p < n && text[p] != '>') {
            if (isSpace(text[p])) {
                ++p;
                continue;
            }
            if (text[p] == '/') {
                tag.selfClosing = true;
                ++p;
                continue;
            }
            if (text[p] == '<') break;  // an unclosed tag: the next one starts here
            tag.selfClosing = false;
            size_t an = p;
            while (p < n && !isSpace(text[p]) && text[p] != '=' && text[p] != '>' && text[p] != '<' &&
                   !(text[p] == '/' && p + 1 < n && text[p + 1] == '>'))
                ++p;
            std::string attrName(text.substr(an, p - an));
            while (p < n && isSpace(text[p])) ++p;
            std::string value;
            if (p < n && text[p] == '=') {
                ++p;
                while (p < n && isSpace(text[p])) ++p;
                if (p < n && (text[p] == '"' || text[p] == '\'')) {
                    char q = text[p++];
                    size_t vs = p;
                    size_t ve = text.find(q, p);
                    if (ve == std::string_view::npos) ve = n;
                    value = decodeEntities(text.substr(vs, ve - vs));
                    p = ve < n ? ve + 1 : n;
                } else {
                    size_t vs = p;
                    while (p < n && !isSpace(text[p]) && text[p] != '>' && text[p] != '<') ++p;
                    value = decodeEntities(text.substr(vs, p - vs));
                }
            }
            if (!attrName.empty()) tag.attributes.emplace_back(std::move(attrName), std::move(value));
        }
        i = (p < n && text[p] == '>') ? p + 1 : p;
        onTag(tag);
    }
}

std::string fileText(const std::string& bytes) {
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) return bytes.substr(3);
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE)
        return utf16ToUtf8(bytes, false);
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFE && static_cast<unsigned char>(bytes[1]) == 0xFF)
        return utf16ToUtf8(bytes, true);
    return text::decodeLegacyText(bytes);
}

}  // namespace tarvolin::xml
