#pragma once
// The language runtime the program is written against: the Currency type,
// conversions that round half to even, the number formats the program shows,
// Str / Val / IsNumeric, string functions that count characters, the classic
// unseeded random generator, and the date and time texts.
//
// Text is UTF-8 throughout. Every position and length below counts
// characters (code points), never bytes; a byte that is not part of a valid
// UTF-8 sequence counts as one character of its own and is kept as it is.
#include <compare>
#include <concepts>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "toolkit/message_loop.h"
#include "toolkit/runtime_error.h"

namespace tarvolin {

// ---------------------------------------------------------------------------
// Currency: a 64-bit signed fixed-point number with four decimals, stored as
// value x 10000. Arithmetic that leaves the range throws RuntimeError(6).
class Currency {
public:
    static constexpr std::int64_t Scale = 10000;

    constexpr Currency() = default;

    // From the stored form (value x 10000).
    static constexpr Currency fromRaw(std::int64_t raw) {
        Currency c;
        c.raw_ = raw;
        return c;
    }
    // A whole number. Throws RuntimeError(6) beyond the range.
    static Currency fromInteger(std::int64_t whole);
    // Rounded to four decimals, halves to the even neighbour. Throws
    // RuntimeError(6) beyond the range (NaN and infinities included).
    static Currency fromDouble(double value);
    // As fromDouble, without the exception.
    static std::optional<Currency> tryFromDouble(double value);

    constexpr std::int64_t raw() const { return raw_; }
    double toDouble() const { return static_cast<double>(raw_) / Scale; }

    friend constexpr bool operator==(Currency, Currency) = default;
    friend constexpr auto operator<=>(Currency, Currency) = default;

