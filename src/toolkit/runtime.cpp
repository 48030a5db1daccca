#include "toolkit/runtime.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <limits>

namespace tarvolin {

namespace {

// ---------------------------------------------------------------------------
// UTF-8 walking. A byte that does not start a valid sequence is a character
// of one byte.

constexpr char32_t NotAChar = 0xFFFFFFFF;

// Decodes the character at s[i]; gives its length in bytes through len.
char32_t decodeAt(std::string_view s, std::size_t i, std::size_t& len) {
    const auto c = static_cast<unsigned char>(s[i]);
    len = 1;
    if (c < 0x80) return c;
    std::size_t n;
    char32_t min;
    if ((c & 0xE0) == 0xC0) {
        n = 2;
        min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
        n = 3;
        min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
        n = 4;
        min = 0x10000;
    } else {
        return NotAChar;
    }
    if (i + n > s.size()) return NotAChar;
    char32_t cp = c & (0x7F >> n);
    for (std::size_t k = 1; k < n; ++k) {
        const auto d = static_cast<unsigned char>(s[i + k]);
        if ((d & 0xC0) != 0x80) return NotAChar;
        cp = (cp << 6) | (d & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return NotAChar;
    len = n;
    return cp;
}

std::size_t charLen(std::string_view s, std::size_t i) {
    if (static_cast<unsigned char>(s[i]) < 0x80) return 1;
    std::size_t len;
    decodeAt(s, i, len);
    return len;
}

// Byte offset reached after n characters from byte offset from (clamped to
// the end).
std::size_t advance(std::string_view s, std::size_t from, long long n) {
    std::size_t i = from;
    while (n > 0 && i < s.size()) {
        i += charLen(s, i);
        --n;
    }
    return i;
}

template <typename Map>
std::string mapChars(std::string_view s, Map map) {
    std::string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        std::size_t len;
        const char32_t cp = decodeAt(s, i, len);
        if (cp == NotAChar) {
            out += s[i];
        } else {
            appendUtf8(out, map(cp));
        }
        i += len;
    }
    return out;
}

// ---------------------------------------------------------------------------
// Integer helpers.

// n / d rounded to the nearest whole number, halves to even. d > 0.
__int128 divRoundHalfEven(__int128 n, __int128 d) {
    __int128 q = n / d;
    __int128 r = n % d;
    if (r != 0) {
        const __int128 twice = 2 * (r < 0 ? -r : r);
        if (twice > d || (twice == d && (q % 2) != 0)) q += (n < 0) ? -1 : 1;
    }
    return q;
}

std::int64_t toInt64OrThrow(__int128 v) {
    if (v < std::numeric_limits<std::int64_t>::min() || v > std::numeric_limits<std::int64_t>::max())
        throw RuntimeError::overflow();
    return static_cast<std::int64_t>(v);
}

// ---------------------------------------------------------------------------
// Number patterns of Format.

struct NumberPattern {
    int minInt = 0;    // integer digits always shown
    bool point = false;
    int minFrac = 0;   // fraction digits always shown
    int maxFrac = 0;   // fraction digits at most
};

std::optional<NumberPattern> parseNumberPattern(std::string_view pattern) {
    NumberPattern p;
    std::size_t i = 0;
    int intPlaces = 0;
    int firstZero = -1;
    while (i < pattern.size() && (pattern[i] == '#' || pattern[i] == '0')) {
        if (pattern[i] == '0' && firstZero < 0) firstZero = intPlaces;
        ++intPlaces;
        ++i;
    }
    if (firstZero >= 0) p.minInt = intPlaces - firstZero;
    if (i < pattern.size() && pattern[i] == '.') {
        p.point = true;
        ++i;
        while (i < pattern.size() && (pattern[i] == '#' || pattern[i] == '0')) {
            ++p.maxFrac;
            if (pattern[i] == '0') p.minFrac = p.maxFrac;
            ++i;
        }
    }
    if (i != pattern.size() || (intPlaces == 0 && p.maxFrac == 0)) return std::nullopt;
    return p;
}

// Formats the value digits x 10^-scale (digits: decimal digits, no sign).
std::string formatDigits(bool negative, std::string digits, int scale, const NumberPattern& p) {
    const int decimals = p.maxFrac;
    if (scale > decimals) {
        const std::size_t drop = static_cast<std::size_t>(scale - decimals);
        if (digits.size() < drop + 1) digits.insert(0, drop + 1 - digits.size(), '0');
        const bool up = digits[digits.size() - drop] >= '5';
        digits.erase(digits.size() - drop);
        if (up) {
            std::size_t k = digits.size();
            while (k > 0) {
                --k;
                if (digits[k] == '9') {
                    digits[k] = '0';
                } else {
                    ++digits[k];
                    break;
                }
                if (k == 0) digits.insert(0, 1, '1');
            }
        }
    } else if (scale < decimals) {
        digits.append(static_cast<std::size_t>(decimals - scale), '0');
    }
    if (digits.size() < static_cast<std::size_t>(decimals) + 1)
        digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');

    const bool zero = digits.find_first_not_of('0') == std::string::npos;
    std::string intPart = digits.substr(0, digits.size() - decimals);
    std::string frac = digits.substr(digits.size() - decimals);
    const auto firstNonZero = intPart.find_first_not_of('0');
    intPart = firstNonZero == std::string::npos ? std::string() : intPart.substr(firstNonZero);
    if (intPart.size() < static_cast<std::size_t>(p.minInt))
        intPart.insert(0, static_cast<std::size_t>(p.minInt) - intPart.size(), '0');
    while (frac.size() > static_cast<std::size_t>(p.minFrac) && frac.back() == '0') frac.pop_back();

    std::string out;
    if (negative && !zero) out += '-';
    out += intPart;
    if (p.point) {
        out += '.';
        out += frac;
    }
    return out;
}

NumberPattern patternOrThrow(std::string_view pattern) {
    auto p = parseNumberPattern(pattern);
    if (!p) throw RuntimeError::invalidCall();
    return *p;
}

std::string unsignedDigits(std::uint64_t v) {
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

std::uint64_t magnitude(std::int64_t v) {
    return v < 0 ? std::uint64_t(0) - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
}

// Str's sign place: "-" or a blank, then the digits.
std::string withSignPlace(bool negative, const std::string& digits) {
    std::string out;
    out.reserve(digits.size() + 1);
    out += negative ? '-' : ' ';
    out += digits;
    return out;
}

// ---------------------------------------------------------------------------
// Val and IsNumeric share one reader.

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Reads "&H..." or "&O..." at the start of t. Gives false when t has no
// such prefix; value is 0 when the number does not fit a Long.
bool readRadix(std::string_view t, double& value, std::size_t& end) {
    if (t.size() < 2 || t[0] != '&') return false;
    const char kind = t[1];
    int base;
    if (kind == 'H' || kind == 'h') {
        base = 16;
    } else if (kind == 'O' || kind == 'o') {
        base = 8;
    } else {
        return false;
    }
    std::size_t i = 2;
    std::uint64_t v = 0;
    bool tooBig = false;
    while (i < t.size()) {
        const char c = t[i];
        int d;
        if (isDigit(c)) {
            d = c - '0';
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            d = c - 'a' + 10;
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            d = c - 'A' + 10;
        } else {
            break;
        }
        if (d >= base) break;
        if (!tooBig) {
            v = v * base + d;
            if (v > 0xFFFFFFFFull) tooBig = true;
        }
        ++i;
    }
    end = i;
    if (i == 2 || tooBig) {
        value = 0;
        end = tooBig ? std::string_view::npos : i;
    } else if (v <= 0xFFFF) {
        value = static_cast<std::int16_t>(static_cast<std::uint16_t>(v));
    } else {
        value = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
    }
    return true;
}

// Reads a decimal number at the start of t: sign, digits, ".", digits,
// exponent. Gives the number of characters used (0: no number) and whether
// the value fits a Double.
std::size_t readDecimal(std::string_view t, double& value, bool& inRange) {
    std::size_t i = 0;
    std::string norm;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        if (t[i] == '-') norm += '-';
        ++i;
    }
    std::size_t mantissaDigits = 0;
    std::string mant;
    while (i < t.size() && isDigit(t[i])) {
        mant += t[i++];
        ++mantissaDigits;
    }
    if (i < t.size() && t[i] == '.') {
        ++i;
        std::string frac;
        while (i < t.size() && isDigit(t[i])) {
            frac += t[i++];
            ++mantissaDigits;
        }
        if (!frac.empty()) mant += "." + frac;
    }
    inRange = true;
    value = 0;
    if (mantissaDigits == 0) return 0;
    if (mant[0] == '.') mant.insert(0, 1, '0');
    norm += mant;
    if (i < t.size() && (t[i] == 'E' || t[i] == 'e' || t[i] == 'D' || t[i] == 'd')) {
        std::size_t j = i + 1;
        std::string exp = "e";
        if (j < t.size() && (t[j] == '+' || t[j] == '-')) {
            if (t[j] == '-') exp += '-';
            ++j;
        }
        const std::size_t digitsAt = j;
        while (j < t.size() && isDigit(t[j])) exp += t[j++];
        if (j > digitsAt) {
            norm += exp;
            i = j;
        }
    }
    double v = 0;
    const auto r = std::from_chars(norm.data(), norm.data() + norm.size(), v, std::chars_format::general);
    if (r.ec != std::errc() || !std::isfinite(v)) {
        inRange = false;
        v = 0;
    }
    value = v;
    return i;
}

}  // namespace

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// ---------------------------------------------------------------------------
// Currency

Currency Currency::fromInteger(std::int64_t whole) {
    std::int64_t raw;
    if (__builtin_mul_overflow(whole, Scale, &raw)) throw RuntimeError::overflow();
    return fromRaw(raw);
}

std::optional<Currency> Currency::tryFromDouble(double value) {
    const double scaled = std::nearbyint(value * static_cast<double>(Scale));
    // 2^63: the first value that no longer fits.
    constexpr double limit = 9223372036854775808.0;
    if (!(scaled >= -limit && scaled < limit)) return std::nullopt;
    return fromRaw(static_cast<std::int64_t>(scaled));
}

Currency Currency::fromDouble(double value) {
    auto c = tryFromDouble(value);
    if (!c) throw RuntimeError::overflow();
    return *c;
}

Currency Currency::operator-() const {
    if (raw_ == std::numeric_limits<std::int64_t>::min()) throw RuntimeError::overflow();
    return fromRaw(-raw_);
}

Currency& Currency::operator+=(Currency other) {
    if (__builtin_add_overflow(raw_, other.raw_, &raw_)) throw RuntimeError::overflow();
    return *this;
}

Currency& Currency::operator-=(Currency other) {
    if (__builtin_sub_overflow(raw_, other.raw_, &raw_)) throw RuntimeError::overflow();
    return *this;
}

Currency operator*(Currency a, Currency b) {
    const __int128 product = static_cast<__int128>(a.raw_) * b.raw_;
    return Currency::fromRaw(toInt64OrThrow(divRoundHalfEven(product, Currency::Scale)));
}

Currency operator*(Currency a, std::int64_t b) {
    return Currency::fromRaw(toInt64OrThrow(static_cast<__int128>(a.raw_) * b));
}

Currency operator/(Currency a, std::int64_t b) {
    if (b == 0) throw RuntimeError(11, "Division by zero");
    __int128 n = a.raw_;
    __int128 d = b;
    if (d < 0) {
        n = -n;
        d = -d;
    }
    return Currency::fromRaw(toInt64OrThrow(divRoundHalfEven(n, d)));
}

// ---------------------------------------------------------------------------
// Conversions

std::optional<std::int16_t> tryCInt(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    const double r = std::nearbyint(value);
    if (r < -32768.0 || r > 32767.0) return std::nullopt;
    return static_cast<std::int16_t>(r);
}

std::optional<std::int16_t> tryCInt(Currency value) {
    const __int128 r = divRoundHalfEven(value.raw(), Currency::Scale);
    if (r < -32768 || r > 32767) return std::nullopt;
    return static_cast<std::int16_t>(r);
}

std::optional<std::int32_t> tryCLng(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    const double r = std::nearbyint(value);
    if (r < -2147483648.0 || r > 2147483647.0) return std::nullopt;
    return static_cast<std::int32_t>(r);
}

std::optional<std::int32_t> tryCLng(Currency value) {
    const __int128 r = divRoundHalfEven(value.raw(), Currency::Scale);
    if (r < std::numeric_limits<std::int32_t>::min() || r > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(r);
}

namespace {
constexpr std::int32_t kLongestKnown = std::numeric_limits<std::int32_t>::max();
}

double KnownAmount(double value) {
    // Below the largest Long, so that rounding to a whole number still fits.
    return value >= 0 && value < kLongestKnown ? value : 0;
}

Currency KnownAmount(Currency value) {
    return value >= Currency{} && value < Currency::fromInteger(kLongestKnown) ? value : Currency{};
}

std::int16_t CInt(double value) {
    if (auto r = tryCInt(value)) return *r;
    throw RuntimeError::overflow();
}
std::int16_t CInt(Currency value) {
    if (auto r = tryCInt(value)) return *r;
    throw RuntimeError::overflow();
}
std::int32_t CLng(double value) {
    if (auto r = tryCLng(value)) return *r;
    throw RuntimeError::overflow();
}
std::int32_t CLng(Currency value) {
    if (auto r = tryCLng(value)) return *r;
    throw RuntimeError::overflow();
}

std::optional<std::int16_t> Int16Add(std::int16_t a, std::int16_t b) {
    const int r = int(a) + int(b);
    if (r < -32768 || r > 32767) return std::nullopt;
    return static_cast<std::int16_t>(r);
}

std::optional<std::int16_t> Int16Sub(std::int16_t a, std::int16_t b) {
    const int r = int(a) - int(b);
    if (r < -32768 || r > 32767) return std::nullopt;
    return static_cast<std::int16_t>(r);
}

// ---------------------------------------------------------------------------
// Format

std::string Format(double value, std::string_view pattern) {
    const NumberPattern p = patternOrThrow(pattern);
    if (!std::isfinite(value) || value == 0) return formatDigits(false, "0", 0, p);
    // 15 significant digits: d.dddddddddddddde±x
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 14);
    const std::string_view sci(buf, static_cast<std::size_t>(r.ptr - buf));
    const auto e = sci.find('e');
    std::string digits;
    for (std::size_t k = 0; k < e; ++k)
        if (sci[k] != '.') digits += sci[k];
    int exponent = 0;
    std::string_view expText = sci.substr(e + 1);
    if (!expText.empty() && expText[0] == '+') expText.remove_prefix(1);
    std::from_chars(expText.data(), expText.data() + expText.size(), exponent);
    int scale = 14 - exponent;
    if (scale < 0) {
        digits.append(static_cast<std::size_t>(-scale), '0');
        scale = 0;
    }
    return formatDigits(value < 0, digits, scale, p);
}

std::string runtime_detail::formatWhole(std::int64_t value, std::string_view pattern) {
    return formatDigits(value < 0, unsignedDigits(magnitude(value)), 0, patternOrThrow(pattern));
}

std::string Format(Currency value, std::string_view pattern) {
    return formatDigits(value.raw() < 0, unsignedDigits(magnitude(value.raw())), 4, patternOrThrow(pattern));
}

std::string Format(const DateTime& value, std::string_view pattern) {
    if (pattern == "hh:mm:ss") return TimeText(value);
    if (pattern == "mm-dd-yyyy") return DateText(value);
    throw RuntimeError::invalidCall();
}

// ---------------------------------------------------------------------------
// Str, Val, IsNumeric

std::string runtime_detail::strWhole(std::int64_t value) {
    return withSignPlace(value < 0, unsignedDigits(magnitude(value)));
}

std::string Str(double value) {
    if (value == 0 || !std::isfinite(value)) return " 0";
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::general, 15);
    std::string text(buf, r.ptr);
    for (char& c : text)
        if (c == 'e') c = 'E';
    if (text.size() > 1 && text[0] == '0' && text[1] == '.') text.erase(0, 1);
    return withSignPlace(value < 0, text);
}

std::string Str(Currency value) {
    const std::uint64_t m = magnitude(value.raw());
    const std::uint64_t whole = m / Currency::Scale;
    std::uint64_t frac = m % Currency::Scale;
    std::string text = whole == 0 && frac != 0 ? std::string() : unsignedDigits(whole);
    if (frac != 0) {
        std::string f = unsignedDigits(frac);
        f.insert(0, 4 - f.size(), '0');
        while (f.back() == '0') f.pop_back();
        text += "." + f;
    }
    return withSignPlace(value.raw() < 0, text);
}

double Val(std::string_view text) {
    std::string t;
    t.reserve(text.size());
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n') t += c;
    double value = 0;
    std::size_t end;
    if (readRadix(t, value, end)) return value;
    bool inRange;
    readDecimal(t, value, inRange);
    return inRange ? value : 0;
}

bool IsNumeric(std::string_view text) {
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
    const std::string_view t = text.substr(b, e - b);
    if (t.empty()) return false;
    double value;
    std::size_t end;
    if (readRadix(t, value, end)) return end == t.size() && end > 2;
    bool inRange;
    const std::size_t used = readDecimal(t, value, inRange);
    return used > 0 && used == t.size() && inRange;
}

// ---------------------------------------------------------------------------
// String functions

std::size_t Len(std::string_view s) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < s.size(); i += charLen(s, i)) ++n;
    return n;
}

