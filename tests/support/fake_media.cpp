#include "support/fake_media.h"

namespace tarvolin {

class FakeMediaItem : public MediaItem {
public:
    FakeMediaItem(FakeMediaReader& reader, std::string path) : reader_(reader), path_(std::move(path)) {}

    std::string getItemInfo(const std::string& name) override { return reader_.attribute(path_, name); }

    bool setItemInfo(const std::string& name, const std::string& value) override {
        FakeMediaReader::Write write{path_, name, value, false};
        FakeMediaFile* file = reader_.find(path_);
        if (file && !file->readOnly && !FakeMediaReader::isReadOnlyName(name) &&
            file->readOnlyNames.count(name) == 0) {
            // "Year" is written as the date and read back as "WM/Year".
            file->attributes[name == "Year" ? "WM/Year" : name] = value;
            write.accepted = true;
        }
        reader_.writes.push_back(write);
        return write.accepted;
    }

    bool isReadOnlyItem(const std::string& name) override {
        FakeMediaFile* file = reader_.find(path_);
        return !file || file->readOnly || FakeMediaReader::isReadOnlyName(name) ||
               file->readOnlyNames.count(name) != 0;
    }

    double duration() override {
        FakeMediaFile* file = reader_.find(path_);
        return file ? file->duration : 0;
    }

    std::string sourceURL() override { return path_; }

private:
    FakeMediaReader& reader_;
    std::string path_;
};

FakeMediaFile& FakeMediaReader::add(const std::string& path, double duration,
                                    std::map<std::string, std::string> attributes) {
    FakeMediaFile& file = files_[path];
    file = FakeMediaFile{};
    file.duration = duration;
    file.attributes = std::move(attributes);
    return file;
}

void FakeMediaReader::set(const std::string& path, const std::string& name, const std::string& value) {
    files_[path].attributes[name] = value;
}

FakeMediaFile* FakeMediaReader::find(const std::string& path) {
    auto it = files_.find(path);
    return it == files_.end() ? nullptr : &it->second;
}

std::string FakeMediaReader::attribute(const std::string& path, const std::string& name) const {
    auto file = files_.find(path);
    if (file == files_.end()) return "";
    auto it = file->second.attributes.find(name);
    return it == file->second.attributes.end() ? std::string() : it->second;
}

std::shared_ptr<MediaItem> FakeMediaReader::newMedia(const std::string& path) {
    ++newMediaCalls;
    return std::make_shared<FakeMediaItem>(*this, path);
}

bool FakeMediaReader::isReadOnlyName(const std::string& name) {
    return name == "Bitrate" || name == "Filesize" || name == "MediaType";
}

}  // namespace tarvolin
