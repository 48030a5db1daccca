// Reading playlist files (.m3u, .wpl, .wvx/.wax/.asx) into local paths.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/media.h"
#include "platform/tags/playlist_paths.h"
#include "support/media_fixtures.h"
#include "support/temp_dir.h"

namespace tarvolin {
namespace {

using fixtures::writeBytes;

class PlaylistFiles : public ::testing::Test {
protected:
    // Makes an (empty) file below the temporary folder and gives its path.
    std::string touch(const std::string& rel) {
        std::filesystem::create_directories(std::filesystem::path(dir.file(rel)).parent_path());
        return writeBytes(dir.file(rel), "x");
    }
    // The temporary folder without its trailing "/".
    std::string root() const { return dir.path().substr(0, dir.path().size() - 1); }

    TempDir dir;
};

TEST_F(PlaylistFiles, M3uSkipsCommentsAndResolvesEveryKindOfEntry) {
    const std::string a = touch("Music/Rock/a.mp3");
    const std::string b = touch("Music/Jazz/b b.mp3");
    const std::string c = touch("Music/Rock/Case Song.mp3");
    dir.makeDir("Lists");
    const std::string list = writeBytes(dir.file("Lists/mix.m3u"),
                                        "\xEF\xBB\xBF#EXTM3U\r\n"
                                        "#EXTINF:123,Artist - Title\r\n"
                                        "..\\Music\\Rock\\a.mp3\r\n"
                                        "\r\n"
                                        "   \r\n"
                                        "#EXTINF:-1,Other\r\n"
                                        "file://" + root() + "/Music/Jazz/b%20b.mp3\r\n"
                                        "../music/ROCK/case song.MP3\r\n" +
                                            a + "\n"
                                        "C:\\Music\\Old\\x.mp3\n"
                                        "http://example.org/stream.mp3\n"
                                        "../Music/missing.mp3");
    std::vector<std::string> entries = readPlaylistFile(list);
    ASSERT_EQ(entries.size(), 7u);
    EXPECT_EQ(entries[0], a);
    EXPECT_EQ(entries[1], b);
    EXPECT_EQ(entries[2], c) << "each component is matched without regard to case";
    EXPECT_EQ(entries[3], a);
    EXPECT_EQ(entries[4], "C:/Music/Old/x.mp3") << "a Windows path stays as converted text";
    EXPECT_EQ(entries[5], "http://example.org/stream.mp3");
    EXPECT_EQ(entries[6], root() + "/Music/missing.mp3");
}

TEST_F(PlaylistFiles, M3uInWindows1253AndGreekCaseMismatch) {
    const std::string song = touch("Ελληνικά/Τίτλος.mp3");
    const std::string other = touch("μουσική/ένα.mp3");
    // "Ελληνικά\Τίτλος.mp3" in the Greek code page, then a UTF-8 entry
    // spelled in capitals.
    const std::string list = writeBytes(dir.file("old.m3u"),
                                        "\xC5\xEB\xEB\xE7\xED\xE9\xEA\xDC\\\xD4\xDF\xF4\xEB\xEF\xF2.mp3\r\n");
    EXPECT_EQ(readPlaylistFile(list), std::vector<std::string>{song});

    const std::string utf8 = writeBytes(dir.file("new.m3u"), "ΜΟΥΣΙΚΉ/ΈΝΑ.mp3\n");
    EXPECT_EQ(readPlaylistFile(utf8), std::vector<std::string>{other});
}

TEST_F(PlaylistFiles, FileUrlsArePercentDecoded) {
    const std::string song = touch("Δίσκος/track #1.mp3");
    // UTF-8 bytes of the Greek folder, percent-encoded; "#" as %23.
    const std::string list = writeBytes(dir.file("u.m3u"),
                                        "file://" + root() +
                                            "/%CE%94%CE%AF%CF%83%CE%BA%CE%BF%CF%82/track%20%231.mp3\n"
                                            "file://localhost" + root() + "/%CE%94%CE%AF%CF%83%CE%BA%CE%BF%CF%82/track%20%231.mp3\n"
                                            "file:///C:/Music/a%20b.mp3\n");
    std::vector<std::string> entries = readPlaylistFile(list);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0], song);
    EXPECT_EQ(entries[1], song);
    EXPECT_EQ(entries[2], "C:/Music/a b.mp3");
}

