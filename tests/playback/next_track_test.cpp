// The next-track choice: serial and shuffle draws, replay, the selection,
// the class choice and the end of a pass.
#include "playback_fixture.h"

namespace tarvolin {
namespace {

const char* const kPassOver = "-> Αναπαράχθηκαν όλα τα αρχεία - Every file has been reproduced";

int countOf(const std::string& text, const std::string& piece) {
    int n = 0;
    for (std::size_t p = text.find(piece); p != std::string::npos; p = text.find(piece, p + 1)) ++n;
    return n;
}

TEST_F(PlaybackTest, SerialPlayTakesTheCurrentTrackFirstThenWrapsAndEndsThePass) {
    auto paths = startWithTracks(4);
    d().CurrentTrack = 2;
    Playback& pb = app().playback;

    std::vector<int> order;
    for (int k = 0; k < 4; ++k) {
        pb.Bres_Kommati();
        order.push_back(d().CurrentTrack);
        EXPECT_EQ(d().PlayOrder[static_cast<std::size_t>(d().CurrentTrack)], k + 1);
        EXPECT_EQ(d().PlayedCount, k + 1);
        EXPECT_EQ(d().MaxPlayedCount, k + 1);
    }
    EXPECT_EQ(order, (std::vector<int>{2, 3, 0, 1}));
    EXPECT_EQ(d().CurrentFile, paths[1]);
    EXPECT_EQ(f().List2.ListIndex(), 1);
    EXPECT_EQ(f().Command10[1].Caption(), "Τρέχων Κομμάτι - Current Media [00002]");
    EXPECT_EQ(app().Form4.Text1.Text(), "[00002] - [00004]");
    EXPECT_EQ(mainPlayer().URL(), paths[1]);

    // Every track played: the pass ends with its log line on top.
    f().Text2[0].prependLine("older line");
    pb.Bres_Kommati();
    EXPECT_EQ(log().substr(8, std::string(kPassOver).size()), kPassOver);
    EXPECT_EQ(d().CurrentTrack, 2);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(d().PlayOrder[static_cast<std::size_t>(i)], 0);
    EXPECT_EQ(d().PlayedCount, 0);
    EXPECT_EQ(d().MaxPlayedCount, 0);
    EXPECT_EQ(f().List2.ListIndex(), 2);
    // Without replay the player stops and lets go of the file.
    EXPECT_EQ(mainPlayer().URL(), "");
    EXPECT_EQ(mainPlayer().playState(), playstate::Stopped);
}

TEST_F(PlaybackTest, ReplayAllStartsTheNextPassAfterTheLastCurrentTrack) {
    startWithTracks(3);
    s().ReplayMode = 2;
    for (int k = 0; k < 3; ++k) app().playback.Bres_Kommati();
    ASSERT_EQ(d().CurrentTrack, 2);
    app().playback.Bres_Kommati();
    EXPECT_EQ(countOf(log(), kPassOver), 1);
    EXPECT_EQ(d().CurrentTrack, 0);
    EXPECT_EQ(d().PlayOrder[0], 1);
    EXPECT_EQ(d().PlayedCount, 1);
    EXPECT_EQ(d().CurrentFile, f().List2.List(0));
}

TEST_F(PlaybackTest, ShuffleOverThreeTracksDrawsTheMiddleOneTwiceAsOften) {
    startWithTracks(3);
    s().ShuffleOn = true;
    int count[3] = {0, 0, 0};
    const int draws = 3000;
    for (int k = 0; k < draws; ++k) {
        std::fill(d().PlayOrder.begin(), d().PlayOrder.end(), 0);
        d().PlayedCount = 0;
        app().playback.Bres_Kommati();
        ASSERT_GE(d().CurrentTrack, 0);
        ASSERT_LE(d().CurrentTrack, 2);
        ++count[d().CurrentTrack];
    }
    EXPECT_NEAR(count[0] / double(draws), 0.25, 0.03);
    EXPECT_NEAR(count[1] / double(draws), 0.50, 0.03);
    EXPECT_NEAR(count[2] / double(draws), 0.25, 0.03);
}

TEST_F(PlaybackTest, TheShuffleSequenceIsTheSameInEveryRun) {
    auto drawSequence = [this] {
        startWithTracks(6);
        s().ShuffleOn = true;
        std::vector<int> seq;
        for (int k = 0; k < 6; ++k) {
            app().playback.Bres_Kommati();
            seq.push_back(d().CurrentTrack);
        }
        return seq;
    };
    const std::vector<int> first = drawSequence();
    h.build();
    EXPECT_EQ(drawSequence(), first);
    // A whole pass: every track once.
    std::vector<int> sorted = first;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<int>{0, 1, 2, 3, 4, 5}));
}

