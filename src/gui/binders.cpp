#include "gui/binders.h"

#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAccessibleWidget>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include <algorithm>
#include <cmath>

#include "gui/accessibility.h"
#include "gui/binder_support.h"
#include "gui/focus_hold.h"
#include "platform/player.h"
#include "toolkit/controls.h"

namespace tarvolin {

namespace {

// Posted to a widget when assistive technology presses it: the click then
// runs from the event loop, after the request has been answered (a click
// may open a modal box).
const QEvent::Type kPressEvent = static_cast<QEvent::Type>(QEvent::registerEventType());
constexpr const char* kBinderProperty = "tarvolinBinder";

// How assistive technology sees a label or picture: a button with a Press
// action while the program handles a click on it (a radio button, checked
// while marked, where it stands for one of a row of choices: a screen reader
// tells no checked state of a plain button). The handlers are set after the
// windows are made, so the action is looked up each time it is asked for.
class PressableAccessible final : public QAccessibleWidget {
public:
    PressableAccessible(QWidget* w, QAccessible::Role role) : QAccessibleWidget(w, role) {}
    QAccessible::Role role() const override {
        if (!pressable()) return QAccessibleWidget::role();
        const Binder* binder = binderOf(widget());
        return binder && binder->marked() >= 0 ? QAccessible::RadioButton : QAccessible::Button;
    }
    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (pressable()) names << pressAction();
        if (tabStop() && !names.contains(setFocusAction())) names << setFocusAction();
        return names;
    }
    void doAction(const QString& name) override {
        if (name == pressAction() && pressable()) QCoreApplication::postEvent(widget(), new QEvent(kPressEvent));
        else QAccessibleWidget::doAction(name);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
    // Reached by the Tab key where the program handles a click.
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        if (tabStop()) s.focusable = true;
        const Binder* binder = binderOf(widget());
        if (pressable() && binder && binder->marked() >= 0) {
            s.checkable = true;
            s.checked = binder->marked() == 1;
        }
        return s;
    }

private:
    bool pressable() const {
        const Binder* binder = binderOf(widget());
        return binder && binder->pressable();
    }
    bool tabStop() const {
        const Binder* binder = binderOf(widget());
        return binder && binder->tabStop();
    }
};

// How assistive technology sees a combo box: by the name the binder gives
// it, the item shown as its value; the drop-down list and the edit part are
// its children, and Press opens or closes the list.
class ComboAccessible final : public QAccessibleWidget {
public:
    explicit ComboAccessible(QComboBox* w) : QAccessibleWidget(w, QAccessible::ComboBox) {}
    int childCount() const override { return box()->lineEdit() ? 2 : 1; }
    QAccessibleInterface* child(int i) const override {
        QObject* c = nullptr;
        if (i == 0) c = box()->view();
        else if (i == 1) c = box()->lineEdit();
        return c ? QAccessible::queryAccessibleInterface(c) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* c) const override {
        if (!c) return -1;
        if (c->object() == box()->view()) return 0;
        return c->object() && c->object() == box()->lineEdit() ? 1 : -1;
    }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Value ? box()->currentText() : QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = box()->view()->isVisible();
        s.editable = box()->isEditable();
        return s;
    }
    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString& name) override {
        if (name != showMenuAction() && name != pressAction()) return;
        if (box()->view()->isVisible()) box()->hidePopup();
        else box()->showPopup();
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QComboBox* box() const { return static_cast<QComboBox*>(widget()); }
};

