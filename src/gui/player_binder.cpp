// Player: the video widget with its control bar.
#include "gui/binder_support.h"

#include "gui/video_widget.h"
#include "platform/player.h"
#include "toolkit/controls.h"

namespace tarvolin {

namespace {

class PlayerBinder final : public Binder {
public:
    PlayerBinder(Player& p, VideoWidget* w) : Binder(p, w), w_(w) {}
    void syncAll() override {
        Binder::syncAll();
        // A player left out of the Tab round leaves its bar out too.
        if (!control().TabStop) w_->leaveTabRound();
    }

protected:
    // `enabled` False disables only the player's own control bar.
    bool enablesWidget() const override { return false; }

private:
    VideoWidget* w_;
};

}  // namespace

std::unique_ptr<Binder> bindPlayer(Player& p, QWidget* parent) {
    return std::make_unique<PlayerBinder>(p, new VideoWidget(p, parent));
}

}  // namespace tarvolin