TEST_F(PlaylistFiles, WplGivesEveryMediaSourceInOrderWithEntitiesDecoded) {
    const std::string a = touch("Songs/Tom & Jerry's.mp3");
    const std::string b = touch("Songs/café.mp3");
    const std::string c = touch("z.wma");
    dir.makeDir("Lists");
    const std::string list = writeBytes(dir.file("Lists/one.wpl"),
                                        "<?wpl version=\"1.0\"?>\n<smil><head><title>One</title></head>\n"
                                        "<body><seq>\n"
                                        "<media src=\"..\\Songs\\Tom &amp; Jerry&apos;s.mp3\"/>\n"
                                        "<!-- <media src=\"commented.mp3\"/> -->\n"
                                        "<media src=\"../Songs/caf&#233;.mp3\" tid=\"{1}\"/>\n"
                                        "<media/>\n"
                                        "<media src='" + c + "'></media>\n"
                                        "</seq></body></smil>\n");
    std::vector<std::string> entries = readPlaylistFile(list);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0], a);
    EXPECT_EQ(entries[1], b);
    EXPECT_EQ(entries[2], "") << "a media element without a path still counts";
    EXPECT_EQ(entries[3], c);
}

TEST_F(PlaylistFiles, AsxFamilyIsReadByATolerantScanner) {
    const std::string present = touch("media/present.wma");
    const std::string first = touch("media/first.wma");
    const std::string amp = touch("media/R&B.wma");
    // Upper-case names, a bare "&", an unquoted value, an entry left open
    // and no closing </ASX>.
    const std::string list = writeBytes(dir.file("w.wvx"),
                                        "<ASX VERSION=\"3.0\">\n"
                                        "<TITLE>Rock & Roll</TITLE>\n"
                                        "<ENTRY><Title>One & Two</Title>\n"
                                        "  <REF HREF=\"media\\missing.wma\"/>\n"
                                        "  <REF HREF=\"media\\PRESENT.WMA\"/>\n"
                                        "</ENTRY>\n"
                                        "<Entry>\n"
                                        "  <ref href = media/first.wma />\n"
                                        "  <ref href=\"media/present.wma\" />\n"
                                        "</Entry>\n"
                                        "<ENTRY><REF HREF=\"media/nowhere-1.wma\"/><REF HREF=\"media/nowhere-2.wma\"/></ENTRY>\n"
                                        "<ENTRY><REF HREF=\"media/R&B.wma\">\n"
                                        "<ENTRY><REF HREF=\"http://example.org/live\"/>\n");
    std::vector<std::string> entries = readPlaylistFile(list);
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[0], present) << "the first reference that exists";
    EXPECT_EQ(entries[1], first);
    EXPECT_EQ(entries[2], root() + "/media/nowhere-1.wma") << "none exists: the first";
    EXPECT_EQ(entries[3], amp);
    EXPECT_EQ(entries[4], "http://example.org/live");

    // The same text under the other endings.
    for (const char* ext : {".wax", ".asx", ".WVX"}) {
        const std::string copy = dir.file(std::string("copy") + ext);
        writeBytes(copy, fixtures::readBytes(list));
        EXPECT_EQ(readPlaylistFile(copy), entries) << ext;
    }
}

TEST_F(PlaylistFiles, UnreadableOrUnknownFilesGiveNothing) {
    EXPECT_TRUE(readPlaylistFile(dir.file("missing.m3u")).empty());
    writeBytes(dir.file("list.txt"), "a.mp3\n");
    EXPECT_TRUE(readPlaylistFile(dir.file("list.txt")).empty());
    writeBytes(dir.file("empty.wpl"), "");
    EXPECT_TRUE(readPlaylistFile(dir.file("empty.wpl")).empty());
    fixtures::writeGarbage(dir.file("noise.wvx"), 3000, 5);
    readPlaylistFile(dir.file("noise.wvx"));  // no crash, whatever it finds
}

TEST(PlaylistEntry, PathRules) {
    EXPECT_EQ(resolvePlaylistEntry("  ", "/x"), "");
    EXPECT_EQ(resolvePlaylistEntry("a\\b\\..\\c.mp3", "/nowhere/lists"), "/nowhere/lists/a/c.mp3");
    EXPECT_EQ(resolvePlaylistEntry("../../../../up.mp3", "/nowhere"), "/up.mp3");
    EXPECT_EQ(resolvePlaylistEntry("\\\\server\\share\\a.mp3", "/x"), "//server/share/a.mp3");
    EXPECT_EQ(resolvePlaylistEntry("d:\\A\\b.mp3", "/x"), "d:/A/b.mp3");
    EXPECT_EQ(resolvePlaylistEntry("mms://host/a", "/x"), "mms://host/a");
}

}  // namespace
}  // namespace tarvolin
