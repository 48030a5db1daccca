// The keys a window answers beyond its controls' own: the menus' access
// keys and Esc in the dialog-like windows.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>

#include <array>

#include "gui/form_view.h"
#include "gui_app.h"
#include "toolkit/controls.h"
#include "toolkit/form.h"

namespace tarvolin {
namespace {

using testing::guiApp;

constexpr std::size_t kBar = 7;

struct MenuForm : Form {
    MenuForm() {
        for (std::size_t i = 0; i < kBar; ++i) adopt(Bar[i], "mnuBar", static_cast<int>(i));
        adopt(Inner, "mnuInner");
        Bar[0].addChild(Inner);
    }
    std::array<MenuItem, kBar> Bar;
    MenuItem Inner;
};

TEST(WindowKeys, EachMenuOfABarHasItsOwnAccessKeyAndTheCaptionsStay) {
    guiApp();
    // The bar's captions, in order, and the text each shows: a word's
    // first letter of the English part where it is free, else another
    // letter of it, else any Latin letter, else none.
    struct Case {
        const char* caption;
        const char* shown;
    };
    const std::array<Case, kBar> cases = {{
        {"Αρχεία - Files", "Αρχεία - &Files"},
        {"Φίλτρα - Filters", "Φίλτρα - F&ilters"},
        {"Κλάσεως Υ΄- Class S", "Κλάσεως Υ΄- &Class S"},
        {"Περισσότερα - More", "Περισσότερα - &More"},
        {"Rock & Roll", "&Rock && Roll"},
        {"Ρυθμίσεις", "Ρυθμίσεις"},
        {"Όλα - Fil", "Όλα - Fi&l"},
    }};
    MenuForm form;
    for (std::size_t i = 0; i < kBar; ++i) form.Bar[i].setCaption(cases[i].caption);
    form.Inner.setCaption("Νέο - New");
    FormView view(form, "FormMenus");
    const QList<QAction*> bar = view.window()->menuBar()->actions();
    ASSERT_EQ(bar.size(), static_cast<qsizetype>(kBar));
    QAccessibleInterface* barAccess = QAccessible::queryAccessibleInterface(view.window()->menuBar());
    for (std::size_t i = 0; i < kBar; ++i) {
        const int k = static_cast<int>(i);
        EXPECT_EQ(bar[k]->text().toStdString(), cases[i].shown) << i;
        EXPECT_EQ(form.Bar[i].Caption(), cases[i].caption) << i;
        // A screen reader hears the caption, without the key's mark.
        EXPECT_EQ(barAccess->child(k)->text(QAccessible::Name).toStdString(), cases[i].caption) << i;
    }
    // A caption the program changes later keeps the keys apart.
    form.Bar[3].setCaption("Περισσότερα - Files");
    EXPECT_EQ(bar[3]->text().toStdString(), "Περισσότερα - Fi&les");
    EXPECT_EQ(view.menu("mnuBar", 0)->actions().front()->text().toStdString(), "Νέο - &New");
}

struct DialogForm : Form {
    DialogForm() {
        adopt(Text1, "Text1");
        adopt(Command1, "Command1");
    }
    TextBox Text1;
    CommandButton Command1;
};

TEST(WindowKeys, EscClosesADialogWindowAsItsCloseBoxDoes) {
    guiApp();
    // Whether the window closes on Esc, the control holding the focus, and
    // whether Esc closes it.
    struct Case {
        bool escapeCloses;
        const char* focused;
        bool closed;
    };
    const Case cases[] = {
        {true, "Text1", true}, {true, "Command1", true}, {false, "Text1", false}, {false, "Command1", false}};
    for (const Case& c : cases) {
        DialogForm form;
        form.EscapeCloses = c.escapeCloses;
        int asked = 0;
        form.QueryUnload = [&](int&, int mode) { asked += mode == 0; };
        FormView view(form, "FormDialog");
        form.Show();
        QWidget* focused = view.widget(c.focused);
        focused->setFocus();
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(focused, &esc);
        EXPECT_EQ(!form.Visible(), c.closed) << c.focused << c.escapeCloses;
        EXPECT_EQ(asked, c.closed ? 1 : 0) << c.focused << c.escapeCloses;
    }
}

}  // namespace
}  // namespace tarvolin
