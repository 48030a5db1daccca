#include <gtest/gtest.h>

#include "support/program_harness.h"

namespace tarvolin {
namespace {

TEST(LibraryPages, EachPageShowsOnlyItsFrame) {
    ProgramHarness h;
    Form1& f = h->Form1;
    const struct {
        int page;
        Frame* frame;
    } pages[] = {{0, &f.Frame4}, {1, &f.Frame12}, {2, &f.Frame1}, {3, &f.Frame8}};
    for (const auto& p : pages) {
        f.MultiPage1.setValue(p.page);
        h->library.MultiPage1_Change();
        for (Frame* other : {&f.Frame1, &f.Frame4, &f.Frame12, &f.Frame8, &f.Frame6})
            EXPECT_EQ(other->Visible(), other == p.frame) << "page " << p.page << " " << other->Name();
    }
}

TEST(LibraryPages, OnlyTheSubfolderPageKeepsTheSubfolderBox) {
    ProgramHarness h;
    Form1& f = h->Form1;
    h->state.Busy = true;  // keep the box's own handler (a folder search) out of this
    f.Check2.setValue(1);
    f.MultiPage1.setValue(3);
    h->library.MultiPage1_Change();
    EXPECT_EQ(f.Check2.Value(), 1);
    f.MultiPage1.setValue(0);
    h->library.MultiPage1_Change();
    EXPECT_EQ(f.Check2.Value(), 0);
}

TEST(LibraryPages, LeavingThePreviewPageEmptiesThePreviewPlayers) {
    ProgramHarness h;
    Form1& f = h->Form1;
    h->playback.MultiPreviewPending = true;
    for (int i = 0; i <= f.WindowsMediaPlayer3.UBound(); ++i) f.WindowsMediaPlayer3[i].setVisible(true);

    f.MultiPage1.setValue(1);
    h->library.MultiPage1_Change();

    EXPECT_FALSE(h->playback.MultiPreviewPending);
    for (int i = 0; i <= f.WindowsMediaPlayer3.UBound(); ++i) {
        EXPECT_FALSE(f.WindowsMediaPlayer3[i].Visible()) << i;
        EXPECT_EQ(f.WindowsMediaPlayer3[i].URL(), "") << i;
    }
    EXPECT_TRUE(f.Frame12.Visible());
    EXPECT_FALSE(f.Frame6.Visible());
}

}  // namespace
}  // namespace tarvolin
