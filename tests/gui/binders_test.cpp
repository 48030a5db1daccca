// The binders keep widgets and model controls in step both ways.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
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
#include <functional>

#include <cstdlib>

#include "gui/binders.h"
#include "gui/form_view.h"
#include "gui/qt_dialogs.h"
#include "gui_app.h"
#include "support/temp_dir.h"
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
        Option1.addRange(0, 2);
        // A button of another group beside them.
        adopt(Other, "Option2");
        Other.setGroup("other");
        adopt(ClassName, "Label10");
        adopt(ClassCount, "Label9");
        ClassName.DescribedBy = &ClassCount;
        ClassName.Markable = true;
        adopt(Slider1, "Slider1");
        adopt(HScroll1, "HScroll1");
        adopt(Pages, "MultiPage1");
        Pages.addPage("A");
        Pages.addPage("B");
        adopt(Combo1, "Combo1");
        adopt(Combo2, "Combo2");
        Combo2.setStyle(2);
        adopt(Frame1, "Frame1");
        adopt(InFrame, "Text3");
        InFrame.Container = "Frame1";
        adopt(Menu, "mnuTop");
        adopt(Item, "mnuItem");
        Menu.addChild(Item);
        Item.setCaption("Item");
    }
    ListBox List2;
    TextBox Text1, Log;
    CheckBox Check1;
    ControlArray<OptionButton> Option1;
    OptionButton Other;
    Label ClassName, ClassCount;
    Slider Slider1;
    HScrollBar HScroll1;
    MultiPage Pages;
    ComboBox Combo1, Combo2;
    Frame Frame1;
    TextBox InFrame;
    MenuItem Menu, Item;
};

