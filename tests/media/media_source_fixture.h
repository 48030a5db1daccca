#pragma once
// A Program with its start-up defaults (the media types in List3) and a
// folder tree on disk to add media files from.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/media_fixtures.h"
#include "support/program_harness.h"
#include "support/temp_dir.h"

namespace tarvolin {

class MediaSourceTest : public ::testing::Test {
protected:
    ProgramHarness h;
    TempDir disk;

    Program& app() { return *h; }
    Form1& f1() { return h->Form1; }
    ModuleState& state() { return h->state; }
    CollectionData& d() { return h->collection.d; }
    MediaFiles& media() { return h->media; }

    void SetUp() override { h->playback.Init_Defaults(); }

    // A small file (one byte unless told) under the tree; gives its path.
    std::string file(const std::string& name, const std::string& bytes = "x") {
        const std::string path = disk.file(name);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        return fixtures::writeBytes(path, bytes);
    }

    // Shows a folder of the tree in Dir1 (and so in File1). name "" is the
    // tree's root.
    void showFolder(const std::string& name) {
        std::string p = disk.path() + name;
        ASSERT_TRUE(f1().Dir1.setPath(p)) << p;
        if (f1().File1.Path() != f1().Dir1.Path()) {
            ASSERT_TRUE(f1().File1.setPath(p));
        }
    }

    // Selects exactly the media types given ("*.mp3", ...).
    void chooseTypes(const std::vector<std::string>& patterns) {
        ListBox& types = f1().List3;
        for (int k = 0; k < types.ListCount(); ++k) {
            bool on = false;
            for (const auto& p : patterns) on = on || types.List(k) == p;
            types.setSelected(k, on);
        }
    }

    std::vector<std::string> tracks() {
        std::vector<std::string> out;
        for (int i = 0; i < f1().List2.ListCount(); ++i) out.push_back(f1().List2.List(i));
        return out;
    }

    // Rows, columns, tables and TrackCount in step.
    void expectConsistent() {
        const int n = f1().List2.ListCount();
        EXPECT_EQ(d().TrackCount, n);
        for (int c = 0; c <= 4; ++c) EXPECT_EQ(f1().List3_0[c].ListCount(), n) << "column " << c;
        EXPECT_EQ(d().trackEntries(), static_cast<std::size_t>(n) + 1);
        EXPECT_EQ(d().TrackSaved.size(), static_cast<std::size_t>(n) + 1);
        EXPECT_EQ(d().TrackExtraText.size(), static_cast<std::size_t>(n) + 1);
    }

    int msgBoxesWith(const std::string& piece) {
        int count = 0;
        for (const DialogCall& c : h.dialogs.calls("MsgBox")) count += c.prompt.find(piece) != std::string::npos;
        return count;
    }

    // Name, size and modification time of everything under the tree.
    std::map<std::string, std::pair<std::uintmax_t, std::filesystem::file_time_type>> snapshot() {
        std::map<std::string, std::pair<std::uintmax_t, std::filesystem::file_time_type>> out;
        namespace fs = std::filesystem;
        for (const auto& e : fs::recursive_directory_iterator(disk.path())) {
            std::error_code ec;
            const auto size = e.is_regular_file(ec) ? e.file_size(ec) : 0;
            out[e.path().string()] = {size, fs::last_write_time(e.path(), ec)};
        }
        return out;
    }
};

}  // namespace tarvolin
