// The test doubles every suite relies on: the fake trash really moves the
// file and scripted failures leave it in place; the fake media layer answers
// like the real one for unknown files and refuses what it never writes.
#include <sys/stat.h>

#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "support/fake_desktop.h"
#include "support/fake_media.h"
#include "support/temp_dir.h"

namespace tarvolin {
namespace {

bool exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

TEST(FakeDesktopTrash, MovesFilesAndFailsAsScripted) {
    TempDir dir;
    const std::string a = dir.file("a.mp3");
    const std::string b = dir.file("b.mp3");
    std::ofstream(a) << "A";
    std::ofstream(b) << "B";

    FakeDesktop desktop;
    std::string error;
    desktop.failNextTrash(1, "Device busy");
    EXPECT_FALSE(desktop.moveToTrash(a, &error));
    EXPECT_EQ(error, "Device busy");
    EXPECT_TRUE(exists(a));

    EXPECT_TRUE(desktop.moveToTrash(a, &error));
    EXPECT_FALSE(exists(a));
    EXPECT_TRUE(exists(desktop.trashedCopyOf(a)));

    desktop.failTrashOf(b);
    EXPECT_FALSE(desktop.moveToTrash(b, &error));
    EXPECT_TRUE(exists(b));

    // A file that is not there cannot be trashed.
    EXPECT_FALSE(desktop.moveToTrash(a, &error));
    EXPECT_FALSE(error.empty());

    EXPECT_EQ(desktop.trashCalls.size(), 4u);
    ASSERT_EQ(desktop.trashedPaths.size(), 1u);
    EXPECT_EQ(desktop.trashedPaths[0], a);
}

TEST(FakeMedia, KnownUnknownAndRefusedWrites) {
    FakeMediaReader media;
    media.add("/m/a.mp3", 181.5, {{"Title", "Ωδή"}, {"UserRating", "50"}});
    media.add("/m/b.avi", 60).readOnlyNames.insert("UserRating");

    auto a = media.newMedia("/m/a.mp3");
    EXPECT_EQ(a->getItemInfo("Title"), "Ωδή");
    EXPECT_EQ(a->getItemInfo("Genre"), "");
    EXPECT_DOUBLE_EQ(a->duration(), 181.5);
    EXPECT_EQ(a->sourceURL(), "/m/a.mp3");
    EXPECT_TRUE(a->setItemInfo("UserRating", "99"));
    EXPECT_TRUE(a->setItemInfo("Year", "1999"));
    EXPECT_EQ(media.newMedia("/m/a.mp3")->getItemInfo("UserRating"), "99");
    EXPECT_EQ(a->getItemInfo("WM/Year"), "1999");
    EXPECT_FALSE(a->setItemInfo("Bitrate", "1"));

    auto b = media.newMedia("/m/b.avi");
    EXPECT_TRUE(b->isReadOnlyItem("UserRating"));
    EXPECT_FALSE(b->setItemInfo("UserRating", "25"));

    auto unknown = media.newMedia("/m/none.mp3");
    EXPECT_EQ(unknown->getItemInfo("Title"), "");
    EXPECT_EQ(unknown->duration(), 0);
    EXPECT_FALSE(unknown->setItemInfo("Title", "x"));

    ASSERT_EQ(media.writes.size(), 5u);
    EXPECT_TRUE(media.writes[0].accepted);
    EXPECT_FALSE(media.writes[2].accepted);
    EXPECT_EQ(media.writes[4].path, "/m/none.mp3");
    EXPECT_EQ(media.newMediaCalls, 4);
}

}  // namespace
}  // namespace tarvolin
