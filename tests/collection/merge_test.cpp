// Merging another collection: new tracks appended after the current ones,
// the track limit, and the question on the imported play marks.
#include "collection/record_bytes.h"
#include "collection/store_fixture.h"

namespace tarvolin {
namespace {

using testbytes::Records;
using testbytes::writeFile;

class MergeTest : public StoreTest {
protected:
    struct Other {
        std::string path;
        std::int32_t mark = 0;
        std::int16_t cls = 0;
        std::int64_t size = 10000;  // 1 MB
    };

    // writeOther's count: the number of tracks given.
    static constexpr std::int32_t kSize = INT32_MIN;

    std::string otherPath() { return app().AppFolder() + "other.tlf"; }
    std::string otherPart() { return app().AppFolder() + "other_Files.ptlf"; }
    std::string log() { return f1().Text2[0].Text(); }

    void writeOther(const std::vector<Other>& tracks, std::int32_t count = kSize, const std::string& version = "5.0") {
        Records header(300);
        header.str(1, version).str(2, "/").i32(6, count == kSize ? static_cast<std::int32_t>(tracks.size()) : count);
        header.i16(7, -1).i32(19, 0);
        writeFile(otherPath(), header.bytes());
        Records part(400);
        for (std::size_t i = 0; i < tracks.size(); ++i) {
            const int b = 45 * static_cast<int>(i);
            part.i32(b + 1, tracks[i].mark).money(b + 2, 1250000).i16(b + 3, tracks[i].cls);
            part.money(b + 4, tracks[i].size).i16(b + 6, 96).str(b + 10, "Τίτλος " + std::to_string(i));
            part.str(b + 12, tracks[i].path).i16(b + 45, 0);
        }
        writeFile(otherPart(), part.bytes());
    }

