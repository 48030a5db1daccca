// Writing a rating or a tag must never damage the media file: a full disk
// or a kill while the change is written leaves the file as it was, readable
// with its old tag, and a failed write is reported. A change that fits in
// the tag is made where the file lies; one that moves the audio goes through
// a copy, and is refused for files that a copy cannot stand in for (more
// than one name, another owner, a folder the user may not write).
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <taglib/tbytevectorstream.h>
#include <taglib/tstring.h>

#include "platform/tags/tag_layout.h"
#include "platform/tags/tag_media.h"
#include "support/media_fixtures.h"
#include "support/temp_dir.h"

namespace tarvolin {
namespace {

using namespace fixtures;

constexpr uid_t kNobody = 65534;

// An MP3 whose ID3v2 tag has no room to spare: any longer text makes the
// writer move all of the audio.
std::string tightMp3(const std::string& path, double seconds = 60) {
    Mp3Options opts;
    opts.seconds = seconds;
    Id3Tag tag;
    tag.title = "Old title";
    tag.comment = "old";
    tag.popm.push_back({"Windows Media Player 9 Series", 128, 0});
    tag.padding = 0;
    opts.id3 = tag;
    return writeMp3(path, opts);
}

// The bytes after a file's leading ID3v2 tag: the audio.
std::string afterTag(const std::string& bytes) {
    if (bytes.size() < 10 || bytes.compare(0, 3, "ID3") != 0) return bytes;
    size_t size = 0;
    for (int i = 6; i < 10; ++i) size = (size << 7) | (static_cast<unsigned char>(bytes[static_cast<size_t>(i)]) & 0x7F);
    return bytes.substr(std::min(bytes.size(), 10 + size));
}

// Gives the frames of a tightMp3 (128 kbps, 44.1 kHz) noise for audio, so
// that audio moved by any number of bytes shows.
void addNoise(const std::string& path) {
    std::string bytes = readBytes(path);
    std::mt19937 noise;
    for (size_t at = bytes.size() - afterTag(bytes).size(); at < bytes.size(); at += 417 + ((bytes[at + 2] & 2) ? 1 : 0))
        for (size_t i = at + 36; i < std::min(bytes.size(), at + 417); ++i) bytes[i] = static_cast<char>(noise());
    writeBytes(path, bytes);
}

std::string onDisk(const std::string& path, const std::string& name) {
    return TagMediaItem(path).getItemInfo(name);
}

std::set<std::string> namesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder)) names.insert(e.path().filename().string());
    return names;
}

struct stat statOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st;
}

// Runs body in a child process and gives its wait status. With a limit, no
// file of the child may grow past that many bytes; going past it kills the
// child (limitKills) or fails the write, as on a full disk.
int inChild(const std::function<int()>& body, rlim_t limit = RLIM_INFINITY, bool limitKills = false) {
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, limitKills ? SIG_DFL : SIG_IGN);
        rlimit r{};
        ::getrlimit(RLIMIT_FSIZE, &r);
        r.rlim_cur = limit;
        ::setrlimit(RLIMIT_FSIZE, &r);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

// 0 when the write reported success, 1 when it reported failure.
int writeInChild(const std::string& path, const std::string& name, const std::string& value, rlim_t limit,
                 bool limitKills = false) {
    return inChild([&] { return TagMediaItem(path).setItemInfo(name, value) ? 0 : 1; }, limit, limitKills);
}

// ---------------------------------------------------------------------------
// Interrupted writes

class InterruptedTagWrite : public ::testing::Test {
protected:
    void SetUp() override {
        path = tightMp3(dir.file("song.mp3"));
        before = readBytes(path);
        // Room for a few more bytes only: the longer tag cannot be written whole.
        limit = before.size() + 64;
    }
    void expectUntouched() {
        EXPECT_TRUE(readBytes(path) == before) << "the file's bytes changed";
        TagMediaItem back(path);
        const std::string comment = back.getItemInfo("Comment");
        EXPECT_TRUE(comment == "old") << "a comment of " << comment.size() << " characters";
        EXPECT_EQ(back.getItemInfo("UserRating"), "50");
        EXPECT_GT(back.duration(), 59.0);
    }

    TempDir dir;
    std::string path, before;
    rlim_t limit = 0;
    const std::string longComment = std::string(4000, 'c');
};

