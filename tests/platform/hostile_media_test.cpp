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

std::function<std::string(const std::string&)> damagedBy(const std::function<void(std::string&)>& damage) {
    return [=](const std::string& path) { return writeDamaged(path, damage); };
}

TEST(HostileHeader, AnnouncedCountsBeyondTheFileAreRefusedBeforeTheyAreWalked) {
    const struct {
        const char* what;
        const char* ext;
        std::function<std::string(const std::string&)> make;
        bool whole = false;
    } cases[] = {
        // Whole files, whose writes go through.
        {"an M4A", "m4a", damagedBy(nullptr), true},
        {"a WMA", "wma", damagedBy(nullptr), true},
        {"a chunk-offset table of four billion entries", "m4a", writeM4aOfEndlessOffsets},
        {"a 64-bit chunk-offset table of more entries than it holds", "m4a",
         damagedBy([](std::string& b) { b.replace(b.find("stco"), 4, "co64"); })},
        {"an atom larger than the atom that holds it", "m4a",
         damagedBy([](std::string& b) { b.replace(b.find("stbl") - 4, 4, uint32Bytes(0x7FFFFFFF, true)); })},
        {"a header of four billion objects", "wma",
         damagedBy([](std::string& b) { b.replace(24, 4, uint32Bytes(0xFFFFFFFF, false)); })},
        {"forty attribute lists of 65,535 attributes each", "wma", writeWmaOfEndlessAttributes},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::string path = c.make(dir.file(std::string("song.") + c.ext));
        const bool whole = c.whole;
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
