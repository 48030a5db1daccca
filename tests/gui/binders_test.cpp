// The binders keep widgets and model controls in step both ways.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>

#include "gui/binders.h"
#include "gui/form_view.h"
#include "gui/qt_dialogs.h"
#include "gui_app.h"
#include "toolkit/control_array.h"
#include "toolkit/controls.h"
#include "toolkit/form.h"

namespace tarvolin {
namespace {

using testing::guiApp;

struct TestForm : Form {
    TestForm() {
        adopt(List2, "List2");
        adopt(Text1, "Text1");
        adopt(Log, "Text2", 0);
        Log.setMultiLine(true);
        adopt(Check1, "Check1");
        Option1.bind(*this, "Option1");
        Option1.addRange(0, 1);
        adopt(Slider1, "Slider1");
        adopt(Pages, "MultiPage1");
        Pages.addPage("A");
        Pages.addPage("B");
        adopt(Menu, "mnuTop");
        adopt(Item, "mnuItem");
        Menu.addChild(Item);
        Item.setCaption("Item");
    }
    ListBox List2;
    TextBox Text1, Log;
    CheckBox Check1;
    ControlArray<OptionButton> Option1;
    Slider Slider1;
    MultiPage Pages;
    MenuItem Menu, Item;
};

class Binders : public ::testing::Test {
protected:
    void SetUp() override {
        guiApp();
        host.resize(600, 400);
    }
    template <typename W>
    W* make(Control& c, std::unique_ptr<Binder>& keep) {
        keep = bindControl(c, &host);
        EXPECT_TRUE(keep);
        return qobject_cast<W*>(keep->widget());
    }
    void press(QWidget* target, QPoint at, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QMouseEvent down(QEvent::MouseButtonPress, at, target->mapToGlobal(at), button, button, mods);
        QApplication::sendEvent(target, &down);
        QMouseEvent up(QEvent::MouseButtonRelease, at, target->mapToGlobal(at), button, Qt::NoButton, mods);
        QApplication::sendEvent(target, &up);
    }
    struct AppFirst {
        AppFirst() { guiApp(); }
    } app_;
    QWidget host;
    TestForm form;
};

TEST_F(Binders, ListAdapterFollowsTheModelWithoutCopying) {
    std::unique_ptr<Binder> b;
    auto* view = make<QListView>(form.List2, b);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->objectName(), "List2");
    EXPECT_EQ(view->accessibleDescription(), "List2");
    QAbstractItemModel* m = view->model();

    form.List2.AddItem("/music/a.mp3");
    form.List2.AddItem("/music/b.mp3");
    form.List2.AddItem("/music/0.mp3", 0);
    ASSERT_EQ(m->rowCount(), 3);
    EXPECT_EQ(m->index(0, 0).data().toString(), "/music/0.mp3");
    EXPECT_EQ(m->index(2, 0).data().toString(), "/music/b.mp3");

    form.List2.setList(1, "/music/é.mp3");
    EXPECT_EQ(m->index(1, 0).data().toString(), QString::fromUtf8("/music/é.mp3"));
    form.List2.RemoveItem(0);
    EXPECT_EQ(m->rowCount(), 2);
    EXPECT_EQ(m->index(0, 0).data().toString(), QString::fromUtf8("/music/é.mp3"));

    // Bulk filling while hidden: the view catches up with one reset.
    int resets = 0;
    QObject::connect(m, &QAbstractItemModel::modelReset, [&] { ++resets; });
    form.List2.setVisible(false);
    for (int i = 0; i < ListControl::MaxItems - 2; ++i) form.List2.AddItem("/x/" + std::to_string(i));
    form.List2.setVisible(true);
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(m->rowCount(), ListControl::MaxItems);
    EXPECT_EQ(m->index(ListControl::MaxItems - 1, 0).data().toString(), "/x/32763");

