// The video-preview page: twelve small players show the file whose
// information is shown, the first from its beginning and the others from
// the middles of equal slices of it, all muted and without control bars.
#include "app/program.h"
#include "playback/playback.h"

namespace tarvolin {

void Playback::Reset_Multi_Preview(bool show) {
    Form1& f = app.Form1;
    ControlArray<Player>& players = f.WindowsMediaPlayer3;
    const CollectionData& d = app.collection.d;
    // The wait below lets other handlers run, and they may fill or clear
    // the players again: the latest call has the last word.
    const std::uint64_t round = ++previewRound_;

    if (!show) {
        const int last = players.UBound();
        for (int i = 0; i <= last; ++i) {
            Player* p = players.get(i);
            if (!p) continue;
            p->controls.stop();
            p->close();
            p->setVisible(false);
            MultiPreviewPending = false;
        }
        return;
    }

    if (d.InfoFile.empty() || !Is_Video_Media(d.InfoFile)) {
        for (int i = 0; i <= players.UBound(); ++i) {
            Player* p = players.get(i);
            if (!p) continue;
            p->controls.stop();
            p->close();
            p->setUiMode("none");
            p->setVisible(false);
        }
        return;
    }

    Player* first = players.get(0);
    if (!first) return;
    first->settings.setAutoStart(false);
    first->setURL(d.InfoFile);
    first->setUiMode("none");
    first->settings.setMute(true);
    first->controls.play();

    // Until the first player has opened the file, or for a few seconds at
    // most: its duration tells where the others start.
    MessageLoop& loop = app.loop();
    const std::int64_t since = loop.tickCount();
    loop.DoEvents();
    auto overtaken = [&] { return round != previewRound_; };
    while (!overtaken() && first->playState() == playstate::Transitioning &&
           loop.tickCount() - since < kPreviewOpenWaitMs) {
        loop.wait(10);
    }
    if (overtaken()) return;
    first->setVisible(true);
    // The others show the file that the first one holds.
    const std::string file = first->URL();

    const auto length = tryCLng(first->currentMedia.duration());
    const std::int32_t D = length ? *length : 0;
    const int n = players.UBound();
    for (int k = 1; k <= n; ++k) {
        Player* p = players.get(k);
        if (!p) continue;
        p->setUiMode("none");
        p->setURL(file);
        const float start = static_cast<float>(((k - 0.5) / n) * D);
        p->controls.setCurrentPosition(start);
        p->settings.setMute(true);
        p->controls.play();
        p->setVisible(true);
    }
    MultiPreviewPending = true;
}

}  // namespace tarvolin
