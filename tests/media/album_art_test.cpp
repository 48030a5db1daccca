// The album art of the track whose information is shown: the pictures of
// its folder, else the compact window's own picture.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "support/media_fixtures.h"
#include "support/program_harness.h"

namespace tarvolin {
namespace {

class AlbumArtTest : public ::testing::Test {
protected:
    ProgramHarness h;
    TempDir disk;

    std::string shown() { return h->Form1.Picture1.Picture(); }
    std::string shownCompact() { return h->Form4.Picture1[0].Picture(); }
    std::string fallback() { return h->Form4.Picture1[1].Picture(); }

    void show(const std::string& infoFile) {
        h->collection.d.InfoFile = infoFile;
        h->media.Show_Album_Art();
    }
};

TEST_F(AlbumArtTest, TheSmallPictureComesFirstThenTheFolderPicture) {
    const std::string both = disk.makeDir("both"), one = disk.makeDir("one"), none = disk.makeDir("none");
    for (const std::string& name : {both + "AlbumArtSmall.jpg", both + "Folder.jpg", one + "Folder.jpg"}) {
        fixtures::writeBytes(name, "jpeg");
    }
    show(both + "a.mp3");
    EXPECT_EQ(shown(), both + "AlbumArtSmall.jpg");
    EXPECT_EQ(shownCompact(), both + "AlbumArtSmall.jpg");
    show(one + "a.mp3");
    EXPECT_EQ(shown(), one + "Folder.jpg");
    show(none + "a.mp3");
    EXPECT_EQ(shown(), fallback());
    EXPECT_EQ(shownCompact(), fallback());
}

TEST_F(AlbumArtTest, NoPictureIsLookedUpWithoutAFolderOfTheTrack) {
    // Pictures in the folder the program runs in belong to no track.
    ASSERT_EQ(::chdir(disk.path().c_str()), 0);
    fixtures::writeBytes(disk.path() + "AlbumArtSmall.jpg", "jpeg");
    fixtures::writeBytes(disk.makeDir("C:/Music") + "Folder.jpg", "jpeg");
    for (const std::string& info : {std::string(), std::string("C:/Music/a.mp3")}) {
        show(info);
        EXPECT_EQ(shown(), fallback()) << info;
        EXPECT_EQ(shownCompact(), fallback()) << info;
    }
    // Back in the program folder, where start-up leaves the program.
    ASSERT_EQ(::chdir(h.folder.path().c_str()), 0);
}

}  // namespace
}  // namespace tarvolin