TEST_F(InterruptedTagWrite, AFullDiskIsReportedAndLeavesTheFileAsItWas) {
    const int status = writeInChild(path, "Comment", longComment, limit);
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 1) << "a write that did not fit was reported as done";
    expectUntouched();
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"song.mp3"});

    // A rating that needs a new frame does not fit either.
    Id3Tag bare;
    bare.title = "x";
    bare.padding = 0;
    Mp3Options opts;
    opts.seconds = 30;
    opts.id3 = bare;
    const std::string unrated = writeMp3(dir.file("unrated.mp3"), opts);
    const std::string unratedBytes = readBytes(unrated);
    const int rating = writeInChild(unrated, "UserRating", "99", unratedBytes.size() + 8);
    ASSERT_TRUE(WIFEXITED(rating));
    EXPECT_EQ(WEXITSTATUS(rating), 1);
    EXPECT_TRUE(readBytes(unrated) == unratedBytes);
    EXPECT_EQ(onDisk(unrated, "UserRating"), "");
}

TEST_F(InterruptedTagWrite, AKillWhileTheTagGrowsLeavesTheFileAsItWas) {
    // The child dies the moment a file of its grows past the limit.
    const int status = writeInChild(path, "Comment", longComment, limit, true);
    ASSERT_TRUE(WIFSIGNALED(status)) << status;
    EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
    expectUntouched();
    // What is left beside it is no more than an unfinished copy.
    EXPECT_EQ(namesIn(dir.path()).size(), 2u);
    for (const std::string& name : namesIn(dir.path()))
        if (name != "song.mp3") {
            EXPECT_EQ(name.rfind("song.mp3.tmp-", 0), 0u) << name;
        }
    // The next write clears what the dead writer left; a copy of a writer
    // still running, and a file of the user's that only looks alike, stay.
    const std::string live = dir.file("song.mp3.tmp-" + std::to_string(::getppid()) + "-1");
    const std::string own = dir.file("song.mp3.tmp-old");
    writeBytes(live, "x");
    writeBytes(own, "y");
    ASSERT_TRUE(TagMediaItem(path).setItemInfo("Comment", "new"));
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"song.mp3", "song.mp3.tmp-old",
                                                         "song.mp3.tmp-" + std::to_string(::getppid()) + "-1"}));
}

TEST_F(InterruptedTagWrite, AKillAtAnyMomentOfEachWayOfWritingLeavesTheAudioAndTheOldOrTheNewTag) {
    // TARVOLIN_TAG_KILLS sets the number of kills of each way.
    const char* given = std::getenv("TARVOLIN_TAG_KILLS");
    const int kills = given ? std::atoi(given) : 3;
    std::mt19937 random(std::random_device{}());
    // Ratings that fit in the tag, written in place; comments that grow it,
    // through a copy; the same into a file of two names, which are refused.
    const std::string fits = tightMp3(dir.file("fits.mp3"), 600);
    const std::string grows = tightMp3(dir.file("grows.mp3"), 600);
    const std::string linked = tightMp3(dir.file("linked.mp3"), 600);
    ASSERT_EQ(::link(linked.c_str(), dir.file("other.mp3").c_str()), 0);
    for (const std::string* path : {&fits, &grows, &linked}) {
        addNoise(*path);
        const std::string before = readBytes(*path), audio = afterTag(before);
        for (int k = 0; k < kills; ++k) {
            writeBytes(*path, before);  // each kill from the same file, its names kept
            const int delay = std::uniform_int_distribution<int>(0, 300000)(random);
            SCOPED_TRACE(*path + " killed after " + std::to_string(delay) + " µs");
            const pid_t child = ::fork();
            if (child == 0) {
                for (int i = 1;; ++i) {
                    TagMediaItem item(*path);
                    if (path == &fits)
                        item.setItemInfo("UserRating", i % 2 ? "99" : "25");
                    else
                        item.setItemInfo("Comment", std::string(static_cast<size_t>(i) * 3000, 'k'));
                }
            }
            std::this_thread::sleep_for(std::chrono::microseconds(delay));
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
            EXPECT_TRUE(afterTag(readBytes(*path)) == audio) << "the audio was damaged";
            TagMediaItem back(*path);
            const std::string comment = back.getItemInfo("Comment"), rating = back.getItemInfo("UserRating");
            EXPECT_TRUE(comment == "old" || (path == &grows && comment == std::string(comment.size() / 3000 * 3000, 'k')));
            EXPECT_TRUE(rating == "50" || (path == &fits && (rating == "99" || rating == "25"))) << rating;
            EXPECT_EQ(back.getItemInfo("Title"), "Old title");
        }
    }
}

