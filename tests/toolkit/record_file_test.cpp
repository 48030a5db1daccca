#include "toolkit/record_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "support/temp_dir.h"

namespace tarvolin {
namespace {

using Bytes = std::vector<unsigned char>;

Bytes readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A record built by hand: the value's bytes, then zeros to the record length.
Bytes record(std::initializer_list<unsigned char> head, std::size_t length) {
    Bytes r(head);
    r.resize(length, 0);
    return r;
}

Bytes slice(const Bytes& b, std::size_t recordNumber, std::size_t length) {
    const std::size_t at = (recordNumber - 1) * length;
    return Bytes(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at + length));
}

TEST(RecordFile, EveryFieldTypeHasItsByteLayout) {
    TempDir dir;
    const std::string path = dir.file("c.tlf");
    RecordFile f;
    ASSERT_TRUE(f.Open(path, RecordFile::Mode::Create, 300));
    ASSERT_TRUE(f.PutString(1, "5.0"));
    ASSERT_TRUE(f.PutInteger(2, -2));
    ASSERT_TRUE(f.PutLong(3, 32766));
    ASSERT_TRUE(f.PutCurrency(4, Currency::fromRaw(15000)));  // 1.5
    ASSERT_TRUE(f.PutBoolean(5, true));
    ASSERT_TRUE(f.PutByte(6, 2));
    ASSERT_TRUE(f.PutString(7, "Αβ"));
    ASSERT_TRUE(f.PutCurrency(8, Currency::fromRaw(-1)));
    ASSERT_TRUE(f.PutDouble(9, 1.0));
    ASSERT_TRUE(f.Close());

    const Bytes b = readBytes(path);
    ASSERT_EQ(b.size(), 9u * 300);
    EXPECT_EQ(slice(b, 1, 300), record({3, 0, '5', '.', '0'}, 300));
    EXPECT_EQ(slice(b, 2, 300), record({0xFE, 0xFF}, 300));
    EXPECT_EQ(slice(b, 3, 300), record({0xFE, 0x7F, 0, 0}, 300));
    EXPECT_EQ(slice(b, 4, 300), record({0x98, 0x3A, 0, 0, 0, 0, 0, 0}, 300));
    EXPECT_EQ(slice(b, 5, 300), record({0xFF, 0xFF}, 300));
    EXPECT_EQ(slice(b, 6, 300), record({2}, 300));
    EXPECT_EQ(slice(b, 7, 300), record({4, 0, 0xCE, 0x91, 0xCE, 0xB2}, 300));
    EXPECT_EQ(slice(b, 8, 300), record({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, 300));
    EXPECT_EQ(slice(b, 9, 300), record({0, 0, 0, 0, 0, 0, 0xF0, 0x3F}, 300));
}

TEST(RecordFile, ValuesRoundTripAtFirstAndLastRecords) {
    TempDir dir;
    const std::string path = dir.file("t_Files.ptlf");
    {
        RecordFile f;
        ASSERT_TRUE(f.Open(path, RecordFile::Mode::Create, 400));
        ASSERT_TRUE(f.PutLong(1, -2147483647 - 1));
        ASSERT_TRUE(f.PutString(45, "/μουσική/τραγούδι.mp3"));
        ASSERT_TRUE(f.PutCurrency(44, Currency::fromRaw(std::numeric_limits<std::int64_t>::min())));
        ASSERT_TRUE(f.PutInteger(43, 32767));
        ASSERT_TRUE(f.PutBoolean(42, false));
        ASSERT_TRUE(f.PutDouble(41, -0.1));
        ASSERT_TRUE(f.PutByte(40, 255));
        EXPECT_EQ(f.RecordCount(), 45);
    }
    RecordFile f;
    ASSERT_TRUE(f.Open(path, RecordFile::Mode::Read, 400));
    std::int32_t l;
    std::string s;
    Currency c;
    std::int16_t i;
    bool flag = true;
    double d;
    std::uint8_t by;
    ASSERT_TRUE(f.GetLong(1, l));
    EXPECT_EQ(l, -2147483647 - 1);
    ASSERT_TRUE(f.GetString(45, s));
    EXPECT_EQ(s, "/μουσική/τραγούδι.mp3");
    EXPECT_FALSE(f.pastEnd());
    ASSERT_TRUE(f.GetCurrency(44, c));
    EXPECT_EQ(c.raw(), std::numeric_limits<std::int64_t>::min());
    ASSERT_TRUE(f.GetInteger(43, i));
    EXPECT_EQ(i, 32767);
    ASSERT_TRUE(f.GetBoolean(42, flag));
    EXPECT_FALSE(flag);
    ASSERT_TRUE(f.GetDouble(41, d));
    EXPECT_EQ(d, -0.1);
    ASSERT_TRUE(f.GetByte(40, by));
    EXPECT_EQ(by, 255);
    // A record never written inside the file reads as zeros.
    ASSERT_TRUE(f.GetString(2, s));
    EXPECT_EQ(s, "");
    EXPECT_FALSE(f.pastEnd());
}

TEST(RecordFile, NextFollowsTheLastRecordReadOrWritten) {
    TempDir dir;
    const std::string path = dir.file("pref.tl");
    RecordFile f;
    ASSERT_TRUE(f.Open(path, RecordFile::Mode::Create, 257));
    ASSERT_TRUE(f.PutInteger(RecordFile::Next, 100));
    ASSERT_TRUE(f.PutInteger(RecordFile::Next, -1));
    ASSERT_TRUE(f.PutString(RecordFile::Next, "http://a"));
    ASSERT_TRUE(f.PutLong(7, 70));
    ASSERT_TRUE(f.PutLong(RecordFile::Next, 80));  // record 8
    EXPECT_EQ(f.RecordCount(), 8);

    std::int16_t i;
    std::string s;
    std::int32_t l;
    ASSERT_TRUE(f.GetInteger(1, i));
    EXPECT_EQ(i, 100);
    ASSERT_TRUE(f.GetInteger(RecordFile::Next, i));
    EXPECT_EQ(i, -1);
    ASSERT_TRUE(f.GetString(RecordFile::Next, s));
    EXPECT_EQ(s, "http://a");
    f.Seek(8);
    ASSERT_TRUE(f.GetLong(RecordFile::Next, l));
    EXPECT_EQ(l, 80);
    EXPECT_EQ(f.position(), 9);
    // A reopened file starts at record 1 again.
    ASSERT_TRUE(f.Open(path, RecordFile::Mode::Read, 257));
    ASSERT_TRUE(f.GetInteger(RecordFile::Next, i));
    EXPECT_EQ(i, 100);
}

TEST(RecordFile, StringLimitIsRecordLengthLessTwoBytes) {
    TempDir dir;
    const std::string path = dir.file("t.ptlf");
    RecordFile f;
    ASSERT_TRUE(f.Open(path, RecordFile::Mode::Create, 400));
    const std::string exact(398, 'x');
    ASSERT_TRUE(f.PutString(1, exact));
    ASSERT_TRUE(f.PutString(2, "kept"));
    const Bytes before = readBytes(path);

    EXPECT_FALSE(f.PutString(2, std::string(399, 'y')));
    EXPECT_EQ(f.errorNumber(), 59);
    // 200 Greek letters are 400 bytes: over the limit although 200 characters.
    const std::string greek = [] {
        std::string g;
        for (int k = 0; k < 200; ++k) g += "α";
        return g;
    }();
    EXPECT_FALSE(f.PutString(3, greek));
    EXPECT_EQ(readBytes(path), before);  // nothing written, the file not grown

    const std::string cut = CutAtCharBoundary(greek, 398);
    EXPECT_EQ(cut.size(), 398u);
    ASSERT_TRUE(f.PutString(3, cut));
    std::string s;
    ASSERT_TRUE(f.GetString(1, s));
    EXPECT_EQ(s, exact);
    ASSERT_TRUE(f.GetString(2, s));
    EXPECT_EQ(s, "kept");
    ASSERT_TRUE(f.GetString(3, s));
    EXPECT_EQ(Len(s), 199u);
}

TEST(RecordFile, CorruptLengthWordIsAReadFailureWithinTheRecord) {
    TempDir dir;
    const std::string path = dir.file("bad.ptlf");
    Bytes b(3 * 400, 'z');
    b[0] = 0x8F;  // record 1: length 399, one byte past the record
    b[1] = 0x01;
    b[400] = 0x8E;  // record 2: length 398, exactly the room
    b[401] = 0x01;
    b[800] = 0xFF;  // record 3: length 65535
    b[801] = 0xFF;
    writeBytes(path, b);

    RecordFile f;
    ASSERT_TRUE(f.Open(path, RecordFile::Mode::Read, 400));
    std::string s = "old";
    EXPECT_FALSE(f.GetString(1, s));
    EXPECT_EQ(s, "");
    EXPECT_EQ(f.errorNumber(), 59);
    ASSERT_TRUE(f.GetString(2, s));
    EXPECT_EQ(s, std::string(398, 'z'));
    EXPECT_FALSE(f.GetString(3, s));
    EXPECT_EQ(s, "");
    // The failure does not stop the next read.
    ASSERT_TRUE(f.GetString(2, s));
    EXPECT_EQ(s.size(), 398u);
}

TEST(RecordFile, ReadsPastTheEndGiveZeroAndSayPastEnd) {
    TempDir dir;
    const std::string path = dir.file("empty.tlf");
    RecordFile f;
    ASSERT_TRUE(f.Open(path, RecordFile::Mode::ReadWrite, 300));  // created empty
    EXPECT_EQ(f.RecordCount(), 0);
    std::string s = "x";
    std::int32_t l = 5;
    Currency c = Currency::fromRaw(5);
    bool flag = true;
    ASSERT_TRUE(f.GetString(1, s));
    EXPECT_EQ(s, "");
    EXPECT_TRUE(f.pastEnd());
    ASSERT_TRUE(f.GetLong(6, l));
    EXPECT_EQ(l, 0);
    EXPECT_TRUE(f.pastEnd());
    ASSERT_TRUE(f.GetCurrency(8, c));
    EXPECT_EQ(c.raw(), 0);
    ASSERT_TRUE(f.GetBoolean(99999, flag));
    EXPECT_FALSE(flag);
    EXPECT_TRUE(f.pastEnd());
    EXPECT_EQ(readBytes(path).size(), 0u);  // reading never grows the file
}

TEST(RecordFile, RecordCutShortByTheEndOfAnOlderFile) {
    // Older files end right after their last value instead of a full record.
    TempDir dir;
    const std::string path = dir.file("old.tlf");
    Bytes b = record({3, 0, '5', '.', '0'}, 300);
    for (unsigned char x : {0x10, 0x27, 0, 0, 0, 0, 0, 0}) b.push_back(x);  // record 2: Currency 1
    writeBytes(path, b);

    RecordFile f;
    ASSERT_TRUE(f.Open(path, RecordFile::Mode::Read, 300));
    EXPECT_EQ(f.RecordCount(), 2);
    Currency c;
    ASSERT_TRUE(f.GetCurrency(2, c));
    EXPECT_EQ(c, Currency::fromInteger(1));
    EXPECT_FALSE(f.pastEnd());

    // A Long read from the last 2 bytes of a file gets them and zeros.
    writeBytes(path, Bytes{0x34, 0x12});
    ASSERT_TRUE(f.Open(path, RecordFile::Mode::Read, 300));
    std::int32_t l;
    ASSERT_TRUE(f.GetLong(1, l));
    EXPECT_EQ(l, 0x1234);
    EXPECT_TRUE(f.pastEnd());

    // A String whose text the end of the file cuts off is a failure.
    writeBytes(path, Bytes{5, 0, 'a', 'b'});
    ASSERT_TRUE(f.Open(path, RecordFile::Mode::Read, 300));
    std::string s;
    EXPECT_FALSE(f.GetString(1, s));
    EXPECT_EQ(s, "");
}

TEST(RecordFile, BlockOfATracksRecordsEqualsSequentialWrites) {
    TempDir dir;
    const std::string seqPath = dir.file("seq.ptlf");
    const std::string blockPath = dir.file("block.ptlf");
    constexpr int track = 3;  // the fourth track: records 136 to 180
    const std::int64_t first = 45 * track + 1;

    RecordFile seq;
    ASSERT_TRUE(seq.Open(seqPath, RecordFile::Mode::Create, 400));
    ASSERT_TRUE(seq.PutLong(first, 12));
    ASSERT_TRUE(seq.PutCurrency(RecordFile::Next, Currency::fromDouble(215.5)));
    ASSERT_TRUE(seq.PutInteger(RecordFile::Next, 4));
    ASSERT_TRUE(seq.PutCurrency(RecordFile::Next, Currency::fromDouble(3.2)));
    ASSERT_TRUE(seq.PutCurrency(RecordFile::Next, Currency()));
    ASSERT_TRUE(seq.PutInteger(RecordFile::Next, 192));
    for (const char* t : {"Καλλιτέχνης", "Ροκ", "Άλμπουμ", "Τίτλος", "1999", "/m/a.mp3"})
        ASSERT_TRUE(seq.PutString(RecordFile::Next, t));
    ASSERT_TRUE(seq.PutBoolean(RecordFile::Next, true));
    for (int j = 0; j < 16; ++j) {
        ASSERT_TRUE(seq.PutInteger(RecordFile::Next, static_cast<std::int16_t>(j)));
        ASSERT_TRUE(seq.PutString(RecordFile::Next, j % 2 ? "έξτρα" : ""));
    }
    EXPECT_EQ(seq.position(), first + 45);
    ASSERT_TRUE(seq.Close());

    RecordBlock block(400, 45);
    block.PutLong(1, 12);
    block.PutCurrency(2, Currency::fromDouble(215.5));
    block.PutInteger(3, 4);
    block.PutCurrency(4, Currency::fromDouble(3.2));
    block.PutCurrency(5, Currency());
    block.PutInteger(6, 192);
    int k = 7;
    for (const char* t : {"Καλλιτέχνης", "Ροκ", "Άλμπουμ", "Τίτλος", "1999", "/m/a.mp3"})
        ASSERT_TRUE(block.PutString(k++, t));
    block.PutBoolean(13, true);
    for (int j = 0; j < 16; ++j) {
        block.PutInteger(14 + 2 * j, static_cast<std::int16_t>(j));
        ASSERT_TRUE(block.PutString(15 + 2 * j, j % 2 ? "έξτρα" : ""));
    }
    RecordFile out;
    ASSERT_TRUE(out.Open(blockPath, RecordFile::Mode::Create, 400));
    ASSERT_TRUE(out.WriteBlock(first, block));
    EXPECT_EQ(out.position(), first + 45);
    ASSERT_TRUE(out.Close());

    const Bytes a = readBytes(seqPath);
    const Bytes b = readBytes(blockPath);
    ASSERT_EQ(a.size(), static_cast<std::size_t>(first + 44) * 400);
    EXPECT_TRUE(a == b);

    // Read back as a block, and record by record.
    RecordFile in;
    ASSERT_TRUE(in.Open(blockPath, RecordFile::Mode::Read, 400));
    RecordBlock back(400, 45);
    ASSERT_TRUE(in.ReadBlock(first, back));
    EXPECT_FALSE(in.pastEnd());
    EXPECT_EQ(back.GetLong(1), 12);
    EXPECT_EQ(back.GetCurrency(2), Currency::fromDouble(215.5));
    EXPECT_EQ(back.GetInteger(6), 192);
    std::string s;
    ASSERT_TRUE(back.GetString(7, s));
    EXPECT_EQ(s, "Καλλιτέχνης");
    ASSERT_TRUE(back.GetString(12, s));
    EXPECT_EQ(s, "/m/a.mp3");
    EXPECT_TRUE(back.GetBoolean(13));
    EXPECT_EQ(back.GetInteger(44), 15);
    ASSERT_TRUE(back.GetString(45, s));
    EXPECT_EQ(s, "έξτρα");
    ASSERT_TRUE(in.GetString(first + 11, s));
    EXPECT_EQ(s, "/m/a.mp3");

    // The next track's block lies past the end: zeros and pastEnd.
    ASSERT_TRUE(in.ReadBlock(first + 45, back));
    EXPECT_TRUE(in.pastEnd());
    EXPECT_EQ(back.GetLong(1), 0);
    ASSERT_TRUE(back.GetString(12, s));
    EXPECT_EQ(s, "");

    // A block of no records reads nothing, also from what was read ahead.
    std::int32_t l = 0;
    ASSERT_TRUE(in.GetLong(first, l));
    ASSERT_TRUE(in.GetLong(first + 1, l));
    RecordBlock none(400, 0);
    EXPECT_TRUE(in.ReadBlock(first + 2, none));
    EXPECT_FALSE(in.pastEnd());
    EXPECT_EQ(in.position(), first + 2);
    std::int16_t cls = 0;
    ASSERT_TRUE(in.GetInteger(RecordFile::Next, cls));
    EXPECT_EQ(cls, 4);
}

TEST(RecordFile, GatheredBlocksStayInOrderWithSingleRecords) {
    TempDir dir;
    const std::string path = dir.file("many.ptlf");
    constexpr int tracks = 150;  // more than one megabyte of blocks
    RecordFile f;
    ASSERT_TRUE(f.Open(path, RecordFile::Mode::Create, 400));
    RecordBlock block(400, 45);
    for (int i = 0; i < tracks; ++i) {
        block.PutLong(1, i);
        ASSERT_TRUE(block.PutString(12, "/m/" + std::to_string(i) + ".mp3"));
        ASSERT_TRUE(f.WriteBlock(45 * i + 1, block));
    }
    // Single records see the blocks before them, and land after them.
    std::int32_t l = -1;
    ASSERT_TRUE(f.GetLong(45 * (tracks - 1) + 1, l));
    EXPECT_EQ(l, tracks - 1);
    ASSERT_TRUE(f.WriteBlock(1, block));           // track 0 again, gathered
    ASSERT_TRUE(f.PutLong(1, 1000));               // then this record of it
    EXPECT_EQ(f.RecordCount(), 45 * tracks);
    ASSERT_TRUE(f.Close());

    ASSERT_TRUE(f.Open(path, RecordFile::Mode::ReadWrite, 400));
    RecordBlock back(400, 45);
    std::string s;
    for (int i = 0; i < tracks; ++i) {
        ASSERT_TRUE(f.ReadBlock(45 * i + 1, back));
        EXPECT_EQ(back.GetLong(1), i == 0 ? 1000 : i == 11 ? 7 : i);
        ASSERT_TRUE(back.GetString(12, s));
        EXPECT_EQ(s, i == 0 ? "/m/149.mp3" : "/m/" + std::to_string(i) + ".mp3");
        if (i == 10) {
            // Track 11 now lies in what was read ahead; the write must show.
            ASSERT_TRUE(f.PutLong(45 * 11 + 1, 7));
        }
    }
}

TEST(RecordFile, SingleRecordsReadInOrderSeeEveryWrite) {
    TempDir dir;
    const std::string path = dir.file("rows.ptlf");
    constexpr int rows = 5000;  // several read-aheads of growing size
    RecordFile f;
    ASSERT_TRUE(f.Open(path, RecordFile::Mode::Create, 600));
    for (int i = 1; i <= rows; ++i) ASSERT_TRUE(f.PutString(i, "row " + std::to_string(i)));
    ASSERT_TRUE(f.Close());
    // The last record is cut short, as an older file may end.
    Bytes bytes = readBytes(path);
    bytes.resize(bytes.size() - 590);
    writeBytes(path, bytes);

    ASSERT_TRUE(f.Open(path, RecordFile::Mode::ReadWrite, 600));
    std::string s;
    for (int i = 1; i < rows; ++i) {
        ASSERT_TRUE(f.GetString(i, s)) << i;
        EXPECT_EQ(s, i == 3001 ? "changed" : "row " + std::to_string(i));
        EXPECT_FALSE(f.pastEnd());
        // A record ahead of the reads, already fetched, is written over.
        if (i == 3000) {
            ASSERT_TRUE(f.PutString(3001, "changed"));
        }
    }
    ASSERT_TRUE(f.GetString(rows, s));
    EXPECT_EQ(s, "row 5000");  // the ten bytes left hold all of it
    EXPECT_FALSE(f.pastEnd());
    std::int32_t l = -1;
    ASSERT_TRUE(f.GetLong(rows + 1, l));
    EXPECT_TRUE(f.pastEnd());
    EXPECT_EQ(l, 0);
    // Reading again from the start gives the same records.
    ASSERT_TRUE(f.GetString(2, s));
    EXPECT_EQ(s, "row 2");
    ASSERT_TRUE(f.GetString(RecordFile::Next, s));
    EXPECT_EQ(s, "row 3");
}

TEST(RecordFile, FailedGatheredWriteIsReportedByClose) {
    RecordFile f;
    ASSERT_TRUE(f.Open("/dev/full", RecordFile::Mode::ReadWrite, 400));
    RecordBlock block(400, 45);
    ASSERT_TRUE(f.WriteBlock(1, block));  // only gathered so far
    EXPECT_FALSE(f.Close());
    EXPECT_EQ(f.errorNumber(), ENOSPC);
    EXPECT_FALSE(f.isOpen());

    ASSERT_TRUE(f.Open("/dev/full", RecordFile::Mode::ReadWrite, 400));
    EXPECT_FALSE(f.PutString(1, "x"));
    EXPECT_EQ(f.errorNumber(), ENOSPC);
    ASSERT_TRUE(f.WriteBlock(1, block));
    EXPECT_FALSE(f.Flush());
}

TEST(RecordBlock, EachPutRewritesTheWholeRecord) {
    RecordBlock block(10, 2);
    ASSERT_TRUE(block.PutString(1, "abcdefgh"));  // exactly 8 = 10 - 2 bytes
    block.PutInteger(1, 7);                      // the old text must not survive
    const Bytes rec1(block.data(), block.data() + 10);
    EXPECT_EQ(rec1, record({7, 0}, 10));
    EXPECT_FALSE(block.PutString(2, "abcdefghi"));
    EXPECT_EQ(Bytes(block.data() + 10, block.data() + 20), Bytes(10, 0));

    block.data()[10] = 9;  // length word 9 runs one byte past the record
    std::string s = "x";
    EXPECT_FALSE(block.GetString(2, s));
    EXPECT_EQ(s, "");
    EXPECT_THROW(block.GetLong(3), std::out_of_range);
    EXPECT_THROW(block.PutLong(0, 1), std::out_of_range);
}

TEST(RecordFile, OpenModesAndMisuseAreReportedNotThrown) {
    TempDir dir;
    const std::string path = dir.file("m.tlf");
    RecordFile f;
    EXPECT_FALSE(f.Open(path, RecordFile::Mode::Read, 300));  // missing: not created
    EXPECT_EQ(f.errorNumber(), ENOENT);
    EXPECT_EQ(f.errorText(), std::strerror(ENOENT));
    EXPECT_FALSE(f.isOpen());

    std::int16_t i;
    EXPECT_FALSE(f.GetInteger(1, i));
    EXPECT_EQ(f.errorNumber(), 52);
    EXPECT_TRUE(f.Close());

    ASSERT_TRUE(f.Open(path, RecordFile::Mode::ReadWrite, 300));  // created
    ASSERT_TRUE(f.PutInteger(1, 1));
    ASSERT_TRUE(f.PutInteger(3, 3));
    EXPECT_FALSE(f.PutInteger(-1, 1));
    EXPECT_EQ(f.errorNumber(), 63);
    RecordBlock other(400, 1);
    EXPECT_FALSE(f.WriteBlock(1, other));
    EXPECT_EQ(f.errorNumber(), 59);

    // Rewriting in place keeps the later records.
    ASSERT_TRUE(f.Open(path, RecordFile::Mode::ReadWrite, 300));
    ASSERT_TRUE(f.PutInteger(1, 10));
    EXPECT_EQ(f.RecordCount(), 3);
    ASSERT_TRUE(f.GetInteger(3, i));
    EXPECT_EQ(i, 3);

    ASSERT_TRUE(f.Open(path, RecordFile::Mode::Read, 300));
    EXPECT_FALSE(f.PutInteger(1, 5));
    EXPECT_EQ(f.errorNumber(), 54);
    ASSERT_TRUE(f.GetInteger(1, i));
    EXPECT_EQ(i, 10);

    ASSERT_TRUE(f.Open(path, RecordFile::Mode::Create, 300));  // emptied
    EXPECT_EQ(f.RecordCount(), 0);

    EXPECT_FALSE(f.Open(dir.path(), RecordFile::Mode::ReadWrite, 300));  // a folder
    EXPECT_FALSE(f.isOpen());
    EXPECT_FALSE(f.Open(path, RecordFile::Mode::Read, 0));
}

TEST(WriteAndReadAt, ReadUpToAtStopsOnlyAtTheEndOfTheFile) {
    TempDir dir;
    const std::string path = dir.file("r.bin");
    writeBytes(path, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(fd, 0);

    Bytes got(20, 0xee);
    EXPECT_EQ(ReadUpToAt(fd, got.data(), 4, 3), 4);
    EXPECT_EQ(Bytes(got.begin(), got.begin() + 4), (Bytes{3, 4, 5, 6}));
    EXPECT_EQ(got[4], 0xee);
    EXPECT_EQ(ReadUpToAt(fd, got.data(), 20, 6), 4);
    EXPECT_EQ(Bytes(got.begin(), got.begin() + 4), (Bytes{6, 7, 8, 9}));
    EXPECT_EQ(ReadUpToAt(fd, got.data(), 20, 10), 0);
    EXPECT_EQ(ReadUpToAt(fd, got.data(), 20, 4000), 0);
    EXPECT_EQ(ReadUpToAt(fd, got.data(), 0, 0), 0);

    // What WriteAllAt puts past the end reads back, with the gap as zeros.
    const Bytes more = {0xa1, 0xa2};
    ASSERT_TRUE(WriteAllAt(fd, more.data(), more.size(), 12));
    EXPECT_EQ(ReadUpToAt(fd, got.data(), 20, 8), 6);
    EXPECT_EQ(Bytes(got.begin(), got.begin() + 6), (Bytes{8, 9, 0, 0, 0xa1, 0xa2}));
    ::close(fd);

    const int writeOnly = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    ASSERT_GE(writeOnly, 0);
    errno = 0;
    EXPECT_EQ(ReadUpToAt(writeOnly, got.data(), 4, 0), -1);
    EXPECT_EQ(errno, EBADF);
    ::close(writeOnly);
}

}  // namespace
}  // namespace tarvolin