std::string Mid(std::string_view s, long long start, long long len) {
    if (start < 1) start = 1;
    const std::size_t b = advance(s, 0, start - 1);
    if (len < 0) return std::string(s.substr(b));
    const std::size_t e = advance(s, b, len);
    return std::string(s.substr(b, e - b));
}

std::string Left(std::string_view s, long long len) {
    if (len <= 0) return {};
    return std::string(s.substr(0, advance(s, 0, len)));
}

std::string Right(std::string_view s, long long len) {
    if (len <= 0) return {};
    const auto n = static_cast<long long>(Len(s));
    if (len >= n) return std::string(s);
    return std::string(s.substr(advance(s, 0, n - len)));
}

long long InStr(std::string_view s, std::string_view find, Compare compare) {
    return InStr(1, s, find, compare);
}

long long InStr(long long start, std::string_view s, std::string_view find, Compare compare) {
    if (start < 1) start = 1;
    if (s.empty()) return 0;
    if (find.empty()) return start <= static_cast<long long>(Len(s)) + 1 ? start : 0;
    std::string hayCopy, needleCopy;
    std::string_view hay = s, needle = find;
    if (compare == Compare::Text) {
        hayCopy = UCase(s);
        needleCopy = UCase(find);
        hay = hayCopy;
        needle = needleCopy;
    }
    std::size_t i = advance(hay, 0, start - 1);
    long long index = start;
    if (i >= hay.size()) return 0;
    for (;;) {
        const std::size_t p = hay.find(needle, i);
        if (p == std::string_view::npos) return 0;
        while (i < p) {
            i += charLen(hay, i);
            ++index;
        }
        if (i == p) return index;
    }
}

