// Taking a track out of the tables, and renumbering the play marks.
#include <algorithm>

#include "app/program.h"
#include "collection/collection_store.h"
#include "collection/play_order.h"

namespace tarvolin {

namespace {
// A class code as the per-class sums count it.
int clampedClass(int c) { return std::clamp(c, 0, kClassCount - 1); }
}  // namespace

void CollectionStore::Remove_Track_Data(std::int32_t index) {
    const int rows = app_.Form1.List2.ListCount();
    if (index < 0 || index >= rows || !d.hasEntry(index)) return;
    const auto at = static_cast<std::size_t>(index);

    const Currency size = d.TrackSize[at];
    const Currency duration = d.TrackDuration[at];
    if (d.TotalSize > Currency{}) d.TotalSize -= size;
    if (d.TotalDuration > Currency{}) d.TotalDuration -= duration;

    const int c = clampedClass(d.TrackClass[at]);
    if (d.ClassCount[static_cast<std::size_t>(c)] > 0) {
        d.ClassCount[static_cast<std::size_t>(c)] -= 1;
        d.ClassSize[static_cast<std::size_t>(c)] -= size;
        d.ClassDuration[static_cast<std::size_t>(c)] -= duration;
    }

    // Close the gap; the records of every moved entry now belong to
    // another track.
    const std::size_t last = std::min(static_cast<std::size_t>(rows), d.trackEntries()) - 1;
    for (std::size_t i = at; i < last; ++i) {
        d.copyTrackEntry(i + 1, i);
        d.TrackSaved[i] = false;
    }
    d.emptyTrackEntry(last, "0");
}

void CollectionStore::Renumber_Play_Order() {
    const auto rows = static_cast<std::size_t>(app_.Form1.List2.ListCount());
    const std::int32_t k = renumberPlayMarks(d.PlayOrder, d.TrackSaved, rows,
                                             [this] { app_.loop().DoEvents(); });

    // Keep the player's distance from the end of its play history.
    const std::int64_t back = static_cast<std::int64_t>(d.MaxPlayedCount) - d.PlayedCount;
    d.MaxPlayedCount = k;
    const std::int64_t played = static_cast<std::int64_t>(k) - back;
    d.PlayedCount = static_cast<std::int32_t>(std::clamp<std::int64_t>(played, 0, INT32_MAX));

    if (k == 0) {
        if (played == 0) d.CurrentTrack = 0;
        return;
    }
    if (d.PlayedCount < 1) return;
    const std::int32_t holder = trackWithMark(d.PlayedCount);
    if (holder >= 0) d.CurrentTrack = holder;
}

}  // namespace tarvolin
