#pragma once
// Random-access files of fixed-length records, the form of the collection
// file (300-byte records), the track part file (400), the filter part file
// (600) and the preferences file (257).
//
// Each record holds one value at its start; the rest of the record is
// written as zero bytes. Encodings, all little-endian:
//   Integer  2 bytes, signed          Long      4 bytes, signed
//   Currency 8 bytes, value x 10000   Boolean   2 bytes, 0 or -1
//   Byte     1 byte                   Double    8 bytes, IEEE 754
//   String   a 2-byte length, then that many bytes of UTF-8 text; at most
//            record length - 2 bytes.
//
// Records are numbered from 1. Every Put and Get takes an explicit record
// number, or RecordFile::Next for the record after the one last read or
// written (record 1 after Open).
//
// Reading past the end of the file is no failure: the value reads as zero,
// False or "" and pastEnd() is set. A record cut short by the end of the
// file (as older files end after their last value) gives its bytes that are
// there and zeros for the rest. A String whose length word runs past its
// record is a read failure, never a read beyond the record.
//
// Blocks written one after another at consecutive records (a save that
// writes track after track) are gathered in memory and handed to the system
// in writes of up to 1 MB; blocks and single records read one after another
// are read ahead the same way. A gathered write is made before any other
// access to the file, at Flush and at Close; if it fails, the call that
// makes it reports the failure (so a save must check Close too). Data that
// another program writes into the file while it is open here may not be
// seen by reads.
//
// Failures are reported by a false result with errorNumber() and
// errorText(): the system's errno and strerror text for I/O, or the
// original runtime's numbers (52 no file open, 54 file opened for reading
// only, 59 a String that does not fit its record, 63 a bad record number).
// Nothing here throws on I/O.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <sys/types.h>

#include "toolkit/runtime.h"

namespace tarvolin {

// Writes all size bytes at offset of the open file fd (pwrite, again after
// a signal or a short write). False with errno on failure.
bool WriteAllAt(int fd, const void* data, std::size_t size, off_t offset);
// Reads up to size bytes at offset of the open file fd (pread, again after
// a signal or a short read): the number read, fewer only at the end of the
// file, or -1 with errno on failure.
ssize_t ReadUpToAt(int fd, void* data, std::size_t size, off_t offset);

// A group of consecutive records in memory (a track's 45 records, say),
// filled with typed values and then written or read in one system call by
// RecordFile::WriteBlock / ReadBlock. Records are numbered 1 to count()
// within the block; a number outside that range throws std::out_of_range
// (a fault of the caller's code, not of the data).
class RecordBlock {
public:
    RecordBlock(int recordLength, int count);

    int recordLength() const { return recordLength_; }
    int count() const { return count_; }
    // Every byte zero.
    void clear();

    // Each Put writes the whole record: the value, then zeros.
    void PutInteger(int k, std::int16_t value);
    void PutLong(int k, std::int32_t value);
    void PutCurrency(int k, Currency value);
    void PutBoolean(int k, bool value);
    void PutByte(int k, std::uint8_t value);
    void PutDouble(int k, double value);
    // False, and the record left as it was, when text is longer than
    // recordLength() - 2 bytes.
    bool PutString(int k, std::string_view text);

    std::int16_t GetInteger(int k) const;
    std::int32_t GetLong(int k) const;
    Currency GetCurrency(int k) const;
    bool GetBoolean(int k) const;  // any value other than 0 is True
    std::uint8_t GetByte(int k) const;
    double GetDouble(int k) const;
    // False, with text "", when the length word runs past the record.
    bool GetString(int k, std::string& text) const;

    const unsigned char* data() const { return bytes_.data(); }
    unsigned char* data() { return bytes_.data(); }
    std::size_t size() const { return bytes_.size(); }

private:
    unsigned char* record(int k);
    const unsigned char* record(int k) const;

    int recordLength_;
    int count_;
    std::vector<unsigned char> bytes_;
};

class RecordFile {
public:
    enum class Mode {
        Read,       // reading only; the file must exist
        ReadWrite,  // reading and writing; a missing file is created empty
        Create,     // reading and writing; the file is created or emptied
    };
    // Record number meaning "the record after the last one read or written".
    static constexpr std::int64_t Next = 0;

    RecordFile() = default;
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;
    RecordFile(RecordFile&& other) noexcept;
    RecordFile& operator=(RecordFile&& other) noexcept;

    // Whether a symbolic link at the path is followed, or refused (only a
    // regular file is then opened, and nothing is created through a link).
    enum class Links { Follow, Refuse };

