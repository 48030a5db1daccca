#include "collection/collection_store.h"

#include "app/program.h"
#include "toolkit/runtime.h"

namespace tarvolin {

CollectionStore::CollectionStore(Program& app) : app_(app) {
    d.clearTrackTables(0);
}

std::string CollectionStore::timeOfDay() const {
    return TimeText(app_.loop().now());
}

bool CollectionStore::isTrackRow(std::int64_t i) const {
    return i >= 0 && i < app_.Form1.List2.ListCount() && d.hasEntry(i);
}

void CollectionStore::keepResumePoint(double seconds) {
    if (!isTrackRow(d.CurrentTrack)) return;
    const auto i = static_cast<std::size_t>(d.CurrentTrack);
    if (auto at = Currency::tryFromDouble(seconds)) {
        if (d.TrackResumePos[i] != *at) d.TrackSaved[i] = false;
        d.TrackResumePos[i] = *at;
    }
}

std::int32_t CollectionStore::trackWithMark(std::int64_t mark) const {
    const int rows = app_.Form1.List2.ListCount();
    for (int i = 0; i < rows && d.hasEntry(i); ++i) {
        if (d.PlayOrder[static_cast<std::size_t>(i)] == mark) return i;
    }
    return -1;
}

void CollectionStore::logLine(const std::string& message) {
    app_.Form1.Text2[0].prepend(LogLineText(app_.loop().now(), message));
}

}  // namespace tarvolin
