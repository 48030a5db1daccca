// Whether play is restricted to chosen classes, and what those classes hold.
#include "app/program.h"
#include "collection/collection_store.h"

namespace tarvolin {

void CollectionStore::Calc_Favor_Totals() {
    d.FavorTrackCount = 0;
    d.FavorDuration = Currency{};
    if (app_.Form1.List2.ListCount() == 0) return;

    d.PlayClassActive = false;
    for (std::int16_t on : d.PlayClassOn) {
        if (on != 0) d.PlayClassActive = true;
    }
    if (!d.PlayClassActive) {
        d.FavorPlayedTotal = Currency{};
        d.FavorPlayedNow = Currency{};
        d.FavorTimeLeft = Currency{};
        return;
    }
    for (std::size_t c = 0; c < kClassCount; ++c) {
        if (d.PlayClassOn[c] == 0) continue;
        d.FavorDuration += d.ClassDuration[c];
        d.FavorTrackCount += d.ClassCount[c];
    }
}

}  // namespace tarvolin
