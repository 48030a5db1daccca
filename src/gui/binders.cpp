#include "gui/binders.h"

#include <QAccessibleWidget>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QStringListModel>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>
#include <utility>
#include <vector>

#include "gui/focus_hold.h"
#include "gui/pictures.h"
#include "gui/video_widget.h"
#include "platform/player.h"
#include "toolkit/controls.h"
#include "toolkit/form.h"

namespace tarvolin {

namespace {

constexpr int kTwips = 15;

QString q(const std::string& s) { return QString::fromStdString(s); }

// Text shown in a widget: the model keeps CR LF line ends.
QString shownText(std::string_view s) {
    QString t = QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
    t.replace("\r\n", "\n");
    return t;
}

std::string modelText(const QString& t, bool multiLine) {
    if (!multiLine) return t.toStdString();
    QString c = t;
    c.replace("\n", "\r\n");
    return c.toStdString();
}

int mouseButton(Qt::MouseButton b) {
    switch (b) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

void setPaletteColour(QWidget* w, QPalette::ColorRole role, const QColor& c) {
    QPalette p = w->palette();
    if (c.isValid()) p.setColor(role, c);
    else p.setColor(role, QApplication::palette(w).color(role));
    w->setPalette(p);
}

// Posted to a widget when assistive technology presses it: the click then
// runs from the event loop, after the request has been answered (a click
// may open a modal box).
const QEvent::Type kPressEvent = static_cast<QEvent::Type>(QEvent::registerEventType());
constexpr const char* kBinderProperty = "tarvolinBinder";

// How assistive technology sees a label or picture: with a Press action
// while the program handles a click on it. The handlers are set after the
// windows are made, so the action is looked up each time it is asked for.
class PressableAccessible final : public QAccessibleWidget {
public:
    PressableAccessible(QWidget* w, QAccessible::Role role) : QAccessibleWidget(w, role) {}
    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (pressable()) names << pressAction();
        return names;
    }
    void doAction(const QString& name) override {
        if (name == pressAction() && pressable()) QCoreApplication::postEvent(widget(), new QEvent(kPressEvent));
        else QAccessibleWidget::doAction(name);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    bool pressable() const {
        auto* binder = qobject_cast<Binder*>(widget()->property(kBinderProperty).value<QObject*>());
        return binder && binder->pressable();
    }
};

QAccessibleInterface* pressableFactory(const QString& className, QObject* object) {
    auto* w = qobject_cast<QWidget*>(object);
    if (!w) return nullptr;
    if (className == QLatin1String(BoundLabel::staticMetaObject.className()))
        return new PressableAccessible(w, QAccessible::StaticText);
    if (className == QLatin1String(BoundPicture::staticMetaObject.className()))
        return new PressableAccessible(w, QAccessible::Graphic);
    return nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------
// Colours and keys

QColor modelColour(std::int64_t v, bool background) {
    if ((v & 0xFF000000LL) == 0x80000000LL) {
        const QPalette pal = QApplication::palette();
        switch (v & 0xFF) {
        case 0x0F:  // button face: the style's own
            return background ? QColor() : pal.color(QPalette::Button);
        case 0x12:  // button text
            return background ? pal.color(QPalette::ButtonText) : QColor();
        case 0x05: return pal.color(QPalette::Base);
        case 0x08: return pal.color(QPalette::Text);
        case 0x02:
        case 0x0D: return pal.color(QPalette::Highlight);
        case 0x0E:
        case 0x09: return pal.color(QPalette::HighlightedText);
        case 0x10: return pal.color(QPalette::Mid);
        case 0x14:
        case 0x16: return pal.color(QPalette::Light);
        case 0x15: return pal.color(QPalette::Dark);
        case 0x18: return pal.color(QPalette::ToolTipBase);
        case 0x17: return pal.color(QPalette::ToolTipText);
        case 0x04: return pal.color(QPalette::Window);
        case 0x11: return pal.color(QPalette::PlaceholderText);
        default: return pal.color(background ? QPalette::Window : QPalette::WindowText);
        }
    }
    const int r = static_cast<int>(v & 0xFF), g = static_cast<int>((v >> 8) & 0xFF),
              b = static_cast<int>((v >> 16) & 0xFF);
    return QColor(r, g, b);
}

int shiftMask(Qt::KeyboardModifiers m) {
    int s = 0;
    if (m & Qt::ShiftModifier) s |= 1;
    if (m & Qt::ControlModifier) s |= 2;
    if (m & Qt::AltModifier) s |= 4;
    return s;
}

int keyCode(int k) {
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return 65 + (k - Qt::Key_A);
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return 48 + (k - Qt::Key_0);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F12) return 112 + (k - Qt::Key_F1);
    switch (k) {
    case Qt::Key_Escape: return 27;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    default: return 0;
    }
}

// ---------------------------------------------------------------------------
// ListAdapter

ListAdapter::ListAdapter(ListControl& list, QObject* parent)
    : QAbstractListModel(parent), list_(list), count_(list.ListCount()) {
    ids_[0] = list_.rowsInserted.listen([this](int first, int n) {
        if (n <= 0) return;
        beginInsertRows({}, first, first + n - 1);
        count_ += n;
        endInsertRows();
    });
    ids_[1] = list_.rowsRemoved.listen([this](int first, int n) {
        if (n <= 0) return;
        beginRemoveRows({}, first, first + n - 1);
        count_ -= n;
        endRemoveRows();
    });
    ids_[2] = list_.rowChanged.listen([this](int i) {
        const QModelIndex ix = index(i);
        Q_EMIT dataChanged(ix, ix);
    });
    ids_[3] = list_.reset.listen([this] {
        beginResetModel();
        count_ = list_.ListCount();
        endResetModel();
    });
}

ListAdapter::~ListAdapter() {
    list_.rowsInserted.unlisten(ids_[0]);
    list_.rowsRemoved.unlisten(ids_[1]);
    list_.rowChanged.unlisten(ids_[2]);
    list_.reset.unlisten(ids_[3]);
}

int ListAdapter::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : count_; }

QVariant ListAdapter::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count_) return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        const std::string& s = list_.List(index.row());
        if (namesOnly_) {
            const auto slash = s.find_last_of('/');
            if (slash != std::string::npos && slash + 1 < s.size()) return q(s.substr(slash + 1));
        }
        return q(s);
    }
    return {};
}

// ---------------------------------------------------------------------------
// Binder

Binder::Binder(Control& control, QWidget* widget) : control_(control), widget_(widget) {
    const QString name = q(control.objectName());
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(pressableFactory);
        return true;
    }();
    (void)factoryInstalled;
    widget->setProperty(kBinderProperty, QVariant::fromValue<QObject*>(this));
    widget->setObjectName(name);
    widget->setAccessibleDescription(name);
    listenId_ = control_.changed.listen([this](std::string_view what) {
        if (widget_) sync(what);
    });
}

