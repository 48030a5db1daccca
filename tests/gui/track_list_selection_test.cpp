// The main window's track list and its five column lists on the real views:
// a selection of many rows reaches each view at once.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QListView>

#include <string>
#include <vector>

#include "gui_program.h"
#include "support/big_collection.h"

namespace tarvolin {
namespace {

using testing::guiApp;
using testing::GuiProgram;

// A key that selects many rows changes each view's selection once, not once
// per row (row by row the views took minutes at the largest collection).
TEST(TrackListSelection, AKeySelectingManyRowsChangesEachViewOnce) {
    struct Case {
        const char* what;
        Qt::Key key;
        Qt::KeyboardModifiers mods;
    };
    const Case cases[] = {
        {"Ctrl+A", Qt::Key_A, Qt::ControlModifier},
        {"Shift+End", Qt::Key_End, Qt::ShiftModifier},
    };
    constexpr int kTracks = 400;
    guiApp();
    for (const Case& c : cases) {
        GuiProgram gp;
        Program& p = gp.program;
        makeBigCollection(p, kTracks);
        p.Form1.Show();
        gp.loop.DoEvents();
        std::vector<QListView*> views{qobject_cast<QListView*>(gp.view(p.Form1).widget("List2"))};
        for (int i = 0; i < 5; ++i) views.push_back(qobject_cast<QListView*>(gp.view(p.Form1).widget("List3_0", i)));
        std::vector<int> changes(views.size(), 0);
        for (std::size_t k = 0; k < views.size(); ++k) {
            ASSERT_NE(views[k], nullptr) << k;
            QObject::connect(views[k]->selectionModel(), &QItemSelectionModel::selectionChanged,
                             [&changes, k] { ++changes[k]; });
        }
        p.Form1.List2.userClick(0);
        p.Form1.List2.MouseDown.raise(1, 0, 0.0f, 0.0f);
        gp.loop.DoEvents();
        std::fill(changes.begin(), changes.end(), 0);

        views[0]->setFocus();
        QKeyEvent press(QEvent::KeyPress, c.key, c.mods);
        QApplication::sendEvent(views[0], &press);
        gp.loop.DoEvents();

        for (std::size_t k = 0; k < views.size(); ++k) {
            EXPECT_EQ(views[k]->selectionModel()->selectedIndexes().size(), kTracks) << c.what << " view " << k;
            EXPECT_LE(changes[k], 2) << c.what << " view " << k;
        }
        EXPECT_EQ(p.Form1.List3_0[4].SelCount(), kTracks) << c.what;
    }
}

}  // namespace
}  // namespace tarvolin