    form.List2.Clear();
    EXPECT_EQ(m->rowCount(), 0);
}

TEST_F(Binders, ListSelectionBothWays) {
    std::unique_ptr<Binder> b;
    form.List2.setMultiSelect(2);
    auto* view = make<QListView>(form.List2, b);
    for (int i = 0; i < 20; ++i) form.List2.AddItem("item " + std::to_string(i));
    host.show();
    QItemSelectionModel* sm = view->selectionModel();

    // Model to view.
    form.List2.setSelected(3, true);
    form.List2.setSelected(5, true);
    EXPECT_TRUE(sm->isSelected(view->model()->index(3, 0)));
    EXPECT_TRUE(sm->isSelected(view->model()->index(5, 0)));
    form.List2.setSelected(3, false);
    EXPECT_FALSE(sm->isSelected(view->model()->index(3, 0)));

    // View to model: a press on row 7 selects it alone, moves ListIndex,
    // and raises MouseDown then Click.
    std::vector<std::string> events;
    int button = 0;
    form.List2.Click = [&] { events.push_back("Click " + std::to_string(form.List2.ListIndex())); };
    form.List2.MouseDown = [&](int btn, int, float, float) {
        button = btn;
        events.push_back("MouseDown");
    };
    const QRect r7 = view->visualRect(view->model()->index(7, 0));
    press(view->viewport(), r7.center());
    EXPECT_EQ(form.List2.ListIndex(), 7);
    EXPECT_TRUE(form.List2.Selected(7));
    EXPECT_FALSE(form.List2.Selected(5));
    EXPECT_EQ(form.List2.SelCount(), 1);
    EXPECT_TRUE(sm->isSelected(view->model()->index(7, 0)));
    EXPECT_FALSE(sm->isSelected(view->model()->index(5, 0)));
    EXPECT_EQ(button, 1);
    EXPECT_NE(std::find(events.begin(), events.end(), "Click 7"), events.end());

    // Ctrl adds a row; a right press changes nothing but reports button 2.
    const QRect r9 = view->visualRect(view->model()->index(9, 0));
    press(view->viewport(), r9.center(), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_TRUE(form.List2.Selected(7));
    EXPECT_TRUE(form.List2.Selected(9));
    press(view->viewport(), r7.center(), Qt::RightButton);
    EXPECT_EQ(button, 2);
    EXPECT_EQ(form.List2.SelCount(), 2);

    // A disabled list ignores presses.
    form.List2.setEnabled(false);
    press(view->viewport(), r7.center());
    EXPECT_EQ(form.List2.SelCount(), 2);
}

TEST_F(Binders, TextBothWaysChangeOncePerEdit) {
    std::unique_ptr<Binder> b;
    auto* edit = make<QLineEdit>(form.Text1, b);
    ASSERT_TRUE(edit);
    int changes = 0;
    form.Text1.Change = [&] { ++changes; };

    form.Text1.setText("3");
    EXPECT_EQ(edit->text(), "3");
    EXPECT_EQ(changes, 1);  // the model's own Change only

    host.show();
    edit->setFocus();
    edit->end(false);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_7, Qt::NoModifier, "7");
    QApplication::sendEvent(edit, &key);
    EXPECT_EQ(form.Text1.Text(), "37");
    EXPECT_EQ(changes, 2);

    // KeyDown sees the key code; a handler that zeroes it swallows the key.
    int seen = -1;
    form.Text1.KeyDown = [&](int& code, int) {
        seen = code;
        code = 0;
    };
    QKeyEvent a(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QApplication::sendEvent(edit, &a);
    EXPECT_EQ(seen, 65);
    EXPECT_EQ(form.Text1.Text(), "37");
}

TEST_F(Binders, LogBoxShowsPrependedLinesNewestFirst) {
    std::unique_ptr<Binder> b;
    auto* box = make<QPlainTextEdit>(form.Log, b);
    ASSERT_TRUE(box);
    form.Log.setText("first");
    form.Log.prependLine("second");
    form.Log.prependLine("third");
    EXPECT_EQ(box->toPlainText(), "third\nsecond\nfirst");
    EXPECT_EQ(box->toPlainText(), QString::fromStdString(form.Log.Text()).replace("\r\n", "\n"));
}

TEST_F(Binders, CheckOptionSliderAndPages) {
    std::unique_ptr<Binder> bc, bo0, bo1, bs, bp;
    auto* check = make<QCheckBox>(form.Check1, bc);
    auto* opt0 = make<QRadioButton>(form.Option1[0], bo0);
    auto* opt1 = make<QRadioButton>(form.Option1[1], bo1);
    auto* slider = make<QSlider>(form.Slider1, bs);
    auto* tabs = make<QTabWidget>(form.Pages, bp);
    EXPECT_EQ(opt1->objectName(), "Option1_1");

    int clicks = 0;
    form.Check1.Click = [&] { ++clicks; };
    check->click();
    EXPECT_EQ(form.Check1.Value(), 1);
    EXPECT_EQ(clicks, 1);
    form.Check1.setValue(0);
    EXPECT_FALSE(check->isChecked());

    opt0->click();
    EXPECT_TRUE(form.Option1[0].Value());
    opt1->click();
    EXPECT_FALSE(form.Option1[0].Value());
    EXPECT_FALSE(opt0->isChecked());
    EXPECT_TRUE(opt1->isChecked());

    int scrolls = 0;
    form.Slider1.Scroll = [&] { ++scrolls; };
    form.Slider1.setMax(100);
    form.Slider1.setValue(40);
    EXPECT_EQ(slider->value(), 40);
    EXPECT_EQ(scrolls, 0);  // code never raises Scroll
    slider->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(scrolls, 1);
    EXPECT_EQ(form.Slider1.Value(), slider->value());

    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(1), "B");
    int pageChanges = 0;
    form.Pages.Change = [&] { ++pageChanges; };
    tabs->setCurrentIndex(1);
    EXPECT_EQ(form.Pages.Value(), 1);
    EXPECT_EQ(pageChanges, 1);
    form.Pages.setValue(0);
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(pageChanges, 2);
}

TEST_F(Binders, MenuItemsFollowTheModelAndRaiseClick) {
    MenuBinder top(form.Menu, &host);
    MenuBinder item(form.Item, top.menu());
    top.menu()->addAction(item.action());
    int clicks = 0;
    form.Item.Click = [&] { ++clicks; };

    item.action()->trigger();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(item.action()->objectName(), "mnuItem");
    EXPECT_FALSE(item.action()->isCheckable());

    form.Item.setChecked(true);
    EXPECT_TRUE(item.action()->isCheckable());
    EXPECT_TRUE(item.action()->isChecked());
    // A pick does not toggle the mark by itself: the program decides.
    item.action()->trigger();
    EXPECT_TRUE(item.action()->isChecked());
    form.Item.setChecked(false);
    EXPECT_FALSE(item.action()->isChecked());
    EXPECT_TRUE(item.action()->isCheckable());

    form.Item.setCaption("Νέο - New");
    EXPECT_EQ(item.action()->text(), QString::fromUtf8("Νέο - New"));
    form.Item.setEnabled(false);
    EXPECT_FALSE(item.action()->isEnabled());
    item.action()->trigger();
    EXPECT_EQ(clicks, 2);
}

TEST(GuiHelpers, ColoursKeysAndFilters) {
    guiApp();
    EXPECT_EQ(modelColour(0xFF0000, true), QColor(0, 0, 255));  // BGR: blue
    EXPECT_EQ(modelColour(0x0000FF, false), QColor(255, 0, 0));
    EXPECT_EQ(modelColour(0x8000000D, true), QApplication::palette().color(QPalette::Highlight));
    EXPECT_FALSE(modelColour(0x8000000F, true).isValid());  // the style's own button face

    EXPECT_EQ(keyCode(Qt::Key_Escape), 27);
    EXPECT_EQ(keyCode(Qt::Key_Q), 81);
    EXPECT_EQ(shiftMask(Qt::ShiftModifier | Qt::AltModifier), 5);

    EXPECT_EQ(qtNameFilter("Tarvolin (*.tlf) | *.tlf"), "Tarvolin (*.tlf)");
    EXPECT_EQ(qtNameFilter("Windows Media Player PlayLists (*.wpl,*.m3u,*.wvx) | *.wpl;*.m3u;*.wvx"),
              "Windows Media Player PlayLists (*.wpl *.m3u *.wvx)");
    EXPECT_EQ(qtNameFilter("A | *.a|B|*.b; *.c"), "A (*.a);;B (*.b *.c)");
    EXPECT_EQ(qtNameFilter(""), "");
}

}  // namespace
}  // namespace tarvolin

namespace tarvolin {
namespace {

struct KeyForm : Form {
    KeyForm() { adopt(Caption1, "Label1"); }
    Label Caption1;
};

TEST(FormKeys, ATypedKeyReachesTheFormWithoutInputControls) {
    testing::guiApp();
    KeyForm form;
    int seen = -1;
    form.KeyPress = [&](int& ascii) { seen = ascii; };
    FormView view(form, "frmSplash");
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QApplication::sendEvent(view.window(), &press);
    EXPECT_EQ(seen, 'a');
}

}  // namespace
}  // namespace tarvolin