Binder::~Binder() { control_.changed.unlisten(listenId_); }

void Binder::applyGeometry() {
    if (!widget_) return;
    if (widget_->property(kFillsClient).toBool() && widget_->parentWidget()) {
        widget_->setGeometry(widget_->parentWidget()->rect());
        return;
    }
    widget_->setGeometry(control_.Left() / kTwips, control_.Top() / kTwips,
                         std::max(1, control_.Width() / kTwips), std::max(1, control_.Height() / kTwips));
}

void Binder::syncAll() {
    sync("Geometry");
    sync("Visible");
    sync("Enabled");
    sync("ToolTipText");
}

void Binder::sync(std::string_view what) {
    if (what == "Geometry") applyGeometry();
    else if (what == "Visible") widget_->setHidden(!control_.Visible());
    else if (what == "Enabled") {
        if (enablesWidget()) setEnabledKeepingFocus(widget_, control_.Enabled());
    } else if (what == "ToolTipText") widget_->setToolTip(q(control_.ToolTipText()));
}

bool Binder::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == kPressEvent) {
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
// Label

namespace {

class LabelBinder final : public Binder {
public:
    LabelBinder(Label& l, QLabel* w) : Binder(l, w), l_(l), w_(w) {
        w->installEventFilter(this);
        w->setAutoFillBackground(false);
    }
    void syncAll() override {
        Binder::syncAll();
        for (auto p : {"Caption", "BackColor", "ForeColor", "BorderStyle", "Picture", "FontBold", "Alignment"})
            sync(p);
    }
    void sync(std::string_view what) override {
        if (what == "Geometry") {
            Binder::sync(what);
            // Words wrap only where the label has room for a second line;
            // a one-line label is cut at its edge instead.
            w_->setWordWrap(w_->height() >= 2 * w_->fontMetrics().height());
        } else if (what == "Caption") {
            // A label showing a picture keeps it; the caption stays its name.
            if (picture(l_.Picture()).isNull()) w_->setText(q(l_.Caption()));
            w_->setAccessibleName(q(l_.Caption()));
        } else if (what == "BackColor") {
            const QColor c = modelColour(l_.BackColor(), true);
            w_->setAutoFillBackground(c.isValid());
            setPaletteColour(w_, QPalette::Window, c);
        } else if (what == "ForeColor") {
            setPaletteColour(w_, QPalette::WindowText, modelColour(l_.ForeColor(), false));
        } else if (what == "BorderStyle" || what == "SpecialEffect" || what == "Appearance") {
            if (l_.SpecialEffect() == 2 || (l_.BorderStyle() == 1 && l_.Appearance() == 1))
                w_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            else if (l_.BorderStyle() == 1)
                w_->setFrameStyle(QFrame::Box | QFrame::Plain);
            else
                w_->setFrameStyle(QFrame::NoFrame);
        } else if (what == "Picture") {
            const QPixmap pm = picture(l_.Picture());
            if (pm.isNull()) {
                w_->setPixmap({});
                w_->setText(q(l_.Caption()));
            } else {
                w_->setScaledContents(true);
                w_->setPixmap(pm);
            }
        } else if (what == "FontBold") {
            QFont f = w_->font();
            f.setBold(l_.FontBold());
            w_->setFont(f);
        } else if (what == "Alignment") {
            const Qt::Alignment h = l_.Alignment() == 1   ? Qt::AlignRight
                                    : l_.Alignment() == 2 ? Qt::AlignHCenter
                                                          : Qt::AlignLeft;
            w_->setAlignment(h | Qt::AlignTop);
        } else {
            Binder::sync(what);
        }
    }

    bool pressable() const override { return l_.Click.connected(); }

protected:
    void clicked() override { l_.Click.raise(); }
    void doubleClicked() override { l_.DblClick.raise(); }

private:
    Label& l_;
    QLabel* w_;
};

// ---------------------------------------------------------------------------
// CommandButton: a push button whose caption wraps as the original's do.

class CaptionButton final : public QPushButton {
public:
    explicit CaptionButton(QWidget* parent) : QPushButton(parent) {
        label_ = new QLabel(this);
        label_->setWordWrap(true);
        label_->setAlignment(Qt::AlignCenter);
        label_->setAttribute(Qt::WA_TransparentForMouseEvents);
        auto* lay = new QHBoxLayout(this);
        lay->setContentsMargins(3, 1, 3, 1);
        lay->addWidget(label_);
    }
    void setCaption(const QString& c) {
        QString shown = c;
        shown.remove('&');
        label_->setText(shown);
        label_->setVisible(!c.isEmpty());
        setAccessibleName(shown);
    }
    QLabel* label() const { return label_; }

private:
    QLabel* label_;
};

class ButtonBinder final : public Binder {
public:
    ButtonBinder(CommandButton& b, CaptionButton* w) : Binder(b, w), b_(b), w_(w) {
        connect(w, &QPushButton::clicked, this, [this] { b_.click(); });
        w->installEventFilter(this);
    }
    void syncAll() override {
        Binder::syncAll();
        for (auto p : {"Caption", "Picture", "FontBold", "Default"}) sync(p);
    }
    void sync(std::string_view what) override {
        if (what == "Caption") {
            w_->setCaption(q(b_.Caption()));
        } else if (what == "Picture" || what == "Geometry") {
            if (what == "Geometry") Binder::sync(what);
            const QPixmap pm = picture(b_.Picture());
            w_->setIcon(pm.isNull() ? QIcon() : QIcon(pm));
            const int side = std::max(8, std::min(w_->width(), w_->height()) - 8);
            w_->setIconSize(QSize(side, side));
        } else if (what == "FontBold") {
            QFont f = w_->label()->font();
            f.setBold(b_.FontBold());
            w_->label()->setFont(f);
        } else if (what == "Default") {
            w_->setDefault(b_.Default());
        } else {
            Binder::sync(what);
        }
    }

protected:
    // Enter on the button that has the focus presses it, as Space does.
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && watched == w_) {
            auto* ke = static_cast<QKeyEvent*>(event);
            const bool enter = ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter;
            if (enter && !(ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && !ke->isAutoRepeat()) {
                if (w_->isEnabled()) w_->click();
                return true;
            }
        }
        return Binder::eventFilter(watched, event);
    }

private:
    CommandButton& b_;
    CaptionButton* w_;
};

// ---------------------------------------------------------------------------
// TextBox

class TextBinder final : public Binder {
public:
    TextBinder(TextBox& t, QWidget* w) : Binder(t, w), t_(t) {
        line_ = qobject_cast<QLineEdit*>(w);
        plain_ = qobject_cast<QPlainTextEdit*>(w);
        if (line_) {
            // Every change not made by the binder is the user's: typed,
            // pasted, or set through assistive technology.
            connect(line_, &QLineEdit::textChanged, this, [this](const QString& s) {
                if (!updating_) t_.userEdited(s.toStdString());
            });
        } else {
            // Lines wrap unless the box has a horizontal scroll bar (1 or 3).
            plain_->setLineWrapMode((t_.ScrollBars() & 1) ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
            connect(plain_, &QPlainTextEdit::textChanged, this, [this] {
                if (!updating_) t_.userEdited(modelText(plain_->toPlainText(), true));
            });
        }
        w->installEventFilter(this);
        prependedId_ = t_.prepended.listen([this](std::string_view piece) { prepend(piece); });
    }
    ~TextBinder() override { t_.prepended.unlisten(prependedId_); }
    void syncAll() override {
        Binder::syncAll();
        for (auto p : {"Text", "Locked", "BackColor", "ForeColor", "FontBold", "MaxLength"}) sync(p);
    }
    void sync(std::string_view what) override {
        if (what == "Text") {
            setShown(shownText(t_.Text()));
        } else if (what == "SelStart" || what == "SelLength") {
            if (line_) {
                updating_ = true;
                line_->setSelection(t_.SelStart(), t_.SelLength());
                updating_ = false;
            } else {
                QTextCursor c = plain_->textCursor();
                c.setPosition(std::min(t_.SelStart(), static_cast<int>(plain_->document()->characterCount()) - 1));
                c.setPosition(std::min(t_.SelStart() + t_.SelLength(),
                                       static_cast<int>(plain_->document()->characterCount()) - 1),
                              QTextCursor::KeepAnchor);
                plain_->setTextCursor(c);
            }
        } else if (what == "Locked") {
            if (line_) line_->setReadOnly(t_.Locked());
            else plain_->setReadOnly(t_.Locked());
        } else if (what == "BackColor") {
            setPaletteColour(widget_, QPalette::Base, modelColour(t_.BackColor(), false));
        } else if (what == "ForeColor") {
            setPaletteColour(widget_, QPalette::Text, modelColour(t_.ForeColor(), false));
        } else if (what == "FontBold") {
            QFont f = widget_->font();
            f.setBold(t_.FontBold());
            widget_->setFont(f);
        } else if (what == "MaxLength") {
            const Updating own(updating_);
            if (line_) line_->setMaxLength(t_.MaxLength() > 0 ? t_.MaxLength() : 32767);
        } else {
            Binder::sync(what);
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            auto* ke = static_cast<QKeyEvent*>(event);
            int code = keyCode(ke->key());
            if (code != 0) {
                t_.KeyDown.raise(code, shiftMask(ke->modifiers()));
                if (code == 0) return true;  // the handler swallowed the key
            }
            const QString text = ke->text();
            if (text.size() == 1 && text[0].unicode() < 128 && text[0].unicode() >= 8) {
                int ascii = text[0].unicode();
                t_.KeyPress.raise(ascii);
                if (ascii == 0) return true;
            }
        }
        return Binder::eventFilter(watched, event);
    }

private:
    void setShown(const QString& s) {
        const Updating own(updating_);
        if (line_) {
            if (line_->text() != s) line_->setText(s);
        } else if (plain_->toPlainText() != s) {
            plain_->setPlainText(s);
        }
    }
    void prepend(std::string_view piece) {
        if (line_) {
            setShown(shownText(t_.Text()));
            return;
        }
        updating_ = true;
        QTextCursor c(plain_->document());
        c.movePosition(QTextCursor::Start);
        c.insertText(shownText(piece));
        updating_ = false;
    }

    TextBox& t_;
    QLineEdit* line_ = nullptr;
    QPlainTextEdit* plain_ = nullptr;
    int prependedId_ = 0;
};

// ---------------------------------------------------------------------------
// CheckBox, OptionButton, Frame

class CheckBinder final : public Binder {
public:
    CheckBinder(CheckBox& c, QCheckBox* w) : Binder(c, w), c_(c), w_(w) {
        w->setTristate(false);
        // However the box was toggled (a click, the keyboard, assistive
        // technology, setChecked), the model decides and the box shows what
        // it decided.
        connect(w, &QCheckBox::toggled, this, [this](bool on) {
            if (updating_) return;
            if ((c_.Value() == 1) != on) c_.userClick();
            sync("Value");
        });
    }
    void syncAll() override {
        Binder::syncAll();
        sync("Caption");
        sync("Value");
        sync("BackColor");
    }
    void sync(std::string_view what) override {
        if (what == "Caption") w_->setText(q(c_.Caption()));
        else if (what == "Value") {
            const Updating own(updating_);
            w_->setCheckState(c_.Value() == 1 ? Qt::Checked : c_.Value() == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
        } else if (what == "BackColor") {
            const QColor c = modelColour(c_.BackColor(), true);
            w_->setAutoFillBackground(c.isValid());
            setPaletteColour(w_, QPalette::Window, c);
        } else Binder::sync(what);
    }

private:
    CheckBox& c_;
    QCheckBox* w_;
};

class OptionBinder final : public Binder {
public:
    OptionBinder(OptionButton& o, QRadioButton* w) : Binder(o, w), o_(o), w_(w) {
        // The model keeps its group exclusive.
        w->setAutoExclusive(false);
        // Only the model turns a button off (by turning another on): a
        // button turned off from the window is shown on again.
        connect(w, &QRadioButton::toggled, this, [this](bool on) {
            if (updating_) return;
            if (on && !o_.Value()) o_.userClick();
            sync("Value");
        });
    }
    void syncAll() override {
        Binder::syncAll();
        sync("Caption");
        sync("Value");
    }
    void sync(std::string_view what) override {
        if (what == "Caption") w_->setText(q(o_.Caption()));
        else if (what == "Value") {
            const Updating own(updating_);
            w_->setChecked(o_.Value());
        } else Binder::sync(what);
    }

private:
    OptionButton& o_;
    QRadioButton* w_;
};

class FrameBinder final : public Binder {
public:
    FrameBinder(Frame& f, QGroupBox* w) : Binder(f, w), f_(f), w_(w) { w->installEventFilter(this); }
    void syncAll() override {
        Binder::syncAll();
        sync("Caption");
        sync("BorderStyle");
    }
    void sync(std::string_view what) override {
        if (what == "Caption") {
            w_->setTitle(q(f_.Caption()));
            w_->setAccessibleName(q(f_.Caption()));
        } else if (what == "BorderStyle") w_->setFlat(f_.BorderStyle() == 0);
        else Binder::sync(what);
    }

protected:
    void clicked() override { f_.Click.raise(); }

private:
    Frame& f_;
    QGroupBox* w_;
};

// ---------------------------------------------------------------------------
// List boxes: ListBox, FileListBox, DirListBox. The model owns the selection:
// presses and keys become its user actions, and the view's selection only
// mirrors the model.

// Rows of one height for a given font in every list (so that lists shown
// side by side line up), as wide as the horizontal extent asks.
class RowDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    int extent = 0;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        s.setHeight(option.fontMetrics.height() + 2);
        if (extent > s.width()) s.setWidth(extent);
        return s;
    }
};

// A list whose rows may be wider than the list (a horizontal extent). The
// rows are drawn at their whole width, but outside drawing a row's rectangle
// is the part of it that can be seen: assistive technology points at a row
// by its rectangle, and keeping a current row in view never scrolls sideways.
class RowListView final : public QListView {
public:
    using QListView::QListView;
    // Whether the view is handling a key of its own (the keys the binder
    // leaves to it: typing the start of an item's text).
    bool inKey() const { return inKey_; }
    QRect visualRect(const QModelIndex& index) const override {
        QRect r = QListView::visualRect(index);
        if (painting_ || r.isEmpty()) return r;
        const QRect area = viewport()->rect();
        r.setLeft(std::max(r.left(), area.left()));
        r.setRight(std::min(r.right(), area.right()));
        return r;
    }

protected:
    void paintEvent(QPaintEvent* e) override {
        painting_ = true;
        QListView::paintEvent(e);
        painting_ = false;
    }
    void keyPressEvent(QKeyEvent* e) override {
        inKey_ = true;
        QListView::keyPressEvent(e);
        inKey_ = false;
    }

private:
    bool painting_ = false;
    bool inKey_ = false;
};

QAbstractItemView::SelectionMode viewSelectionMode(int multiSelect) {
    switch (multiSelect) {
    case 1: return QAbstractItemView::MultiSelection;
    case 2: return QAbstractItemView::ExtendedSelection;
    default: return QAbstractItemView::SingleSelection;
    }
}

class ListBinder final : public Binder {
public:
    ListBinder(ListControl& l, RowListView* w) : Binder(l, w), l_(l), w_(w) {
        delegate_ = new RowDelegate(w);
        w->setItemDelegate(delegate_);
        adapter_ = new ListAdapter(l);  // owned by the binder
        w->setUniformItemSizes(true);
        w->setEditTriggers(QAbstractItemView::NoEditTriggers);
        w->setSelectionMode(viewSelectionMode(l.MultiSelectMode()));
        w->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
        w->setModel(adapter_);
        // What changes the view's selection without going through the
        // binder (assistive technology selecting or toggling rows, typing
        // an item's first letters) becomes the model's user selection.
        connect(w->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { viewChanged(false); });
        connect(w->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { viewChanged(true); });
        w->viewport()->installEventFilter(this);
        w->installEventFilter(this);
        if (dynamic_cast<DirListBox*>(&l)) adapter_->setShowNamesOnly(true);
        selId_ = l_.selectionChanged.listen([this](int i) { syncSelection(i); });
        resetId_ = l_.reset.listen([this] { syncSelection(-1); });
        connect(w->verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int v) {
            if (!updating_) {
                updating_ = true;
                l_.setTopIndex(v);
                updating_ = false;
            }
        });
    }
    ~ListBinder() override {
        l_.selectionChanged.unlisten(selId_);
        l_.reset.unlisten(resetId_);
        // The adapter listens to the control: it goes with the binder.
        if (widget_) w_->setModel(nullptr);
        delete adapter_;
    }
    ListAdapter* adapter() const { return adapter_; }

    void syncAll() override {
        Binder::syncAll();
        for (auto p : {"HorizontalExtent", "FontBold", "BackColor"}) sync(p);
        syncSelection(-1);
        sync("ListIndex");
    }
    void sync(std::string_view what) override {
        if (what == "ListIndex") {
            const int i = l_.ListIndex();
            if (i >= 0 && i < adapter_->rowCount()) {
                const QModelIndex ix = adapter_->index(i);
                {
                    const Updating own(updating_);
                    w_->selectionModel()->setCurrentIndex(ix, QItemSelectionModel::NoUpdate);
                }
                w_->scrollTo(ix);
            }
        } else if (what == "MultiSelect") {
            {
                const Updating own(updating_);
                w_->setSelectionMode(viewSelectionMode(l_.MultiSelectMode()));
            }
            syncSelection(-1);
        } else if (what == "TopIndex") {
            if (!updating_) {
                updating_ = true;
                w_->verticalScrollBar()->setValue(l_.TopIndex());
                updating_ = false;
            }
        } else if (what == "HorizontalExtent") {
            delegate_->extent = l_.HorizontalExtent();
            // Lists whose rows line up with other lists keep the policy the
            // view gave them (rowsAligned).
            if (!w_->property("rowsAligned").toBool())
                w_->setHorizontalScrollBarPolicy(l_.HorizontalExtent() > 0 ? Qt::ScrollBarAsNeeded
                                                                          : Qt::ScrollBarAlwaysOff);
            w_->reset();
        } else if (what == "FontBold") {
            QFont f = w_->font();
            f.setBold(l_.FontBold());
            w_->setFont(f);
        } else if (what == "BackColor") {
            setPaletteColour(w_, QPalette::Base, modelColour(l_.BackColor(), false));
        } else if (what == "Visible") {
            Binder::sync(what);
        } else {
            Binder::sync(what);
        }
    }

    // Mirrors the model's selection (row i, or every row for -1).
    void syncSelection(int i) {
        QItemSelectionModel* sm = w_->selectionModel();
        if (!sm) return;
        const Updating own(updating_);
        mirrorSelection(sm, i);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == w_->viewport()) {
            if (event->type() == QEvent::MouseButtonPress) {
                auto* me = static_cast<QMouseEvent*>(event);
                pressed(me);
                return true;
            }
            if (event->type() == QEvent::MouseButtonDblClick) {
                auto* me = static_cast<QMouseEvent*>(event);
                if (me->button() == Qt::LeftButton && l_.Enabled()) {
                    const QModelIndex ix = w_->indexAt(me->position().toPoint());
                    if (ix.isValid()) dblClick(ix.row());
                }
                return true;
            }
            if (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::MouseMove) return true;
        } else if (watched == w_ && event->type() == QEvent::KeyPress) {
            if (keyPressed(static_cast<QKeyEvent*>(event))) return true;
        }
        return Binder::eventFilter(watched, event);
    }

