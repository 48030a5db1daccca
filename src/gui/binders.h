#pragma once
// Binders keep one widget and one control of the toolkit model in step, both
// ways: the model's `changed` notifications redraw the widget, and what the
// user does to the widget becomes the model's own user actions and events
// (userClick, userEdited, userScroll, Click, MouseDown, ...). A binder holds
// no behaviour of the program.
//
// Every widget's objectName is the control's objectName() ("List2",
// "Command18_0", "List3_0_1"), and so is its accessible description where
// test drivers ask for it (accessibleIdsShown); otherwise the description
// is the tool tip. The accessible name says what the control is: its
// caption, else the name its design gives it, its tool tip, or its label.
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include <QAbstractListModel>
#include <QAction>
#include <QMenu>
#include <QColor>
#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QRadioButton>
#include <QTimer>
#include <QWidget>

#include "toolkit/control.h"

namespace tarvolin {

class Control;
class DirListBox;
class ListControl;
class MenuItem;

// Colours as the model holds them: BGR numbers, or system colours
// &H800000xx mapped to palette roles. Invalid when the control should keep
// the style's own colour.
QColor modelColour(std::int64_t value, bool background);

// The model's Shift mask (1 shift, 2 ctrl, 4 alt) of Qt modifiers.
int shiftMask(Qt::KeyboardModifiers m);
// The original key code of a Qt key (A-Z 65-90, 0-9 48-57, Esc 27, ...);
// 0 for keys without one.
int keyCode(int qtKey);

// A list control's items as a Qt list model, read on demand through
// List(i): no copy of the items is kept. Row notifications of the control
// are turned into the model's insert/remove/reset signals.
//
// The model's rows start at the list's FirstRow(): a folder list's parent
// folders come first (its items -n..-1), each indented one step further
// (kIndentRole), then its subfolders one step further still; a folder list
// shows each folder's name only.
class ListAdapter final : public QAbstractListModel {
    Q_OBJECT
public:
    // The number of steps a row is indented by.
    static constexpr int kIndentRole = Qt::UserRole + 1;

    explicit ListAdapter(ListControl& list, QObject* parent = nullptr);
    ~ListAdapter() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    ListControl& list() const { return list_; }
    // The model's row of the list's item i, and the item of a row.
    int rowOf(int item) const { return item - first_; }
    int itemOf(int row) const { return row + first_; }
    QModelIndex indexOfItem(int item) const { return index(rowOf(item)); }
    // What assistive technology reads for item i, where a row means more
    // than its own text (empty: the text).
    std::function<QString(int item)> spokenItem;

private:
    // What assistive technology is told a row holds: its text, but a
    // ruler line as a separator and a folder list's open folder and the
    // folders above it as such.
    QString spokenText(int item, const QString& shown) const;

    ListControl& list_;
    DirListBox* folders_;
    int count_ = 0;
    int first_ = 0;
    int ids_[5] = {};
};

// The widgets of labels and pictures: classes of their own, so that
// assistive technology is given the binder's description of them (with a
// Press action where the program handles a click) before Qt's own.
class BoundLabel final : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

protected:
    // A label reached by the Tab key shows the focus.
    void paintEvent(QPaintEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
};

class BoundPicture : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
Q_SIGNALS:
    // It shows another picture (labels drawn over it choose their colours).
    void pictureChanged();
};

// The widget of combo boxes, which assistive technology is given named as
// the other controls are: Qt names a combo box on this desktop by the item
// it shows.
class BoundCombo final : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
};

// The widget of option buttons, which assistive technology is given as a
// radio button: Qt reports one whose exclusivity it does not keep itself
// as a check box.
class BoundOption final : public QRadioButton {
    Q_OBJECT
public:
    using QRadioButton::QRadioButton;
};

// The announcements of a window: a notification a screen reader speaks
// when it is shown, named by the text announced. It takes no room of its own.
class Announcement final : public QWidget {
    Q_OBJECT
public:
    explicit Announcement(QWidget* parent);
    void announce(const QString& text);

private:
    QTimer* delay_;
    QString text_;
};