// How assistive technology sees a one-line text box: Qt's own view of it
// gives each character a text attribute run that ends where it starts, and
// a screen reader that reads the line run by run leaves its last character
// out. Here the whole text is one run.
class LineEditAccessible final : public QAccessibleWidget,
                                 public QAccessibleTextInterface,
                                 public QAccessibleEditableTextInterface {
public:
    explicit LineEditAccessible(QLineEdit* w) : QAccessibleWidget(w, QAccessible::EditableText) {}
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        if (t == QAccessible::EditableTextInterface) return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Value ? edit()->text() : QAccessibleWidget::text(t);
    }
    void setText(QAccessible::Text t, const QString& s) override {
        if (t != QAccessible::Value) QAccessibleWidget::setText(t, s);
        else if (!edit()->isReadOnly()) edit()->setText(s);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = !edit()->isReadOnly();
        s.readOnly = edit()->isReadOnly();
        s.selectableText = true;
        return s;
    }

    // QAccessibleTextInterface
    void selection(int i, int* start, int* end) const override {
        *start = *end = 0;
        if (i != 0 || !edit()->hasSelectedText()) return;
        *start = static_cast<int>(edit()->selectionStart());
        *end = static_cast<int>(edit()->selectionEnd());
    }
    int selectionCount() const override { return edit()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int i) override {
        if (i == 0) edit()->deselect();
    }
    void setSelection(int, int start, int end) override { edit()->setSelection(start, end - start); }
    int cursorPosition() const override { return edit()->cursorPosition(); }
    void setCursorPosition(int position) override { edit()->setCursorPosition(position); }
    QString text(int start, int end) const override { return edit()->text().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(edit()->text().size()); }
    // Where the character is drawn while the text fits the box.
    QRect characterRect(int offset) const override {
        const QString t = edit()->text();
        if (offset < 0 || offset >= t.size()) return {};
        const QRect r = edit()->contentsRect();
        const QFontMetrics fm = edit()->fontMetrics();
        const QPoint at(r.left() + 2 + fm.horizontalAdvance(t.left(offset)), r.top() + (r.height() - fm.height()) / 2);
        return QRect(edit()->mapToGlobal(at), QSize(fm.horizontalAdvance(t[offset]), fm.height()));
    }
    int offsetAtPoint(const QPoint& point) const override { return edit()->cursorPositionAt(edit()->mapFromGlobal(point)); }
    void scrollToSubstring(int start, int end) override {
        edit()->setCursorPosition(end);
        edit()->setCursorPosition(start);
    }
    // The line is the whole text. A word or sentence asked for at the
    // text's end (where the cursor stands after typing) is the one before
    // it: asked there, Qt's own search never returns.
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override {
        const int n = characterCount();
        if (type == QAccessible::LineBoundary || type == QAccessible::NoBoundary) {
            *start = 0;
            *end = n;
            return edit()->text();
        }
        if (n == 0 || offset < 0 || offset > n || (offset == n && type == QAccessible::CharBoundary)) {
            *start = *end = -1;
            return {};
        }
        return QAccessibleTextInterface::textAtOffset(std::min(offset, n - 1), type, start, end);
    }
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

    // QAccessibleEditableTextInterface
    void deleteText(int start, int end) override { replaceText(start, end, {}); }
    void insertText(int offset, const QString& t) override { replaceText(offset, offset, t); }
    void replaceText(int start, int end, const QString& t) override {
        if (!edit()->isReadOnly()) edit()->setText(edit()->text().replace(start, end - start, t));
    }

private:
    QLineEdit* edit() const { return static_cast<QLineEdit*>(widget()); }
};

// How assistive technology sees a scroll bar whose value is told as a
// percentage of its range (kValueInPercent): 0 to 100 in steps of one.
class PercentAccessible final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit PercentAccessible(QAbstractSlider* w) : QAccessibleWidget(w, QAccessible::ScrollBar) {}
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Value ? QStringLiteral("%1%").arg(percent()) : QAccessibleWidget::text(t);
    }
    QVariant currentValue() const override { return percent(); }
    void setCurrentValue(const QVariant& value) override {
        const double share = std::clamp(value.toDouble(), 0.0, 100.0) / 100.0;
        bar()->setValue(bar()->minimum() + static_cast<int>(std::lround(share * span())));
    }
    QVariant maximumValue() const override { return 100; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

private:
    QAbstractSlider* bar() const { return static_cast<QAbstractSlider*>(widget()); }
    double span() const { return std::max(1, bar()->maximum() - bar()->minimum()); }
    int percent() const { return static_cast<int>(std::lround(100.0 * (bar()->value() - bar()->minimum()) / span())); }
};