private:
    void mirrorSelection(QItemSelectionModel* sm, int i) {
        const int n = adapter_->rowCount();
        if (!l_.MultiSelect()) {
            sm->clearSelection();
            const int cur = l_.ListIndex();
            if (cur >= 0 && cur < n) sm->select(adapter_->index(cur), QItemSelectionModel::Select);
            return;
        }
        if (i >= 0) {
            if (i < n)
                sm->select(adapter_->index(i), l_.Selected(i) ? QItemSelectionModel::Select
                                                              : QItemSelectionModel::Deselect);
            return;
        }
        QItemSelection sel;
        int start = -1;
        for (int r = 0; r <= n; ++r) {
            const bool s = r < n && l_.Selected(r);
            if (s && start < 0) start = r;
            if (!s && start >= 0) {
                sel.select(adapter_->index(start), adapter_->index(r - 1));
                start = -1;
            }
        }
        sm->select(sel, QItemSelectionModel::ClearAndSelect);
    }
    void pressed(QMouseEvent* me) {
        w_->setFocus(Qt::MouseFocusReason);
        if (!l_.Enabled()) return;
        const int shift = shiftMask(me->modifiers());
        const QPointF p = me->position();
        const QModelIndex ix = w_->indexAt(p.toPoint());
        if (me->button() == Qt::LeftButton && ix.isValid()) {
            const int row = ix.row();
            if (l_.MultiSelectMode() == 2 && (shift & 2)) toggleRow(row);
            else if (l_.MultiSelectMode() == 2 && (shift & 1) && l_.ListIndex() >= 0) selectRange(row);
            else {
                anchor_ = row;
                l_.userClick(row);
            }
        }
        mouseDown(mouseButton(me->button()), shift, static_cast<float>(p.x() * kTwips),
                  static_cast<float>(p.y() * kTwips));
    }
    // Extended selection: row added to or taken from the selection, and
    // made the current row.
    void toggleRow(int row) {
        std::vector<int> rows = selectedRows();
        const auto at = std::find(rows.begin(), rows.end(), row);
        if (at != rows.end()) rows.erase(at);
        else rows.push_back(row);
        anchor_ = row;
        l_.userSelect(rows, row);
    }
    // Extended selection: the rows from the anchor to row, alone.
    void selectRange(int row) {
        std::vector<int> rows;
        for (int r = std::min(anchor_, row); r <= std::max(anchor_, row); ++r) rows.push_back(r);
        l_.userSelect(rows, row);
    }
    std::vector<int> selectedRows() const {
        std::vector<int> rows;
        for (int r = 0; r < l_.ListCount(); ++r)
            if (l_.Selected(r)) rows.push_back(r);
        return rows;
    }
    bool keyPressed(QKeyEvent* ke) {
        if (!l_.Enabled()) return false;
        // A folder list goes up to the parent folder.
        if (auto* dl = dynamic_cast<DirListBox*>(&l_); dl && ke->key() == Qt::Key_Backspace) {
            if (dl->Path() != "/") dl->setPath(dl->List(-2));
            return true;
        }
        if (l_.ListCount() == 0) return false;
        const int before = l_.ListIndex();
        const std::vector<int> selectedBefore = selectedRows();
        const bool handled = moveByKey(ke);
        // A row reached or a selection made by the keys is a choice: the
        // list's press handler (the columns following, the file's details)
        // runs as for a click. Enter is the double click's, not a choice.
        const bool enter = ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter;
        if (handled && !enter && (l_.ListIndex() != before || selectedRows() != selectedBefore))
            chosenWithoutPointer(shiftMask(ke->modifiers()));
        return handled;
    }
    bool moveByKey(QKeyEvent* ke) {
        const int mode = l_.MultiSelectMode();
        const Qt::KeyboardModifiers mods = ke->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
        const int page = std::max(1, w_->viewport()->height() / std::max(1, w_->sizeHintForRow(0)));
        int row = l_.ListIndex();
        switch (ke->key()) {
        case Qt::Key_Up: row = std::max(0, row - 1); break;
        case Qt::Key_Down: row = std::min(l_.ListCount() - 1, row + 1); break;
        case Qt::Key_PageUp: row = std::max(0, row - page); break;
        case Qt::Key_PageDown: row = std::min(l_.ListCount() - 1, row + page); break;
        case Qt::Key_Home: row = 0; break;
        case Qt::Key_End: row = l_.ListCount() - 1; break;
        case Qt::Key_Space:
            if (row < 0) return false;
            if (mode != 1) return false;
            l_.userClick(row);
            return true;
        case Qt::Key_A:
            if (mods != Qt::ControlModifier || mode == 0) return false;
            {
                std::vector<int> all(static_cast<std::size_t>(l_.ListCount()));
                for (int r = 0; r < l_.ListCount(); ++r) all[static_cast<std::size_t>(r)] = r;
                l_.userSelect(all, std::max(0, row));
            }
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // Enter does what a double click on the current row does.
            if (row < 0 || !hasDoubleClick()) return false;
            dblClick(row);
            return true;
        default: return false;
        }
        if (row < 0) row = 0;
        if (mode == 2 && mods == Qt::ShiftModifier) {
            selectRange(row);
            return true;
        }
        // Simple selection, and Ctrl in extended selection, move the current
        // row without changing the selection.
        if (mode == 1 || (mode == 2 && mods == Qt::ControlModifier)) l_.setListIndex(row);
        else l_.userClick(row);
        anchor_ = row;
        return true;
    }
    // A change of the view's selection or current row that the binder did
    // not make. The model follows once the view has settled (assistive
    // technology clears and selects in two steps).
    void viewChanged(bool current) {
        if (updating_) return;
        if (current && w_->inKey()) currentByKey_ = true;
        if (followPending_) return;
        followPending_ = true;
        QMetaObject::invokeMethod(this, [this] { followView(); }, Qt::QueuedConnection);
    }
    void followView() {
        followPending_ = false;
        const bool byKey = std::exchange(currentByKey_, false);
        QItemSelectionModel* sm = w_->selectionModel();
        const int n = l_.ListCount();
        if (!sm || !widget_ || adapter_->rowCount() != n) return;
        if (l_.Enabled()) {
            const QModelIndex cur = sm->currentIndex();
            // The current row moves with the view only where a key moved it:
            // the view also makes a row current on its own when it gets the
            // focus.
            const int current = byKey && cur.isValid() ? cur.row() : l_.ListIndex();
            std::vector<int> rows;
            for (const QModelIndex& ix : sm->selectedIndexes())
                if (ix.row() < n) rows.push_back(ix.row());
            std::sort(rows.begin(), rows.end());
            rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
            bool chosen = false;
            if (!l_.MultiSelect()) {
                int row = current != l_.ListIndex() ? current : -1;
                for (int r : rows)
                    if (r != l_.ListIndex()) row = r;
                if (row >= 0) {
                    l_.userClick(row);
                    chosen = true;
                }
            } else if (rows != selectedRows() || current != l_.ListIndex()) {
                l_.userSelect(rows, current);
                chosen = true;
            }
            if (chosen) chosenWithoutPointer(0);
        }
        // The view shows what the model decided.
        syncSelection(-1);
        sync("ListIndex");
    }
    // Whether the list does something on a double click (a folder list
    // opens the folder; other lists have a handler or nothing).
    bool hasDoubleClick() const {
        if (auto* lb = dynamic_cast<ListBox*>(&l_)) return lb->DblClick.connected();
        if (auto* fl = dynamic_cast<FileListBox*>(&l_)) return fl->DblClick.connected();
        return dynamic_cast<DirListBox*>(&l_) != nullptr;
    }
    void dblClick(int row) {
        if (auto* lb = dynamic_cast<ListBox*>(&l_)) lb->DblClick.raise();
        else if (auto* fl = dynamic_cast<FileListBox*>(&l_)) fl->DblClick.raise();
        else if (auto* dl = dynamic_cast<DirListBox*>(&l_)) dl->setPath(dl->List(row));
    }
    void mouseDown(int button, int shift, float x, float y) {
        if (auto* lb = dynamic_cast<ListBox*>(&l_)) lb->MouseDown.raise(button, shift, x, y);
    }
    // A row chosen by the keys or by assistive technology: the press
    // handler runs as for a left click in the middle of the current row.
    void chosenWithoutPointer(int shift) {
        auto* lb = dynamic_cast<ListBox*>(&l_);
        if (!lb || !lb->MouseDown.connected() || !widget_) return;
        const int row = l_.ListIndex();
        if (row < 0 || row >= adapter_->rowCount()) return;
        const QRect r = w_->visualRect(adapter_->index(row));
        mouseDown(1, shift, static_cast<float>(r.center().x() * kTwips), static_cast<float>(r.center().y() * kTwips));
    }

    ListControl& l_;
    RowListView* w_;
    RowDelegate* delegate_;
    ListAdapter* adapter_;
    int selId_ = 0, resetId_ = 0;
    int anchor_ = 0;
    bool followPending_ = false;
    bool currentByKey_ = false;
};

