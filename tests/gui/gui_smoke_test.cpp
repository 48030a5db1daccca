// The real windows over a whole Program: every window opens, a list of the
// largest size shows and scrolls with its columns, a button and a menu item
// reach the model's handlers, and the program closes cleanly.
#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include <filesystem>
#include <memory>
#include <vector>

#include "gui_program.h"

namespace tarvolin {
namespace {

using testing::guiApp;

// Answers every modal dialog the program opens (the first button is taken
// by accepting), so that the test never waits for a person.
class DialogAnswerer : public QObject {
public:
    DialogAnswerer() {
        timer_.setInterval(50);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (QWidget* w = QApplication::activeModalWidget()) {
                ++answered;
                if (auto* d = qobject_cast<QDialog*>(w)) d->accept();
                else w->close();
            }
        });
        timer_.start();
    }
    int answered = 0;

private:
    QTimer timer_;
};

using testing::GuiProgram;

TEST(GuiSmoke, WindowsListsButtonsMenusAndClose) {
    guiApp();
    // The program may change the working folder to one inside its temporary
    // program folder; come back to where the test started.
    const std::filesystem::path startFolder = std::filesystem::current_path();
    DialogAnswerer answerer;
    auto gp = std::make_unique<GuiProgram>();
    Program& p = gp->program;

    // The program's own start-up runs on the real windows.
    p.Form1.Load.raise();
    gp->loop.DoEvents();
    EXPECT_TRUE(gp->view(p.Form1).window()->isVisible());

    // Every window opens and shows its caption; names reach the widgets.
    for (Form* f : std::initializer_list<Form*>{&p.Form1, &p.Form2, &p.Form3, &p.Form4, &p.Form5, &p.frmSplash}) {
        f->Show();
        gp->loop.DoEvents();
        FormWindow* w = gp->view(*f).window();
        EXPECT_TRUE(w->isVisible()) << f->objectName();
        EXPECT_EQ(w->windowTitle().toStdString(), f->Caption()) << f->objectName();
        EXPECT_EQ(w->objectName().toStdString(), gp->view(*f).name());
    }
    for (Form* f : std::initializer_list<Form*>{&p.Form2, &p.Form3, &p.Form4, &p.Form5, &p.frmSplash}) {
        f->Hide();
        EXPECT_FALSE(gp->view(*f).window()->isVisible());
    }
    FormView& main = gp->view(p.Form1);

    // OnTop never shows a hidden window.
    p.Form4.setOnTop(true);
    EXPECT_FALSE(gp->view(p.Form4).window()->isVisible());
    EXPECT_TRUE(gp->view(p.Form4).window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    // A full track list, filled hidden and shown at once, with its columns.
    auto* list = qobject_cast<QListView*>(main.widget("List2"));
    auto* numbers = qobject_cast<QListView*>(main.widget("List3_0", 0));
    auto* sizes = qobject_cast<QListView*>(main.widget("List3_0", 3));
    ASSERT_TRUE(list && numbers && sizes);
    p.Form1.List2.setVisible(false);
    for (ListBox& column : p.Form1.List3_0) column.setVisible(false);
    for (int i = 0; i < ListControl::MaxItems; ++i) {
        p.Form1.List2.AddItem("/music/track " + std::to_string(i) + ".mp3");
        for (ListBox& column : p.Form1.List3_0) column.AddItem(std::to_string(i));
    }
    p.Form1.List2.setVisible(true);
    for (ListBox& column : p.Form1.List3_0) column.setVisible(true);
    gp->loop.DoEvents();
    EXPECT_EQ(list->model()->rowCount(), ListControl::MaxItems);
    EXPECT_EQ(numbers->model()->rowCount(), ListControl::MaxItems);
    p.Form1.List2.setListIndex(ListControl::MaxItems - 1);
    gp->loop.DoEvents();
    EXPECT_GT(list->verticalScrollBar()->value(), 30000);
    EXPECT_EQ(numbers->verticalScrollBar()->value(), list->verticalScrollBar()->value());
    EXPECT_EQ(sizes->verticalScrollBar()->value(), list->verticalScrollBar()->value());
    const QRect lastRow = list->visualRect(list->model()->index(ListControl::MaxItems - 1, 0));
    EXPECT_TRUE(list->viewport()->rect().contains(lastRow.topLeft())) << lastRow.y();
    // The columns show the same rows as the track list.
    EXPECT_EQ(numbers->visualRect(numbers->model()->index(ListControl::MaxItems - 1, 0)).y(), lastRow.y());

    // A button and a menu item reach the handlers wired to the model.
    int buttonClicks = 0, menuClicks = 0;
    p.Form1.Command10[2].Click = [&] { ++buttonClicks; };
    auto* played = main.window()->findChild<QPushButton*>("Command10_2");
    ASSERT_TRUE(played);
    EXPECT_EQ(played->accessibleDescription(), "Command10_2");
    played->click();
    EXPECT_EQ(buttonClicks, 1);

    MenuItem* stats = p.Form1.findMenu("mnustats");
    ASSERT_TRUE(stats);
    stats->Click = [&] { ++menuClicks; };
    QAction* action = main.action("mnustats");
    ASSERT_TRUE(action);
    action->trigger();
    EXPECT_EQ(menuClicks, 1);

    // The tray menu pops up as the program asks.
    if (MenuItem* tray = p.Form1.findMenu("MnuSystemTray")) {
        p.Form1.PopupMenu(*tray);
        gp->loop.DoEvents();
        ASSERT_TRUE(main.lastPopup());
        EXPECT_TRUE(main.lastPopup()->isVisible());
        main.lastPopup()->hide();
    }

    // Closing the main window asks the form, which decides.
    main.window()->close();
    gp->loop.DoEvents();
    gp.reset();
    std::filesystem::current_path(startFolder);
}

}  // namespace
}  // namespace tarvolin