long long InStrRev(std::string_view s, std::string_view find, long long start, Compare compare) {
    const auto n = static_cast<long long>(Len(s));
    if (start == -1) start = n;
    if (start < 1 || start > n) return 0;
    if (find.empty()) return start;
    std::string hayCopy, needleCopy;
    std::string_view hay = s, needle = find;
    if (compare == Compare::Text) {
        hayCopy = UCase(s);
        needleCopy = UCase(find);
        hay = hayCopy;
        needle = needleCopy;
    }
    hay = hay.substr(0, advance(hay, 0, start));
    // Each candidate is mapped back to its character position; one that
    // starts inside a character is no match.
    std::size_t p = hay.rfind(needle);
    while (p != std::string_view::npos) {
        long long index = 1;
        std::size_t i = 0;
        while (i < p) {
            i += charLen(hay, i);
            ++index;
        }
        if (i == p) return index;
        if (p == 0) break;
        p = hay.rfind(needle, p - 1);
    }
    return 0;
}

char32_t UpperChar(char32_t c) {
    if (c < 0x80) return (c >= 'a' && c <= 'z') ? c - 32 : c;
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;
    if (c == 0xFF) return 0x178;
    if (c >= 0x3B1 && c <= 0x3C9) return c == 0x3C2 ? 0x3A3 : c - 0x20;  // final sigma -> Σ
    switch (c) {
        case 0x3AC: return 0x386;  // ά
        case 0x3AD: return 0x388;  // έ
        case 0x3AE: return 0x389;  // ή
        case 0x3AF: return 0x38A;  // ί
        case 0x3CC: return 0x38C;  // ό
        case 0x3CD: return 0x38E;  // ύ
        case 0x3CE: return 0x38F;  // ώ
        case 0x3CA: return 0x3AA;  // ϊ
        case 0x3CB: return 0x3AB;  // ϋ
        default: return c;
    }
}

