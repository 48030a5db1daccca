#pragma once
// A media layer for tests: a map from path to attributes and duration.
// Items for unknown paths answer "" and 0, as the real layer does for a
// missing or unreadable file. Every setItemInfo call is recorded; accepted
// writes change the map, so later items of the same path read them back.
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/media.h"

namespace tarvolin {

struct FakeMediaFile {
    std::map<std::string, std::string> attributes;  // "Title", "UserRating", ...
    double duration = 0;
    bool readOnly = false;                  // every write refused
    std::set<std::string> readOnlyNames;    // e.g. "UserRating" for a format without ratings
};

class FakeMediaReader : public MediaReader {
public:
    struct Write {
        std::string path;
        std::string name;
        std::string value;
        bool accepted = false;
    };

    // Adds (or replaces) a known file.
    FakeMediaFile& add(const std::string& path, double duration = 0,
                       std::map<std::string, std::string> attributes = {});
    // Sets one attribute of a known file (adding the file if needed).
    void set(const std::string& path, const std::string& name, const std::string& value);
    bool has(const std::string& path) const { return files_.count(path) != 0; }
    FakeMediaFile* find(const std::string& path);
    void forget(const std::string& path) { files_.erase(path); }

    // The attribute as an item would give it ("" when unknown).
    std::string attribute(const std::string& path, const std::string& name) const;

    std::shared_ptr<MediaItem> newMedia(const std::string& path) override;

    std::vector<Write> writes;
    int newMediaCalls = 0;

    // Names the media layer never writes.
    static bool isReadOnlyName(const std::string& name);

private:
    friend class FakeMediaItem;
    std::map<std::string, FakeMediaFile> files_;
};

}  // namespace tarvolin
