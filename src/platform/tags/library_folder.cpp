#include "platform/tags/library_folder.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "platform/tags/xml_scan.h"
#include "toolkit/durable_file.h"

namespace tarvolin {

namespace {

struct Entry {
    std::string src;
    std::vector<std::pair<std::string, std::string>> attributes;  // in the order first set
    std::shared_ptr<MediaItem> media;                             // made on demand from src
};

bool sameNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

// Attribute names are kept as XML names: a letter or "_", then letters,
// digits, "_", "-" and ".". "src" holds the path.
bool usableAttributeName(const std::string& n) {
    if (n.empty() || sameNoCase(n, "src")) return false;
    if (!(std::isalpha(static_cast<unsigned char>(n[0])) || n[0] == '_')) return false;
    for (char c : n)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.')) return false;
    return true;
}

bool endsWithWpl(const std::string& name) {
    return name.size() > 4 && sameNoCase(name.substr(name.size() - 4), ".wpl");
}

// A file name for a title: "/" and control characters become "_", and the
// name is kept well below the file system's limit (cut at a character).
std::string fileStem(const std::string& title) {
    std::string s;
    for (char c : title) s.push_back((c == '/' || static_cast<unsigned char>(c) < 0x20) ? '_' : c);
    if (s.size() > 200) {
        size_t cut = 200;
        while (cut > 0 && (static_cast<unsigned char>(s[cut]) & 0xC0) == 0x80) --cut;
        s.resize(cut);
    }
    if (s.empty() || s == "." || s == "..") s = "_" + s;
    return s;
}

std::string readAll(const std::string& path, size_t limit = std::string::npos) {
    std::ifstream f(path, std::ios::binary);
    if (!f) return {};
    if (limit == std::string::npos) {
        std::ostringstream ss;
        ss << f.rdbuf();
        return ss.str();
    }
    std::string buf(limit, '\0');
    f.read(buf.data(), static_cast<std::streamsize>(limit));
    buf.resize(static_cast<size_t>(f.gcount()));
    return buf;
}

// The text of the first <title> element, entities decoded; none when the
// text has no such element.
std::optional<std::string> titleOf(const std::string& text) {
    size_t pos = 0;
    while ((pos = text.find('<', pos)) != std::string::npos) {
        if (text.size() - pos >= 6 && sameNoCase(text.substr(pos + 1, 5), "title") &&
            (text[pos + 6] == '>' || std::isspace(static_cast<unsigned char>(text[pos + 6])))) {
            size_t start = text.find('>', pos);
            if (start == std::string::npos) return std::nullopt;
            ++start;
            size_t end = text.find('<', start);
            if (end == std::string::npos) end = text.size();
            return xml::decodeEntities(text.substr(start, end - start));
        }
        ++pos;
    }
    return std::nullopt;
}

struct Head {
    std::string title;
    long order = LONG_MAX;  // files from elsewhere come after ours
};

Head headOf(const std::string& text, const std::string& fileName) {
    Head h;
    std::string headPart = text.substr(0, std::min(text.size(), text.find("</head>") == std::string::npos
                                                                     ? text.size()
                                                                     : text.find("</head>")));
    h.title = titleOf(headPart).value_or(fileName.substr(0, fileName.size() - 4));
    xml::scanTags(headPart, [&](const xml::Tag& t) {
        if (t.name != "meta" || t.closing) return;
        const std::string* n = t.attribute("name");
        const std::string* c = t.attribute("content");
        if (n && c && sameNoCase(*n, "CreationOrder")) {
            char* end = nullptr;
            long v = std::strtol(c->c_str(), &end, 10);
            if (end && *end == '\0' && v >= 0) h.order = v;
        }
    });
    return h;
}

}  // namespace

struct LibraryFolder::State {
    std::string file;
    std::string title;
    long order = LONG_MAX;
    std::vector<std::shared_ptr<Entry>> entries;
    bool dirty = false;
    MediaReader* reader = nullptr;

    ~State() {
        if (dirty) save();
    }