char32_t LowerChar(char32_t c) {
    if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
    if (c == 0x178) return 0xFF;
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 0x20;
    switch (c) {
        case 0x386: return 0x3AC;
        case 0x388: return 0x3AD;
        case 0x389: return 0x3AE;
        case 0x38A: return 0x3AF;
        case 0x38C: return 0x3CC;
        case 0x38E: return 0x3CD;
        case 0x38F: return 0x3CE;
        case 0x3AA: return 0x3CA;
        case 0x3AB: return 0x3CB;
        default: return c;
    }
}

std::string UCase(std::string_view s) { return mapChars(s, UpperChar); }
std::string LCase(std::string_view s) { return mapChars(s, LowerChar); }

std::string LTrim(std::string_view s) {
    const auto b = s.find_first_not_of(' ');
    return b == std::string_view::npos ? std::string() : std::string(s.substr(b));
}

std::string RTrim(std::string_view s) {
    const auto e = s.find_last_not_of(' ');
    return e == std::string_view::npos ? std::string() : std::string(s.substr(0, e + 1));
}

std::string Trim(std::string_view s) {
    const auto b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    const auto e = s.find_last_not_of(' ');
    return std::string(s.substr(b, e - b + 1));
}

std::string Space(long long n) {
    return n > 0 ? std::string(static_cast<std::size_t>(n), ' ') : std::string();
}