// ---------------------------------------------------------------------------
// ComboBox and DriveListBox

class ComboBinder final : public Binder {
public:
    ComboBinder(ListControl& l, QComboBox* w) : Binder(l, w), l_(l), w_(w) {
        combo_ = dynamic_cast<ComboBox*>(&l);
        drive_ = dynamic_cast<DriveListBox*>(&l);
        adapter_ = new ListAdapter(l);  // owned by the binder
        // While the items change, Qt picks an item of its own (the first one
        // when the list was empty, another when the current one goes) and
        // writes it into the edit part. That is not the user's doing: the
        // change is held off the model, and the box then shows the model's
        // item again. The first connections run before the combo box's own.
        const auto hold = [this] { ++itemsChanging_; };
        const auto resync = [this] {
            --itemsChanging_;
            sync("ListIndex");
        };
        connect(adapter_, &QAbstractItemModel::rowsAboutToBeInserted, this, hold);
        connect(adapter_, &QAbstractItemModel::rowsAboutToBeRemoved, this, hold);
        connect(adapter_, &QAbstractItemModel::modelAboutToBeReset, this, hold);
        connect(adapter_, &QAbstractItemModel::dataChanged, this, hold);
        w->setModel(adapter_);
        connect(adapter_, &QAbstractItemModel::rowsInserted, this, resync);
        connect(adapter_, &QAbstractItemModel::rowsRemoved, this, resync);
        connect(adapter_, &QAbstractItemModel::modelReset, this, resync);
        connect(adapter_, &QAbstractItemModel::dataChanged, this, resync);
        w->setEditable(combo_ && combo_->Style() != 2);
        w->setInsertPolicy(QComboBox::NoInsert);
        connect(w, qOverload<int>(&QComboBox::activated), this, [this](int i) { picked(i); });
        // A row chosen in the drop-down list through assistive technology
        // (its Toggle action, the table's row selection) is a pick too.
        connect(w->view()->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
            if (updating_ || itemsChanging_ > 0 || followPending_) return;
            followPending_ = true;
            QMetaObject::invokeMethod(this, [this] { followList(); }, Qt::QueuedConnection);
        });
        hookEdit();
    }
    ~ComboBinder() override {
        if (widget_) w_->setModel(new QStringListModel(w_));
        delete adapter_;
    }
    void syncAll() override {
        Binder::syncAll();
        sync("Style");
        sync("Text");
    }
    void sync(std::string_view what) override {
        if (what == "Text" || what == "ListIndex" || what == "Drive") {
            const Updating own(updating_);
            const QSignalBlocker b(w_);
            // The item shown is always the model's: none for -1.
            const int shown = shownItem();
            if (w_->currentIndex() != shown) w_->setCurrentIndex(shown < w_->count() ? shown : -1);
            if (combo_ && w_->lineEdit() && w_->lineEdit()->text() != q(combo_->Text()))
                w_->lineEdit()->setText(q(combo_->Text()));
        } else if (what == "Style") {
            w_->setEditable(combo_ && combo_->Style() != 2);
            hookEdit();
            sync("Text");
        } else {
            Binder::sync(what);
        }
    }