TEST_F(InterruptedTagWrite, AKillDuringAnEditOfSixFieldsLeavesAllOfThemOldOrAllNew) {
    // As the track information editor saves: six fields, each edit growing
    // or shrinking the tag, so that writes in place and through a copy mix.
    const char* const names[] = {"Title", "Artist", "Album", "Year", "Comment", "Genre"};
    const auto edit = [&](int i) {
        std::vector<std::pair<std::string, std::string>> values;
        for (const char* name : names)
            values.emplace_back(name, name == std::string("Year") ? std::to_string(1900 + i % 100)
                                                                  : std::string(static_cast<size_t>(i % 2 ? 2000 : 3), 'a' + i % 26));
        return values;
    };
    const std::string song = tightMp3(dir.file("six.mp3"), 120);
    const std::string before = readBytes(song);
    std::mt19937 random(std::random_device{}());
    for (int k = 0; k < 20; ++k) {
        writeBytes(song, before);
        const int delay = std::uniform_int_distribution<int>(0, 200000)(random);
        SCOPED_TRACE("killed after " + std::to_string(delay) + " µs");
        const pid_t child = ::fork();
        if (child == 0)
            for (int i = 1;; ++i) TagMediaItem(song).setItemInfos(edit(i));
        std::this_thread::sleep_for(std::chrono::microseconds(delay));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        // The fields all of one edit: the first's, or the file's old ones.
        TagMediaItem back(song);
        std::string fields;
        for (const char* name : names) fields += std::string(name) + "=" + back.getItemInfo(name).substr(0, 8) + " ";
        const std::string year = back.getItemInfo("Year");
        bool whole = year.empty() && back.getItemInfo("Title") == "Old title";
        for (int i = 1; i <= 1000 && !whole; ++i) {
            whole = year == edit(i)[3].second;
            for (size_t n = 0; n < 6 && whole; ++n) whole = back.getItemInfo(names[n]) == edit(i)[n].second;
        }
        EXPECT_TRUE(whole) << fields;
    }
}

// ---------------------------------------------------------------------------
// Successful writes

TEST(TagWrite, TheFileKeepsItsPermissionsGroupAndAttributesAndItsTimeMoves) {
    TempDir dir;
    const std::string path = tightMp3(dir.file("kept.mp3"), 5);
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);  // wider than the usual umask lets a new file be
    // Root may hand the file to any group.
    const bool regrouped = ::chown(path.c_str(), static_cast<uid_t>(-1), 4321) == 0;
    const std::string label = "kept";
    const bool xattrs = ::setxattr(path.c_str(), "user.note", label.data(), label.size(), 0) == 0;
    const struct timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
    ::utimensat(AT_FDCWD, path.c_str(), old, 0);

    ASSERT_TRUE(TagMediaItem(path).setItemInfo("Comment", std::string(5000, 'n')));
    EXPECT_EQ(onDisk(path, "Comment"), std::string(5000, 'n'));
    ASSERT_TRUE(TagMediaItem(path).setItemInfo("UserRating", "99"));
    EXPECT_EQ(onDisk(path, "UserRating"), "99");
    const struct stat st = statOf(path);
    EXPECT_EQ(st.st_mode & 07777, 0666u);
    if (regrouped) {
        EXPECT_EQ(st.st_gid, 4321u);
    }
    EXPECT_GT(st.st_mtim.tv_sec, 1000000000);
    if (xattrs) {
        char back[16] = {};
        EXPECT_EQ(::getxattr(path.c_str(), "user.note", back, sizeof back), static_cast<ssize_t>(label.size()));
        EXPECT_EQ(std::string(back), label);
    }
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"kept.mp3"});
}

TEST(TagWrite, TheFileGainsNoAccessListFromItsFolder) {
    TempDir dir;
    const std::string folder = dir.makeDir("shared");
    const std::string path = tightMp3(folder + "private.mp3", 5);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    // From now on the folder lets another user write every new file in it.
    struct Entry {
        uint16_t tag, perm;
        uint32_t id;
    };
    const uint32_t any = 0xFFFFFFFF;
    const struct {
        uint32_t version = 2;
        Entry entries[5];
    } inherited{2, {{0x01, 6, any}, {0x02, 6, kNobody}, {0x04, 4, any}, {0x10, 6, any}, {0x20, 4, any}}};
    if (::setxattr(folder.c_str(), "system.posix_acl_default", &inherited, sizeof inherited, 0) != 0)
        GTEST_SKIP() << "the file system keeps no access lists";
    ASSERT_TRUE(TagMediaItem(path).setItemInfo("Comment", std::string(3000, 'a')));
    EXPECT_EQ(onDisk(path, "Comment"), std::string(3000, 'a'));
    EXPECT_LT(::getxattr(path.c_str(), "system.posix_acl_access", nullptr, 0), 0);
    EXPECT_EQ(statOf(path).st_mode & 07777, 0640u);
}

