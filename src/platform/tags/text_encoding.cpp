#include "platform/tags/text_encoding.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "toolkit/runtime.h"

namespace tarvolin::text {

namespace {

// One conversion descriptor per direction and thread, opened on first use.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as it can; at a sequence it cannot convert it calls
    // onBad(in, left, out) which consumes input and appends a replacement.
    template <typename OnBad>
    std::string run(std::string_view input, OnBad onBad) {
        std::string out;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* in = const_cast<char*>(input.data());
        size_t inLeft = input.size();
        char buf[1024];
        while (inLeft > 0) {
            char* o = buf;
            size_t oLeft = sizeof buf;
            size_t r = iconv(cd_, &in, &inLeft, &o, &oLeft);
            out.append(buf, static_cast<size_t>(o - buf));
            if (r == static_cast<size_t>(-1)) {
                if (errno == E2BIG) continue;
                // EILSEQ or EINVAL: a sequence this code page cannot take.
                onBad(in, inLeft, out);
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
            }
        }
        return out;
    }

private:
    iconv_t cd_;
};

size_t utf8SequenceLength(unsigned char c) {
    if (c < 0x80) return 1;
    if ((c >> 5) == 6) return 2;
    if ((c >> 4) == 14) return 3;
    if ((c >> 3) == 30) return 4;
    return 1;
}

}  // namespace

bool isValidUtf8(std::string_view s) {
    size_t i = 0;
    const size_t n = s.size();
    while (i < n) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        size_t len;
        unsigned cp;
        if (c >= 0xC2 && c <= 0xDF) {
            len = 2;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + len > n) return false;
        for (size_t k = 1; k < len; ++k) {
            unsigned char d = static_cast<unsigned char>(s[i + k]);
            if ((d & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += len;
    }
    return true;
}

std::string windows1253ToUtf8(std::string_view bytes) {
    bool ascii = true;
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii) return std::string(bytes);
    thread_local Converter conv("UTF-8", "CP1253");
    auto latin1 = [](char*& in, size_t& left, std::string& out) {
        appendUtf8(out, static_cast<unsigned char>(*in));
        ++in;
        --left;
    };
    if (!conv.ok()) {
        std::string out;
        char* in = const_cast<char*>(bytes.data());
        size_t left = bytes.size();
        while (left > 0) latin1(in, left, out);
        return out;
    }
    return conv.run(bytes, latin1);
}

std::string utf8ToWindows1253(std::string_view utf8) {
    thread_local Converter conv("CP1253", "UTF-8");
    // A character the code page lacks: one below U+0100 keeps its ISO-8859-1
    // byte (the reverse of the reading rule above), anything else is "?".
    auto question = [](char*& in, size_t& left, std::string& out) {
        unsigned char c = static_cast<unsigned char>(*in);
        size_t len = std::min(utf8SequenceLength(c), left);
        if (len == 2 && c >= 0xC2 && c <= 0xC3)
            out.push_back(static_cast<char>(((c & 0x1F) << 6) | (static_cast<unsigned char>(in[1]) & 0x3F)));
        else
            out.push_back('?');
        in += len;
        left -= len;
    };
    if (!conv.ok()) {
        std::string out;
        for (char c : utf8)
            out.push_back(static_cast<unsigned char>(c) < 0x80 ? c : '?');
        return out;
    }
    return conv.run(utf8, question);
}

std::string decodeLegacyText(std::string_view bytes) {
    if (isValidUtf8(bytes)) return std::string(bytes);
    return windows1253ToUtf8(bytes);
}

}  // namespace tarvolin::text

namespace tarvolin::text {

namespace {

unsigned foldCodePoint(unsigned cp) {
    if (cp < 0x80) return (cp >= 'A' && cp <= 'Z') ? cp + 32 : cp;
    if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) return cp + 32;
    if (cp >= 0x0391 && cp <= 0x03A9 && cp != 0x03A2) return cp + 32;
    switch (cp) {
        case 0x0386: return 0x03AC;
        case 0x0388: return 0x03AD;
        case 0x0389: return 0x03AE;
        case 0x038A: return 0x03AF;
        case 0x038C: return 0x03CC;
        case 0x038E: return 0x03CD;
        case 0x038F: return 0x03CE;
        case 0x03AA: return 0x03CA;
        case 0x03AB: return 0x03CB;
        case 0x03C2: return 0x03C3;
        default: break;
    }
    if (cp >= 0x0410 && cp <= 0x042F) return cp + 32;
    if (cp >= 0x0400 && cp <= 0x040F) return cp + 80;
    return cp;
}

}  // namespace

std::string foldCase(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(foldCodePoint(c)));
            ++i;
            continue;
        }
        if ((c >> 5) == 6 && i + 1 < s.size() && (static_cast<unsigned char>(s[i + 1]) & 0xC0) == 0x80) {
            unsigned cp = ((c & 0x1F) << 6) | (static_cast<unsigned char>(s[i + 1]) & 0x3F);
            appendUtf8(out, foldCodePoint(cp));
            i += 2;
            continue;
        }
        out.push_back(static_cast<char>(c));
        ++i;
    }
    return out;
}

}  // namespace tarvolin::text
