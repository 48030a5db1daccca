// Reading the media files' attributes into the collection.
#include <algorithm>
#include <filesystem>

#include "collection/store_files.h"
#include "media/media_files.h"
#include "media_source_fixture.h"
#include "platform/tags/tag_media.h"

namespace tarvolin {
namespace {

class ReadAttributesTest : public MediaSourceTest {
protected:
    int track(const std::string& path, double seconds = 0, std::map<std::string, std::string> attrs = {}) {
        EXPECT_TRUE(media().appendTrack(path));
        h.media.add(path, seconds, std::move(attrs));
        return f1().List2.ListCount() - 1;
    }
    // Runs the reading, answering its question and the save question.
    void identify(int onlyUnread, int save = mb::No) {
        h.dialogs.answerMsgBox(mb::Yes);
        h.dialogs.answerMsgBox(save);
        media().Identify_File_Properties(onlyUnread);
    }
    std::string column(int c, int row) { return f1().List3_0[c].List(row); }
    static Currency money(double v) { return Currency::fromDouble(v); }
};

TEST_F(ReadAttributesTest, ValuesTablesAndColumns) {
    track("/m/a.mp3", 3725.5,
          {{"Bitrate", "128000"}, {"Artist", "Άρτιστ"}, {"Album", "Al"}, {"Genre", "Rock"}, {"Title", "T"},
           {"WM/Year", "1999"}, {"Filesize", "1073741824"}});
    track("/m/b.mp3", 3726.5, {{"Filesize", "1048576000"}});
    track("/m/missing.mp3");
    h.media.forget("/m/missing.mp3");
    d().TrackBitrate[1] = 77;
    identify(-1);

    EXPECT_EQ(d().TrackDuration[0], money(3725.5));
    EXPECT_EQ(column(2, 0), "01:02:06");
    EXPECT_EQ(column(2, 1), "01:02:06");  // halves go to the even second
    EXPECT_EQ(d().TrackBitrate[0], 125);
    EXPECT_EQ(column(4, 0), "125");
    EXPECT_EQ(d().TrackBitrate[1], 77);  // no bit rate keeps the table's value
    EXPECT_EQ(column(4, 1), "000");
    EXPECT_EQ(d().TrackArtist[0], "Άρτιστ");
    EXPECT_EQ(d().TrackAlbum[0], "Al");
    EXPECT_EQ(d().TrackGenre[0], "Rock");
    EXPECT_EQ(d().TrackTitle[0], "T");
    EXPECT_EQ(d().TrackYear[0], "1999");
    EXPECT_EQ(d().TrackSize[0], money(1024));
    EXPECT_EQ(column(3, 0), "01.00Gb");
    EXPECT_EQ(column(3, 1), "1000.00Mb");
    // A file the media layer cannot read gives empty values.
    EXPECT_EQ(d().TrackDuration[2], Currency{});
    EXPECT_EQ(column(3, 2), "00.00Mb");
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(d().TrackInfoRead[static_cast<std::size_t>(i)]);
        EXPECT_FALSE(d().TrackSaved[static_cast<std::size_t>(i)]);
    }
    EXPECT_EQ(d().TotalSize, money(2024));
    EXPECT_EQ(d().TotalDuration, money(7452));
    EXPECT_EQ(d().ClassCount[0], 3);
    EXPECT_EQ(d().ClassSize[0], money(2024));
    expectConsistent();

    // The closing log, newest line first.
    const std::string& log = f1().Text2[0].Text();
    EXPECT_EQ(log.find("Διορθώσεις στη Διάρκεια - Corrections in Duration: 2\r\n"
                       "Διορθώσεις σε Δειγματοληψία - Corrections in Bitrate: 1\r\n"),
              0u)
        << log;
    EXPECT_NE(log.find(" -> Διορθώσεις σε Μεγέθη - Corrections on Sizes: 3\r\nΕντάξει...Ok\r\n"), std::string::npos);
    EXPECT_NE(log.find("-> Υπολογισμός - Calculating... :  - 0"), std::string::npos);