// ---------------------------------------------------------------------------
// Files written in place

// A file of the kind its name ends in: with a tag that has room for a title
// and a rating (Roomy), with a tag of no room and no rating (Tight), or none.
enum class Tag { None, Tight, Roomy };
std::string kindFile(const std::string& path, Tag tag) {
    Id3Tag id3;
    id3.title = "Old";
    if (tag == Tag::Roomy) id3.popm.push_back({"Windows Media Player 9 Series", 128, 0});
    if (tag == Tag::Tight) id3.padding = 0;
    const std::string ext = std::filesystem::path(path).extension().string();
    Mp3Options mp3;
    WavOptions wav;
    AiffOptions aiff;
    if (tag != Tag::None) {
        mp3.id3 = wav.id3 = aiff.id3 = id3;
        wav.info = InfoTag();
        wav.info->title = "Old";
    }
    if (ext == ".mp3") return writeMp3(path, mp3);
    if (ext == ".wav") return writeWav(path, wav);
    if (ext == ".aiff") return writeAiff(path, aiff);
    std::vector<std::string> args = ffmpegSineInput(1);
    args.insert(args.end(), {"-metadata", "title=Old"});
    EXPECT_TRUE(makeWithFfmpeg(path, args));
    return path;
}

TEST(TagWriteInPlace, AChangeThatFitsRewritesOnlyTheTagWhereTheFileLies) {
    const std::pair<const char*, std::vector<const char*>> kinds[] = {
        {"mp3", {"Title", "UserRating"}}, {"wav", {"Title", "UserRating"}}, {"aiff", {"Title", "UserRating"}},
        {"wma", {"Title"}}, {"m4a", {"Title"}}};
    for (const auto& [ext, names] : kinds) {
        for (const std::string name : names) {
            SCOPED_TRACE(std::string(ext) + " " + name);
            TempDir dir;
            const std::string path = kindFile(dir.file(std::string("song.") + ext), Tag::Roomy);
            const std::string before = readBytes(path);
            const ino_t inode = statOf(path).st_ino;
            ASSERT_TRUE(TagMediaItem(path).setItemInfo(name, name == "Title" ? "New" : "99"));
            EXPECT_EQ(onDisk(path, name), name == "Title" ? "New" : "99");
            // No copy took the file's place, and the bytes that changed lie
            // in the tag's few hundred.
            EXPECT_EQ(statOf(path).st_ino, inode);
            const std::string after = readBytes(path);
            ASSERT_EQ(after.size(), before.size());
            const auto first = std::mismatch(after.begin(), after.end(), before.begin()).first - after.begin();
            const auto last = after.rend() - std::mismatch(after.rbegin(), after.rend(), before.rbegin()).first;
            EXPECT_LT(last - first, 1024);
        }
    }
}

TEST(TagWriteInPlace, ATagTheProgramMakesOrGrowsHasRoomForTheNextChanges) {
    const std::pair<const char*, Tag> kinds[] = {{"mp3", Tag::None}, {"mp3", Tag::Tight}, {"wav", Tag::None},
                                                 {"wav", Tag::Tight}, {"aiff", Tag::None}, {"wma", Tag::Tight}};
    for (const auto& [ext, tag] : kinds) {
        SCOPED_TRACE(std::string(ext) + " " + std::to_string(static_cast<int>(tag)));
        TempDir dir;
        const std::string path = kindFile(dir.file(std::string("song.") + ext), tag);
        ASSERT_TRUE(TagMediaItem(path).setItemInfo("UserRating", "99"));
        const ino_t inode = statOf(path).st_ino;
        EXPECT_TRUE(TagMediaItem(path).setItemInfo("Title", "A title longer than the old one"));
        EXPECT_TRUE(TagMediaItem(path).setItemInfo("UserRating", "25"));
        EXPECT_EQ(statOf(path).st_ino, inode) << "a later change moved the audio";
        EXPECT_EQ(onDisk(path, "UserRating"), "25");
        EXPECT_EQ(onDisk(path, "Title"), "A title longer than the old one");
    }
}

