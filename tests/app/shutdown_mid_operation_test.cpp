// A shutdown asked for while a long operation yields (a signal, the session's
// end, the alarm, a closed window) waits until the operation has ended,
// cancelled where Esc cancels it, and then saves its whole result: the next
// load has what the program held, never a half-done collection.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "playback/playback_fixture.h"
#include "platform/tags/library_folder.h"
#include "support/big_collection.h"

namespace tarvolin {
namespace {

struct Session {
    ProgramHarness h{false};
    TempDir disk;

    Program& app() { return *h; }
    Form1& f() { return h->Form1; }
    void build() {
        Services s = h.services();
        s.makeLibrary = [this](const std::string& folder) -> std::unique_ptr<PlaylistCollection> {
            return std::make_unique<LibraryFolder>(folder, &h.media);
        };
        s.readPlaylist = [](const std::string& path) { return readPlaylistFile(path); };
        h.build(s);
    }
    // n media files under folder/ that the media layer knows, rated by turns.
    std::vector<std::string> files(const std::string& folder, int n) {
        std::vector<std::string> paths;
        for (int i = 0; i < n; ++i) {
            paths.push_back(fixtures::writeBytes(disk.makeDir(folder) + "t" + std::to_string(i) + ".mp3", "x"));
            h.media.add(paths.back(), 60 + i, {{"Title", folder + std::to_string(i)}, {"Filesize", "1048576"},
                                               {"UserRating", std::to_string(i * 7 % 100)}});
        }
        return paths;
    }
    // Another collection of n tracks in the collections folder.
    std::string otherCollection(int n) {
        Program other(h.services(), h.folder.path());
        return makeBigCollection(other, n, "other");
    }
    // Everything a load gives back.
    std::vector<std::string> held() {
        const CollectionData& d = app().collection.d;
        std::vector<std::string> out{std::to_string(d.TrackCount)};
        for (int i = 0; i < f().List2.ListCount(); ++i) {
            const auto e = static_cast<std::size_t>(i);
            out.push_back(f().List2.List(i) + " " + std::to_string(d.TrackClass[e]) + " " +
                          std::to_string(d.PlayOrder[e]) + " " + std::to_string(d.TrackSize[e].raw()) + " " +
                          d.TrackTitle[e]);
        }
        for (ComboBox& box : f().Combo4_0) out.push_back("filter values " + std::to_string(box.ListCount()));
        return out;
    }
};

struct Operation {
    const char* name;
    std::function<void(Session&)> run;
    bool cancelled;          // Esc cancels it, or a recount at its end
    const char* box = "";    // asked for while this message box is open, else at the fifth yield
};

TEST(ShutdownMidOperation, WaitsForTheOperationAndSavesItsWholeResult) {
    auto merge = [](Session& r) {
        r.h.dialogs.answerOpen(r.otherCollection(30));
        r.app().library.MnuFileMerge_Click();
    };
    const std::vector<Operation> operations = {
        {"start-up load", [](Session& r) { r.build(); r.app().playback.Form_Load(); }, false},
        {"opening a collection",
         [](Session& r) {
             r.h.dialogs.answerOpen(r.otherCollection(30));
             r.app().library.mnuFileOpen_Click();
         },
         true},
        {"merging a collection", merge, false},
        {"merging, at its question", merge, false, "Would you like to consider"},
        {"adding a folder",
         [](Session& r) {
             r.files("new", 15);
             r.f().Dir1.setPath(r.disk.path() + "new");
             r.f().File1.setPath(r.disk.path() + "new");
             r.app().state.ScanFromFileList = false;
             r.app().library.Command4_Click();
         },
         true},
        {"importing a playlist",
         [](Session& r) {
             std::string list;
             for (const std::string& p : r.files("list", 15)) list += p + "\n";
             r.h.dialogs.answerOpen(fixtures::writeBytes(r.disk.file("list.m3u"), list));
             r.app().media.Open_Merge_WMP_Playlist(true, false, "", "");
         },
         true},
        {"reading attributes", [](Session& r) { r.f().MnuMoreFileSizesAll.click(); }, true},
        {"reading ratings", [](Session& r) { r.f().MnuMoreReadFavorFromFiles.click(); }, true},
        {"rebuilding the filters", [](Session& r) { r.f().MnuMoreFiltersRemake.click(); }, false},
        {"deleting by class", [](Session& r) { r.app().library.mnufiledeleteall_Click(); }, true},
        {"removing by path",
         [](Session& r) {
             r.f().List1.AddItem(r.disk.path() + "a/");
             r.app().state.ScanFromFileList = true;
             r.app().library.Command5_Click();
         },
         false},
    };
    for (const Operation& op : operations) {
        SCOPED_TRACE(op.name);
        Session r;
        r.build();
        r.app().playback.Form_Load();
        putTracks(r.app(), r.files("a", 20), std::vector<double>(20, 60));
        r.app().Form1.requestUnload(0);
        r.build();
        r.app().playback.Form_Load();

        int yields = 0;
        bool asked = false, cancelled = false;
        auto shutDown = [&] {
            asked = true;
            r.app().Form1.requestUnload(3);
        };
        // Every yield after the request ends as Esc; a loop that stops for
        // it takes the key back.
        auto noteCancel = [&] { cancelled = cancelled || (asked && r.app().state.AbortKey == 0); };
        r.h.loop.onYield = [&] {
            noteCancel();
            if (++yields == 5 && !*op.box) shutDown();
        };
        r.h.dialogs.onShow = [&](const DialogCall& box) {
            noteCancel();
            if (*op.box && box.prompt.find(op.box) != std::string::npos) shutDown();
        };
        op.run(r);
        // What the program holds once the operation has ended.
        const std::vector<std::string> held = r.held();
        r.h.loop.runUntilIdle();
        r.h.loop.onYield = nullptr;
        r.h.dialogs.onShow = nullptr;
        ASSERT_TRUE(r.app().playback.shutDown());
        EXPECT_EQ(cancelled, op.cancelled);

        r.build();
        r.app().playback.Form_Load();
        const std::vector<std::string> loaded = r.held();
        const auto diff = std::mismatch(loaded.begin(), loaded.end(), held.begin(), held.end());
        EXPECT_TRUE(diff.first == loaded.end() && diff.second == held.end())
            << "loaded " << (diff.first == loaded.end() ? "(end)" : *diff.first) << ", held "
            << (diff.second == held.end() ? "(end)" : *diff.second);
    }
}

}  // namespace
}  // namespace tarvolin
