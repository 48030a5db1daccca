// The player library: a folder of .wpl playlists.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>

#include <filesystem>

#include "platform/tags/library_folder.h"
#include "platform/tags/tag_media.h"
#include "support/media_fixtures.h"
#include "support/temp_dir.h"

namespace tarvolin {
namespace {

using namespace fixtures;

std::vector<std::string> wplFiles(const std::string& folder) {
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(folder)) out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

class LibraryFolderTest : public ::testing::Test {
protected:
    std::string library() const { return dir.path() + "tarvolin_library/"; }
    std::string song(const std::string& name, const std::string& title) {
        Id3Tag tag;
        tag.title = title;
        Mp3Options opts;
        opts.seconds = 1.0;
        opts.id3 = tag;
        return writeMp3(dir.file(name), opts);
    }

    TempDir dir;
    TagMediaReader reader;
};

TEST_F(LibraryFolderTest, PlaylistsOfOneTitleGetTheirOwnFilesAndComeOldestFirst) {
    LibraryFolder lib(library(), &reader);
    EXPECT_TRUE(lib.getByName("rock").empty());
    auto first = lib.newPlaylist("rock");
    auto second = lib.newPlaylist("rock");
    auto third = lib.newPlaylist("rock");
    lib.newPlaylist("jazz");
    EXPECT_EQ(wplFiles(library()),
              (std::vector<std::string>{"jazz.wpl", "rock (2).wpl", "rock (3).wpl", "rock.wpl"}));

    first->insertItem(0, reader.newMedia(song("1.mp3", "one")));
    third->insertItem(0, reader.newMedia(song("3.mp3", "three")));
    lib.flush();

    // A fresh look at the folder: "rock.wpl" sorts last by name but is the oldest.
    LibraryFolder again(library(), &reader);
    auto found = again.getByName("rock");
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0]->count(), 1);
    EXPECT_EQ(found[0]->Item(0)->sourceURL(), dir.file("1.mp3"));
    EXPECT_EQ(found[1]->count(), 0);
    EXPECT_EQ(found[2]->Item(0)->sourceURL(), dir.file("3.mp3"));
    for (auto& p : found) EXPECT_EQ(p->name(), "rock");
    EXPECT_EQ(again.getByName("jazz").size(), 1u);
    EXPECT_TRUE(again.getByName("Rock").empty()) << "titles compare exactly";

    // A playlist made after one was deleted is still the newest.
    std::filesystem::remove(library() + "rock.wpl");
    LibraryFolder third_look(library(), &reader);
    auto fresh = third_look.newPlaylist("rock");
    fresh->insertItem(0, reader.newMedia(song("4.mp3", "four")));
    auto now = third_look.getByName("rock");
    ASSERT_EQ(now.size(), 3u);
    EXPECT_EQ(now[0]->count(), 0);
    EXPECT_EQ(now[2]->Item(0)->sourceURL(), dir.file("4.mp3"));
}

TEST_F(LibraryFolderTest, ItemValuesAreKeptInThePlaylistNotInTheMediaFile) {
    const std::string path = song("Rock & Roll \"live\".mp3", "File title");
    struct timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
    utimensat(AT_FDCWD, path.c_str(), old, 0);
    const std::string bytes = readBytes(path);
    {
        LibraryFolder lib(library(), &reader);
        auto pl = lib.newPlaylist("Συλλογή <1> & more");
        pl->clear();
        pl->insertItem(0, reader.newMedia(path));
        auto item = pl->Item(0);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->getItemInfo("Title"), "File title") << "unset values come from the file";
        EXPECT_TRUE(item->setItemInfo("UserRating", "50"));
        EXPECT_TRUE(item->setItemInfo("Filesize", "3"));
        EXPECT_TRUE(item->setItemInfo("Bitrate", "125"));
        EXPECT_TRUE(item->setItemInfo("Title", "Library title"));
        EXPECT_TRUE(item->setItemInfo("Year", "1999"));
        EXPECT_FALSE(item->setItemInfo("WM/Year", "1999")) << "not a name an element can carry";
        EXPECT_EQ(item->getItemInfo("Title"), "Library title");
        EXPECT_EQ(item->getItemInfo("WM/Year"), "1999");
        EXPECT_NEAR(item->duration(), 1.0, 0.05);
        // No flush: the library writes its changes when it goes.
    }
    struct stat st;
    stat(path.c_str(), &st);
    EXPECT_EQ(st.st_mtim.tv_sec, 1000000000) << "an export writes no media file";
    EXPECT_TRUE(readBytes(path) == bytes);
    EXPECT_EQ(TagMediaReader().newMedia(path)->getItemInfo("UserRating"), "");

    const std::string file = library() + "Συλλογή <1> & more.wpl";
    ASSERT_TRUE(std::filesystem::exists(file));
    const std::string text = readBytes(file);
    EXPECT_NE(text.find("<title>Συλλογή &lt;1&gt; &amp; more</title>"), std::string::npos);
    EXPECT_NE(text.find("UserRating=\"50\""), std::string::npos);
    // The playlist reader sees the library file as any other .wpl.
    EXPECT_EQ(readPlaylistFile(file), std::vector<std::string>{path});

    LibraryFolder lib(library(), &reader);
    auto found = lib.getByName("Συλλογή <1> & more");
    ASSERT_EQ(found.size(), 1u);
    auto item = found[0]->Item(0);
    EXPECT_EQ(item->sourceURL(), path);
    EXPECT_EQ(item->getItemInfo("UserRating"), "50");
    EXPECT_EQ(item->getItemInfo("Filesize"), "3");
    EXPECT_EQ(item->getItemInfo("Title"), "Library title");
    EXPECT_EQ(found[0]->Item(1), nullptr);
    EXPECT_EQ(found[0]->Item(-1), nullptr);
}