std::string String(long long n, std::string_view ch) {
    if (n <= 0 || ch.empty()) return {};
    const std::string_view one = ch.substr(0, charLen(ch, 0));
    std::string out;
    out.reserve(one.size() * static_cast<std::size_t>(n));
    for (long long k = 0; k < n; ++k) out += one;
    return out;
}

std::string PadRight(std::string_view s, long long width) {
    if (width <= 0) return {};
    const auto n = static_cast<long long>(Len(s));
    if (n >= width) return Left(s, width);
    return std::string(s) + Space(width - n);
}

std::string PadLeft(std::string_view s, long long width) {
    if (width <= 0) return {};
    const auto n = static_cast<long long>(Len(s));
    if (n >= width) return Left(s, width);
    return Space(width - n) + std::string(s);
}

std::string CutAtCharBoundary(std::string_view s, std::size_t maxBytes) {
    if (s.size() <= maxBytes) return std::string(s);
    std::size_t i = 0;
    while (i < s.size()) {
        const std::size_t next = i + charLen(s, i);
        if (next > maxBytes) break;
        i = next;
    }
    return std::string(s.substr(0, i));
}

// ---------------------------------------------------------------------------
// Rnd

float RandomGenerator::Rnd() {
    state_ = static_cast<std::uint32_t>((std::uint64_t(state_) * 1140671485u + 12820163u) & 0xFFFFFFu);
    return static_cast<float>(state_) / 16777216.0f;
}