private:
    void picked(int i) {
        if (drive_) drive_->setDrive(drive_->List(i));
        else l_.userClick(i);
        sync("Text");
    }
    int shownItem() const { return drive_ ? findItem(drive_->Drive()) : l_.ListIndex(); }
    // The list's selection once it settled. Moving through the open list
    // with the keys or the pointer moves its current row along with the
    // selection: only a row selected apart from the current one, or one
    // selected while the list is closed, was chosen from outside.
    void followList() {
        followPending_ = false;
        QAbstractItemView* v = w_->view();
        const QModelIndexList sel = v->selectionModel()->selectedRows();
        if (itemsChanging_ > 0 || sel.size() != 1 || !l_.Enabled()) return;
        const int row = sel.front().row();
        const bool open = v->isVisible();
        if (open ? row == v->currentIndex().row() : row == shownItem()) return;
        if (open) w_->hidePopup();
        {
            const Updating own(updating_);
            w_->setCurrentIndex(row);
        }
        picked(row);
    }
    void hookEdit() {
        if (!w_->lineEdit() || hooked_ == w_->lineEdit()) return;
        hooked_ = w_->lineEdit();
        // The edit part takes what is typed as it stands: no completion
        // from the items.
        w_->setCompleter(nullptr);
        // Typed, pasted or set through assistive technology: the user's text.
        // A pick from the list comes as `activated`, after Qt has written the
        // item into the edit part.
        connect(hooked_, &QLineEdit::textChanged, this, [this](const QString& s) {
            if (updating_ || itemsChanging_ > 0 || !combo_) return;
            if (w_->currentIndex() != l_.ListIndex() && w_->currentIndex() >= 0 && s == w_->itemText(w_->currentIndex()))
                return;
            combo_->userEdited(s.toStdString());
        });
    }
    int findItem(const std::string& s) const {
        for (int i = 0; i < l_.ListCount(); ++i)
            if (l_.List(i) == s) return i;
        return -1;
    }

    ListControl& l_;
    QComboBox* w_;
    ComboBox* combo_ = nullptr;
    DriveListBox* drive_ = nullptr;
    ListAdapter* adapter_;
    QPointer<QLineEdit> hooked_;
    int itemsChanging_ = 0;
    bool followPending_ = false;
};

