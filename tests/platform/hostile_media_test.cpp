// Media files made to hurt their reader: headers that announce more than
// the file holds must be refused before any walk over what they announce,
// and the plan of a change must cost no more per edit as the edits grow.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <taglib/tiostream.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/tags/tag_file_write.h"
#include "platform/tags/tag_media.h"
#include "support/media_fixtures.h"
#include "support/temp_dir.h"

namespace tarvolin {
namespace {

using namespace fixtures;

// The pieces a planned change visits per edit, for `edits` edits of the
// given way on a file of 4 bytes per edit; the plan must read back as made.
double stepsPerEdit(const std::string& way, int edits) {
    TempDir dir;
    const std::string path = writeBytes(dir.file("f"), std::string(static_cast<std::size_t>(edits) * 4, 'o'));
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    std::string expected = readBytes(path);
    const std::size_t steps = tagwrite::plannedSteps(fd, [&](TagLib::IOStream& s) {
        for (int i = 0; i < edits; ++i) {
            const auto at = static_cast<long>(i) * 4;
            if (way == "overwrite") {
                // As a table of offsets is rewritten: one entry after another.
                s.seek(at);
                s.writeBlock(TagLib::ByteVector::fromUInt(static_cast<unsigned>(i)));
                expected.replace(static_cast<std::size_t>(at), 4, TagLib::ByteVector::fromUInt(static_cast<unsigned>(i)).data(), 4);
            } else if (way == "insert") {
                s.insert("ab", static_cast<unsigned long>(at), 0);
                expected.insert(static_cast<std::size_t>(at), "ab");
            } else {
                s.removeBlock(static_cast<unsigned long>(i), 1);
                expected.erase(static_cast<std::size_t>(i), 1);
            }
        }
        s.seek(0);
        const TagLib::ByteVector all = s.readBlock(static_cast<unsigned long>(s.length()));
        EXPECT_TRUE(std::string(all.data(), all.size()) == expected) << way << " reads back otherwise";
    });
    ::close(fd);
    return static_cast<double>(steps) / edits;
}

TEST(PlannedChange, TheCostOfAnEditDoesNotGrowWithTheNumberOfEdits) {
    for (const char* way : {"overwrite", "insert", "remove"}) {
        SCOPED_TRACE(way);
        // Sixteen times the edits: a cost per edit that grows like the
        // logarithm at most, far from the sixteen times of a walk of all.
        const double few = stepsPerEdit(way, 1000), many = stepsPerEdit(way, 16000);
        EXPECT_LT(many, few * 2.5) << few << " steps per edit, then " << many;
    }
}

// A file ffmpeg makes of the kind ext names, changed by `damage`.
std::string damaged(const std::string& path, const std::function<void(std::string&)>& damage) {
    std::vector<std::string> args = ffmpegSineInput(0.2);
    args.insert(args.end(), {"-metadata", "title=Old", "-b:a", "32k"});
    EXPECT_TRUE(makeWithFfmpeg(path, args));
    std::string bytes = readBytes(path);
    if (damage) damage(bytes);
    return writeBytes(path, bytes);
}

void putUInt(std::string& bytes, std::size_t at, std::uint32_t value, bool bigEndian) {
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<std::size_t>(bigEndian ? 3 - i : i)] = static_cast<char>(value >> (8 * i));
}

std::uint32_t getUInt(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

const std::string kExtendedDescription("\x40\xA4\xD0\xD2\x07\xE3\xD2\x11\x97\xF0\x00\xA0\xC9\x5E\xA8\x50", 16);

TEST(HostileHeader, AnnouncedCountsBeyondTheFileAreRefusedBeforeTheyAreWalked) {
    const struct {
        const char* what;
        const char* ext;
        std::function<void(std::string&)> damage;
    } cases[] = {
        // Whole files, whose writes go through.
        {"an M4A", "m4a", nullptr},
        {"a WMA", "wma", nullptr},
        {"a chunk-offset table of four billion entries", "m4a",
         [](std::string& b) { putUInt(b, b.find("stco") + 8, 0xFFFFFFFF, true); }},
        {"an atom larger than the atom that holds it", "m4a",
         [](std::string& b) { putUInt(b, b.find("stbl") - 4, 0x7FFFFFFF, true); }},
        {"a header of four billion objects", "wma", [](std::string& b) { putUInt(b, 24, 0xFFFFFFFF, false); }},
        {"forty attribute lists of 65,535 attributes each", "wma",
         [](std::string& b) {
             // Each list is 26 bytes: its GUID, its size, its count.
             std::string lists;
             for (int i = 0; i < 40; ++i) lists += kExtendedDescription + std::string("\x1A\0\0\0\0\0\0\0\xFF\xFF", 10);
             b.insert(30, lists);
             putUInt(b, 16, getUInt(b, 16) + 26 * 40, false);
             putUInt(b, 24, getUInt(b, 24) + 40, false);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::string path = damaged(dir.file(std::string("song.") + c.ext), c.damage);
        const bool whole = !c.damage;
        const std::string before = readBytes(path);
        // In a child that a hang cannot keep: a walk of what the header
        // announces would outlast the alarm by hours.
        const pid_t child = ::fork();
        if (child == 0) {
            ::alarm(60);
            TagMediaItem item(path);
            const bool wrote = item.setItemInfo("Title", "A title longer than the old one") ||
                               item.setItemInfo("UserRating", "99");
            ::_exit(wrote == whole ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << (WIFSIGNALED(status) ? "the child hung or died" : "the write was done or refused wrongly");
        EXPECT_EQ(readBytes(path) == before, !whole) << "the file changed or stayed";
        if (whole) {
            EXPECT_EQ(TagMediaItem(path).getItemInfo("Title"), "A title longer than the old one");
        }
    }
}

}  // namespace
}  // namespace tarvolin