// ---------------------------------------------------------------------------
// Date and time texts

std::string TimeText(const DateTime& t) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    return buf;
}

std::string DateText(const DateTime& t) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d-%02d-%04d", t.month, t.day, t.year);
    return buf;
}

std::optional<DateTime> ParseDateText(std::string_view text) {
    // Reads one field of minDigits..maxDigits digits ending at sep (or at the
    // end of the text when sep is 0).
    std::size_t i = 0;
    auto field = [&](std::size_t minDigits, std::size_t maxDigits, char sep, int& out) {
        const std::size_t b = i;
        int v = 0;
        while (i < text.size() && isDigit(text[i]) && i - b < maxDigits) v = v * 10 + (text[i++] - '0');
        if (i - b < minDigits) return false;
        if (sep != 0) {
            if (i >= text.size() || text[i] != sep) return false;
            ++i;
        } else if (i != text.size()) {
            return false;
        }
        out = v;
        return true;
    };
    int month, day, year;
    if (!field(1, 2, '-', month) || !field(1, 2, '-', day) || !field(4, 4, 0, year)) return std::nullopt;
    using namespace std::chrono;
    const year_month_day ymd{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                             std::chrono::day{static_cast<unsigned>(day)}};
    if (!ymd.ok()) return std::nullopt;
    DateTime dt;
    dt.year = year;
    dt.month = month;
    dt.day = day;
    dt.weekday = static_cast<int>(weekday{sys_days{ymd}}.c_encoding());
    return dt;
}

std::string LogLineText(const DateTime& time, std::string_view message) {
    std::string line = TimeText(time);
    line += message;
    line += "\r\n";
    return line;
}

// ---------------------------------------------------------------------------
// Reports of run-time errors

namespace {
// The program's one thread serves the events; a test thread has its own.
thread_local RuntimeErrorReport* newestReport = nullptr;
}  // namespace

RuntimeErrorReport::RuntimeErrorReport(Report report) : report_(std::move(report)), outer_(newestReport) {
    newestReport = this;
}

RuntimeErrorReport::~RuntimeErrorReport() {
    if (newestReport == this) {
        newestReport = outer_;
        return;
    }
    // One made later lives on: it keeps what lies beneath this one.
    for (RuntimeErrorReport* r = newestReport; r; r = r->outer_) {
        if (r->outer_ == this) {
            r->outer_ = outer_;
            return;
        }
    }
}

void RuntimeErrorReport::tell(const RuntimeError& error) {
    if (!newestReport) throw;
    newestReport->report_(error);
}

void RuntimeErrorReport::guard(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const RuntimeError& e) {
        tell(e);
    }
}

}  // namespace tarvolin