    void currentTracks(int n) {
        for (int i = 0; i < n; ++i) addTrack("/cur/" + std::to_string(i) + ".mp3", 2);
    }
};

TEST_F(MergeTest, NewTracksAreNumberedOnFromTheEnd) {
    currentTracks(10);
    writeOther({{"/new/a.mp3", 0, 4}, {"/cur/3.mp3"}, {"/new/c.mp3", 0, 9}});
    const Currency totalBefore = d().TotalDuration;
    h.dialogs.answerMsgBox(mb::No);
    store().Merge_Collection(otherPath());

    ASSERT_EQ(d().TrackCount, 12);
    EXPECT_EQ(d().trackEntries(), 13u);
    EXPECT_EQ(f1().List2.List(10), "/new/a.mp3");
    EXPECT_EQ(f1().List2.List(11), "/new/c.mp3");
    EXPECT_EQ(column(0, 10), "00011");
    EXPECT_EQ(column(0, 11), "00012");
    EXPECT_EQ(column(1, 10), "A");
    EXPECT_EQ(column(1, 11), "-");  // an unknown class is unclassified
    EXPECT_EQ(column(2, 10), "00:02:05");
    EXPECT_EQ(column(3, 10), "01.00Mb");
    EXPECT_EQ(column(4, 10), "096");
    EXPECT_EQ(d().TrackTitle[11], "Τίτλος 2");
    EXPECT_EQ(d().TrackClass[11], 0);
    EXPECT_EQ(d().TotalDuration, totalBefore + Currency::fromInteger(250));
    EXPECT_EQ(d().ClassCount[4], 1);
    // The current video mode stays; the merged collection is not stored yet.
    EXPECT_EQ(app().state.VideoMode, 0);
    EXPECT_FALSE(d().CollectionSaved);
    for (std::size_t i = 0; i < 12; ++i) EXPECT_FALSE(d().TrackSaved[i]);
    EXPECT_FALSE(app().state.TimerSuspended);
    EXPECT_TRUE(f1().List2.Visible());

    EXPECT_NE(log().find("--> Νέα πολυμέσα προς ένωση --> 2 από --> 3\r\nNew media to merge --> 2 out of --> 3"),
              std::string::npos);
    EXPECT_NE(log().find("Σύνολο νέων κομματιών: \" 2: New Items were Loaded\r\n"), std::string::npos);
    EXPECT_NE(log().find("-> Ανάγνωση αρχείων από Συλλογή σε πρόσθεση... - Reading files from Collection in add..."),
              std::string::npos);
    const auto boxes = h.dialogs.calls("MsgBox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].prompt,
              "Θέλετε τα κομμάτια της εισαγώμενης συλλογής που είχαν αναπαραχθεί να λογισθούν ως "
              "αναπαραγμένα και στην παρούσα συλλογή;\r\n"
              "Would you like to consider the allready reproduced media of the imported Collection "
              "as reproduced also in this one?");
    EXPECT_EQ(boxes[0].buttons, mb::YesNo + mb::Question);
}

TEST_F(MergeTest, PathsAreComparedExactly) {
    currentTracks(2);
    writeOther({{"/CUR/0.mp3"}, {"/cur/1.mp3"}, {"/cur/1.mp3 "}, {"/x.mp3"}, {"/x.mp3"}, {""}, {" "}});
    store().Merge_Collection(otherPath());
    ASSERT_EQ(f1().List2.ListCount(), 5);
    EXPECT_EQ(f1().List2.List(2), "/CUR/0.mp3");
    EXPECT_EQ(f1().List2.List(3), "/cur/1.mp3 ");
    EXPECT_EQ(f1().List2.List(4), "/x.mp3");
    EXPECT_EQ(d().TrackCount, 5);
    EXPECT_EQ(d().trackEntries(), 6u);
}

TEST_F(MergeTest, YesKeepsTheImportedPlayHistoryFirst) {
    addTrack("/cur/0.mp3", 0, 60, 1, 1);
    addTrack("/cur/1.mp3", 0, 60, 1, 2);
    d().PlayedCount = 2;
    d().MaxPlayedCount = 2;
    writeOther({{"/n/0.mp3", 3}, {"/n/1.mp3", 0}, {"/n/2.mp3", 5}});
    h.dialogs.answerMsgBox(mb::Yes);
    store().Merge_Collection(otherPath());
    const std::vector<std::int32_t> marks(d().PlayOrder.begin(), d().PlayOrder.begin() + 5);
    EXPECT_EQ(marks, (std::vector<std::int32_t>{6, 7, 3, 0, 5}));
    EXPECT_EQ(d().PlayedCount, 7);
    EXPECT_EQ(d().MaxPlayedCount, 7);
}

TEST_F(MergeTest, NoStartsTheImportedTracksUnplayed) {
    addTrack("/cur/0.mp3", 0, 60, 1, 1);
    writeOther({{"/n/0.mp3", 3}, {"/n/1.mp3", 4}});
    h.dialogs.answerMsgBox(mb::No);
    store().Merge_Collection(otherPath());
    const std::vector<std::int32_t> marks(d().PlayOrder.begin(), d().PlayOrder.begin() + 3);
    EXPECT_EQ(marks, (std::vector<std::int32_t>{1, 0, 0}));

    // Nothing new: the question is still asked, and no mark changes.
    h.dialogs.clearTranscript();
    h.dialogs.answerMsgBox(mb::Yes);
    store().Merge_Collection(otherPath());
    EXPECT_EQ(f1().List2.ListCount(), 3);
    EXPECT_EQ(h.dialogs.calls("MsgBox").size(), 1u);
    EXPECT_EQ(d().PlayOrder[0], 1);
}

TEST_F(MergeTest, AnEmptyCollectionTakesEveryTrack) {
    writeOther({{"/n/0.mp3", 1}, {"/n/1.mp3", 2}});
    h.dialogs.answerMsgBox(mb::Yes);
    store().Merge_Collection(otherPath());
    EXPECT_EQ(d().TrackCount, 2);
    EXPECT_EQ(h.dialogs.calls("MsgBox").size(), 1u);
    EXPECT_EQ(d().MaxPlayedCount, 2);
}

TEST_F(MergeTest, RefusedMergesChangeNothing) {
    currentTracks(3);
    const std::size_t entries = d().trackEntries();
    struct Case {
        const char* what;
        std::int32_t count;
        std::string version;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"over the limit", 32764, "5.0",
         "Η παρούσα συλλογή μαζί με την νέα ξεπερνούν το όριο κομματιών -->  32766 <-- New Collection plus the old "
         "exceeds this limit!"},
        {"other version", 2, "4.9", "Συλλογή δημιουργημένη με διαφορετική έκδοση - Collection Created with different version"},
        {"empty version", 2, "", ""},
        {"negative count", -7, "5.0", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        h.dialogs.clearTranscript();
        writeOther({{"/n/0.mp3"}, {"/n/1.mp3"}}, c.count, c.version);
        store().Merge_Collection(otherPath());
        EXPECT_EQ(f1().List2.ListCount(), 3);
        EXPECT_EQ(d().TrackCount, 3);
        EXPECT_EQ(d().trackEntries(), entries);
        const auto boxes = h.dialogs.calls("MsgBox");
        if (c.message.empty()) {
            EXPECT_TRUE(boxes.empty());
        } else {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].prompt, c.message);
        }
    }
}