// The accessibility interface of a widget, as assistive technology uses it.
QAccessibleInterface* accessible(QWidget* w) { return QAccessible::queryAccessibleInterface(w); }

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
    // The track list with extended selection and rows "item 0" up, shown.
    QListView* extendedList(std::unique_ptr<Binder>& keep, int rows) {
        form.List2.setMultiSelect(2);
        auto* view = make<QListView>(form.List2, keep);
        for (int i = 0; i < rows; ++i) form.List2.AddItem("item " + std::to_string(i));
        host.show();
        return view;
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
    auto* view = extendedList(b, 20);
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

TEST_F(Binders, AListSelectionChosenAtOnceRaisesOneClick) {
    std::unique_ptr<Binder> b;
    auto* view = extendedList(b, 10);
    int clicks = 0;
    form.List2.Click = [&] { ++clicks; };
    const auto rowAt = [&](int i) { return view->visualRect(view->model()->index(i, 0)).center(); };

    // Shift with a press selects the range from the last plain press.
    press(view->viewport(), rowAt(2));
    clicks = 0;
    press(view->viewport(), rowAt(6), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(form.List2.SelCount(), 5);
    EXPECT_EQ(form.List2.ListIndex(), 6);
    EXPECT_EQ(clicks, 1);

    // What the model selects itself is shown, and nothing comes back.
    clicks = 0;
    form.List2.setSelected(0, true);
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(view->selectionModel()->isSelected(view->model()->index(0, 0)));

    // A row selected in the view from outside (assistive technology) joins
    // the model's selection once, after the view settled.
    clicks = 0;
    view->selectionModel()->select(view->model()->index(8, 0), QItemSelectionModel::Select);
    QCoreApplication::processEvents();
    EXPECT_TRUE(form.List2.Selected(8));
    EXPECT_EQ(form.List2.SelCount(), 7);
    EXPECT_EQ(form.List2.ListIndex(), 6);
    EXPECT_EQ(clicks, 1);

    // A disabled list keeps its selection: the view shows it again.
    form.List2.setEnabled(false);
    view->selectionModel()->clearSelection();
    QCoreApplication::processEvents();
    EXPECT_EQ(form.List2.SelCount(), 7);
    EXPECT_TRUE(view->selectionModel()->isSelected(view->model()->index(8, 0)));
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

// What the program sets after a widget is bound shows in the widget, each
// property on its own (a setter followed by nothing else that redraws).
TEST_F(Binders, EachPropertyAWidgetShowsFollowsTheModel) {
    std::unique_ptr<Binder> bs, bh, bt, bc;
    auto* slider = make<QSlider>(form.Slider1, bs);
    auto* scroll = make<QScrollBar>(form.HScroll1, bh);
    auto* text = make<QLineEdit>(form.Text1, bt);
    auto* check = make<QCheckBox>(form.Check1, bc);
    ASSERT_TRUE(slider && scroll && text && check);

    struct Row {
        const char* property;
        std::function<void()> set;
        std::function<bool()> shown;
    };
    const Row rows[] = {
        {"slider maximum", [&] { form.Slider1.setMax(250); }, [&] { return slider->maximum() == 250; }},
        {"slider minimum", [&] { form.Slider1.setMin(-20); }, [&] { return slider->minimum() == -20; }},
        {"slider value", [&] { form.Slider1.setValue(70); }, [&] { return slider->value() == 70; }},
        {"slider ticks", [&] { form.Slider1.setTickFrequency(25); }, [&] { return slider->tickInterval() == 25; }},
        {"slider steps", [&] { form.Slider1.setSmallChange(5); form.Slider1.setLargeChange(15); },
         [&] { return slider->singleStep() == 5 && slider->pageStep() == 15; }},
        {"scroll bar maximum", [&] { form.HScroll1.setMax(900); }, [&] { return scroll->maximum() == 900; }},
        {"scroll bar minimum", [&] { form.HScroll1.setMin(-30); }, [&] { return scroll->minimum() == -30; }},
        {"scroll bar value", [&] { form.HScroll1.setValue(400); }, [&] { return scroll->value() == 400; }},
        {"scroll bar steps", [&] { form.HScroll1.setSmallChange(20); form.HScroll1.setLargeChange(200); },
         [&] { return scroll->singleStep() == 20 && scroll->pageStep() == 200; }},
        {"text", [&] { form.Text1.setText("abc"); }, [&] { return text->text() == "abc"; }},
        {"text locked", [&] { form.Text1.setLocked(true); }, [&] { return text->isReadOnly(); }},
        {"text length", [&] { form.Text1.setMaxLength(8); }, [&] { return text->maxLength() == 8; }},
        {"tool tip", [&] { form.Text1.setToolTipText("tip"); }, [&] { return text->toolTip() == "tip"; }},
        {"disabled", [&] { form.Text1.setEnabled(false); }, [&] { return !text->isEnabled(); }},
        {"hidden", [&] { form.Text1.setVisible(false); }, [&] { return text->isHidden(); }},
        {"check value", [&] { form.Check1.setValue(1); }, [&] { return check->isChecked(); }},
        {"check caption", [&] { form.Check1.setCaption("Ναι - Yes"); },
         [&] { return check->text() == QString::fromUtf8("Ναι - Yes"); }},
    };
    for (const Row& row : rows) {
        row.set();
        EXPECT_TRUE(row.shown()) << row.property;
    }
}

TEST_F(Binders, ChecksAndOptionsReachTheModelHoweverTheyAreToggled) {
    std::unique_ptr<Binder> bc, bo0, bo1;
    auto* check = make<QCheckBox>(form.Check1, bc);
    auto* opt0 = make<QRadioButton>(form.Option1[0], bo0);
    auto* opt1 = make<QRadioButton>(form.Option1[1], bo1);
    int checkClicks = 0, optionClicks = 0;
    form.Check1.Click = [&] { ++checkClicks; };
    form.Option1[1].Click = [&] { ++optionClicks; };

    // From a Qt path and through the accessibility Toggle action.
    check->setChecked(true);
    EXPECT_EQ(form.Check1.Value(), 1);
    accessible(check)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(form.Check1.Value(), 0);
    EXPECT_FALSE(check->isChecked());
    EXPECT_EQ(checkClicks, 2);
    // The model's own change is shown and raises its Click once, no more.
    form.Check1.setValue(1);
    EXPECT_TRUE(check->isChecked());
    EXPECT_EQ(checkClicks, 3);
    // A handler that refuses the tick is what the box shows.
    form.Check1.Click = [&] { form.Check1.setValue(0); };
    check->setChecked(false);
    check->setChecked(true);
    EXPECT_EQ(form.Check1.Value(), 0);
    EXPECT_FALSE(check->isChecked());

    opt0->setChecked(true);
    EXPECT_TRUE(form.Option1[0].Value());
    accessible(opt1)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(form.Option1[1].Value());
    EXPECT_FALSE(form.Option1[0].Value());
    EXPECT_FALSE(opt0->isChecked());
    EXPECT_EQ(optionClicks, 1);
    // Only the model turns a button off: turned off from the window, it
    // shows on again and nothing is raised.
    opt1->setChecked(false);
    EXPECT_TRUE(opt1->isChecked());
    EXPECT_TRUE(form.Option1[1].Value());
    EXPECT_EQ(optionClicks, 1);
    // A disabled control stays as the model has it.
    form.Check1.setEnabled(false);
    check->setChecked(true);
    EXPECT_EQ(form.Check1.Value(), 0);
}

// Option buttons are told as radio buttons; the Tab key stops at the chosen
// one of a group, and the arrow keys move to and choose the next or
// previous of its group in the order drawn, never one of another group.
TEST_F(Binders, OptionButtonsAreARadioGroupTheArrowKeysChooseIn) {
    std::unique_ptr<Binder> b[3], other;
    QRadioButton* opt[3];
    for (int i = 0; i < 3; ++i) {
        opt[i] = make<QRadioButton>(form.Option1[i], b[i]);
        opt[i]->move(10, 10 + 30 * (2 - i));  // drawn bottom to top
    }
    auto* beside = make<QRadioButton>(form.Other, other);
    beside->move(200, 10);
    host.show();
    int clicks = 0;
    for (int i = 0; i < 3; ++i) form.Option1[i].Click = [&] { ++clicks; };
    EXPECT_EQ(accessible(opt[0])->role(), QAccessible::RadioButton);

    form.Option1[1].setValue(true);
    clicks = 0;
    EXPECT_TRUE(accessible(opt[1])->state().checked);
    EXPECT_TRUE(b[1]->tabStop());
    EXPECT_FALSE(b[0]->tabStop());
    opt[1]->setFocus();
    struct Case {
        Qt::Key key;
        int chosen;  // the button focused and chosen after the key
    };
    // Drawn top to bottom: 2, 1, 0.
    const Case cases[] = {{Qt::Key_Down, 0}, {Qt::Key_Down, 2}, {Qt::Key_Right, 1}, {Qt::Key_Up, 2},
                          {Qt::Key_Left, 0}, {Qt::Key_Up, 1}};
    int presses = 0;
    for (const Case& c : cases) {
        QKeyEvent key(QEvent::KeyPress, c.key, Qt::NoModifier);
        QApplication::sendEvent(host.focusWidget(), &key);
        ++presses;
        EXPECT_EQ(host.focusWidget(), opt[c.chosen]) << "after key " << presses;
        for (int i = 0; i < 3; ++i) EXPECT_EQ(form.Option1[i].Value(), i == c.chosen) << "after key " << presses;
        EXPECT_FALSE(form.Other.Value());
    }
    EXPECT_EQ(clicks, presses);
}

// A label pressed to choose a class is told as a radio button named by the
// class, its counts the description, checked while it is the class marked.
TEST_F(Binders, ClassLabelsTellTheirCountsAndWhichIsMarked) {
    // As a user runs the program: descriptions are not the internal names.
    const std::string ids = std::getenv("TARVOLIN_ACCESSIBLE_IDS") ? std::getenv("TARVOLIN_ACCESSIBLE_IDS") : "";
    setenv("TARVOLIN_ACCESSIBLE_IDS", "0", 1);
    std::unique_ptr<Binder> bn, bc;
    auto* name = make<QLabel>(form.ClassName, bn);
    make<QLabel>(form.ClassCount, bc);
    form.ClassName.setCaption("Class A");
    form.ClassName.Click = [] {};
    form.ClassCount.setCaption("[00003] - [12.5 Mb]");
    QAccessibleInterface* a = accessible(name);
    EXPECT_EQ(a->role(), QAccessible::RadioButton);
    EXPECT_EQ(a->text(QAccessible::Name), "Class A");
    EXPECT_EQ(a->text(QAccessible::Description), "[00003] - [12.5 Mb]");
    EXPECT_FALSE(a->state().checked);
    form.ClassName.setMarked(true);
    EXPECT_TRUE(a->state().checked);
    EXPECT_TRUE(a->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    setenv("TARVOLIN_ACCESSIBLE_IDS", ids.c_str(), 1);
}

TEST_F(Binders, TextReachesTheModelHoweverItIsSet) {
    std::unique_ptr<Binder> b;
    auto* edit = make<QLineEdit>(form.Text1, b);
    int changes = 0;
    // A digit box: anything but one or two digits becomes "00".
    form.Text1.Change = [&] {
        ++changes;
        const std::string& t = form.Text1.Text();
        if (t.size() > 2 || t.find_first_not_of("0123456789") != std::string::npos) form.Text1.setText("00");
    };
    QAccessibleEditableTextInterface* text = accessible(edit)->editableTextInterface();
    ASSERT_NE(text, nullptr);
    text->insertText(0, "5");
    EXPECT_EQ(form.Text1.Text(), "5");
    EXPECT_EQ(changes, 1);
    edit->setText("123");  // pasted, or set by any other means
    EXPECT_EQ(form.Text1.Text(), "00");
    EXPECT_EQ(edit->text(), "00");
    EXPECT_EQ(changes, 3);  // the user's text, then the handler's own
    form.Text1.setText("7");
    EXPECT_EQ(edit->text(), "7");
    EXPECT_EQ(changes, 4);
}

TEST_F(Binders, CombosShowTheModelsItemAndNoneForMinusOne) {
    std::unique_ptr<Binder> b1, b2;
    auto* edit = make<QComboBox>(form.Combo1, b1);
    auto* list = make<QComboBox>(form.Combo2, b2);
    ASSERT_TRUE(edit->isEditable());
    ASSERT_FALSE(list->isEditable());
    std::vector<std::string> events;
    form.Combo1.Change = [&] { events.push_back("Change " + form.Combo1.Text()); };
    form.Combo1.Click = [&] { events.push_back("Click " + std::to_string(form.Combo1.ListIndex())); };

    // Qt would show the first item added; the model has chosen none.
    for (const char* item : {"000 - Blues", "001 - Classic Rock", "002 - Country"}) {
        form.Combo1.AddItem(item);
        form.Combo2.AddItem(item);
    }
    EXPECT_EQ(edit->currentIndex(), -1);
    EXPECT_EQ(edit->currentText(), "");
    EXPECT_EQ(list->currentIndex(), -1);
    EXPECT_TRUE(events.empty());

    form.Combo2.setListIndex(2);
    EXPECT_EQ(list->currentIndex(), 2);
    form.Combo2.RemoveItem(2);
    EXPECT_EQ(list->currentIndex(), form.Combo2.ListIndex());
    form.Combo2.Clear();
    form.Combo2.AddItem("again");
    EXPECT_EQ(list->currentIndex(), -1);

    // Typed or set through assistive technology: the user's text, whole
    // (no completion from the items).
    edit->lineEdit()->setText("0");
    EXPECT_EQ(form.Combo1.Text(), "0");
    EXPECT_EQ(edit->lineEdit()->text(), "0");
    accessible(edit->lineEdit())->editableTextInterface()->insertText(1, "01");
    EXPECT_EQ(form.Combo1.Text(), "001");
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events.back(), "Change 001");

    // A pick from the list is a Click, not a Change.
    events.clear();
    Q_EMIT edit->activated(1);
    EXPECT_EQ(form.Combo1.ListIndex(), 1);
    EXPECT_EQ(form.Combo1.Text(), "001 - Classic Rock");
    EXPECT_EQ(events, std::vector<std::string>{"Click 1"});
    // The model goes back to no item: none shown, the text the model's.
    form.Combo1.setListIndex(-1);
    EXPECT_EQ(edit->currentIndex(), -1);
    EXPECT_EQ(edit->lineEdit()->text(), QString::fromStdString(form.Combo1.Text()));
}

TEST_F(Binders, AListRowReportsThePartOfItThatIsSeen) {
    std::unique_ptr<Binder> b;
    auto* view = make<QListView>(form.List2, b);
    form.List2.setHorizontalExtent(3000);
    for (int i = 0; i < 5; ++i) form.List2.AddItem("/music/track " + std::to_string(i) + ".mp3");
    form.List2.move(0, 0, 300 * 15, 120 * 15);
    host.show();
    QApplication::processEvents();
    QAccessibleInterface* list = accessible(view);
    ASSERT_NE(list, nullptr);
    ASSERT_GE(list->childCount(), 5);
    const QRect seen(view->viewport()->mapToGlobal(QPoint(0, 0)), view->viewport()->size());
    const QRect row = list->child(1)->rect();
    EXPECT_GT(row.width(), 0);
    EXPECT_LE(row.width(), view->viewport()->width());
    EXPECT_TRUE(seen.contains(row.center()));
    // The row is drawn at its whole width: the view scrolls sideways.
    EXPECT_GT(view->horizontalScrollBar()->maximum(), 0);
}

// A folder list's parent folders stand above its items, at negative item
// indexes: a selection of several items lights the rows of those items.
TEST_F(Binders, AFolderListWithSeveralSelectedShowsThemOnTheirOwnRows) {
    TempDir tmp;
    for (const char* name : {"a", "b", "c", "d", "e"}) tmp.makeDir(std::string("root/") + name);
    DirListBox dir;
    dir.setMultiSelect(1);
    ASSERT_TRUE(dir.setPath(tmp.file("root")));
    ASSERT_LT(dir.FirstRow(), 0);
    std::unique_ptr<Binder> b;
    auto* view = make<QListView>(dir, b);
    ASSERT_TRUE(view);
    host.show();
    QAbstractItemModel* m = view->model();
    ASSERT_EQ(m->rowCount(), dir.ListCount() - dir.FirstRow());

    // Items toggled one at a time, or chosen all at once.
    const struct {
        std::vector<int> items;
        bool atOnce;
    } steps[] = {
        {{0}, false}, {{2, 4}, false}, {{2}, false}, {{1, 3}, true}, {{}, true},
    };
    for (std::size_t s = 0; s < std::size(steps); ++s) {
        if (steps[s].atOnce) dir.userSelect(steps[s].items, steps[s].items.empty() ? -1 : steps[s].items.back());
        else
            for (int i : steps[s].items) dir.setSelected(i, !dir.Selected(i));
        for (int r = 0; r < m->rowCount(); ++r)
            EXPECT_EQ(view->selectionModel()->isSelected(m->index(r, 0)), dir.Selected(r + dir.FirstRow()))
                << "step " << s << ", row " << r;
    }
}

TEST_F(Binders, DisablingAContainerKeepsTheFocusAndTheKeysTypedMeanwhile) {
    std::unique_ptr<Binder> bf, bt, bo;
    auto* frame = make<QGroupBox>(form.Frame1, bf);
    auto* box = make<QLineEdit>(form.InFrame, bt);
    auto* other = make<QLineEdit>(form.Text1, bo);
    box->setParent(frame);
    form.Frame1.move(0, 0, 3000, 1500);
    form.InFrame.move(150, 300, 1500, 300);
    host.show();
    QApplication::setActiveWindow(&host);
    box->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), box);
    const auto type = [](const QString& text) {
        for (QChar c : text) {
            QWidget* to = QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
            QKeyEvent down(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QKeyEvent up(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(to, &down);
            QApplication::sendEvent(to, &up);
        }
    };

    // Every change of the text runs an operation that disables the frame
    // around itself; keys come while it runs.
    bool typedDuring = false;
    form.InFrame.Change = [&] {
        form.Frame1.setEnabled(false);
        if (!typedDuring) {
            typedDuring = true;
            type("itle");
        }
        form.Frame1.setEnabled(true);
    };
    const auto settle = [] {
        for (int i = 0; i < 50; ++i) QApplication::processEvents();
    };
    type("T");
    settle();
    type(" 2");
    settle();
    EXPECT_EQ(form.InFrame.Text(), "Title 2");
    EXPECT_EQ(box->text(), "Title 2");
    EXPECT_EQ(QApplication::focusWidget(), box);

    // A container that stays disabled holds the keys only until the user
    // goes on to another control.
    form.InFrame.Change = nullptr;
    form.Frame1.setEnabled(false);
    other->setFocus();
    type("x");
    settle();
    EXPECT_EQ(form.Text1.Text(), "x");
    form.Frame1.setEnabled(true);
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
    EXPECT_EQ(item.action()->text(), QString::fromUtf8("Νέο - &New"));
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
