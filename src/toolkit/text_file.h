#pragma once
// Sequential text files: the default file and the report.
//
// Lines are written with CR LF. On reading, a line ends at CR LF, LF or a
// lone CR, so files edited on Linux read the same.
//
// Failures are reported by a false result with errorNumber() and
// errorText(): the system's errno and strerror text for I/O, or the
// original runtime's numbers (13 a field that is not a number, 52 no file
// open, 62 reading past the end of the file). Nothing here throws.
#include <cstdint>
#include <string>
#include <string_view>

namespace tarvolin {

// A number as the original Print # writes it: a blank or "-" for the sign,
// the digits, and one trailing blank (" 5 ", "-3 ").
std::string PrintNumberText(std::int64_t value);

class TextFileWriter {
public:
    enum class Mode {
        Output,  // created, or emptied when it exists
        Append,  // created when missing, written at its end
    };

    TextFileWriter() = default;
    ~TextFileWriter();
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;

    // A file already open is closed first.
    bool Open(const std::string& path, Mode mode);
    // Closing a file that is not open does nothing and succeeds.
    bool Close();
    bool isOpen() const { return fd_ >= 0; }

    // The text as it is.
    bool Print(std::string_view text);
    // The text, then CR LF.
    bool PrintLine(std::string_view text = {});

    int errorNumber() const { return errorNumber_; }
    const std::string& errorText() const { return errorText_; }

private:
    bool fail(int number, const std::string& text);
    bool failErrno();

    int fd_ = -1;
    int errorNumber_ = 0;
    std::string errorText_;
};

// Reads a whole text file at Open and hands it out line by line or field by
// field.
class TextFileReader {
public:
    bool Open(const std::string& path);
    void Close();
    bool isOpen() const { return open_; }
    // True when nothing is left to read (or no file is open).
    bool EndOfFile() const { return !open_ || pos_ >= text_.size(); }

    // Line Input: the rest of the current line, without its line end.
    // False (error 62) when nothing is left.
    bool LineInput(std::string& line);

    // Input # into a String. Blanks before the field are skipped. A field
    // that begins with a double quote runs to the next double quote, and what
    // follows it up to the next comma or line end is dropped; any other field
    // runs to the next comma or line end. The comma or line end is consumed.
    // False (error 62) when nothing is left.
    bool InputString(std::string& field);

    // Input # into a number. Blanks before the field are skipped; the field
    // ends at a blank, a comma or a line end, and the blanks and one comma or
    // line end after it are consumed. An empty field gives 0. False with
    // error 13 when the field is not a number (it is consumed all the same),
    // with error 62 when nothing is left.
    bool InputNumber(double& value);
    // As InputNumber, rounded to a Long with halves to even; a value outside
    // the Long range fails with error 6.
    bool InputLong(std::int32_t& value);

    int errorNumber() const { return errorNumber_; }
    const std::string& errorText() const { return errorText_; }

private:
    bool fail(int number, const std::string& text);
    void skipBlanks();
    bool atLineEnd() const;
    void consumeLineEnd();

    bool open_ = false;
    std::string text_;
    std::size_t pos_ = 0;
    int errorNumber_ = 0;
    std::string errorText_;
};

}  // namespace tarvolin
