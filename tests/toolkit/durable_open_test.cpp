#include "toolkit/durable_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/temp_dir.h"
#include "toolkit/record_file.h"

namespace tarvolin {
namespace {

void writeText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

bool closeOnExec(int fd) { return (::fcntl(fd, F_GETFD) & FD_CLOEXEC) != 0; }

TEST(OpenRegular, OpensARegularFileAndHandsBackItsStatus) {
    TempDir dir;
    const std::string path = dir.file("a.bin");
    writeText(path, "twelve bytes");
    struct stat st {};
    const int fd = durable::openRegular(path, O_RDONLY, 0, &st);
    ASSERT_GE(fd, 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(st.st_size, 12);
    EXPECT_TRUE(closeOnExec(fd));
    ::close(fd);

    // Without a status wanted, and made when flags say so.
    const std::string made = dir.file("made.bin");
    const int created = durable::openRegular(made, O_RDWR | O_CREAT | O_NOFOLLOW, 0600);
    ASSERT_GE(created, 0);
    EXPECT_TRUE(closeOnExec(created));
    ::close(created);
    struct stat madeSt {};
    ASSERT_EQ(::lstat(made.c_str(), &madeSt), 0);
    EXPECT_TRUE(S_ISREG(madeSt.st_mode));
    EXPECT_EQ(madeSt.st_mode & 0077, 0u);
}

TEST(OpenRegular, RefusesEveryOtherKindWithItsOwnErrno) {
    TempDir dir;
    errno = 0;
    EXPECT_EQ(durable::openRegular(dir.file("missing"), O_RDONLY), -1);
    EXPECT_EQ(errno, ENOENT);

    // A folder opened for reading is closed again; for writing the open
    // itself refuses it.
    const std::string folder = dir.makeDir("sub");
    struct stat st {};
    errno = 0;
    EXPECT_EQ(durable::openRegular(folder, O_RDONLY | O_NOFOLLOW | O_NONBLOCK, 0, &st), -1);
    EXPECT_EQ(errno, EISDIR);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    errno = 0;
    EXPECT_EQ(durable::openRegular(folder, O_RDWR), -1);
    EXPECT_EQ(errno, EISDIR);

    const std::string fifo = dir.file("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    errno = 0;
    EXPECT_EQ(durable::openRegular(fifo, O_RDONLY | O_NOFOLLOW | O_NONBLOCK, 0, &st), -1);
    EXPECT_EQ(errno, EINVAL);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    // openRetried takes what is there.
    const int pipeFd = durable::openRetried(fifo, O_RDONLY | O_NONBLOCK);
    EXPECT_GE(pipeFd, 0);
    if (pipeFd >= 0) ::close(pipeFd);
}

TEST(OpenRegular, FollowsALinkOnlyWhenFlagsAllow) {
    TempDir dir;
    const std::string target = dir.file("target.bin");
    writeText(target, "abc");
    const std::string link = dir.file("link.bin");
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);

    errno = 0;
    EXPECT_EQ(durable::openRegular(link, O_RDONLY | O_NOFOLLOW), -1);
    EXPECT_EQ(errno, ELOOP);
    struct stat st {};
    const int fd = durable::openRegular(link, O_RDONLY, 0, &st);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(st.st_size, 3);
    ::close(fd);

    // A link to a folder, followed, is a folder.
    const std::string folderLink = dir.file("folder-link");
    ASSERT_EQ(::symlink(dir.path().c_str(), folderLink.c_str()), 0);
    errno = 0;
    EXPECT_EQ(durable::openRegular(folderLink, O_RDONLY), -1);
    EXPECT_EQ(errno, EISDIR);
}

TEST(OpenRegular, RecordFilesRefusingLinksReportTheSameErrnos) {
    TempDir dir;
    const std::string target = dir.file("t.tlf");
    writeText(target, std::string(300, 'x'));
    const std::string link = dir.file("l.tlf");
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    const std::string fifo = dir.file("p.tlf");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string folder = dir.makeDir("d.tlf");

    RecordFile f;
    EXPECT_FALSE(f.Open(link, RecordFile::Mode::ReadWrite, 300, RecordFile::Links::Refuse));
    EXPECT_EQ(f.errorNumber(), ELOOP);
    EXPECT_FALSE(f.Open(fifo, RecordFile::Mode::Read, 300, RecordFile::Links::Refuse));
    EXPECT_EQ(f.errorNumber(), EINVAL);
    EXPECT_FALSE(f.Open(folder, RecordFile::Mode::Read, 300, RecordFile::Links::Refuse));
    EXPECT_EQ(f.errorNumber(), EISDIR);
    EXPECT_FALSE(f.isOpen());

    // Followed, a link opens its file; a folder is still no record file.
    ASSERT_TRUE(f.Open(link, RecordFile::Mode::Read, 300, RecordFile::Links::Follow));
    EXPECT_EQ(f.RecordCount(), 1);
    EXPECT_FALSE(f.Open(folder, RecordFile::Mode::Read, 300, RecordFile::Links::Follow));
    EXPECT_EQ(f.errorNumber(), EISDIR);
    EXPECT_FALSE(f.isOpen());
}

TEST(OpenRegular, CopyFileRefusesAFolderOrAPipeAsItsSource) {
    TempDir dir;
    const std::string to = dir.file("to.bin");
    writeText(to, "old");
    errno = 0;
    EXPECT_FALSE(durable::copyFile(dir.makeDir("src"), to));
    EXPECT_EQ(errno, EISDIR);
    const std::string fifo = dir.file("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // Opened for reading without O_NONBLOCK a pipe would wait for a writer:
    // one is there, so the open returns and the kind is refused.
    const int writer = ::open(fifo.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(writer, 0);
    errno = 0;
    EXPECT_FALSE(durable::copyFile(fifo, to));
    EXPECT_EQ(errno, EINVAL);
    ::close(writer);
    std::ifstream in(to);
    std::string text;
    in >> text;
    EXPECT_EQ(text, "old");

    const std::string from = dir.file("from.bin");
    writeText(from, "new");
    ASSERT_EQ(::chmod(from.c_str(), 0640), 0);
    ASSERT_TRUE(durable::copyFile(from, to));
    struct stat st {};
    ASSERT_EQ(::stat(to.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(st.st_size, 3);
}

}  // namespace
}  // namespace tarvolin
