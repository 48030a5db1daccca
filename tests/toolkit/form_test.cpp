// Forms: registry, menus, unload and resize.
#include <gtest/gtest.h>

#include "toolkit/controls.h"

using namespace tarvolin;

namespace {

struct MenuForm : Form {
    MenuForm() {
        adopt(MnuMore, "MnuMore");
        adopt(MnuMoreRandom, "MnuMoreRandom");
        MnuMore.addChild(MnuMoreRandom);
        mnuvideoshow.bind(*this, "mnuvideoshow");
        mnuvideoshow.addRange(0, 2);
        for (auto& m : mnuvideoshow) MnuMore.addChild(m);
        List3_0.bind(*this, "List3_0");
        List3_0.addRange(0, 1);
    }
    MenuItem MnuMore{"More"};
    MenuItem MnuMoreRandom{"Random"};
    ControlArray<MenuItem> mnuvideoshow;
    ControlArray<ListBox> List3_0;
};

}  // namespace

TEST(Form, FindsControlsAndMenusByNameAndIndex) {
    MenuForm f;
    EXPECT_EQ(f.findControl("List3_0", 1), &f.List3_0[1]);
    EXPECT_EQ(f.find<ListBox>("list3_0", 0), &f.List3_0[0]);
    EXPECT_EQ(f.findControl("List3_0"), nullptr);
    EXPECT_EQ(f.findMenu("MnuMoreRandom"), &f.MnuMoreRandom);
    EXPECT_EQ(f.findMenu("mnuvideoshow", 2), &f.mnuvideoshow[2]);
    EXPECT_EQ(f.findMenu("List3_0", 0), nullptr);
    EXPECT_EQ(f.MnuMore.children().size(), 4u);
    EXPECT_EQ(f.menuBar(), (std::vector<MenuItem*>{&f.MnuMore}));
    EXPECT_EQ(f.List3_0[1].parentForm(), &f);

    int picks = 0;
    f.MnuMoreRandom.Click = [&] { ++picks; };
    f.MnuMoreRandom.click();
    f.MnuMoreRandom.setEnabled(false);
    f.MnuMoreRandom.click();
    EXPECT_EQ(picks, 1);

    MenuItem* shown = nullptr;
    f.popupRequested.listen([&](MenuItem& m) { shown = &m; });
    f.PopupMenu(f.MnuMore);
    EXPECT_EQ(shown, &f.MnuMore);
}

TEST(Form, UnloadCanBeCancelledAndShowActivates) {
    Form f;
    EXPECT_FALSE(f.Visible());
    int activations = 0, unloads = 0;
    f.Activate = [&] { ++activations; };
    f.Show();
    f.Show();
    EXPECT_EQ(activations, 1);
    int cancelNext = 1;
    f.QueryUnload = [&](int& cancel, int mode) {
        EXPECT_EQ(mode, 0);
        cancel = cancelNext;
    };
    f.Unload = [&](int&) { ++unloads; };
    EXPECT_FALSE(f.requestUnload(0));
    EXPECT_TRUE(f.Visible());
    EXPECT_EQ(unloads, 0);
    cancelNext = 0;
    EXPECT_TRUE(f.requestUnload(0));
    EXPECT_FALSE(f.Visible());
    EXPECT_EQ(unloads, 1);
}

TEST(Form, ResizeOnSizeAndWindowStateChanges) {
    Form f;
    int resizes = 0;
    f.Resize = [&] { ++resizes; };
    f.setLeft(100);  // a move is not a resize
    f.setWidth(9000);
    f.userResized(8000, 6000);
    f.setWindowState(1);
    f.setWindowState(1);
    f.setOnTop(true);
    EXPECT_EQ(resizes, 3);
    EXPECT_FALSE(f.Visible());  // on top never shows the form
    f.setIcon(101);
    EXPECT_EQ(f.Icon(), 101);
}
