// The next-track choice as a function of the collection and the play mode:
// no window, no player.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "collection/collection_data.h"
#include "playback/playback.h"

namespace tarvolin {
namespace {

using Kind = NextTrack::Kind;

struct ChoiceCase {
    std::string what;
    std::vector<std::int32_t> playOrder;  // one entry per row
    std::vector<std::int16_t> trackClass;  // empty: every row class 0
    std::vector<int> classesOn;            // the class choice; empty: none
    std::int32_t current = 0;
    bool justLoaded = false;
    NextTrackMode mode;                    // rows are taken from playOrder
    std::vector<float> draws;              // the shuffle's values in turn
    Kind kind;
    std::int32_t track;
    std::int32_t serialAdvance = 0;
};

TEST(NextTrackChoice, FollowsTheCollectionAndThePlayModeAlone) {
    const std::vector<ChoiceCase> cases = {
        {"a load resumes the loaded track", {1, 0, 2, 0}, {}, {}, 2, true, {}, {}, Kind::Resume, 2},
        {"a load with the track off the list resumes the first", {0, 0}, {}, {}, 7, true, {}, {}, Kind::Resume, 0},
        {"a load of an empty list has nothing", {}, {}, {}, 0, true, {}, {}, Kind::Resume, -1},
        {"a load comes before replay and selection", {0, 0, 0}, {}, {}, 1, true,
         {.selected = 2, .replayMode = 1, .playSelected = true}, {}, Kind::Resume, 1},
        {"replay one keeps the track", {1, 2, 0}, {}, {}, 1, false, {.selected = 2, .replayMode = 1}, {},
         Kind::Keep, 1},
        {"the selection asked for is taken", {0, 0, 0, 0}, {}, {}, 1, false, {.selected = 3, .playSelected = true},
         {}, Kind::Keep, 3},
        {"no selection keeps the current track", {0, 0, 0}, {}, {}, 2, false, {.selected = -1, .playSelected = true},
         {}, Kind::Keep, 2},
        {"replay one off the list takes the first", {0, 0}, {}, {}, -1, false, {.replayMode = 1}, {}, Kind::Keep, 0},
        {"replay one of an empty list has nothing", {}, {}, {}, 0, false, {.replayMode = 1}, {}, Kind::Keep, -1},
        {"serial play takes the unplayed current track", {0, 0, 0}, {}, {}, 1, false, {}, {}, Kind::Drawn, 1, 0},
        {"serial play goes on after the played current track", {0, 3, 2, 1}, {}, {}, 3, false, {}, {}, Kind::Drawn,
         0, 1},
        {"serial play off the list starts at the first", {1, 0, 0}, {}, {}, 9, false, {}, {}, Kind::Drawn, 1, 1},
        {"a class not chosen is passed over", {0, 0, 0}, {3, 3, 5}, {5}, 0, false, {}, {}, Kind::Drawn, 2, -1},
        {"shuffle draws a row", {0, 0, 0}, {}, {}, 0, false, {.shuffle = true}, {0.5F}, Kind::Drawn, 1, 0},
        {"shuffle draws again over a played row", {1, 0, 0}, {}, {}, 1, false, {.shuffle = true}, {0.1F, 0.9F},
         Kind::Drawn, 2, 0},
        {"shuffle draws again over a class not chosen", {0, 0, 0}, {5, 3, 3}, {3}, 1, false, {.shuffle = true},
         {0.0F, 0.6F}, Kind::Drawn, 1, -1},
        {"every track played ends the pass", {1, 2, 3}, {}, {}, 2, false, {}, {}, Kind::PassOver, -1},
        {"no unplayed track of a chosen class ends the pass", {1, 0, 0}, {5, 3, 3}, {5}, 0, false, {},
         {}, Kind::PassOver, -1},
        {"an empty list ends the pass", {}, {}, {}, 0, false, {.shuffle = true}, {}, Kind::PassOver, -1},
    };
    for (const ChoiceCase& c : cases) {
        SCOPED_TRACE(c.what);
        CollectionData d;
        d.PlayOrder = c.playOrder;
        d.TrackClass = c.trackClass.empty() ? std::vector<std::int16_t>(c.playOrder.size(), 0) : c.trackClass;
        for (int cls : c.classesOn) d.PlayClassOn[static_cast<std::size_t>(cls)] = -1;
        d.CurrentTrack = c.current;
        d.CollectionJustLoaded = c.justLoaded;
        NextTrackMode mode = c.mode;
        mode.rows = static_cast<int>(c.playOrder.size());
        std::size_t drawn = 0;
        const NextTrack next = chooseNextTrack(d, mode, [&] {
            EXPECT_LT(drawn, c.draws.size()) << "more draws than the case gives";
            return drawn < c.draws.size() ? c.draws[drawn++] : 0.0F;
        });
        EXPECT_EQ(next.kind, c.kind);
        EXPECT_EQ(next.track, c.track);
        if (c.kind == Kind::Drawn) {
            EXPECT_EQ(next.serialAdvance, c.serialAdvance);
            EXPECT_EQ(drawn, c.draws.size());
        }
    }
}

}  // namespace
}  // namespace tarvolin
