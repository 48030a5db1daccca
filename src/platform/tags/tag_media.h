#pragma once
// Media items on TagLib and libavformat: the attributes, tags and ratings of
// media files, read without playing them. The TagLib file class is chosen
// from the file's extension alone, never from its content; libavformat reads the
// containers TagLib does not and fills in what TagLib cannot tell.
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/media.h"

namespace tarvolin {

class TagMediaItem : public MediaItem {
public:
    // Reads the file at once. A missing, empty or unreadable file gives an
    // item whose attributes are all "" and whose duration is 0.
    explicit TagMediaItem(std::string path);
    ~TagMediaItem() override;

    std::string getItemInfo(const std::string& name) override;
    bool setItemInfo(const std::string& name, const std::string& value) override;
    // One change of the file: when it fails, every name that needed a
    // change is given back.
    std::vector<std::string> setItemInfos(const std::vector<std::pair<std::string, std::string>>& values) override;
    bool isReadOnlyItem(const std::string& name) override;
    double duration() override;
    std::string sourceURL() override;

    // True while the file on disk has the modification time and size that
    // this item last read or wrote.
    bool matchesDisk() const;
    bool exists() const;

    struct Values;

private:
    void read();

    std::string path_;
    std::unique_ptr<Values> v_;
};

class TagMediaReader : public MediaReader {
public:
    TagMediaReader();
    // Repeated calls for a file whose modification time and size did not
    // change give the same item without reading the file again.
    std::shared_ptr<MediaItem> newMedia(const std::string& path) override;

private:
    std::unordered_map<std::string, std::shared_ptr<TagMediaItem>> cache_;
};

// The "UserRating" value a POPM rating byte reads as, and the byte written
// for a "UserRating" value 0 to 99.
std::string userRatingFromPopm(int ratingByte);
int popmFromUserRating(int value);

}  // namespace tarvolin
