#include "collection/collection_data.h"

namespace tarvolin {

void CollectionData::resizeTrackTables(std::int32_t trackCount) {
    const std::size_t n = static_cast<std::size_t>(trackCount < 0 ? 0 : trackCount) + 1;
    PlayOrder.resize(n, 0);
    TrackDuration.resize(n);
    TrackSize.resize(n);
    TrackResumePos.resize(n);
    TrackClass.resize(n, 0);
    TrackBitrate.resize(n, 0);
    TrackArtist.resize(n);
    TrackGenre.resize(n);
    TrackAlbum.resize(n);
    TrackTitle.resize(n);
    TrackYear.resize(n);
    TrackInfoRead.resize(n, false);
    TrackExtraNum.resize(n, SpareNumbers{});
    TrackExtraText.resize(n);
    TrackSaved.resize(n, false);
}

void CollectionData::clearTrackTables(std::int32_t trackCount) {
    PlayOrder.clear();
    TrackDuration.clear();
    TrackSize.clear();
    TrackResumePos.clear();
    TrackClass.clear();
    TrackBitrate.clear();
    TrackArtist.clear();
    TrackGenre.clear();
    TrackAlbum.clear();
    TrackTitle.clear();
    TrackYear.clear();
    TrackInfoRead.clear();
    TrackExtraNum.clear();
    TrackExtraText.clear();
    TrackSaved.clear();
    resizeTrackTables(trackCount);
}

void CollectionData::emptyTrackEntry(std::size_t i, const std::string& spareText) {
    if (i >= PlayOrder.size()) return;
    PlayOrder[i] = 0;
    TrackDuration[i] = Currency{};
    TrackSize[i] = Currency{};
    TrackResumePos[i] = Currency{};
    TrackClass[i] = 0;
    TrackBitrate[i] = 0;
    TrackArtist[i].clear();
    TrackGenre[i].clear();
    TrackAlbum[i].clear();
    TrackTitle[i].clear();
    TrackYear[i].clear();
    TrackInfoRead[i] = false;
    TrackExtraNum[i].fill(0);
    TrackExtraText[i].fill(spareText);
    TrackSaved[i] = false;
}

void CollectionData::copyTrackEntry(std::size_t from, std::size_t to) {
    if (from >= PlayOrder.size() || to >= PlayOrder.size() || from == to) return;
    PlayOrder[to] = PlayOrder[from];
    TrackDuration[to] = TrackDuration[from];
    TrackSize[to] = TrackSize[from];
    TrackResumePos[to] = TrackResumePos[from];
    TrackClass[to] = TrackClass[from];
    TrackBitrate[to] = TrackBitrate[from];
    TrackArtist[to] = TrackArtist[from];
    TrackGenre[to] = TrackGenre[from];
    TrackAlbum[to] = TrackAlbum[from];
    TrackTitle[to] = TrackTitle[from];
    TrackYear[to] = TrackYear[from];
    TrackInfoRead[to] = TrackInfoRead[from];
    TrackExtraNum[to] = TrackExtraNum[from];
    TrackExtraText[to] = TrackExtraText[from];
}

}  // namespace tarvolin
