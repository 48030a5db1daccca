#include "toolkit/text_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "support/temp_dir.h"

namespace tarvolin {
namespace {

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeAll(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

TEST(TextFileWriter, LinesEndInCrLfAndAppendKeepsTheOldText) {
    TempDir dir;
    const std::string path = dir.file("tarvolin_report.txt");
    TextFileWriter w;
    ASSERT_TRUE(w.Open(path, TextFileWriter::Mode::Output));
    ASSERT_TRUE(w.PrintLine(std::string(3, '*')));
    ASSERT_TRUE(w.PrintLine("03-07-2026"));
    ASSERT_TRUE(w.Print("a"));
    ASSERT_TRUE(w.PrintLine());
    ASSERT_TRUE(w.Close());
    EXPECT_EQ(readAll(path), "***\r\n03-07-2026\r\na\r\n");

    ASSERT_TRUE(w.Open(path, TextFileWriter::Mode::Append));
    ASSERT_TRUE(w.PrintLine("Καλημέρα"));
    ASSERT_TRUE(w.Close());
    EXPECT_EQ(readAll(path), "***\r\n03-07-2026\r\na\r\nΚαλημέρα\r\n");

    ASSERT_TRUE(w.Open(path, TextFileWriter::Mode::Output));
    ASSERT_TRUE(w.Close());
    EXPECT_EQ(readAll(path), "");

    // Writing to a closed file, or opening in a missing folder, fails.
    EXPECT_FALSE(w.PrintLine("x"));
    EXPECT_EQ(w.errorNumber(), 52);
    EXPECT_FALSE(w.Open(dir.file("missing/x.txt"), TextFileWriter::Mode::Output));
    EXPECT_EQ(w.errorNumber(), ENOENT);
}

TEST(TextFileReader, DefaultFileRoundTripWithNegativeCounters) {
    TempDir dir;
    const std::string path = dir.file("default.tl");
    const std::string collection = "/home/ΜΟΥΣΙΚΗ/rock, roll.tlf";
    const std::int32_t counters[7] = {1234, 0, 12, -3, 23, 59, 7};
    TextFileWriter w;
    ASSERT_TRUE(w.Open(path, TextFileWriter::Mode::Output));
    ASSERT_TRUE(w.PrintLine(collection));
    std::string line2;
    for (std::int32_t c : counters) line2 += PrintNumberText(c);
    ASSERT_TRUE(w.PrintLine(line2));
    ASSERT_TRUE(w.Close());
    EXPECT_EQ(readAll(path), collection + "\r\n 1234  0  12 -3  23  59  7 \r\n");

    TextFileReader r;
    ASSERT_TRUE(r.Open(path));
    std::string first;
    ASSERT_TRUE(r.LineInput(first));
    EXPECT_EQ(first, collection);  // a comma has no meaning for a whole line
    for (std::int32_t c : counters) {
        std::int32_t v = -99;
        ASSERT_TRUE(r.InputLong(v));
        EXPECT_EQ(v, c);
    }
    EXPECT_TRUE(r.EndOfFile());
    std::int32_t v;
    EXPECT_FALSE(r.InputLong(v));
    EXPECT_EQ(r.errorNumber(), 62);
}

TEST(TextFileReader, LineEndsOfEveryKind) {
    TempDir dir;
    const std::string path = dir.file("lines.txt");
    writeAll(path, "one\r\ntwo\nthree\rfour\r\n\r\nlast");
    TextFileReader r;
    ASSERT_TRUE(r.Open(path));
    std::string line;
    for (const char* want : {"one", "two", "three", "four", "", "last"}) {
        ASSERT_TRUE(r.LineInput(line));
        EXPECT_EQ(line, want);
    }
    EXPECT_TRUE(r.EndOfFile());
    EXPECT_FALSE(r.LineInput(line));
    EXPECT_EQ(r.errorNumber(), 62);

    EXPECT_FALSE(r.Open(dir.file("none.txt")));
    EXPECT_EQ(r.errorNumber(), ENOENT);
    EXPECT_TRUE(r.EndOfFile());
}

TEST(TextFileReader, InputFieldsFollowTheOriginalRules) {
    TempDir dir;
    const std::string path = dir.file("fields.txt");
    writeAll(path,
             "  \"a, b\"  junk, plain text ,\"Ωμέγα\"\n"
             "1,2 3\t, 4\r\n"
             ",,-5.5e1\n"
             "x5 6\n"
             "\"unterminated");
    TextFileReader r;
    ASSERT_TRUE(r.Open(path));
    std::string s;
    ASSERT_TRUE(r.InputString(s));
    EXPECT_EQ(s, "a, b");  // quoted: ends at the closing quote, the rest dropped
    ASSERT_TRUE(r.InputString(s));
    EXPECT_EQ(s, "plain text ");  // leading blanks skipped, ends at the comma
    ASSERT_TRUE(r.InputString(s));
    EXPECT_EQ(s, "Ωμέγα");

    double d;
    for (double want : {1.0, 2.0, 3.0, 4.0, 0.0, 0.0, -55.0}) {
        ASSERT_TRUE(r.InputNumber(d));
        EXPECT_EQ(d, want);
    }
    // A field that is not a number fails, is consumed, and reading goes on.
    EXPECT_FALSE(r.InputNumber(d));
    EXPECT_EQ(r.errorNumber(), 13);
    ASSERT_TRUE(r.InputNumber(d));
    EXPECT_EQ(d, 6);
    ASSERT_TRUE(r.InputString(s));
    EXPECT_EQ(s, "unterminated");
    EXPECT_FALSE(r.InputString(s));
    EXPECT_EQ(r.errorNumber(), 62);
}

TEST(TextFileReader, LongFieldsRoundHalfEvenAndReportOverflow) {
    TempDir dir;
    const std::string path = dir.file("n.txt");
    writeAll(path, "2.5 3.5 -2.5 3000000000 &HFF\r\n");
    TextFileReader r;
    ASSERT_TRUE(r.Open(path));
    std::int32_t v;
    ASSERT_TRUE(r.InputLong(v));
    EXPECT_EQ(v, 2);
    ASSERT_TRUE(r.InputLong(v));
    EXPECT_EQ(v, 4);
    ASSERT_TRUE(r.InputLong(v));
    EXPECT_EQ(v, -2);
    EXPECT_FALSE(r.InputLong(v));
    EXPECT_EQ(r.errorNumber(), 6);
    EXPECT_EQ(v, 0);
    ASSERT_TRUE(r.InputLong(v));
    EXPECT_EQ(v, 255);
    EXPECT_TRUE(r.EndOfFile());
}

}  // namespace
}  // namespace tarvolin