// Base of every binder: common properties (Visible, Enabled, geometry in
// twips relative to the container, tool tip) and the model subscription.
class Binder : public QObject {
    Q_OBJECT
public:
    Binder(Control& control, QWidget* widget);
    ~Binder() override;

    Control& control() const { return control_; }
    QWidget* widget() const { return widget_; }

    // Applies every property of the model to the widget.
    virtual void syncAll();
    // The model's property `what` changed.
    virtual void sync(Property what);
    // Re-applies the geometry (after the widget moved to its container).
    void applyGeometry();

    // Whether the widget offers assistive technology a Press action that
    // clicks it (labels and pictures the program handles a click on).
    virtual bool pressable() const { return false; }
    // Whether the Tab key stops at the widget when it is enabled and shown.
    virtual bool tabStop() const;
    // A label standing for one of a row of choices: 1 while it is the one
    // marked, else 0; -1 for every other control.
    virtual int marked() const { return -1; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Clicks on widgets without a click signal (labels, frames, pictures).
    virtual void clicked() {}
    virtual void doubleClicked() {}
    // Whether the common Enabled applies to the whole widget.
    virtual bool enablesWidget() const { return true; }
    // The caption the control shows ("" for kinds without one).
    virtual QString caption() const { return {}; }
    // Gives the widget its accessible name (the parts that have focus of
    // their own too).
    virtual void applyName(const QString& name);
    // Names the widget by its caption, design name, tool tip or label.
    void syncName();

    // While one lives, what the widget reports is the binder's own change:
    // updating_ is set, and given back as it was (scopes nest).
    class Updating {
    public:
        explicit Updating(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
        ~Updating() { flag_ = was_; }
        Updating(const Updating&) = delete;
        Updating& operator=(const Updating&) = delete;

    private:
        bool& flag_;
        bool was_;
    };

    Control& control_;
    QPointer<QWidget> widget_;
    bool updating_ = false;  // the binder itself is changing the widget

private:
    int listenId_ = 0;
    int labelListenId_ = 0;
};

// The binder of a control's widget, or null.
Binder* binderOf(const QWidget* widget);

// The widget property of a control's widget that fills its container's
// area whatever the control's own geometry says.
inline constexpr const char* kFillsClient = "fillsClient";
// The window's property with the scale it is drawn at (1 unless the design
// does not fit the screen).
inline constexpr const char* kZoom = "designZoom";
// The scale the widget's window is drawn at.
double zoomOf(const QWidget* w);

// The widget property of a scroll bar whose value assistive technology is
// told as a percentage of its range.
inline constexpr const char* kValueInPercent = "valueInPercent";

// Creates the widget of a control and its binder; the widget's parent is
// `parent`. Returns null for controls without a widget (Timer, the hidden
// player, menu items).
std::unique_ptr<Binder> bindControl(Control& control, QWidget* parent);

// Gives each item of a menu bar or menu (the actions of MenuBinders) its
// caption with an access key: Alt and the letter pick it from the menu bar,
// the letter alone from an open menu. No two items of one menu share a key;
// an item whose caption has no free letter has none.
void labelMenuItems(QWidget* menu);

// A menu item as a QAction (a submenu as its QMenu's action). Captions,
// Checked, Enabled and Visible follow the model; a pick raises Click.
class MenuBinder final : public QObject {
    Q_OBJECT
public:
    // Builds the action (and submenu with children) for item; owner is the
    // action's parent widget.
    MenuBinder(MenuItem& item, QWidget* owner);
    ~MenuBinder() override;

    MenuItem& item() const { return item_; }
    QAction* action() const { return action_; }
    QMenu* menu() const { return menu_; }  // null for a plain item
    void sync();

private:
    void build(QWidget* owner);

    MenuItem& item_;
    QPointer<QAction> action_;
    QPointer<QMenu> menu_;
    QPointer<QWidget> owner_;  // the menu bar or menu that shows the action
    bool checkable_ = false;
    int listenId_ = 0;
};

}  // namespace tarvolin