TEST_F(PlaybackTest, OneTrackInShuffleIsDrawnThenThePassEnds) {
    startWithTracks(1);
    s().ShuffleOn = true;
    app().playback.Bres_Kommati();
    EXPECT_EQ(d().CurrentTrack, 0);
    EXPECT_EQ(d().PlayOrder[0], 1);
    app().playback.Bres_Kommati();
    EXPECT_EQ(countOf(log(), kPassOver), 1);
    EXPECT_EQ(d().PlayOrder[0], 0);
}

TEST_F(PlaybackTest, ReplayOneKeepsTheTrackUnlessTheSelectionIsAskedFor) {
    startWithTracks(4);
    app().playback.Bres_Kommati();
    app().playback.Bres_Kommati();
    ASSERT_EQ(d().CurrentTrack, 1);
    s().ReplayMode = 1;

    app().playback.Bres_Kommati();
    EXPECT_EQ(d().CurrentTrack, 1);
    EXPECT_EQ(d().PlayOrder[1], 2);
    EXPECT_EQ(d().PlayedCount, 2);

    f().List2.setListIndex(3);
    s().PlaySelected = true;
    app().playback.Bres_Kommati();
    EXPECT_EQ(d().CurrentTrack, 3);
    EXPECT_EQ(d().PlayOrder[3], 0);  // taken from the selection: not numbered
    EXPECT_FALSE(s().PlaySelected);

    // A selection request with nothing selected keeps the current track.
    f().List2.setListIndex(-1);
    s().PlaySelected = true;
    app().playback.Bres_Kommati();
    EXPECT_EQ(d().CurrentTrack, 3);
}

TEST_F(PlaybackTest, RightAfterALoadTheLoadedTrackResumesWhereItWasLeft) {
    startWithTracks(4, 60);
    d().CollectionJustLoaded = true;
    d().CurrentTrack = 3;
    d().StartPosition = 7;
    d().PlayedCount = 2;
    s().ReplayMode = 1;
    s().PlaySelected = true;
    f().List2.setListIndex(0);

    app().playback.Bres_Kommati();
    EXPECT_FALSE(d().CollectionJustLoaded);
    EXPECT_EQ(d().CurrentTrack, 3);
    EXPECT_EQ(d().PlayOrder[3], 0);
    EXPECT_EQ(d().MaxPlayedCount, 2);
    run(600);
    EXPECT_EQ(mainPlayer().playState(), playstate::Playing);
    EXPECT_NEAR(mainPlayer().controls.currentPosition(), 7.3, 0.35);
}

TEST_F(PlaybackTest, OnlyTheChosenClassesArePlayedAndAnEmptyChoiceEndsThePass) {
    startUp();
    addTracks(makeFiles(1, 5), 5);
    addTracks({makeFile("b.wav", 5)}, 3);
    addTracks({makeFile("s2.wav", 5)}, 5);
    s().ShuffleOn = false;
    app().collection.MnuFavor_Play(5);
    ASSERT_EQ(d().PlayClassOn[5], -1);

    app().playback.Bres_Kommati();
    EXPECT_EQ(d().CurrentTrack, 0);
    app().playback.Bres_Kommati();
    EXPECT_EQ(d().CurrentTrack, 2);  // the class B track is passed over
    app().playback.Bres_Kommati();
    EXPECT_EQ(countOf(log(), kPassOver), 1);
    EXPECT_EQ(d().PlayOrder[1], 0);

    // Replay all with a choice that no track has: no endless restart.
    s().ReplayMode = 2;
    app().collection.MnuFavor_Play(5);
    app().collection.MnuFavor_Play(1);
    app().playback.Bres_Kommati();
    EXPECT_EQ(countOf(log(), kPassOver), 2);
    EXPECT_EQ(mainPlayer().URL(), "");
}

TEST_F(PlaybackTest, APlayedCountBeyondTheTracksWrapsToOne) {
    startWithTracks(3);
    d().PlayOrder[0] = 2;
    d().PlayOrder[1] = 3;
    d().PlayedCount = 3;
    d().MaxPlayedCount = 3;
    d().CurrentTrack = 1;
    app().playback.Bres_Kommati();
    EXPECT_EQ(d().CurrentTrack, 2);
    EXPECT_EQ(d().PlayedCount, 1);
    EXPECT_EQ(d().PlayOrder[2], 1);
}

}  // namespace
}  // namespace tarvolin