    // The window and the run's guards are back; the save was offered.
    EXPECT_TRUE(f1().Enabled());
    EXPECT_TRUE(f1().MnuSystemTray.Enabled());
    EXPECT_TRUE(f1().List3_0[2].Visible());
    EXPECT_FALSE(state().Busy);
    EXPECT_EQ(msgBoxesWith("Do you want to save the present collection?"), 1);
}

TEST_F(ReadAttributesTest, RatingsFromTheFiles) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"50", 3}, {"87", 5}, {"12", 1}, {"0", 0}, {"99", 5}, {"13", 2}, {"63", 4}};
    for (std::size_t k = 0; k < cases.size(); ++k) {
        const int i = track("/r/" + std::to_string(k), 1, {{"UserRating", cases[k].first}});
        d().TrackClass[static_cast<std::size_t>(i)] = 2;
        f1().List3_0[1].setList(i, "C");
    }
    // No rating, or one outside 0 to 99, or not a number: the class stays.
    for (const char* kept : {"", "150", "-1", "abc"}) {
        const int i = track(std::string("/keep/") + kept, 1, {{"UserRating", kept}});
        d().TrackClass[static_cast<std::size_t>(i)] = 4;
        f1().List3_0[1].setList(i, "A");
    }
    state().ReadRatingsFromFiles = true;
    state().KeepRatings = false;
    identify(0);

    for (std::size_t k = 0; k < cases.size(); ++k) {
        EXPECT_EQ(d().TrackClass[k], cases[k].second) << cases[k].first;
        EXPECT_EQ(column(1, static_cast<int>(k)), storefiles::classLetter(cases[k].second));
    }
    for (std::size_t k = cases.size(); k < cases.size() + 4; ++k) EXPECT_EQ(d().TrackClass[k], 4);
    EXPECT_EQ(d().ClassCount[5], 2);
    EXPECT_EQ(d().ClassCount[4], 5);
    EXPECT_EQ(d().ClassCount[0], 1);

    // The menu command recounts from the class column: the file's ratings
    // survive it.
    h.dialogs.answerMsgBox(mb::Yes);
    h.dialogs.answerMsgBox(mb::No);
    h.dialogs.answerMsgBox(mb::No);  // no new filters
    media().MnuMoreFileSizesAll_Click();
    EXPECT_EQ(d().TrackClass[0], 3);
    EXPECT_EQ(d().ClassCount[5], 2);
}

TEST_F(ReadAttributesTest, KeptRatingsOrRatingsNotReadLeaveTheClasses) {
    const int i = track("/k/a.mp3", 1, {{"UserRating", "99"}});
    d().TrackClass[0] = 1;
    f1().List3_0[1].setList(i, "X");
    state().ReadRatingsFromFiles = true;
    state().KeepRatings = true;
    identify(0);
    EXPECT_EQ(d().TrackClass[0], 1);
    state().ReadRatingsFromFiles = false;
    state().KeepRatings = false;
    identify(0);
    EXPECT_EQ(d().TrackClass[0], 1);
    EXPECT_EQ(d().ClassCount[1], 1);
    EXPECT_EQ(d().ClassCount[0], 0);
}

TEST_F(ReadAttributesTest, OnlyUnreadTracksAndTotalsOverAll) {
    track("/u/a.mp3", 60, {{"Filesize", "1048576"}});
    identify(-1);
    h.media.set("/u/a.mp3", "Filesize", "2097152");  // not read again
    track("/u/b.mp3", 30, {{"Filesize", "1048576"}});
    const int before = h.media.newMediaCalls;
    identify(-1);
    EXPECT_EQ(h.media.newMediaCalls - before, 1);
    EXPECT_EQ(d().TrackSize[0], money(1));
    EXPECT_EQ(d().TotalSize, money(2));
    EXPECT_EQ(d().TotalDuration, money(90));
    EXPECT_EQ(d().ClassCount[0], 2);  // each track once
    EXPECT_EQ(d().ClassDuration[0], money(90));

    // A second "Continue" reads nothing, rewrites no column, keeps the totals.
    const std::string size = column(3, 1);
    identify(-1);
    EXPECT_EQ(h.media.newMediaCalls - before, 1);
    EXPECT_EQ(column(3, 1), size);
    EXPECT_EQ(d().TotalSize, money(2));
    EXPECT_NE(f1().Text2[0].Text().find("Corrections on Sizes: 0"), std::string::npos);
}

TEST_F(ReadAttributesTest, EscStopsTheRunAndContinueReadsTheRest) {
    for (int i = 0; i < 5; ++i) track("/c/" + std::to_string(i), 10);
    f1().Timer1.setInterval(1000);
    int yields = 0;
    h.loop.onYield = [&] {
        if (++yields == 20) {
            int esc = 27;
            f1().KeyDown.raise(esc, 0);
        }
        if (yields == 1) {
            EXPECT_EQ(f1().Timer1.Interval(), 10000);
        }
    };
    identify(0);
    h.loop.onYield = nullptr;
    EXPECT_EQ(state().AbortKey, 0);
    int read = 0;
    for (int i = 0; i < 5; ++i) read += d().TrackInfoRead[static_cast<std::size_t>(i)] ? 1 : 0;
    EXPECT_GT(read, 0);
    EXPECT_LT(read, 5);
    EXPECT_EQ(f1().Timer1.Interval(), 1000);
    EXPECT_TRUE(f1().Enabled());
    EXPECT_TRUE(f1().List3_0[0].Visible());
    // The closing log replaced the cancel line; the totals cover what was read.
    EXPECT_EQ(f1().Text2[0].Text().find("Ακυρώθηκε - Canceled"), std::string::npos);
    EXPECT_EQ(d().TotalDuration, money(10.0 * read));
    EXPECT_EQ(d().ClassCount[0], 5);

    identify(-1);
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(d().TrackInfoRead[static_cast<std::size_t>(i)]);
    EXPECT_EQ(d().TotalDuration, money(50));
}