    // Opens path with records of recordLength bytes (1 to 32767). A file
    // already open is closed first.
    bool Open(const std::string& path, Mode mode, int recordLength, Links links = Links::Follow);
    // Makes the gathered writes and closes the file; closing a file that is
    // not open does nothing and succeeds. The destructor closes too, but
    // cannot report a failure.
    bool Close();
    bool isOpen() const { return fd_ >= 0; }
    const std::string& path() const { return path_; }
    int recordLength() const { return recordLength_; }

    // The number of records that begin before the end of the file (a last
    // record cut short counts). 0 when no file is open or on failure.
    std::int64_t RecordCount();
    // The record that Next stands for.
    std::int64_t position() const { return position_; }
    void Seek(std::int64_t record) { position_ = record < 1 ? 1 : record; }
    // Makes the gathered writes and hands the data to the disk (fdatasync).
    bool Flush();
    // With on, every write made from here is sent on its way to the disk at
    // once, without waiting for it: a large file written whole and then
    // synced has little left to wait for at the end.
    void setWriteOut(bool on) { writeOut_ = on; }

    bool PutInteger(std::int64_t record, std::int16_t value);
    bool PutLong(std::int64_t record, std::int32_t value);
    bool PutCurrency(std::int64_t record, Currency value);
    bool PutBoolean(std::int64_t record, bool value);
    bool PutByte(std::int64_t record, std::uint8_t value);
    bool PutDouble(std::int64_t record, double value);
    // Fails (error 59, nothing written) when text is longer than
    // recordLength() - 2 bytes; see CutAtCharBoundary for callers that must
    // store a shortened text instead.
    bool PutString(std::int64_t record, std::string_view text);

    // On failure the value is zero / "". pastEnd() tells whether the value's
    // bytes lay beyond the end of the file.
    bool GetInteger(std::int64_t record, std::int16_t& value);
    bool GetLong(std::int64_t record, std::int32_t& value);
    bool GetCurrency(std::int64_t record, Currency& value);
    bool GetBoolean(std::int64_t record, bool& value);
    bool GetByte(std::int64_t record, std::uint8_t& value);
    bool GetDouble(std::int64_t record, double& value);
    bool GetString(std::int64_t record, std::string& text);

    // The block's records written as records firstRecord .. firstRecord +
    // count - 1 in one write. The block's record length must be this file's.
    // A count from 0 to the block's count writes only its first count
    // records; -1 writes them all.
    bool WriteBlock(std::int64_t firstRecord, const RecordBlock& block, int count = -1);
    // Those records read into the block in one read; bytes beyond the end of
    // the file read as zeros and set pastEnd().
    bool ReadBlock(std::int64_t firstRecord, RecordBlock& block);

    // Whether the last Get or ReadBlock reached past the end of the file.
    bool pastEnd() const { return pastEnd_; }

    // The last failure.
    int errorNumber() const { return errorNumber_; }
    const std::string& errorText() const { return errorText_; }

private:
    bool fail(int number, const std::string& text);
    bool failErrno();
    // Resolves Next and checks the number; gives the byte offset.
    bool locate(std::int64_t& record, std::int64_t count, off_t& offset);
    bool writable();
    bool writeRecord(std::int64_t record);               // scratch_ -> file
    bool readRecord(std::int64_t record, std::size_t& got);  // file -> scratch_
    bool writeAt(const unsigned char* data, std::size_t size, off_t offset);
    bool flushPending();
    // Reads size bytes at offset (fewer at the end of the file) into data,
    // from the read-ahead buffer when it holds them. -1 on error.
    ssize_t readAt(unsigned char* data, std::size_t size, off_t offset);

    int fd_ = -1;
    bool readOnly_ = false;
    bool writeOut_ = false;
    std::string path_;
    int recordLength_ = 0;
    std::int64_t position_ = 1;
    bool pastEnd_ = false;
    int errorNumber_ = 0;
    std::string errorText_;
    std::vector<unsigned char> scratch_;
    // Gathered block writes: bytes for the file from pendingOffset_ on.
    std::vector<unsigned char> pending_;
    off_t pendingOffset_ = 0;
    // Read-ahead: aheadLength_ bytes of the file from aheadOffset_ on;
    // lastReadEnd_ tells whether a block read continues the one before.
    std::vector<unsigned char> ahead_;
    std::size_t aheadLength_ = 0;
    off_t aheadOffset_ = 0;
    off_t lastReadEnd_ = -1;
    // How much the next read-ahead of the current run fetches.
    std::size_t aheadWant_ = std::size_t(1) << 16;
};

}  // namespace tarvolin
