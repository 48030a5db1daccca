#include "toolkit/text_file.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "toolkit/runtime.h"

namespace tarvolin {

namespace {
constexpr int Overflow = 6;
constexpr int TypeMismatch = 13;
constexpr int BadFileNameOrNumber = 52;
constexpr int InputPastEndOfFile = 62;
}  // namespace

std::string PrintNumberText(std::int64_t value) { return Str(value) + " "; }

// ---------------------------------------------------------------------------
// TextFileWriter

TextFileWriter::~TextFileWriter() { Close(); }

bool TextFileWriter::fail(int number, const std::string& text) {
    errorNumber_ = number;
    errorText_ = text;
    return false;
}

bool TextFileWriter::failErrno() {
    const int e = errno;
    return fail(e, std::strerror(e));
}

bool TextFileWriter::Open(const std::string& path, Mode mode) {
    Close();
    int flags = O_WRONLY | O_CREAT | O_CLOEXEC;
    flags |= mode == Mode::Output ? O_TRUNC : O_APPEND;
    int fd;
    do {
        fd = ::open(path.c_str(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return failErrno();
    fd_ = fd;
    return true;
}

bool TextFileWriter::Close() {
    if (fd_ < 0) return true;
    const int fd = std::exchange(fd_, -1);
    if (::close(fd) != 0 && errno != EINTR) return failErrno();
    return true;
}

bool TextFileWriter::Print(std::string_view text) {
    if (fd_ < 0) return fail(BadFileNameOrNumber, "Bad file name or number");
    const char* p = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        const ssize_t n = ::write(fd_, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return failErrno();
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

bool TextFileWriter::PrintLine(std::string_view text) {
    // One write, so that a failure never leaves a line without its end.
    std::string line;
    line.reserve(text.size() + 2);
    line.append(text);
    line += "\r\n";
    return Print(line);
}

// ---------------------------------------------------------------------------
// TextFileReader

bool TextFileReader::fail(int number, const std::string& text) {
    errorNumber_ = number;
    errorText_ = text;
    return false;
}

bool TextFileReader::Open(const std::string& path) {
    Close();
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        const int e = errno;
        return fail(e, std::strerror(e));
    }
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        return fail(EISDIR, std::strerror(EISDIR));
    }
    std::string text;
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int e = errno;
            ::close(fd);
            return fail(e, std::strerror(e));
        }
        if (n == 0) break;
        text.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    text_ = std::move(text);
    pos_ = 0;
    open_ = true;
    return true;
}

void TextFileReader::Close() {
    open_ = false;
    text_.clear();
    pos_ = 0;
}

void TextFileReader::skipBlanks() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
}

bool TextFileReader::atLineEnd() const {
    return pos_ < text_.size() && (text_[pos_] == '\r' || text_[pos_] == '\n');
}

void TextFileReader::consumeLineEnd() {
    if (pos_ < text_.size() && text_[pos_] == '\r') {
        ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
    } else if (pos_ < text_.size() && text_[pos_] == '\n') {
        ++pos_;
    }
}

bool TextFileReader::LineInput(std::string& line) {
    line.clear();
    if (!open_) return fail(BadFileNameOrNumber, "Bad file name or number");
    if (pos_ >= text_.size()) return fail(InputPastEndOfFile, "Input past end of file");
    std::size_t end = text_.find_first_of("\r\n", pos_);
    if (end == std::string::npos) end = text_.size();
    line.assign(text_, pos_, end - pos_);
    pos_ = end;
    consumeLineEnd();
    return true;
}

bool TextFileReader::InputString(std::string& field) {
    field.clear();
    if (!open_) return fail(BadFileNameOrNumber, "Bad file name or number");
    skipBlanks();
    if (pos_ >= text_.size()) return fail(InputPastEndOfFile, "Input past end of file");
    if (text_[pos_] == '"') {
        std::size_t close = text_.find('"', pos_ + 1);
        if (close == std::string::npos) close = text_.size();
        field.assign(text_, pos_ + 1, close - pos_ - 1);
        pos_ = close < text_.size() ? close + 1 : close;
        // Whatever stands between the closing quote and the delimiter is dropped.
        while (pos_ < text_.size() && text_[pos_] != ',' && !atLineEnd()) ++pos_;
    } else {
        std::size_t end = text_.find_first_of(",\r\n", pos_);
        if (end == std::string::npos) end = text_.size();
        field.assign(text_, pos_, end - pos_);
        pos_ = end;
    }
    if (pos_ < text_.size() && text_[pos_] == ',') {
        ++pos_;
    } else {
        consumeLineEnd();
    }
    return true;
}

bool TextFileReader::InputNumber(double& value) {
    value = 0;
    if (!open_) return fail(BadFileNameOrNumber, "Bad file name or number");
    skipBlanks();
    if (pos_ >= text_.size()) return fail(InputPastEndOfFile, "Input past end of file");
    std::size_t end = text_.find_first_of(" \t,\r\n", pos_);
    if (end == std::string::npos) end = text_.size();
    const std::string token = text_.substr(pos_, end - pos_);
    pos_ = end;
    skipBlanks();
    if (pos_ < text_.size() && text_[pos_] == ',') {
        ++pos_;
    } else {
        consumeLineEnd();
    }
    if (token.empty()) return true;
    if (!IsNumeric(token)) return fail(TypeMismatch, "Type mismatch");
    value = Val(token);
    return true;
}

bool TextFileReader::InputLong(std::int32_t& value) {
    value = 0;
    double v;
    if (!InputNumber(v)) return false;
    const auto r = tryCLng(v);
    if (!r) return fail(Overflow, "Overflow");
    value = *r;
    return true;
}

}  // namespace tarvolin