TEST_F(ReadAttributesTest, NoOrAnEmptyCollectionChangesNothing) {
    h.dialogs.answerMsgBox(mb::Yes);
    media().Identify_File_Properties(0);
    EXPECT_EQ(h.dialogs.calls("MsgBox").size(), 1u);  // no save offered
    EXPECT_FALSE(state().Busy);

    track("/n/a.mp3", 10);
    h.dialogs.answerMsgBox(mb::No);
    media().Identify_File_Properties(0);
    EXPECT_FALSE(d().TrackInfoRead[0]);
    EXPECT_EQ(h.media.newMediaCalls, 0);
    EXPECT_FALSE(state().Busy);
}

TEST_F(ReadAttributesTest, TheRatingSwitchesOfTheMenu) {
    MenuItem& read = f1().MnuMoreFileSizesReadRatings;
    MenuItem& keep = f1().MnuMoreFileSizesKeepRatings;
    read.setChecked(false);
    state().ReadRatingsFromFiles = false;
    read.Click.raise();
    EXPECT_TRUE(state().ReadRatingsFromFiles);
    EXPECT_TRUE(read.Checked());
    EXPECT_TRUE(keep.Enabled());
    ASSERT_EQ(h.dialogs.calls("MsgBox").size(), 1u);
    EXPECT_EQ(h.dialogs.calls("MsgBox")[0].buttons, mb::OKOnly + mb::Exclamation);
    EXPECT_NE(h.dialogs.calls("MsgBox")[0].prompt.find("συλλογή σας ίσως να χαθούν, αν δεν είχατε ενεργοποιήσει την επιλογή "
                                                       "<Σώζε Προτιμήσεις εντός Αρχείων> - If you choose"),
              std::string::npos);
    read.Click.raise();
    EXPECT_FALSE(state().ReadRatingsFromFiles);
    EXPECT_FALSE(keep.Enabled());
    EXPECT_EQ(h.dialogs.calls("MsgBox").size(), 1u);

    const bool was = keep.Checked();
    keep.setEnabled(true);
    keep.Click.raise();
    EXPECT_EQ(keep.Checked(), !was);
    EXPECT_EQ(state().KeepRatings, !was);
}

// Real files through the media layer on TagLib and libavformat.
TEST_F(ReadAttributesTest, RealFilesThroughTheTagReader) {
    TagMediaReader reader;
    Services services = h.services();
    Services real{services.loop, services.dialogs, services.engines, reader, services.desktop, services.tray, {}, {}, ""};
    h.build(real);
    h->playback.Init_Defaults();

    fixtures::Mp3Options mp3;
    mp3.seconds = 2.0;
    mp3.kbps = 128;
    fixtures::Id3Tag tag;
    tag.title = "Καλημέρα";
    tag.artist = "Artist";
    tag.album = "Album";
    tag.genre = "Rock";
    tag.year = "2001";
    tag.popm.push_back({"Windows Media Player 9 Series", 196, 3});
    mp3.id3 = tag;
    disk.makeDir("real");
    const std::string rated = fixtures::writeMp3(disk.file("real/rated.mp3"), mp3);
    fixtures::WavOptions wav;
    wav.pcm.seconds = 1.0;
    wav.info = fixtures::InfoTag{"Wave title", "Wave artist", "", "", "", ""};
    const std::string wave = fixtures::writeWav(disk.file("real/wave.wav"), wav);
    const std::string garbage = fixtures::writeGarbage(disk.file("real/garbage.mp3"), 5000);
    const std::string empty = fixtures::writeEmpty(disk.file("real/empty.wav"));
    for (const std::string& p : {rated, wave, garbage, empty}) ASSERT_TRUE(h->media.appendTrack(p));
    const auto before = snapshot();

    h->state.ReadRatingsFromFiles = true;
    h->state.KeepRatings = false;
    h.dialogs.answerMsgBox(mb::Yes);
    h.dialogs.answerMsgBox(mb::No);
    h->media.Identify_File_Properties(0);

    CollectionData& data = h->collection.d;
    EXPECT_EQ(data.TrackTitle[0], "Καλημέρα");
    EXPECT_EQ(data.TrackArtist[0], "Artist");
    EXPECT_EQ(data.TrackYear[0], "2001");
    EXPECT_EQ(data.TrackClass[0], 4);
    EXPECT_EQ(h->Form1.List3_0[1].List(0), "A");
    EXPECT_NEAR(data.TrackDuration[0].toDouble(), fixtures::mp3Duration(mp3), 0.1);
    EXPECT_EQ(data.TrackBitrate[0], 125);
    EXPECT_EQ(h->Form1.List3_0[2].List(0), "00:00:02");
    EXPECT_GT(data.TrackSize[0], Currency{});
    EXPECT_EQ(data.TrackTitle[1], "Wave title");
    EXPECT_NEAR(data.TrackDuration[1].toDouble(), 1.0, 0.05);
    EXPECT_EQ(data.TrackClass[1], 0);
    EXPECT_EQ(data.TrackTitle[2], "");
    EXPECT_EQ(data.TrackDuration[3], Currency{});
    EXPECT_EQ(data.ClassCount[4], 1);
    EXPECT_EQ(data.ClassCount[0], 3);
    // Reading changes nothing on disk.
    EXPECT_EQ(snapshot(), before);
}

}  // namespace
}  // namespace tarvolin