    void load(const std::string& text) {
        entries.clear();
        xml::scanTags(text, [&](const xml::Tag& t) {
            if (t.closing || t.name != "media") return;
            auto e = std::make_shared<Entry>();
            for (const auto& a : t.attributes) {
                if (sameNoCase(a.first, "src"))
                    e->src = a.second;
                else
                    e->attributes.push_back(a);
            }
            entries.push_back(std::move(e));
        });
    }

    // Writes the playlist beside its file and renames it over the file, so
    // that a failed write leaves the old playlist whole.
    bool save() {
        std::string out;
        out += "<?wpl version=\"1.0\"?>\n<smil>\n    <head>\n";
        out += "        <meta name=\"Generator\" content=\"tarvolin\"/>\n";
        if (order != LONG_MAX)
            out += "        <meta name=\"CreationOrder\" content=\"" + std::to_string(order) + "\"/>\n";
        out += "        <title>" + xml::escapeAttribute(title) + "</title>\n";
        out += "    </head>\n    <body>\n        <seq>\n";
        for (const auto& e : entries) {
            out += "            <media src=\"" + xml::escapeAttribute(e->src) + "\"";
            for (const auto& a : e->attributes) out += " " + a.first + "=\"" + xml::escapeAttribute(a.second) + "\"";
            out += "/>\n";
        }
        out += "        </seq>\n    </body>\n</smil>\n";

        const bool ok = durable::writeWhole(file, out);
        if (ok) dirty = false;
        return ok;
    }

    std::shared_ptr<MediaItem> mediaOf(Entry& e) {
        if (!e.media && reader && !e.src.empty()) e.media = reader->newMedia(e.src);
        return e.media;
    }
};

namespace {

class LibraryItem : public MediaItem {
public:
    LibraryItem(std::shared_ptr<LibraryFolder::State> s, std::shared_ptr<Entry> e)
        : state_(std::move(s)), entry_(std::move(e)) {}

    std::string getItemInfo(const std::string& name) override {
        if (const std::string* v = find(name)) return *v;
        if (name == "WM/Year")
            if (const std::string* v = find("Year")) return *v;
        auto m = state_->mediaOf(*entry_);
        return m ? m->getItemInfo(name) : std::string();
    }
    bool setItemInfo(const std::string& name, const std::string& value) override {
        if (!usableAttributeName(name)) return false;
        for (auto& a : entry_->attributes) {
            if (sameNoCase(a.first, name)) {
                if (a.second != value) {
                    a.second = value;
                    state_->dirty = true;
                }
                return true;
            }
        }
        entry_->attributes.emplace_back(name, value);
        state_->dirty = true;
        return true;
    }
    bool isReadOnlyItem(const std::string& name) override { return !usableAttributeName(name); }
    double duration() override {
        auto m = state_->mediaOf(*entry_);
        return m ? m->duration() : 0;
    }
    std::string sourceURL() override { return entry_->src; }

private:
    const std::string* find(const std::string& name) const {
        for (const auto& a : entry_->attributes)
            if (sameNoCase(a.first, name)) return &a.second;
        return nullptr;
    }

    std::shared_ptr<LibraryFolder::State> state_;
    std::shared_ptr<Entry> entry_;
};

class FolderPlaylist : public LibraryPlaylist {
public:
    explicit FolderPlaylist(std::shared_ptr<LibraryFolder::State> s) : s_(std::move(s)) {}

