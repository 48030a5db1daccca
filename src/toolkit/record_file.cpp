#include "toolkit/record_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "toolkit/durable_file.h"

namespace tarvolin {

namespace {

// ---------------------------------------------------------------------------
// Value encodings at the start of one record.

void putLE(unsigned char* p, std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

std::uint64_t getLE(const unsigned char* p, int bytes) {
    std::uint64_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= std::uint64_t(p[i]) << (8 * i);
    return v;
}

std::uint64_t doubleBits(double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

double bitsDouble(std::uint64_t bits) {
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// The stored length of a String record, or -1 when it runs past the record.
int storedStringLength(const unsigned char* rec, int recordLength) {
    const int len = static_cast<int>(getLE(rec, 2));
    return len + 2 <= recordLength ? len : -1;
}

bool fitsString(std::string_view text, int recordLength) {
    return text.size() + 2 <= static_cast<std::size_t>(recordLength);
}

void encodeString(unsigned char* rec, std::string_view text) {
    putLE(rec, text.size(), 2);
    std::memcpy(rec + 2, text.data(), text.size());
}

constexpr int BadRecordLength = 59;
constexpr int BadFileNameOrNumber = 52;
constexpr int BadFileMode = 54;
constexpr int BadRecordNumber = 63;

// Size of the gathered writes and of the read-ahead.
constexpr std::size_t GatherBytes = std::size_t(1) << 20;
// The first read-ahead of a run of reads in order; it doubles up to GatherBytes.
constexpr std::size_t FirstAheadBytes = std::size_t(1) << 16;

}  // namespace

bool WriteAllAt(int fd, const void* data, std::size_t size, off_t offset) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, bytes, size, offset);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes += n;
        size -= static_cast<std::size_t>(n);
        offset += n;
    }
    return true;
}

ssize_t ReadUpToAt(int fd, void* data, std::size_t size, off_t offset) {
    auto* bytes = static_cast<unsigned char*>(data);
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::pread(fd, bytes + got, size - got, offset + static_cast<off_t>(got));
        if (n < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    return static_cast<ssize_t>(got);
}

// ---------------------------------------------------------------------------
// RecordBlock

RecordBlock::RecordBlock(int recordLength, int count)
    : recordLength_(recordLength), count_(count),
      bytes_(static_cast<std::size_t>(recordLength > 0 ? recordLength : 0) *
             static_cast<std::size_t>(count > 0 ? count : 0)) {
    if (recordLength < 1 || count < 0) throw std::invalid_argument("RecordBlock: bad record length or count");
}

void RecordBlock::clear() { std::fill(bytes_.begin(), bytes_.end(), 0); }

unsigned char* RecordBlock::record(int k) {
    if (k < 1 || k > count_) throw std::out_of_range("RecordBlock: record " + std::to_string(k));
    return bytes_.data() + static_cast<std::size_t>(k - 1) * recordLength_;
}

const unsigned char* RecordBlock::record(int k) const {
    return const_cast<RecordBlock*>(this)->record(k);
}

namespace {
unsigned char* zeroed(unsigned char* rec, int len) {
    std::memset(rec, 0, static_cast<std::size_t>(len));
    return rec;
}
}  // namespace

void RecordBlock::PutInteger(int k, std::int16_t v) {
    putLE(zeroed(record(k), recordLength_), static_cast<std::uint16_t>(v), std::min(2, recordLength_));
}
void RecordBlock::PutLong(int k, std::int32_t v) {
    putLE(zeroed(record(k), recordLength_), static_cast<std::uint32_t>(v), std::min(4, recordLength_));
}
void RecordBlock::PutCurrency(int k, Currency v) {
    putLE(zeroed(record(k), recordLength_), static_cast<std::uint64_t>(v.raw()), std::min(8, recordLength_));
}
void RecordBlock::PutBoolean(int k, bool v) { PutInteger(k, v ? -1 : 0); }
void RecordBlock::PutByte(int k, std::uint8_t v) { zeroed(record(k), recordLength_)[0] = v; }
void RecordBlock::PutDouble(int k, double v) {
    putLE(zeroed(record(k), recordLength_), doubleBits(v), std::min(8, recordLength_));
}
bool RecordBlock::PutString(int k, std::string_view text) {
    unsigned char* rec = record(k);
    if (!fitsString(text, recordLength_)) return false;
    encodeString(zeroed(rec, recordLength_), text);
    return true;
}

std::int16_t RecordBlock::GetInteger(int k) const {
    return static_cast<std::int16_t>(getLE(record(k), std::min(2, recordLength_)));
}
std::int32_t RecordBlock::GetLong(int k) const {
    return static_cast<std::int32_t>(getLE(record(k), std::min(4, recordLength_)));
}
Currency RecordBlock::GetCurrency(int k) const {
    return Currency::fromRaw(static_cast<std::int64_t>(getLE(record(k), std::min(8, recordLength_))));
}
bool RecordBlock::GetBoolean(int k) const { return GetInteger(k) != 0; }
std::uint8_t RecordBlock::GetByte(int k) const { return record(k)[0]; }
double RecordBlock::GetDouble(int k) const { return bitsDouble(getLE(record(k), std::min(8, recordLength_))); }
bool RecordBlock::GetString(int k, std::string& text) const {
    const unsigned char* rec = record(k);
    text.clear();
    if (recordLength_ < 2) return false;
    const int len = storedStringLength(rec, recordLength_);
    if (len < 0) return false;
    text.assign(reinterpret_cast<const char*>(rec + 2), static_cast<std::size_t>(len));
    return true;
}

// ---------------------------------------------------------------------------
// RecordFile

RecordFile::~RecordFile() { Close(); }

RecordFile::RecordFile(RecordFile&& other) noexcept { *this = std::move(other); }

RecordFile& RecordFile::operator=(RecordFile&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = std::exchange(other.fd_, -1);
        readOnly_ = other.readOnly_;
        writeOut_ = other.writeOut_;
        path_ = std::move(other.path_);
        recordLength_ = other.recordLength_;
        position_ = other.position_;
        pastEnd_ = other.pastEnd_;
        errorNumber_ = other.errorNumber_;
        errorText_ = std::move(other.errorText_);
        scratch_ = std::move(other.scratch_);
        pending_ = std::move(other.pending_);
        pendingOffset_ = other.pendingOffset_;
        ahead_ = std::move(other.ahead_);
        aheadLength_ = std::exchange(other.aheadLength_, 0);
        aheadOffset_ = other.aheadOffset_;
        lastReadEnd_ = std::exchange(other.lastReadEnd_, -1);
        aheadWant_ = other.aheadWant_;
        other.pending_.clear();
    }
    return *this;
}

bool RecordFile::fail(int number, const std::string& text) {
    errorNumber_ = number;
    errorText_ = text;
    return false;
}

bool RecordFile::failErrno() {
    const int e = errno;
    return fail(e, std::strerror(e));
}

bool RecordFile::Open(const std::string& path, Mode mode, int recordLength, Links links) {
    Close();
    if (recordLength < 1 || recordLength > 32767) return fail(BadRecordLength, "Bad record length");
    int flags = O_CLOEXEC | (links == Links::Refuse ? O_NOFOLLOW | O_NONBLOCK : 0);
    switch (mode) {
        case Mode::Read: flags |= O_RDONLY; break;
        case Mode::ReadWrite: flags |= O_RDWR | O_CREAT; break;
        case Mode::Create: flags |= O_RDWR | O_CREAT | O_TRUNC; break;
    }
    // Refusing links, only a regular file opens; following them, anything
    // but a folder.
    const int fd = links == Links::Refuse ? durable::openRegular(path, flags, 0666) : durable::openRetried(path, flags, 0666);
    if (fd < 0) return failErrno();
    struct stat st;
    if (links == Links::Follow && ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        errno = EISDIR;
        return failErrno();
    }
    fd_ = fd;
    readOnly_ = mode == Mode::Read;
    writeOut_ = false;
    path_ = path;
    recordLength_ = recordLength;
    position_ = 1;
    pastEnd_ = false;
    scratch_.assign(static_cast<std::size_t>(recordLength), 0);
    pending_.clear();
    aheadLength_ = 0;
    lastReadEnd_ = -1;
    return true;
}

bool RecordFile::Close() {
    if (fd_ < 0) return true;
    const bool written = flushPending();
    const int fd = std::exchange(fd_, -1);
    // The buffers of a big save are not kept for the next small one.
    pending_ = {};
    ahead_ = {};
    aheadLength_ = 0;
    lastReadEnd_ = -1;
    // The descriptor is released even when close reports an error; it must
    // not be closed twice.
    if (::close(fd) != 0 && errno != EINTR) return failErrno();
    return written;
}

std::int64_t RecordFile::RecordCount() {
    if (fd_ < 0) return 0;
    if (!flushPending()) return 0;
    struct stat st;
    if (::fstat(fd_, &st) != 0) {
        failErrno();
        return 0;
    }
    return (static_cast<std::int64_t>(st.st_size) + recordLength_ - 1) / recordLength_;
}

bool RecordFile::Flush() {
    if (fd_ < 0) return fail(BadFileNameOrNumber, "Bad file name or number");
    if (readOnly_) return true;
    if (!flushPending()) return false;
    if (::fdatasync(fd_) != 0) return failErrno();
    return true;
}

bool RecordFile::locate(std::int64_t& record, std::int64_t count, off_t& offset) {
    if (fd_ < 0) return fail(BadFileNameOrNumber, "Bad file name or number");
    if (record == Next) record = position_;
    // The last byte must stay within off_t.
    const std::int64_t maxRecords = std::numeric_limits<off_t>::max() / recordLength_;
    if (record < 1 || count < 0 || record > maxRecords - count) return fail(BadRecordNumber, "Bad record number");
    offset = static_cast<off_t>((record - 1) * recordLength_);
    return true;
}

bool RecordFile::writable() {
    if (fd_ < 0) return fail(BadFileNameOrNumber, "Bad file name or number");
    if (readOnly_) return fail(BadFileMode, "Bad file mode");
    return true;
}

bool RecordFile::writeAt(const unsigned char* data, std::size_t size, off_t offset) {
    // What was read ahead may be what this write changes.
    aheadLength_ = 0;
    if (!WriteAllAt(fd_, data, size, offset)) return failErrno();
    // Only a hint: a failure shows when the file is synced.
    if (writeOut_) ::sync_file_range(fd_, offset, static_cast<off_t>(size), SYNC_FILE_RANGE_WRITE);
    return true;
}

bool RecordFile::flushPending() {
    if (pending_.empty()) return true;
    const bool ok = writeAt(pending_.data(), pending_.size(), pendingOffset_);
    pending_.clear();
    return ok;
}

ssize_t RecordFile::readAt(unsigned char* data, std::size_t size, off_t offset) {
    const bool continues = offset == lastReadEnd_;
    lastReadEnd_ = offset + static_cast<off_t>(size);
    if (offset >= aheadOffset_ &&
        static_cast<std::size_t>(offset - aheadOffset_) + size <= aheadLength_) {
        std::memcpy(data, ahead_.data() + (offset - aheadOffset_), size);
        return static_cast<ssize_t>(size);
    }
    if (!continues) aheadWant_ = FirstAheadBytes;
    if (!continues || size >= GatherBytes) return ReadUpToAt(fd_, data, size, offset);
    // A run of reads fetches more at a time the longer it goes on, so that a
    // few records read in order do not pull in a whole megabyte.
    const std::size_t want = std::max(aheadWant_, size);
    aheadWant_ = std::min(aheadWant_ * 2, GatherBytes);
    if (ahead_.size() < want) ahead_.resize(want);
    aheadLength_ = 0;
    const ssize_t n = ReadUpToAt(fd_, ahead_.data(), want, offset);
    if (n < 0) return -1;
    aheadLength_ = static_cast<std::size_t>(n);
    aheadOffset_ = offset;
    const std::size_t got = std::min(size, aheadLength_);
    std::memcpy(data, ahead_.data(), got);
    return static_cast<ssize_t>(got);
}

bool RecordFile::writeRecord(std::int64_t record) {
    off_t offset;
    if (!locate(record, 1, offset)) return false;
    if (!flushPending()) return false;
    if (!writeAt(scratch_.data(), scratch_.size(), offset)) return false;
    position_ = record + 1;
    return true;
}

bool RecordFile::readRecord(std::int64_t record, std::size_t& got) {
    got = 0;
    pastEnd_ = false;
    off_t offset;
    if (!locate(record, 1, offset)) return false;
    if (!flushPending()) return false;
    const ssize_t n = readAt(scratch_.data(), scratch_.size(), offset);
    if (n < 0) return failErrno();
    got = static_cast<std::size_t>(n);
    std::memset(scratch_.data() + got, 0, scratch_.size() - got);
    position_ = record + 1;
    return true;
}

bool RecordFile::PutInteger(std::int64_t record, std::int16_t value) {
    if (!writable()) return false;
    std::fill(scratch_.begin(), scratch_.end(), 0);
    putLE(scratch_.data(), static_cast<std::uint16_t>(value), std::min(2, recordLength_));
    return writeRecord(record);
}

bool RecordFile::PutLong(std::int64_t record, std::int32_t value) {
    if (!writable()) return false;
    std::fill(scratch_.begin(), scratch_.end(), 0);
    putLE(scratch_.data(), static_cast<std::uint32_t>(value), std::min(4, recordLength_));
    return writeRecord(record);
}

bool RecordFile::PutCurrency(std::int64_t record, Currency value) {
    if (!writable()) return false;
    std::fill(scratch_.begin(), scratch_.end(), 0);
    putLE(scratch_.data(), static_cast<std::uint64_t>(value.raw()), std::min(8, recordLength_));
    return writeRecord(record);
}

bool RecordFile::PutBoolean(std::int64_t record, bool value) { return PutInteger(record, value ? -1 : 0); }

bool RecordFile::PutByte(std::int64_t record, std::uint8_t value) {
    if (!writable()) return false;
    std::fill(scratch_.begin(), scratch_.end(), 0);
    scratch_[0] = value;
    return writeRecord(record);
}

bool RecordFile::PutDouble(std::int64_t record, double value) {
    if (!writable()) return false;
    std::fill(scratch_.begin(), scratch_.end(), 0);
    putLE(scratch_.data(), doubleBits(value), std::min(8, recordLength_));
    return writeRecord(record);
}

bool RecordFile::PutString(std::int64_t record, std::string_view text) {
    if (!writable()) return false;
    if (!fitsString(text, recordLength_)) return fail(BadRecordLength, "Bad record length");
    std::fill(scratch_.begin(), scratch_.end(), 0);
    encodeString(scratch_.data(), text);
    return writeRecord(record);
}

bool RecordFile::GetInteger(std::int64_t record, std::int16_t& value) {
    value = 0;
    std::size_t got;
    if (!readRecord(record, got)) return false;
    const int need = std::min(2, recordLength_);
    pastEnd_ = got < static_cast<std::size_t>(need);
    value = static_cast<std::int16_t>(getLE(scratch_.data(), need));
    return true;
}

bool RecordFile::GetLong(std::int64_t record, std::int32_t& value) {
    value = 0;
    std::size_t got;
    if (!readRecord(record, got)) return false;
    const int need = std::min(4, recordLength_);
    pastEnd_ = got < static_cast<std::size_t>(need);
    value = static_cast<std::int32_t>(getLE(scratch_.data(), need));
    return true;
}

bool RecordFile::GetCurrency(std::int64_t record, Currency& value) {
    value = Currency();
    std::size_t got;
    if (!readRecord(record, got)) return false;
    const int need = std::min(8, recordLength_);
    pastEnd_ = got < static_cast<std::size_t>(need);
    value = Currency::fromRaw(static_cast<std::int64_t>(getLE(scratch_.data(), need)));
    return true;
}

bool RecordFile::GetBoolean(std::int64_t record, bool& value) {
    std::int16_t v;
    const bool ok = GetInteger(record, v);
    value = v != 0;
    return ok;
}

bool RecordFile::GetByte(std::int64_t record, std::uint8_t& value) {
    value = 0;
    std::size_t got;
    if (!readRecord(record, got)) return false;
    pastEnd_ = got < 1;
    value = scratch_[0];
    return true;
}

bool RecordFile::GetDouble(std::int64_t record, double& value) {
    value = 0;
    std::size_t got;
    if (!readRecord(record, got)) return false;
    const int need = std::min(8, recordLength_);
    pastEnd_ = got < static_cast<std::size_t>(need);
    value = bitsDouble(getLE(scratch_.data(), need));
    return true;
}

bool RecordFile::GetString(std::int64_t record, std::string& text) {
    text.clear();
    std::size_t got;
    if (!readRecord(record, got)) return false;
    if (got < 2 || recordLength_ < 2) {
        // Nothing of this record is in the file.
        pastEnd_ = true;
        return recordLength_ >= 2 || fail(BadRecordLength, "Bad record length");
    }
    const int len = storedStringLength(scratch_.data(), recordLength_);
    if (len < 0) return fail(BadRecordLength, "Bad record length");
    if (static_cast<std::size_t>(len) + 2 > got) {
        // The text is cut off by the end of the file.
        pastEnd_ = true;
        return fail(BadRecordLength, "Bad record length");
    }
    text.assign(reinterpret_cast<const char*>(scratch_.data() + 2), static_cast<std::size_t>(len));
    return true;
}

bool RecordFile::WriteBlock(std::int64_t firstRecord, const RecordBlock& block, int count) {
    if (!writable()) return false;
    if (block.recordLength() != recordLength_) return fail(BadRecordLength, "Bad record length");
    if (count < 0) count = block.count();
    if (count > block.count()) return fail(BadRecordNumber, "Bad record number");
    off_t offset;
    if (!locate(firstRecord, count, offset)) return false;
    const std::size_t size = static_cast<std::size_t>(count) * static_cast<std::size_t>(recordLength_);
    if (size == 0) {
        position_ = firstRecord;
        return true;
    }
    if (!pending_.empty() && offset == pendingOffset_ + static_cast<off_t>(pending_.size()) &&
        pending_.size() + size <= GatherBytes) {
        pending_.insert(pending_.end(), block.data(), block.data() + size);
        aheadLength_ = 0;
    } else {
        if (!flushPending()) return false;
        if (size >= GatherBytes) {
            if (!writeAt(block.data(), size, offset)) return false;
        } else {
            if (pending_.capacity() < GatherBytes) pending_.reserve(GatherBytes);
            pending_.assign(block.data(), block.data() + size);
            pendingOffset_ = offset;
            aheadLength_ = 0;
        }
    }
    position_ = firstRecord + count;
    return true;
}

bool RecordFile::ReadBlock(std::int64_t firstRecord, RecordBlock& block) {
    pastEnd_ = false;
    if (fd_ < 0) return fail(BadFileNameOrNumber, "Bad file name or number");
    if (block.recordLength() != recordLength_) return fail(BadRecordLength, "Bad record length");
    off_t offset;
    if (!locate(firstRecord, block.count(), offset)) return false;
    if (block.size() == 0) {
        // Nothing to read; an empty block has no memory to copy into.
        position_ = firstRecord;
        return true;
    }
    if (!flushPending()) return false;
    const ssize_t n = readAt(block.data(), block.size(), offset);
    if (n < 0) {
        block.clear();
        return failErrno();
    }
    const auto got = static_cast<std::size_t>(n);
    if (got < block.size()) {
        std::memset(block.data() + got, 0, block.size() - got);
        pastEnd_ = true;
    }
    position_ = firstRecord + block.count();
    return true;
}

}  // namespace tarvolin