// ---------------------------------------------------------------------------
// PictureBox, Image, Shape

class PictureView final : public BoundPicture {
public:
    explicit PictureView(QWidget* parent) : BoundPicture(parent) {}
    QPixmap base;
    std::vector<std::pair<QPixmap, QRect>> paintings;
    bool stretch = true;
    QColor background;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        if (background.isValid()) p.fillRect(rect(), background);
        if (!base.isNull()) {
            if (stretch) p.drawPixmap(rect(), base);
            else p.drawPixmap(0, 0, base);
        }
        for (auto& [pm, r] : paintings) p.drawPixmap(r, pm);
    }
};

class PictureBinder final : public Binder {
public:
    PictureBinder(Control& c, PictureView* w) : Binder(c, w), w_(w) {
        box_ = dynamic_cast<PictureBox*>(&c);
        image_ = dynamic_cast<Image*>(&c);
        w->installEventFilter(this);
    }
    void syncAll() override {
        Binder::syncAll();
        sync("Picture");
        sync("Paint");
        sync("BackColor");
    }
    void sync(std::string_view what) override {
        if (what == "Picture" || what == "Stretch") {
            w_->base = picture(box_ ? box_->Picture() : image_->Picture());
            // A picture box shows its picture at its own size from the top
            // left corner; an image fits it to its frame when Stretch is on.
            w_->stretch = image_ && image_->Stretch();
            w_->update();
        } else if (what == "Paint" && box_) {
            w_->paintings.clear();
            for (auto& pnt : box_->paintings()) {
                const QPixmap pm = picture(pnt.picture);
                if (!pm.isNull()) w_->paintings.emplace_back(pm, QRect(pnt.x, pnt.y, pnt.width, pnt.height));
            }
            w_->update();
        } else if (what == "BackColor" && box_) {
            w_->background = modelColour(box_->BackColor(), true);
            w_->update();
        } else if (what == "BorderStyle") {
        } else {
            Binder::sync(what);
        }
    }

