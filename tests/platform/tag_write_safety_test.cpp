// Writing a rating or a tag must never damage the media file: a full disk
// or a kill while the change is written leaves the file as it was, readable
// with its old tag, and a failed write is reported. Files that a copy cannot
// stand in for (more than one name, another owner, a folder the user may not
// write) are still written, in place.
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
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <thread>

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

TEST_F(InterruptedTagWrite, AKillAtAnyMomentLeavesTheOldOrTheNewTagAndTheAudio) {
    const std::string big = tightMp3(dir.file("big.mp3"), 600);
    const std::string audio = afterTag(readBytes(big));
    for (int delay : {2, 5, 10, 20, 40, 80}) {
        SCOPED_TRACE("killed after " + std::to_string(delay) + " ms");
        // The child rewrites the tag with ever longer comments, each one
        // moving the audio, until it is killed.
        const pid_t child = ::fork();
        if (child == 0) {
            for (int i = 1;; ++i) TagMediaItem(big).setItemInfo("Comment", std::string(static_cast<size_t>(i) * 3000, 'k'));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(afterTag(readBytes(big)) == audio) << "the audio was damaged";
        TagMediaItem back(big);
        const std::string comment = back.getItemInfo("Comment");
        EXPECT_TRUE(comment == "old" || (!comment.empty() && comment.size() % 3000 == 0 &&
                                          comment.find_first_not_of('k') == std::string::npos))
            << comment.size();
        EXPECT_EQ(back.getItemInfo("Title"), "Old title");
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

TEST(TagWriteInPlace, BothNamesOfAHardLinkedFileSeeTheChange) {
    TempDir dir;
    const std::string a = tightMp3(dir.file("a.mp3"), 5);
    const std::string b = dir.file("b.mp3");
    ASSERT_EQ(::link(a.c_str(), b.c_str()), 0);
    ASSERT_TRUE(TagMediaItem(a).setItemInfo("Comment", std::string(3000, 'h')));
    EXPECT_EQ(onDisk(a, "Comment"), std::string(3000, 'h'));
    EXPECT_EQ(onDisk(b, "Comment"), std::string(3000, 'h'));
    EXPECT_EQ(statOf(a).st_nlink, 2u);
    EXPECT_EQ(statOf(a).st_ino, statOf(b).st_ino);

    // Written in place, a full disk is still reported.
    const std::string before = readBytes(a);
    const int status = writeInChild(a, "Comment", std::string(9000, 'f'), before.size() + 16);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1) << "a write that did not fit was reported as done";
}

TEST(TagWriteInPlace, AFileOfAnotherUserKeepsItsOwner) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs to run as root to own files of another user";
    TempDir dir;
    const std::string path = tightMp3(dir.file("theirs.mp3"), 5);
    ASSERT_EQ(::chown(path.c_str(), kNobody, kNobody), 0);
    ASSERT_TRUE(TagMediaItem(path).setItemInfo("UserRating", "99"));
    EXPECT_EQ(onDisk(path, "UserRating"), "99");
    EXPECT_EQ(statOf(path).st_uid, kNobody);
    EXPECT_EQ(statOf(path).st_gid, kNobody);
}

TEST(TagWriteInPlace, AFileInAFolderTheUserMayNotWriteIsStillWritten) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs to run as root to act as another user";
    TempDir dir;
    const std::string folder = dir.makeDir("shared");
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    ASSERT_EQ(::chmod(folder.c_str(), 0755), 0);  // root's folder, closed to others
    const std::string path = tightMp3(folder + "mine.mp3", 5);
    ASSERT_EQ(::chown(path.c_str(), kNobody, kNobody), 0);
    const int status = inChild([&] {
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) return 2;
        return TagMediaItem(path).setItemInfo("Comment", std::string(3000, 'w')) ? 0 : 1;
    });
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(onDisk(path, "Comment"), std::string(3000, 'w'));
    EXPECT_EQ(namesIn(folder), std::set<std::string>{"mine.mp3"});
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

}  // namespace
}  // namespace tarvolin