TEST_F(MergeTest, ADamagedTrackAloneIsLeftOutAndTheCountsAreOfTheTracksAppended) {
    currentTracks(2);
    writeOther({{"/n/0.mp3", 1}, {"/n/1.mp3", 2}, {"/n/2.mp3", 3}, {"/n/0.mp3"}, {""}, {"/cur/1.mp3"}});
    // The second track's path runs past its record.
    std::string part = testbytes::readFile(otherPart());
    part[(45 + 11) * 400 + 1] = '\x7f';
    writeFile(otherPart(), part);
    h.dialogs.answerMsgBox(mb::Yes);
    store().Merge_Collection(otherPath());

    ASSERT_EQ(f1().List2.ListCount(), 4);
    EXPECT_EQ(f1().List2.List(2), "/n/0.mp3");
    EXPECT_EQ(f1().List2.List(3), "/n/2.mp3");
    EXPECT_EQ(d().TrackCount, 4);
    EXPECT_NE(log().find("New media to merge --> 2 out of --> 6"), std::string::npos) << log();
    EXPECT_NE(log().find("-> Λάθη στην ανάγνωση αρχείων συλλογής... - Error Reading Collection Files..."),
              std::string::npos);
    // The play marks of the two tracks appended come first.
    EXPECT_EQ(h.dialogs.calls("MsgBox").size(), 1u);
    EXPECT_EQ(d().PlayOrder[2], 1);
    EXPECT_EQ(d().PlayOrder[3], 3);
    EXPECT_EQ(d().MaxPlayedCount, 3);
}

TEST_F(MergeTest, AHeaderEndingBeforeTheTrackCountHoldsNoTracks) {
    currentTracks(2);
    writeOther({{"/n/0.mp3"}});
    Records header(300);
    header.str(1, "5.0").str(2, "/").i32(4, 0);
    writeFile(otherPath(), header.bytes().substr(0, 4 * 300 - 100));
    store().Merge_Collection(otherPath());
    EXPECT_EQ(f1().List2.ListCount(), 2);
    EXPECT_EQ(log().find("Error"), std::string::npos) << log();
    EXPECT_NE(log().find("New media to merge --> 0 out of --> 0"), std::string::npos);
}

TEST_F(MergeTest, AMissingPartFileIsAFailureAndIsNotCreated) {
    currentTracks(1);
    writeOther({{"/n/0.mp3"}});
    std::filesystem::remove(otherPart());
    store().Merge_Collection(otherPath());
    EXPECT_EQ(f1().List2.ListCount(), 1);
    EXPECT_FALSE(std::filesystem::exists(otherPart()));
    EXPECT_NE(log().find("-> Λάθη στην ανάγνωση αρχείων συλλογής... - Error Reading Collection Files..."),
              std::string::npos);
}

}  // namespace
}  // namespace tarvolin