    bool pressable() const override { return box_ ? box_->Click.connected() : image_->Click.connected(); }

protected:
    void clicked() override {
        if (box_) box_->Click.raise();
        else image_->Click.raise();
    }
    void doubleClicked() override {
        if (box_) box_->DblClick.raise();
        else image_->DblClick.raise();
    }

private:
    PictureView* w_;
    PictureBox* box_ = nullptr;
    Image* image_ = nullptr;
};

class ShapeView final : public QWidget {
public:
    explicit ShapeView(QWidget* parent) : QWidget(parent) {}
    QColor fill, border;
    int borderWidth = 1;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        if (fill.isValid()) p.fillRect(rect(), fill);
        if (border.isValid() && borderWidth > 0) {
            p.setPen(QPen(border, borderWidth));
            p.setBrush(Qt::NoBrush);
            p.drawRect(rect().adjusted(0, 0, -1, -1));
        }
    }
};

class ShapeBinder final : public Binder {
public:
    ShapeBinder(Shape& s, ShapeView* w) : Binder(s, w), s_(s), w_(w) {}
    void syncAll() override {
        Binder::syncAll();
        sync("FillColor");
    }
    void sync(std::string_view what) override {
        if (what == "FillColor" || what == "FillStyle" || what == "BorderColor" || what == "BorderWidth" ||
            what == "BackColor" || what == "Shape") {
            // FillStyle 0 is solid; 1 transparent.
            w_->fill = s_.FillStyle() == 0 ? modelColour(s_.FillColor(), false) : QColor();
            w_->border = modelColour(s_.BorderColor(), false);
            w_->borderWidth = s_.BorderWidth();
            w_->update();
        } else {
            Binder::sync(what);
        }
    }

private:
    Shape& s_;
    ShapeView* w_;
};

// ---------------------------------------------------------------------------
// Slider and scroll bars

class SliderBinder final : public Binder {
public:
    SliderBinder(Slider& s, QSlider* w) : Binder(s, w), s_(s), w_(w) {
        w->setTickPosition(QSlider::TicksBelow);
        connect(w, &QSlider::valueChanged, this, [this](int v) {
            if (!updating_) s_.userScroll(v);
        });
    }
    void syncAll() override {
        Binder::syncAll();
        sync("Value");
    }
    void sync(std::string_view what) override {
        if (what == "Value" || what == "Min" || what == "Max" || what == "TickFrequency") {
            updating_ = true;
            w_->setRange(s_.Min(), s_.Max());
            w_->setSingleStep(s_.SmallChange());
            w_->setPageStep(s_.LargeChange());
            w_->setTickInterval(std::max(1, s_.TickFrequency()));
            if (!w_->isSliderDown()) w_->setValue(s_.Value());
            updating_ = false;
        } else {
            Binder::sync(what);
        }
    }

private:
    Slider& s_;
    QSlider* w_;
};

class ScrollBinder final : public Binder {
public:
    ScrollBinder(ScrollBar& s, QScrollBar* w) : Binder(s, w), s_(s), w_(w) {
        // A scroll bar is a stop of the Tab key like the window's other
        // controls, and its keys (arrows, Page Up/Down, Home, End) move it.
        w->setFocusPolicy(Qt::StrongFocus);
        connect(w, &QScrollBar::valueChanged, this, [this](int v) {
            if (updating_) return;
            if (w_->isSliderDown()) s_.userScroll(v);
            else s_.userChange(v);
        });
        connect(w, &QScrollBar::sliderReleased, this, [this] { s_.userChange(w_->value()); });
    }
    void syncAll() override {
        Binder::syncAll();
        sync("Value");
    }
    void sync(std::string_view what) override {
        if (what == "Value" || what == "Min" || what == "Max") {
            updating_ = true;
            const bool inverted = s_.Min() > s_.Max();
            w_->setInvertedAppearance(inverted);
            w_->setInvertedControls(inverted);
            w_->setRange(std::min(s_.Min(), s_.Max()), std::max(s_.Min(), s_.Max()));
            w_->setSingleStep(std::max(1, s_.SmallChange()));
            w_->setPageStep(std::max(1, s_.LargeChange()));
            if (!w_->isSliderDown()) w_->setValue(s_.Value());
            updating_ = false;
        } else {
            Binder::sync(what);
        }
    }

private:
    ScrollBar& s_;
    QScrollBar* w_;
};

