// The main window's track list and its five column lists on the real views:
// a selection of many rows reaches each view at once, and assistive
// technology meets a bounded number of rows at the largest collection.
#include <gtest/gtest.h>

#include <QAccessible>
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

// Objects under an accessible interface, itself included, counted up to
// limit.
int accessibleObjects(QAccessibleInterface* node, int limit) {
    if (!node || limit <= 0) return 0;
    int n = 1;
    for (int i = 0; i < node->childCount() && n < limit; ++i) n += accessibleObjects(node->child(i), limit - n);
    return n;
}

// A search of the main window over the accessibility bus asks for every
// object in it: at the largest collection that must not be every row of the
// lists that hold the whole collection (each row was an object, and the
// search took many minutes). The rows in view are there, each telling its
// place in the whole list.
TEST(TrackListSelection, TheWindowsAccessibleObjectsStayFewAtTheLargestCollection) {
    guiApp();
    GuiProgram gp;
    Program& p = gp.program;
    makeBigCollection(p, ListControl::MaxItems);
    p.Form1.Show();
    gp.loop.DoEvents();
    QWidget* window = gp.view(p.Form1).window();
    EXPECT_LT(accessibleObjects(QAccessible::queryAccessibleInterface(window), 100000), 5000);

    struct Case {
        const char* list;
        int index;
        int rows;
    };
    const Case cases[] = {{"List2", -1, ListControl::MaxItems},
                          {"List3_0", 4, ListControl::MaxItems},
                          {"List5", -1, ListControl::MaxItems + 2}};
    for (const Case& c : cases) {
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(gp.view(p.Form1).widget(c.list, c.index));
        ASSERT_NE(list, nullptr) << c.list;
        EXPECT_GT(list->childCount(), 0) << c.list;
        EXPECT_LT(list->childCount(), 200) << c.list;
        QAccessibleInterface* first = list->child(0);
        ASSERT_NE(first, nullptr) << c.list;
        EXPECT_EQ(first->role(), QAccessible::ListItem) << c.list;
        EXPECT_EQ(first->text(QAccessible::Description).toStdString(),
                  "1 από " + std::to_string(c.rows) + " - 1 of " + std::to_string(c.rows))
            << c.list;
        EXPECT_EQ(list->indexOfChild(first), 0) << c.list;
    }
}

}  // namespace
}  // namespace tarvolin
