// Where the keyboard focus is in the real windows, and what a screen reader
// is told besides: the first control at start, the page shown after a page
// change, and the announcements of results.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QTabWidget>

#include "gui/binders.h"
#include "gui_program.h"

namespace tarvolin {
namespace {

using testing::guiApp;
using testing::GuiProgram;

void settle(GuiProgram& gp, int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) gp.loop.DoEvents();
}

// Each window starts on its own first control (the picture's bar repeats the
// transport and stays out of the Tab round); focus on a page that leaves
// goes to the page shown.
TEST(WindowFocus, TheFocusStartsAndStaysOnTheWindowsOwnControls) {
    guiApp();
    GuiProgram gp;
    Program& p = gp.program;
    struct Case {
        Form* form;
        const char* first;
    };
    const Case cases[] = {{&p.Form1, "Text6"}, {&p.Form4, "Text6"}};
    for (const Case& c : cases) {
        c.form->Show();
        gp.loop.DoEvents();
        FormView& v = gp.view(*c.form);
        EXPECT_EQ(v.window()->focusWidget(), v.widget(c.first)) << c.form->objectName();
        for (QWidget* w : v.widget("WindowsMediaPlayer1")->findChildren<QWidget*>())
            EXPECT_FALSE(w->focusPolicy() & Qt::TabFocus) << w->objectName().toStdString();
        c.form->Hide();
    }

    p.Form1.Show();
    p.Form1.MultiPage1.setValue(2);
    gp.loop.DoEvents();
    FormView& main = gp.view(p.Form1);
    main.widget("Command18", 0)->setFocus();
    p.Form1.MultiPage1.setValue(3);
    gp.loop.DoEvents();
    auto* pages = qobject_cast<QTabWidget*>(main.widget("MultiPage1"));
    QWidget* focus = main.window()->focusWidget();
    ASSERT_TRUE(focus);
    EXPECT_TRUE(pages->currentWidget()->isAncestorOf(focus)) << focus->objectName().toStdString();
}

// A result announced appears, a moment later, as a notification named by its
// text in the window that announced it, and is gone again before the window
// could be shown anew with it.
TEST(WindowFocus, AnnouncementsAreNotificationsOfTheirWindow) {
    guiApp();
    GuiProgram gp;
    Program& p = gp.program;
    for (Form* form : {static_cast<Form*>(&p.Form1), static_cast<Form*>(&p.Form5)}) {
        form->Show();
        form->announce("Σώθηκε - Saved");
        settle(gp, 1000);
        auto* shown = gp.view(*form).window()->findChild<Announcement*>();
        ASSERT_TRUE(shown);
        EXPECT_TRUE(shown->isVisible());
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(shown);
        EXPECT_EQ(a->role(), QAccessible::Notification);
        EXPECT_EQ(a->text(QAccessible::Name), "Σώθηκε - Saved");
        settle(gp, 2500);
        EXPECT_FALSE(shown->isVisible());
    }
}

}  // namespace
}  // namespace tarvolin