// ---------------------------------------------------------------------------
// MultiPage

class PagesBinder final : public Binder {
public:
    PagesBinder(MultiPage& m, QTabWidget* w) : Binder(m, w), m_(m), w_(w) {
        connect(w, &QTabWidget::currentChanged, this, [this](int i) {
            if (updating_ || i < 0) return;
            m_.setValue(i);
            m_.Click.raise(i);
        });
    }
    void syncAll() override {
        Binder::syncAll();
        sync("Pages");
        sync("Value");
    }
    void sync(std::string_view what) override {
        if (what == "Pages") {
            updating_ = true;
            while (w_->count() < m_.PageCount()) {
                auto* page = new QWidget;
                page->setObjectName(q(m_.objectName() + ":" + std::to_string(w_->count())));
                w_->addTab(page, QString());
            }
            for (int i = 0; i < m_.PageCount(); ++i) {
                w_->setTabText(i, q(m_.page(i).Caption));
                w_->setTabToolTip(i, q(m_.page(i).ToolTipText));
                w_->setTabVisible(i, m_.page(i).Visible);
                w_->setTabEnabled(i, m_.page(i).Enabled);
            }
            updating_ = false;
        } else if (what == "Value") {
            updating_ = true;
            if (m_.Value() >= 0 && m_.Value() < w_->count()) w_->setCurrentIndex(m_.Value());
            updating_ = false;
        } else {
            Binder::sync(what);
        }
    }

private:
    MultiPage& m_;
    QTabWidget* w_;
};

// ---------------------------------------------------------------------------
// Player

class PlayerBinder final : public Binder {
public:
    PlayerBinder(Player& p, VideoWidget* w) : Binder(p, w) {}

protected:
    // `enabled` False disables only the player's own control bar.
    bool enablesWidget() const override { return false; }
};

}  // namespace

// ---------------------------------------------------------------------------

std::unique_ptr<Binder> bindControl(Control& c, QWidget* parent) {
    std::unique_ptr<Binder> b;
    if (auto* l = dynamic_cast<Label*>(&c)) {
        b = std::make_unique<LabelBinder>(*l, new BoundLabel(parent));
    } else if (auto* cb = dynamic_cast<CommandButton*>(&c)) {
        b = std::make_unique<ButtonBinder>(*cb, new CaptionButton(parent));
    } else if (auto* t = dynamic_cast<TextBox*>(&c)) {
        QWidget* w;
        if (t->MultiLine()) w = new QPlainTextEdit(parent);
        else w = new QLineEdit(parent);
        b = std::make_unique<TextBinder>(*t, w);
    } else if (auto* ck = dynamic_cast<CheckBox*>(&c)) {
        b = std::make_unique<CheckBinder>(*ck, new QCheckBox(parent));
    } else if (auto* o = dynamic_cast<OptionButton*>(&c)) {
        b = std::make_unique<OptionBinder>(*o, new QRadioButton(parent));
    } else if (auto* f = dynamic_cast<Frame*>(&c)) {
        b = std::make_unique<FrameBinder>(*f, new QGroupBox(parent));
    } else if (dynamic_cast<ComboBox*>(&c) || dynamic_cast<DriveListBox*>(&c)) {
        b = std::make_unique<ComboBinder>(static_cast<ListControl&>(c), new QComboBox(parent));
    } else if (auto* lc = dynamic_cast<ListControl*>(&c)) {
        b = std::make_unique<ListBinder>(*lc, new RowListView(parent));
    } else if (dynamic_cast<PictureBox*>(&c) || dynamic_cast<Image*>(&c)) {
        b = std::make_unique<PictureBinder>(c, new PictureView(parent));
    } else if (auto* s = dynamic_cast<Shape*>(&c)) {
        b = std::make_unique<ShapeBinder>(*s, new ShapeView(parent));
    } else if (auto* sl = dynamic_cast<Slider*>(&c)) {
        b = std::make_unique<SliderBinder>(*sl, new QSlider(Qt::Horizontal, parent));
    } else if (auto* hs = dynamic_cast<HScrollBar*>(&c)) {
        b = std::make_unique<ScrollBinder>(*hs, new QScrollBar(Qt::Horizontal, parent));
    } else if (auto* vs = dynamic_cast<VScrollBar*>(&c)) {
        b = std::make_unique<ScrollBinder>(*vs, new QScrollBar(Qt::Vertical, parent));
    } else if (auto* mp = dynamic_cast<MultiPage*>(&c)) {
        b = std::make_unique<PagesBinder>(*mp, new QTabWidget(parent));
    } else if (auto* p = dynamic_cast<Player*>(&c)) {
        b = std::make_unique<PlayerBinder>(*p, new VideoWidget(*p, parent));
    }
    if (b) b->syncAll();
    return b;
}

// ---------------------------------------------------------------------------
// MenuBinder

MenuBinder::MenuBinder(MenuItem& item, QWidget* owner) : item_(item) {
    build(owner);
    listenId_ = item_.changed.listen([this](std::string_view) { sync(); });
    sync();
}

MenuBinder::~MenuBinder() { item_.changed.unlisten(listenId_); }

void MenuBinder::build(QWidget* owner) {
    const QString name = q(item_.objectName());
    if (!item_.children().empty()) {
        menu_ = new QMenu(owner);
        menu_->setObjectName(name);
        menu_->setAccessibleDescription(name);
        action_ = menu_->menuAction();
    } else {
        action_ = new QAction(owner);
        connect(action_, &QAction::triggered, this, [this] {
            item_.click();
            sync();
        });
    }
    action_->setObjectName(name);
    checkable_ = item_.Checked();
}

void MenuBinder::sync() {
    if (!action_) return;
    if (item_.isSeparator()) {
        action_->setSeparator(true);
        action_->setVisible(item_.Visible());
        return;
    }
    action_->setText(q(item_.Caption()));
    // An item becomes checkable the first time the program checks it, and
    // keeps its check column from then on.
    if (item_.Checked()) checkable_ = true;
    if (!menu_) {
        action_->setCheckable(checkable_);
        action_->setChecked(item_.Checked());
    }
    action_->setEnabled(item_.Enabled());
    action_->setVisible(item_.Visible());
}

}  // namespace tarvolin
