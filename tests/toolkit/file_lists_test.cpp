// Drive, folder and file lists on a temporary tree.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "toolkit/controls.h"

using namespace tarvolin;

namespace {

void touch(const std::string& path) { std::ofstream(path) << "x"; }

std::vector<std::string> items(const ListControl& l) {
    std::vector<std::string> out;
    for (int i = 0; i < l.ListCount(); ++i) out.push_back(l.List(i));
    return out;
}

}  // namespace

TEST(FileListBox, PatternsHiddenEntriesAndSorting) {
    TempDir tmp;
    const std::string dir = tmp.makeDir("music");
    for (const char* n : {"b.MP3", "a.mp3", "Clip.mp4", "notes.txt", ".hidden.mp3", "C.Mp3", "song.mp3.bak"})
        touch(dir + n);
    tmp.makeDir("music/folder.mp3");  // a folder is not a file

    FileListBox File1;
    int pathChanges = 0, patternChanges = 0;
    File1.PathChange = [&] { ++pathChanges; };
    File1.PatternChange = [&] { ++patternChanges; };
    File1.setPattern("*.mp3;*.MP4");
    EXPECT_TRUE(File1.setPath(dir));
    EXPECT_EQ(File1.Path(), dir.substr(0, dir.size() - 1));  // no trailing "/"
    EXPECT_EQ(items(File1), (std::vector<std::string>{"a.mp3", "b.MP3", "C.Mp3", "Clip.mp4"}));
    EXPECT_TRUE(File1.setPath(dir));  // same folder: read again, no event
    EXPECT_EQ(pathChanges, 1);
    EXPECT_EQ(patternChanges, 1);

    File1.setPattern(" *.TXT ; ?.mp3");
    EXPECT_EQ(items(File1), (std::vector<std::string>{"a.mp3", "b.MP3", "C.Mp3", "notes.txt"}));
    File1.setPattern("*.*");
    EXPECT_EQ(File1.ListCount(), 6);

    // A folder that does not exist fails and keeps the old list.
    EXPECT_FALSE(File1.setPath(tmp.file("missing")));
    EXPECT_EQ(File1.ListCount(), 6);
    EXPECT_EQ(pathChanges, 1);

    // Multi-selection and Refresh.
    File1.setMultiSelect(2);
    File1.setSelected(0, true);
    EXPECT_EQ(File1.SelCount(), 1);
    touch(dir + "d.mp3");
    File1.Refresh();
    EXPECT_EQ(File1.ListCount(), 7);
    EXPECT_EQ(File1.SelCount(), 0);
}

TEST(DirListBox, SubfoldersAndChangeCascade) {
    TempDir tmp;
    tmp.makeDir("root/Beta");
    tmp.makeDir("root/alpha/inner");
    tmp.makeDir("root/.git");
    touch(tmp.file("root/file.mp3"));
    const std::string root = tmp.file("root");

    DirListBox Dir1;
    FileListBox File1;
    int changes = 0;
    // The program's handler points the file list at the folder.
    Dir1.Change = [&] {
        ++changes;
        File1.setPath(Dir1.Path());
    };
    EXPECT_TRUE(Dir1.setPath(root + "/"));
    EXPECT_EQ(Dir1.Path(), root);
    EXPECT_EQ(items(Dir1), (std::vector<std::string>{root + "/alpha", root + "/Beta"}));
    EXPECT_EQ(Dir1.List(-1), root);
    EXPECT_EQ(Dir1.List(-2), root.substr(0, root.rfind('/')));
    // Its rows run from the root down: a parent's row can be chosen.
    EXPECT_EQ(Dir1.List(Dir1.FirstRow()), "/");
    EXPECT_EQ(Dir1.ListIndex(), -1);
    EXPECT_FALSE(Dir1.setListIndex(Dir1.FirstRow() - 1));
    EXPECT_TRUE(Dir1.setListIndex(-2));
    EXPECT_EQ(Dir1.ListIndex(), -2);
    EXPECT_EQ(File1.Path(), root);
    EXPECT_EQ(items(File1), (std::vector<std::string>{"file.mp3"}));
    EXPECT_TRUE(Dir1.setPath(root));
    EXPECT_TRUE(Dir1.setPath(root + "/alpha/../"));  // the same folder spelled otherwise
    EXPECT_EQ(Dir1.Path(), root);
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(Dir1.setPath(root + "/nothing"));
    EXPECT_FALSE(Dir1.setPath(root + "/file.mp3"));
    EXPECT_EQ(Dir1.Path(), root);
    EXPECT_TRUE(Dir1.setPath("/"));
    EXPECT_EQ(Dir1.List(-1), "/");
    EXPECT_EQ(Dir1.List(-2), "");
    EXPECT_EQ(changes, 2);
}

TEST(DirListBox, UnreadableFolderListsNothing) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not apply to root";
    TempDir tmp;
    tmp.makeDir("locked/sub");
    const std::string locked = tmp.file("locked");
    std::filesystem::permissions(locked, std::filesystem::perms::owner_write, std::filesystem::perm_options::replace);
    DirListBox Dir1;
    EXPECT_TRUE(Dir1.setPath(locked));
    EXPECT_EQ(Dir1.ListCount(), 0);
    std::filesystem::permissions(locked, std::filesystem::perms::owner_all, std::filesystem::perm_options::replace);
}

TEST(DriveListBox, MountedVolumesAndDriveChange) {
    const std::string mounts =
        "proc /proc proc rw 0 0\n"
        "/dev/sda2 / ext4 rw 0 0\n"
        "/dev/sdb1 /media/user/MY\\040STICK vfat rw 0 0\n"
        "/dev/loop3 /snap/core/1 squashfs ro 0 0\n"
        "tmpfs /run tmpfs rw 0 0\n"
        "server:/share /mnt/nas nfs rw 0 0\n"
        "/dev/sda1 /boot/efi vfat rw 0 0\n";
    EXPECT_EQ(DriveListBox::drivesFromMounts(mounts),
              (std::vector<std::string>{"/", "/boot/efi", "/media/user/MY STICK", "/mnt/nas"}));

    TempDir tmp;
    const std::string vol = tmp.makeDir("vol");
    std::ofstream(tmp.file("mounts")) << "/dev/sdc1 " << vol << " ext4 rw 0 0\n";
    DriveListBox Drive1;
    DirListBox Dir1;
    Drive1.setMountTable(tmp.file("mounts"));
    Drive1.Change = [&] { Dir1.setPath(Drive1.Drive()); };
    EXPECT_EQ(Drive1.Drive(), "/");
    int dirChanges = 0;
    Dir1.Change = [&] { ++dirChanges; };
    EXPECT_TRUE(Drive1.setDrive(vol));
    EXPECT_EQ(Dir1.Path(), vol.substr(0, vol.size() - 1));
    EXPECT_TRUE(Drive1.setDrive(vol));  // same drive: no cascade
    EXPECT_EQ(dirChanges, 1);
    EXPECT_FALSE(Drive1.setDrive("/media/not-there"));
    EXPECT_EQ(Drive1.Drive(), vol.substr(0, vol.size() - 1));
}