// Where no copy can stand for the file, a change that fits is made in place
// and one that would move the audio is refused, the file as it was.
TEST(TagWriteInPlace, AFileNoCopyCanStandForIsNeverMoved) {
    for (const char* what : {"two names", "another owner", "a closed folder"}) {
        SCOPED_TRACE(what);
        const bool twoNames = what == std::string("two names"), closed = what == std::string("a closed folder");
        // Files of another user, and acting as one, need root.
        if (!twoNames && ::geteuid() != 0) continue;
        TempDir dir;
        const std::string folder = dir.makeDir("shared");
        const std::string path = tightMp3(folder + "song.mp3", 5);
        ASSERT_EQ(twoNames ? ::link(path.c_str(), (folder + "other.mp3").c_str()) : ::chown(path.c_str(), kNobody, kNobody), 0);
        ASSERT_EQ(::chmod(dir.path().c_str(), 0755) | ::chmod(folder.c_str(), 0755), 0);
        const auto write = [&](const std::string& name, const std::string& value) {
            const int status = inChild([&] {
                if (closed && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) return 2;
                return TagMediaItem(path).setItemInfo(name, value) ? 0 : 1;
            });
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        };
        const std::string before = readBytes(path);
        const std::set<std::string> names = namesIn(folder);
        EXPECT_EQ(write("Comment", std::string(3000, 'w')), 1);
        EXPECT_TRUE(readBytes(path) == before) << "the file changed";
        EXPECT_EQ(write("UserRating", "99"), 0);
        EXPECT_EQ(onDisk(folder + (twoNames ? "other.mp3" : "song.mp3"), "UserRating"), "99");
        EXPECT_EQ(statOf(path).st_uid, twoNames ? ::geteuid() : kNobody);
        EXPECT_EQ(namesIn(folder), names);
    }
}

TEST(TagWriteInPlace, ASymbolicLinkStaysALinkAndItsTargetTakesTheChange) {
    TempDir dir;
    const std::string target = tightMp3(dir.file("real.mp3"), 5);
    const std::string link = dir.file("link.mp3");
    ASSERT_EQ(::symlink("real.mp3", link.c_str()), 0);
    ASSERT_TRUE(TagMediaItem(link).setItemInfo("Comment", std::string(3000, 's')));
    EXPECT_TRUE(S_ISLNK(statOf(link).st_mode));
    EXPECT_EQ(onDisk(target, "Comment"), std::string(3000, 's'));
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"real.mp3", "link.mp3"}));
}

// An ASF header object that holds no objects, its size given as `size`,
// and then the bytes of the rest of the file.
TagLib::ByteVector asfFile(unsigned long long size, const std::string& rest) {
    const TagLib::ByteVector guid("\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C", 16);
    return guid + TagLib::ByteVector::fromLongLong(static_cast<long long>(size), false) +
           TagLib::ByteVector::fromUInt(0, false) + TagLib::ByteVector("\x01\x02", 2) +
           TagLib::ByteVector(rest.data(), static_cast<unsigned>(rest.size()));
}

TEST(TagWriteAsf, AHeaderSizeOutsideTheFileIsRefusedAndNothingChanges) {
    const std::string rest(100, 'a');
    for (const unsigned long long size : {0ull, 29ull, 131ull, 1ull << 40, ~0ull}) {
        SCOPED_TRACE(size);
        const TagLib::ByteVector bytes = asfFile(size, rest);
        TagLib::ByteVectorStream stream(bytes);
        EXPECT_FALSE(taglayout::rewriteAsf(stream, "Title", "title", "New", -1));
        EXPECT_TRUE(*stream.data() == bytes);
    }
}

TEST(TagWriteAsf, TheHeaderIsRewrittenInItsPlaceAndWhatFollowsStays) {
    const std::string rest(100, 'a');
    TagLib::ByteVectorStream stream(asfFile(30, rest));
    ASSERT_TRUE(taglayout::rewriteAsf(stream, "Title", "title", "New", -1));
    const TagLib::ByteVector& out = *stream.data();
    const auto header = static_cast<unsigned long long>(out.toLongLong(16, false));
    ASSERT_EQ(header + rest.size(), out.size());
    EXPECT_TRUE(out.mid(static_cast<unsigned>(header)) == TagLib::ByteVector(rest.data(), 100));
    EXPECT_NE(out.find(TagLib::String("New").data(TagLib::String::UTF16LE)), -1);
}

}  // namespace
}  // namespace tarvolin