    Currency operator-() const;
    Currency& operator+=(Currency other);
    Currency& operator-=(Currency other);
    friend Currency operator+(Currency a, Currency b) { return a += b; }
    friend Currency operator-(Currency a, Currency b) { return a -= b; }
    // Products and quotients are rounded to four decimals, halves to even.
    friend Currency operator*(Currency a, Currency b);
    friend Currency operator*(Currency a, std::int64_t b);
    friend Currency operator*(std::int64_t a, Currency b) { return b * a; }
    // Throws RuntimeError(11, "Division by zero") for b == 0.
    friend Currency operator/(Currency a, std::int64_t b);

private:
    std::int64_t raw_ = 0;
};

// ---------------------------------------------------------------------------
// Conversions to Integer (16-bit) and Long (32-bit): rounded to the nearest
// whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4,
// -2.5 -> -2). A result outside the type's range is an overflow: CInt/CLng
// throw RuntimeError(6); tryCInt/tryCLng give std::nullopt.
std::int16_t CInt(double value);
std::int16_t CInt(Currency value);
std::int32_t CLng(double value);
std::int32_t CLng(Currency value);
std::optional<std::int16_t> tryCInt(double value);
std::optional<std::int16_t> tryCInt(Currency value);
std::optional<std::int32_t> tryCLng(double value);
std::optional<std::int32_t> tryCLng(Currency value);

// A duration or position in seconds, or a size in megabytes, as a file or
// an engine gives it, is known only within what the program's Long fields
// hold: from 0 to just below 2,147,483,647, so that CLng of it and of its
// parts holds.
// Anything else (negative, larger, not a number) is unknown and gives 0.
double KnownAmount(double value);
Currency KnownAmount(Currency value);

// 16-bit signed Integer arithmetic where overflow matters: the exact result,
// or std::nullopt when it lies outside -32768 to 32767.
std::optional<std::int16_t> Int16Add(std::int16_t a, std::int16_t b);
std::optional<std::int16_t> Int16Sub(std::int16_t a, std::int16_t b);

// ---------------------------------------------------------------------------
// Format(value, pattern) for number patterns built of digit placeholders:
// an integer part of "#" and "0", optionally "." and a fraction part of "0"
// and "#" ("#00000", "00000", "0#", "#0", "00", "000", "000000", "00.00",
// "#00.00", "#0.00", "000.00", "0000.00", "00.0").
//  - Integer digits: at least as many as there are placeholders from the
//    first "0" to the decimal point ("0#" and "00" give two, "#00.00" two,
//    "#0" one); a longer number keeps all its digits (1023.99 with "#00.00"
//    gives "1023.99").
//  - Fraction digits: as many as the fraction has placeholders; trailing "#"
//    places drop their zeros.
//  - Rounding at the last place shown is half away from zero, done on the
//    decimal digits of the value: a Double is first taken to 15 significant
//    decimal digits, as the original runtime shows doubles, so 1.005 with
//    "0.00" gives "1.01" and 2.5 with "0" gives "3". Currency and whole
//    numbers are exact.
//  - A negative value has a leading "-", unless it shows as zero.
//  - A Double that is not finite (a NaN or an infinity) shows as 0.
// Any other pattern throws RuntimeError(5): the program uses no other.
namespace runtime_detail {
std::string formatWhole(std::int64_t value, std::string_view pattern);
std::string strWhole(std::int64_t value);
}  // namespace runtime_detail

std::string Format(double value, std::string_view pattern);
std::string Format(Currency value, std::string_view pattern);
// Integer, Long and every other whole-number type.
template <std::integral T>
    requires(!std::same_as<T, bool>)
std::string Format(T value, std::string_view pattern) {
    return runtime_detail::formatWhole(static_cast<std::int64_t>(value), pattern);
}
// Date and time patterns "hh:mm:ss" (24-hour) and "mm-dd-yyyy"; any other
// pattern throws RuntimeError(5).
std::string Format(const DateTime& value, std::string_view pattern);

// ---------------------------------------------------------------------------
// Str: the number's decimal text with a leading blank for a value of 0 or
// more, or "-" for a negative one (Str(5) = " 5", Str(-5) = "-5"). Doubles
// show up to 15 significant digits without trailing zeros; as in the
// original, a fraction below 1 has no leading zero (" .5", "-.25") and very
// large or small values use the exponent form (" 1E+15", " 1E-05").
std::string Str(double value);
std::string Str(Currency value);
template <std::integral T>
    requires(!std::same_as<T, bool>)
std::string Str(T value) {
    return runtime_detail::strWhole(static_cast<std::int64_t>(value));
}

// Val: the number at the start of the text. Blanks, tabs and line feeds are
// ignored wherever they stand ("1 2" gives 12); reading stops at the first
// character that cannot continue a number ("12abc" gives 12, "1,5" gives 1).
// Accepts a sign, "." as the decimal point, an exponent "E" or "D", and "&H"
// hexadecimal / "&O" octal (up to 4 hex digits an Integer, up to 8 a Long,
// both signed: "&HFFFF" gives -1). Never throws: no number gives 0, and a
// value out of range gives 0.
double Val(std::string_view text);

// IsNumeric: the whole text, blanks around it aside, is one number in the
// forms Val reads (sign, digits, "." decimal point, exponent, "&H"/"&O").
// An empty or blank text is not numeric. Locale forms (thousands separators,
// currency signs, a trailing sign) are not accepted: numbers in this program
// always use "." and no grouping.
bool IsNumeric(std::string_view text);

// ---------------------------------------------------------------------------
// String functions counting characters.
//
// Out-of-range arguments for which the original raises "Invalid procedure
// call" (a start below 1, a negative length) are taken as 1 and 0 instead.
std::size_t Len(std::string_view s);
// Characters from start (1-based); len < 0 means to the end.
std::string Mid(std::string_view s, long long start, long long len = -1);
std::string Left(std::string_view s, long long len);
std::string Right(std::string_view s, long long len);

enum class Compare { Binary, Text };  // Text: letter case ignored (UCase)
// 1-based position of find in s from character start, 0 when not found.
// An empty find gives start (when start <= Len(s) + 1); an empty s gives 0.
long long InStr(std::string_view s, std::string_view find, Compare compare = Compare::Binary);
long long InStr(long long start, std::string_view s, std::string_view find,
                Compare compare = Compare::Binary);
// The last occurrence of find that ends at or before character start (-1:
// the end of s), 0 when not found.
long long InStrRev(std::string_view s, std::string_view find, long long start = -1,
                   Compare compare = Compare::Binary);

// Letter case for ASCII, the Latin-1 letters and Greek, accented letters
// included (ά <-> Ά, ϊ <-> Ϊ); UCase maps the final sigma ς to Σ, LCase maps
// Σ to σ. Other characters are unchanged. The character count never changes.
std::string UCase(std::string_view s);
std::string LCase(std::string_view s);
char32_t UpperChar(char32_t c);
char32_t LowerChar(char32_t c);
// Appends the UTF-8 bytes of code point cp.
void appendUtf8(std::string& out, char32_t cp);

// Blanks (" " only, as the original) removed from the ends.
std::string Trim(std::string_view s);
std::string LTrim(std::string_view s);
std::string RTrim(std::string_view s);
std::string Space(long long n);
// n times the first character of ch ("" when ch is empty).
std::string String(long long n, std::string_view ch);
// Left-aligned in a field of width characters: blanks added on the right,
// a longer text cut to its first width characters.
std::string PadRight(std::string_view s, long long width);
// Right-aligned in a field of width characters: blanks added on the left,
// a longer text cut to its first width characters.
std::string PadLeft(std::string_view s, long long width);

// The longest start of s that fits in maxBytes bytes without splitting a
// character (for texts that must fit a fixed number of bytes).
std::string CutAtCharBoundary(std::string_view s, std::size_t maxBytes);

// ---------------------------------------------------------------------------
// The original runtime's Rnd: a 24-bit linear congruential generator that is
// never seeded, so every run draws the same sequence. One per program.
class RandomGenerator {
public:
    // The next value in [0, 1).
    float Rnd();

private:
    std::uint32_t state_ = 327680;
};

// ---------------------------------------------------------------------------
// Date and time texts, whatever the locale.
std::string TimeText(const DateTime& t);  // "hh:mm:ss", 24-hour
std::string DateText(const DateTime& t);  // "mm-dd-yyyy"
// Reads "mm-dd-yyyy" (month and day of one or two digits, a four-digit year)
// into a date at 00:00:00 with its weekday; std::nullopt for anything else,
// an impossible date included (02-30-2024).
std::optional<DateTime> ParseDateText(std::string_view text);

// One line of the log box: the time "hh:mm:ss", the message as the caller
// gives it (most begin with "-> ", some with " -> " or "--> "), then CR LF.
// The log box puts it in front of its old text.
std::string LogLineText(const DateTime& time, std::string_view message);

}  // namespace tarvolin