// How assistive technology sees an option button: a radio button, checked
// while chosen; Press and Toggle choose it.
class OptionAccessible final : public QAccessibleWidget {
public:
    explicit OptionAccessible(QAbstractButton* w) : QAccessibleWidget(w, QAccessible::RadioButton) {}
    QString text(QAccessible::Text t) const override {
        QString s = QAccessibleWidget::text(t);
        return t == QAccessible::Name && s.isEmpty() ? button()->text() : s;
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = button()->isChecked();
        return s;
    }
    QStringList actionNames() const override {
        return QStringList{pressAction(), toggleAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (name == pressAction() || name == toggleAction()) {
            if (!button()->isChecked()) button()->click();
        } else {
            QAccessibleWidget::doAction(name);
        }
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QAbstractButton* button() const { return static_cast<QAbstractButton*>(widget()); }
};

QAccessibleInterface* binderFactory(const QString& className, QObject* object) {
    auto* w = qobject_cast<QWidget*>(object);
    if (!w) return nullptr;
    if (QAccessibleInterface* list = shownRowsAccessible(w)) return list;
    if (className == QLatin1String(BoundLabel::staticMetaObject.className()))
        return new PressableAccessible(w, QAccessible::StaticText);
    if (className == QLatin1String(BoundPicture::staticMetaObject.className()))
        return new PressableAccessible(w, QAccessible::Graphic);
    if (className == QLatin1String(BoundCombo::staticMetaObject.className()))
        return new ComboAccessible(static_cast<QComboBox*>(w));
    if (className == QLatin1String("QLineEdit")) return new LineEditAccessible(static_cast<QLineEdit*>(w));
    if (className == QLatin1String("QScrollBar") && w->property(kValueInPercent).toBool())
        return new PercentAccessible(static_cast<QAbstractSlider*>(w));
    if (className == QLatin1String(Announcement::staticMetaObject.className()))
        return new QAccessibleWidget(w, QAccessible::Notification);
    if (className == QLatin1String(BoundOption::staticMetaObject.className()))
        return new OptionAccessible(static_cast<QAbstractButton*>(w));
    return nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------
// Announcement

// A screen reader passes over notifications that appear while the window
// floods it with changes (a folder add, a list filled): the last text is
// shown a moment after it was announced. It is hidden again soon after, or
// the window shown anew would have it told once more.
constexpr int kAnnouncementDelayMs = 700;
constexpr int kAnnouncementShownMs = 2000;

Announcement::Announcement(QWidget* parent) : QWidget(parent), delay_(new QTimer(this)) {
    setObjectName("announcement");
    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, 1, 1);
    hide();
    delay_->setSingleShot(true);
    delay_->setInterval(kAnnouncementDelayMs);
    // Shown anew with each text: the screen reader speaks a notification
    // as it appears.
    connect(delay_, &QTimer::timeout, this, [this] {
        hide();
        setAccessibleName(text_);
        show();
        QTimer::singleShot(kAnnouncementShownMs, this, [this] {
            if (!delay_->isActive()) hide();
        });
    });
}

void Announcement::announce(const QString& text) {
    text_ = text;
    delay_->start();
}

// ---------------------------------------------------------------------------
// Binder

Binder::Binder(Control& control, QWidget* widget) : control_(control), widget_(widget) {
    const QString name = q(control.objectName());
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(binderFactory);
        return true;
    }();
    (void)factoryInstalled;
    widget->setProperty(kBinderProperty, QVariant::fromValue<QObject*>(this));
    widget->setObjectName(name);
    setAccessibleId(widget, name);
    listenId_ = control_.changed.listen([this](Property what) {
        if (!widget_) return;
        sync(what);
        if (what == Property::Caption || what == Property::ToolTipText) syncName();
    });
    if (control_.LabelledBy) {
        labelListenId_ = control_.LabelledBy->changed.listen([this](Property what) {
            if (widget_ && what == Property::Caption) syncName();
        });
    }
}

Binder::~Binder() {
    // The widget may outlive its binder (the window deletes it later): it
    // no longer points at it.
    if (widget_) widget_->setProperty(kBinderProperty, QVariant());
    control_.changed.unlisten(listenId_);
    if (control_.LabelledBy) control_.LabelledBy->changed.unlisten(labelListenId_);
}

Binder* binderOf(const QWidget* widget) {
    return widget ? qobject_cast<Binder*>(widget->property(kBinderProperty).value<QObject*>()) : nullptr;
}

// A label or picture takes no focus of its own; the Tab key stops at one
// while the program handles a click on it.
bool Binder::tabStop() const {
    return control_.TabStop && widget_ && (pressable() || (widget_->focusPolicy() & Qt::TabFocus));
}

void Binder::applyName(const QString& name) { widget_->setAccessibleName(name); }

void Binder::syncName() {
    QString name = caption();
    if (name.isEmpty()) name = q(control_.AccessibleName);
    if (name.isEmpty()) name = q(control_.ToolTipText());
    if (name.isEmpty())
        if (auto* label = dynamic_cast<const Label*>(control_.LabelledBy)) name = q(label->Caption());
    applyName(name);
}

void Binder::applyGeometry() {
    if (!widget_) return;
    if (widget_->property(kFillsClient).toBool() && widget_->parentWidget()) {
        widget_->setGeometry(widget_->parentWidget()->rect());
        return;
    }
    // Zoomed, each edge rounds on its own: controls side by side in the
    // design stay side by side.
    const double z = zoomOf(widget_);
    auto at = [z](int twips) { return static_cast<int>(std::lround(twips * z / kTwips)); };
    const int left = at(control_.Left()), top = at(control_.Top());
    widget_->setGeometry(left, top, std::max(1, at(control_.Left() + control_.Width()) - left),
                         std::max(1, at(control_.Top() + control_.Height()) - top));
}

double zoomOf(const QWidget* w) {
    const QWidget* window = w ? w->window() : nullptr;
    const QVariant z = window ? window->property(kZoom) : QVariant();
    return z.isValid() ? z.toDouble() : 1.0;
}

void Binder::syncAll() {
    sync(Property::Geometry);
    sync(Property::Visible);
    sync(Property::Enabled);
    sync(Property::ToolTipText);
    syncName();
    // Left out of the Tab key's round, the widget still takes the focus
    // from a click.
    if (!control_.TabStop) widget_->setFocusPolicy(Qt::FocusPolicy(widget_->focusPolicy() & ~Qt::TabFocus));
}

void Binder::sync(Property what) {
    if (what == Property::Geometry) applyGeometry();
    else if (what == Property::Visible) widget_->setHidden(!control_.Visible());
    else if (what == Property::Enabled) {
        if (enablesWidget()) setEnabledKeepingFocus(widget_, control_.Enabled());
    } else if (what == Property::ToolTipText) widget_->setToolTip(q(control_.ToolTipText()));
}

bool Binder::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == kPressEvent) {
        if (control_.Enabled()) clicked();
        return true;
    }
    // Space and Enter press a label or picture that has the focus.
    if (event->type() == QEvent::KeyPress && pressable() && isPressKey(static_cast<QKeyEvent*>(event), true)) {
        if (control_.Enabled()) clicked();
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() == Qt::LeftButton && control_.Enabled() &&
            static_cast<QWidget*>(watched)->rect().contains(me->position().toPoint()))
            clicked();
    } else if (event->type() == QEvent::MouseButtonDblClick) {
        if (control_.Enabled()) doubleClicked();
    }
    return QObject::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------