TEST_F(LibraryFolderTest, InsertClearAndTheSameObjectsForEveryLookUp) {
    LibraryFolder lib(library(), &reader);
    auto pl = lib.newPlaylist("order");
    pl->insertItem(0, reader.newMedia(song("b.mp3", "b")));
    pl->insertItem(0, reader.newMedia(song("a.mp3", "a")));
    pl->insertItem(99, reader.newMedia(song("c.mp3", "c")));
    pl->insertItem(0, nullptr);
    ASSERT_EQ(pl->count(), 3);
    EXPECT_EQ(pl->Item(0)->sourceURL(), dir.file("a.mp3"));
    EXPECT_EQ(pl->Item(1)->sourceURL(), dir.file("b.mp3"));
    EXPECT_EQ(pl->Item(2)->sourceURL(), dir.file("c.mp3"));

    // Another look-up before any flush sees the same playlist.
    auto same = lib.getByName("order");
    ASSERT_EQ(same.size(), 1u);
    EXPECT_EQ(same[0]->count(), 3);
    same[0]->Item(1)->setItemInfo("UserRating", "99");
    EXPECT_EQ(pl->Item(1)->getItemInfo("UserRating"), "99");

    pl->clear();
    EXPECT_EQ(same[0]->count(), 0);
    lib.flush();
    EXPECT_TRUE(readPlaylistFile(library() + "order.wpl").empty());
}

TEST_F(LibraryFolderTest, RenamedPlaylistIsFoundByItsNewTitle) {
    {
        LibraryFolder lib(library(), &reader);
        auto pl = lib.newPlaylist("old name");
        pl->setName("new name");
        EXPECT_EQ(pl->name(), "new name");
        EXPECT_TRUE(lib.getByName("old name").empty());
        EXPECT_EQ(lib.getByName("new name").size(), 1u);
    }
    LibraryFolder again(library(), &reader);
    EXPECT_TRUE(again.getByName("old name").empty());
    ASSERT_EQ(again.getByName("new name").size(), 1u);
    // Its file keeps the name it was made with; a new "old name" takes another.
    again.newPlaylist("old name");
    EXPECT_EQ(wplFiles(library()), (std::vector<std::string>{"old name (2).wpl", "old name.wpl"}));
}

TEST_F(LibraryFolderTest, TitlesThatAreNoFileNames) {
    LibraryFolder lib(library(), &reader);
    lib.newPlaylist("a/b");
    lib.newPlaylist("");
    lib.newPlaylist("..");
    for (const std::string& f : wplFiles(library())) EXPECT_EQ(f.find('/'), std::string::npos);
    EXPECT_EQ(wplFiles(library()).size(), 3u);
    LibraryFolder again(library(), &reader);
    EXPECT_EQ(again.getByName("a/b").size(), 1u);
    EXPECT_EQ(again.getByName("").size(), 1u);
    EXPECT_EQ(again.getByName("..").size(), 1u);
}

}  // namespace
}  // namespace tarvolin