    std::string name() override { return s_->title; }
    void setName(const std::string& name) override {
        if (name == s_->title) return;
        s_->title = name;
        s_->dirty = true;
    }
    int count() override { return static_cast<int>(s_->entries.size()); }
    void clear() override {
        if (s_->entries.empty()) return;
        s_->entries.clear();
        s_->dirty = true;
    }
    void insertItem(int index, std::shared_ptr<MediaItem> item) override {
        if (!item) return;
        auto e = std::make_shared<Entry>();
        e->src = item->sourceURL();
        e->media = std::move(item);
        const int n = count();
        index = std::clamp(index, 0, n);
        s_->entries.insert(s_->entries.begin() + index, std::move(e));
        s_->dirty = true;
    }
    std::shared_ptr<MediaItem> Item(int index) override {
        if (index < 0 || index >= count()) return nullptr;
        return std::make_shared<LibraryItem>(s_, s_->entries[static_cast<size_t>(index)]);
    }

private:
    std::shared_ptr<LibraryFolder::State> s_;
};

}  // namespace

LibraryFolder::LibraryFolder(std::string folder, MediaReader* reader) : folder_(std::move(folder)), reader_(reader) {
    if (!folder_.empty() && folder_.back() != '/') folder_ += '/';
}

LibraryFolder::~LibraryFolder() { flush(); }

bool LibraryFolder::flush() {
    bool ok = true;
    for (auto& [file, state] : open_)
        if (state->dirty && !state->save()) ok = false;
    return ok;
}

std::shared_ptr<LibraryFolder::State> LibraryFolder::stateFor(const std::string& file) {
    auto it = open_.find(file);
    if (it != open_.end()) return it->second;
    auto s = std::make_shared<State>();
    s->file = file;
    s->reader = reader_;
    const std::string text = xml::fileText(readAll(file));
    Head h = headOf(text, file.substr(file.find_last_of('/') + 1));
    s->title = h.title;
    s->order = h.order;
    s->load(text);
    open_.emplace(file, s);
    return s;
}

std::vector<std::shared_ptr<LibraryPlaylist>> LibraryFolder::getByName(const std::string& name) {
    struct Found {
        long order;
        std::string file;
    };
    std::vector<Found> found;
    if (DIR* d = opendir(folder_.c_str())) {
        while (dirent* e = readdir(d)) {
            std::string fn = e->d_name;
            if (!endsWithWpl(fn)) continue;
            const std::string file = folder_ + fn;
            auto it = open_.find(file);
            Head h;
            if (it != open_.end()) {
                h.title = it->second->title;
                h.order = it->second->order;
            } else {
                // The head is enough to tell the title and the order.
                h = headOf(xml::fileText(readAll(file, 65536)), fn);
            }
            if (h.title == name) found.push_back({h.order, file});
        }
        closedir(d);
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return a.order != b.order ? a.order < b.order : a.file < b.file;
    });
    std::vector<std::shared_ptr<LibraryPlaylist>> out;
    for (const Found& f : found) out.push_back(std::make_shared<FolderPlaylist>(stateFor(f.file)));
    return out;
}

std::shared_ptr<LibraryPlaylist> LibraryFolder::newPlaylist(const std::string& name) {
    std::error_code ec;
    std::filesystem::create_directories(folder_, ec);

    long order = 0;
    std::vector<std::string> names;
    if (DIR* d = opendir(folder_.c_str())) {
        while (dirent* e = readdir(d)) {
            std::string fn = e->d_name;
            if (!endsWithWpl(fn)) continue;
            names.push_back(fn);
            const std::string file = folder_ + fn;
            auto it = open_.find(file);
            long o = it != open_.end() ? it->second->order : headOf(xml::fileText(readAll(file, 65536)), fn).order;
            if (o != LONG_MAX) order = std::max(order, o + 1);
        }
        closedir(d);
    }
    auto taken = [&](const std::string& fn) {
        for (const std::string& n : names)
            if (sameNoCase(n, fn)) return true;
        return open_.count(folder_ + fn) > 0;
    };
    const std::string stem = fileStem(name);
    std::string fn = stem + ".wpl";
    for (int k = 2; taken(fn); ++k) fn = stem + " (" + std::to_string(k) + ").wpl";

    auto s = std::make_shared<State>();
    s->file = folder_ + fn;
    s->title = name;
    s->order = order;
    s->reader = reader_;
    s->dirty = !s->save();
    open_.emplace(s->file, s);
    return std::make_shared<FolderPlaylist>(s);
}

}  // namespace tarvolin