std::unique_ptr<Binder> bindControl(Control& c, QWidget* parent) {
    std::unique_ptr<Binder> b;
    if (auto* l = dynamic_cast<Label*>(&c)) b = bindLabel(*l, parent);
    else if (auto* cb = dynamic_cast<CommandButton*>(&c)) b = bindButton(*cb, parent);
    else if (auto* t = dynamic_cast<TextBox*>(&c)) b = bindText(*t, parent);
    else if (auto* ck = dynamic_cast<CheckBox*>(&c)) b = bindCheck(*ck, parent);
    else if (auto* o = dynamic_cast<OptionButton*>(&c)) b = bindOption(*o, parent);
    else if (auto* f = dynamic_cast<Frame*>(&c)) b = bindFrame(*f, parent);
    else if (dynamic_cast<ComboBox*>(&c) || dynamic_cast<DriveListBox*>(&c))
        b = bindCombo(static_cast<ListControl&>(c), parent);
    else if (auto* lc = dynamic_cast<ListControl*>(&c)) b = bindList(*lc, parent);
    else if (dynamic_cast<PictureBox*>(&c) || dynamic_cast<Image*>(&c)) b = bindPicture(c, parent);
    else if (auto* s = dynamic_cast<Shape*>(&c)) b = bindShape(*s, parent);
    else if (auto* sl = dynamic_cast<Slider*>(&c)) b = bindSlider(*sl, parent);
    else if (auto* hs = dynamic_cast<HScrollBar*>(&c)) b = bindScroll(*hs, Qt::Horizontal, parent);
    else if (auto* vs = dynamic_cast<VScrollBar*>(&c)) b = bindScroll(*vs, Qt::Vertical, parent);
    else if (auto* mp = dynamic_cast<MultiPage*>(&c)) b = bindPages(*mp, parent);
    else if (auto* p = dynamic_cast<Player*>(&c)) b = bindPlayer(*p, parent);
    if (b) b->syncAll();
    return b;
}

}  // namespace tarvolin
