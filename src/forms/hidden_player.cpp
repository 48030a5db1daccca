#include "forms/hidden_player.h"

namespace tarvolin {

namespace {

// A media item when no media layer is attached: it knows its path only.
class PathOnlyItem : public MediaItem {
public:
    explicit PathOnlyItem(std::string path) : path_(std::move(path)) {}
    std::string getItemInfo(const std::string&) override { return ""; }
    bool setItemInfo(const std::string&, const std::string&) override { return false; }
    bool isReadOnlyItem(const std::string&) override { return true; }
    double duration() override { return 0; }
    std::string sourceURL() override { return path_; }

private:
    std::string path_;
};

// The entries of a playlist file; each media item is made on first use.
class FilePlaylist : public LibraryPlaylist {
public:
    FilePlaylist(HiddenPlayer& player, std::string name, std::vector<std::string> paths)
        : player_(player), name_(std::move(name)), paths_(std::move(paths)), items_(paths_.size()) {}
    std::string name() override { return name_; }
    int count() override { return static_cast<int>(paths_.size()); }
    void clear() override {
        paths_.clear();
        items_.clear();
    }
    void insertItem(int index, std::shared_ptr<MediaItem> item) override {
        std::string path = item ? item->sourceURL() : std::string();
        if (index < 0 || index > count()) index = count();
        paths_.insert(paths_.begin() + index, std::move(path));
        items_.insert(items_.begin() + index, std::move(item));
    }
    std::shared_ptr<MediaItem> Item(int index) override {
        if (index < 0 || index >= count()) return nullptr;
        auto& slot = items_[static_cast<std::size_t>(index)];
        if (!slot) slot = player_.newMedia(paths_[static_cast<std::size_t>(index)]);
        return slot;
    }

private:
    HiddenPlayer& player_;
    std::string name_;
    std::vector<std::string> paths_;
    std::vector<std::shared_ptr<MediaItem>> items_;
};

}  // namespace

void MemoryPlaylist::insertItem(int index, std::shared_ptr<MediaItem> item) {
    if (index < 0 || index > count()) index = count();
    items_.insert(items_.begin() + index, std::move(item));
}

std::shared_ptr<MediaItem> MemoryPlaylist::Item(int index) {
    if (index < 0 || index >= count()) return nullptr;
    return items_[static_cast<std::size_t>(index)];
}

HiddenPlayer::HiddenPlayer() : currentPlaylist(std::make_shared<MemoryPlaylist>()) {
    setVisible(false);
}

void HiddenPlayer::attach(MediaReader* reader, PlaylistCollection* library, PlaylistReader readPlaylist) {
    reader_ = reader;
    library_ = library;
    readPlaylist_ = std::move(readPlaylist);
}

std::shared_ptr<MediaItem> HiddenPlayer::newMedia(const std::string& path) {
    if (reader_) {
        if (auto item = reader_->newMedia(path)) return item;
    }
    return std::make_shared<PathOnlyItem>(path);
}

std::shared_ptr<LibraryPlaylist> HiddenPlayer::newPlaylist(const std::string& name, const std::string& url) {
    std::vector<std::string> paths;
    if (readPlaylist_) paths = readPlaylist_(url);
    return std::make_shared<FilePlaylist>(*this, name, std::move(paths));
}

}  // namespace tarvolin
