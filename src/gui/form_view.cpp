#include "gui/form_view.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <cmath>

#include "gui/accessibility.h"
#include "gui/focus_hold.h"
#include "gui/pictures.h"
#include "gui/video_widget.h"
#include "toolkit/controls.h"
#include "toolkit/form.h"

namespace tarvolin {

namespace {
constexpr int kTwips = 15;
constexpr int kPreviewFrameIntervalMs = 250;
QString q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

namespace {

constexpr int kFontPixels = 12;

// A zoomed font rounds down to whole pixels of the screen: the texts never
// outgrow their zoomed boxes. Its size is then in points, the only size a
// font takes in fractions of a pixel.
QFont fontInPixels(const QString& family, QFont::StyleHint hint, double zoom, const QWidget* on) {
    QFont f(family);
    f.setStyleHint(hint);
    if (zoom == 1.0 || !on) {
        f.setPixelSize(std::max(1, static_cast<int>(kFontPixels * zoom)));
        return f;
    }
    const double ratio = on->devicePixelRatioF();
    const double pixels = std::max(1.0, std::floor(kFontPixels * zoom * ratio) / ratio);
    f.setPointSizeF(pixels * 72.0 / on->logicalDpiY());
    // Hinting would round each letter's advance up to whole pixels, and a
    // caption made to the design's measure would outgrow its box.
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

ScreenArea& screenAreaSource() {
    static ScreenArea area = [](const QWidget& w) {
        const QScreen* s = w.screen() ? w.screen() : QGuiApplication::primaryScreen();
        return s ? s->availableGeometry() : QRect();
    };
    return area;
}

// The window manager's frame around a window, known once it is shown.
QMargins frameOf(const QWidget& w) {
    const QRect outer = w.frameGeometry(), inner = w.geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

}  // namespace

QFont programFont(double zoom, const QWidget* on) {
    return fontInPixels(QStringLiteral("Liberation Sans Narrow"), QFont::SansSerif, zoom, on);
}

QFont programFixedFont() { return fontInPixels(QStringLiteral("monospace"), QFont::TypeWriter, 1.0, nullptr); }

void setScreenArea(ScreenArea area) { screenAreaSource() = std::move(area); }

// ---------------------------------------------------------------------------
// FormWindow

FormWindow::FormWindow(FormView& view) : view_(view) {}

bool FormWindow::keptOnTop() const { return view_.form().OnTop(); }

void FormWindow::closeEvent(QCloseEvent* e) {
    // The form decides: its QueryUnload may cancel, and a form that unloads
    // hides itself (the view follows).
    e->ignore();
    view_.form().requestUnload(0);
}

void FormWindow::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    if (view_.updating_ || !isVisible()) return;
    view_.updating_ = true;
    const double z = view_.zoom();
    view_.form().userResized(static_cast<int>(std::lround(width() / z)) * kTwips,
                             static_cast<int>(std::lround(height() / z)) * kTwips);
    view_.updating_ = false;
    refitForFrame();
}

void FormWindow::moveEvent(QMoveEvent* e) {
    QMainWindow::moveEvent(e);
    if (view_.updating_ || !isVisible()) return;
    view_.updating_ = true;
    const QPoint at = pos() - view_.origin(size());
    view_.form().setLeft(at.x() * kTwips);
    view_.form().setTop(at.y() * kTwips);
    view_.updating_ = false;
    refitForFrame();
}

void FormWindow::refitForFrame() {
    // The window manager's frame is known only once the window is shown: the
    // window fits again with it, title bar on the screen.
    if (frameOf(*this) == view_.fittedFrame_) return;
    view_.updating_ = true;
    view_.fit();
    view_.updating_ = false;
}

void FormWindow::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
    if (e->type() != QEvent::WindowStateChange || view_.updating_) return;
    const Qt::WindowStates s = windowState();
    const int state = (s & Qt::WindowMinimized) ? 1 : (s & Qt::WindowMaximized) ? 2 : 0;
    view_.updating_ = true;
    view_.form().setWindowState(state);
    view_.updating_ = false;
}

void FormWindow::keyPressEvent(QKeyEvent* e) {
    // Esc reaches the window when the control with the focus leaves it.
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier && view_.form().EscapeCloses) {
        e->accept();
        close();
        return;
    }
    QMainWindow::keyPressEvent(e);
}

// A window shown with no control chosen for the focus starts on its first
// control in the order drawn; Qt would pick the first widget made.
void FormWindow::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (!focusWidget()) moveFocusInLayout(centralWidget(), true);
}

bool FormWindow::eventFilter(QObject* watched, QEvent* e) {
    // With KeyPreview the form sees keys before its controls.
    if (e->type() == QEvent::KeyPress && view_.form().KeyPreview()) {
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && w->window() == this) {
            auto* ke = static_cast<QKeyEvent*>(e);
            int code = keyCode(ke->key());
            if (code != 0 && !ke->isAutoRepeat()) {
                view_.form().KeyDown.raise(code, shiftMask(ke->modifiers()));
                if (code == 0) return true;
            }
        }
    }
    // Typed characters reach the form's KeyPress with KeyPreview, or when
    // the window itself has the keyboard (a form without input controls).
    if (e->type() == QEvent::KeyPress && (watched == this || view_.form().KeyPreview())) {
        auto* w = qobject_cast<QWidget*>(watched);
        auto* ke = static_cast<QKeyEvent*>(e);
        const QString text = ke->text();
        if (w && w->window() == this && !text.isEmpty() && text.at(0).unicode() < 128 &&
            !ke->isAutoRepeat()) {
            int ascii = text.at(0).unicode();
            view_.form().KeyPress.raise(ascii);
            if (ascii == 0) return true;
        }
    }
    return QMainWindow::eventFilter(watched, e);
}

bool FormWindow::focusNextPrevChild(bool next) {
    return moveFocusInLayout(centralWidget(), next) || QMainWindow::focusNextPrevChild(next);
}

namespace {

// Windows kept on top go back above a window just shown. A window manager
// does this for the stay-on-top hint; without one (a kiosk session, a
// virtual display) nothing else would. The request goes to the display at
// once: the program may be busy for a while before its loop runs again, and
// the window kept on top must not be covered meanwhile.
void raiseWindowsOnTop(const QWidget* shown) {
    bool raised = false;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* other = qobject_cast<FormWindow*>(w);
        if (other && other != shown && other->isVisible() && other->keptOnTop()) {
            other->raise();
            raised = true;
        }
    }
    if (!raised) return;
    if (QGuiApplication::platformName() != "xcb") return;
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 && x11->connection()) xcb_flush(x11->connection());
}

}  // namespace

// ---------------------------------------------------------------------------
// FormView

FormView::FormView(Form& form, std::string name)
    : form_(form), name_(std::move(name)), window_(std::make_unique<FormWindow>(*this)) {
    build();
}

FormView::~FormView() {
    form_.changed.unlisten(listenIds_.empty() ? 0 : listenIds_.front());
    form_.controlAdded.unlisten(addedId_);
    form_.popupRequested.unlisten(popupId_);
    form_.announced.unlisten(announcedId_);
    qApp->removeEventFilter(window_.get());
    releaseVideo();
    // Binders first: they hold the widgets the window owns.
    menus_.clear();
    binders_.clear();
    window_.reset();
}

void FormView::build() {
    const QString name = q(name_);
    window_->setObjectName(name);
    setAccessibleId(window_.get(), name);
    central_ = new QWidget(window_.get());
    central_->setObjectName(name + "_client");
    window_->setCentralWidget(central_);
    // The window's own font, which its controls and menus take: a platform
    // theme's font is the application's and does not reach them.
    setZoom(1.0);

    for (Control* c : form_.controls()) bind(*c);
    placeAll();
    buildMenus();
    touchUp();

    listenIds_.push_back(form_.changed.listen([this](Property what) { syncWindow(what); }));
    addedId_ = form_.controlAdded.listen([this](Control& c) {
        if (byControl_.count(&c)) return;
        if (dynamic_cast<MenuItem*>(&c)) return;
        bind(c);
        if (Binder* b = byControl_[&c]) {
            if (QWidget* parent = containerWidget(c.Container)) b->widget()->setParent(parent);
            b->syncAll();
        }
    });
    popupId_ = form_.popupRequested.listen([this](MenuItem& m) { popup(m); });
    auto* announcement = new Announcement(central_);
    announcedId_ = form_.announced.listen([announcement](std::string_view text) {
        announcement->announce(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    });
    qApp->installEventFilter(window_.get());

    for (auto p : {Property::Caption, Property::Icon, Property::Geometry, Property::Enabled, Property::OnTop, Property::Visible}) syncWindow(p);
}

void FormView::bind(Control& c) {
    if (dynamic_cast<MenuItem*>(&c)) return;
    auto b = bindControl(c, central_);
    if (!b) return;
    byControl_[&c] = b.get();
    binders_.push_back(std::move(b));
}

QWidget* FormView::containerWidget(const std::string& container) const {
    if (container.empty()) return central_;
    const auto colon = container.find(':');
    if (colon != std::string::npos) {
        const std::string owner = container.substr(0, colon);
        const int page = std::atoi(container.c_str() + colon + 1);
        auto* tabs = qobject_cast<QTabWidget*>(widget(owner));
        if (tabs && page >= 0 && page < tabs->count()) return tabs->widget(page);
        return central_;
    }
    QWidget* w = widget(container);
    return w ? w : central_;
}

void FormView::placeAll() {
    for (auto& b : binders_) {
        QWidget* parent = containerWidget(b->control().Container);
        if (b->widget()->parentWidget() != parent) b->widget()->setParent(parent);
        b->syncAll();
    }
}

QWidget* FormView::widget(const std::string& name, int index) const {
    Binder* b = binder(name, index);
    return b ? b->widget() : nullptr;
}

Binder* FormView::binder(const std::string& name, int index) const {
    Control* c = form_.findControl(name, index);
    auto it = byControl_.find(c);
    return it == byControl_.end() ? nullptr : it->second;
}

QAction* FormView::action(const std::string& name, int index) const {
    MenuItem* m = form_.findMenu(name, index);
    auto it = byMenu_.find(m);
    return it == byMenu_.end() ? nullptr : it->second->action();
}

QMenu* FormView::menu(const std::string& name, int index) const {
    MenuItem* m = form_.findMenu(name, index);
    auto it = byMenu_.find(m);
    return it == byMenu_.end() ? nullptr : it->second->menu();
}

void FormView::buildMenus() {
    const auto top = form_.menuBar();
    if (top.empty()) return;
    QMenuBar* bar = window_->menuBar();
    bar->setObjectName(q(name_) + "_menubar");
    for (MenuItem* m : top) addMenuItem(*m, bar);
}

void FormView::addMenuItem(MenuItem& item, QWidget* parentMenu) {
    auto mb = std::make_unique<MenuBinder>(item, parentMenu);
    MenuBinder* raw = mb.get();
    byMenu_[&item] = raw;
    menus_.push_back(std::move(mb));
    parentMenu->addAction(raw->action());
    labelMenuItems(parentMenu);
    if (raw->menu()) {
        raw->menu()->setAttribute(Qt::WA_WindowPropagation);
        // An item's tip says what the desktop does not do for it.
        raw->menu()->setToolTipsVisible(true);
        for (MenuItem* child : item.children()) addMenuItem(*child, raw->menu());
    }
}

void FormView::popup(MenuItem& item) {
    auto it = byMenu_.find(&item);
    if (it == byMenu_.end() || !it->second->menu() || !item.Enabled()) return;
    lastPopup_ = it->second->menu();
    lastPopup_->popup(QCursor::pos());
}

void FormView::releaseVideo() {
    for (auto& b : binders_) {
        if (auto* v = qobject_cast<VideoWidget*>(b->widget())) v->release();
    }
}

void FormView::syncWindow(Property what) {
    if (updating_) return;
    updating_ = true;
    FormWindow* w = window_.get();
    if (what == Property::Caption) {
        w->setWindowTitle(q(form_.Caption()));
    } else if (what == Property::Icon) {
        if (form_.Icon() >= 100 && form_.Icon() <= 102) w->setWindowIcon(programIcon(form_.Icon()));
        else if (!form_.IconKey().empty()) w->setWindowIcon(QIcon(picture(form_.IconKey())));
    } else if (what == Property::Geometry) {
        fit();
    } else if (what == Property::Enabled) {
        setEnabledKeepingFocus(w, form_.Enabled());
    } else if (what == Property::OnTop) {
        const bool on = form_.OnTop();
        if (w->windowFlags().testFlag(Qt::WindowStaysOnTopHint) != on) {
            const bool shown = w->isVisible();
            w->setWindowFlag(Qt::WindowStaysOnTopHint, on);
            // Changing the flags hides the window: show it again only when
            // it was shown.
            if (shown) w->show();
        }
        if (on && w->isVisible()) w->raise();
    } else if (what == Property::Visible || what == Property::WindowState) {
        if (!form_.Visible()) {
            w->hide();
        } else {
            // A window made now would be stacked above those kept on top
            // until they are raised again: they go above it before it is
            // mapped, and again after (the display may have made it anew).
            if (!w->isVisible()) {
                w->winId();
                raiseWindowsOnTop(w);
            }
            switch (form_.WindowState()) {
            case 1: w->showMinimized(); break;
            case 2: w->showMaximized(); break;
            default:
                if (w->isMinimized() || w->isMaximized()) w->showNormal();
                else w->show();
                break;
            }
            raiseWindowsOnTop(w);
        }
    }
    updating_ = false;
}

void FormView::touchUp() {
    // The video window's player fills the window's client area: the room
    // the form's design leaves for a caption and borders is outside it here.
    // The model sizes its player on every resize; the binder then fills.
    if (name_ == "Form2") {
        if (Binder* player = binder("WindowsMediaPlayer1")) {
            player->widget()->setProperty(kFillsClient, true);
            player->applyGeometry();
        }
    }
    // The splash window's frame fills its window likewise.
    if (QWidget* frame = name_ == "frmSplash" ? widget("Frame1") : nullptr) {
        auto* fill = new QVBoxLayout(central_);
        fill->setContentsMargins(0, 0, 0, 0);
        fill->addWidget(frame);
    }
    // The track list and its column lists scroll together.
    if (name_ != "Form1") return;
    // The twelve preview pictures are live snapshots: four frames a second
    // each. At the film's own rate their drawing kept the program's thread
    // busy all the time, and the user and assistive technology waited.
    for (int i = 0; i < 12; ++i)
        if (auto* v = qobject_cast<VideoWidget*>(widget("WindowsMediaPlayer3", i)))
            v->setFrameInterval(kPreviewFrameIntervalMs);
    std::vector<QListView*> columns;
    for (int i = 0; i <= 1; ++i)
        if (auto* v = qobject_cast<QListView*>(widget("List3_0", i))) columns.push_back(v);
    if (auto* v = qobject_cast<QListView*>(widget("List2"))) columns.push_back(v);
    for (int i = 2; i <= 4; ++i)
        if (auto* v = qobject_cast<QListView*>(widget("List3_0", i))) columns.push_back(v);
    // These lists and the track tables hold the whole collection.
    for (QListView* c : columns) markShownRowsOnly(c);
    for (const char* n : {"List5", "List4"})
        if (auto* table = qobject_cast<QListView*>(widget(n))) markShownRowsOnly(table);
    // The track list reads each row as its track: the file's name, then its
    // number, class and length as the columns show them.
    if (auto* list = qobject_cast<QListView*>(widget("List2")))
        if (auto* adapter = qobject_cast<ListAdapter*>(list->model())) {
            std::vector<QPointer<QListView>> told;
            for (int i = 0; i <= 2; ++i)
                if (auto* v = qobject_cast<QListView*>(widget("List3_0", i))) told.emplace_back(v);
            adapter->spokenItem = [adapter, told](int item) {
                QString spoken = adapter->index(adapter->rowOf(item)).data().toString();
                spoken = spoken.mid(spoken.lastIndexOf(QLatin1Char('/')) + 1);
                for (const QPointer<QListView>& v : told) {
                    const QModelIndex ix = v ? v->model()->index(item, 0) : QModelIndex();
                    if (ix.isValid()) spoken += QStringLiteral(", ") + ix.data().toString();
                }
                return spoken;
            };
        }
    // One vertical scroll bar, on the rightmost column, serves all. The
    // position is kept so that a column whose layout comes later catches up.
    auto shared = std::make_shared<int>(0);
    for (std::size_t k = 0; k < columns.size(); ++k) {
        if (k + 1 < columns.size()) columns[k]->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        // Every column keeps a horizontal scroll bar so that all show the
        // same number of rows.
        columns[k]->setProperty("rowsAligned", true);
        columns[k]->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        QScrollBar* from = columns[k]->verticalScrollBar();
        connect(from, &QScrollBar::valueChanged, this, [columns, shared, from](int v) {
            if (v == *shared) return;
            *shared = v;
            for (QListView* c : columns)
                if (c->verticalScrollBar() != from) c->verticalScrollBar()->setValue(v);
        });
        connect(from, &QScrollBar::rangeChanged, this, [shared, from](int, int max) {
            if (*shared <= max && from->value() != *shared) from->setValue(*shared);
        });
    }
    // The log box: several lines, read-only.
    if (auto* log = qobject_cast<QPlainTextEdit*>(widget("Text2", 0))) log->setReadOnly(true);
    // Track tables and the current file name in the fixed-pitch font.
    for (const char* n : {"List5", "List4", "Text6"})
        if (QWidget* w = widget(n)) w->setFont(programFixedFont());
}

void FormView::setZoom(double zoom) {
    const bool changed = zoom != zoom_;
    zoom_ = zoom;
    window_->setProperty(kZoom, zoom);
    const QFont sized = programFont(zoom, window_.get());
    window_->setFont(sized);
    if (!changed) return;
    // Controls with a font of their own (bold, fixed pitch) keep it, at the
    // zoomed size.
    for (QWidget* w : central_->findChildren<QWidget*>()) {
        if (!w->testAttribute(Qt::WA_SetFont)) continue;
        QFont f = w->font();
        if (sized.pixelSize() > 0) f.setPixelSize(sized.pixelSize());
        else f.setPointSizeF(sized.pointSizeF());
        f.setHintingPreference(sized.hintingPreference());
        w->setFont(f);
    }
    for (auto& b : binders_) b->sync(Property::Geometry);
}

QSize FormView::designSize() const {
    return {std::max(1, form_.Width() / kTwips), std::max(1, form_.Height() / kTwips)};
}

QPoint FormView::origin(QSize shown) const {
    const QSize design = designSize();
    return screenAreaSource()(*window_).topLeft() +
           QPoint((design.width() - shown.width()) / 2, (design.height() - shown.height()) / 2);
}

void FormView::fit() {
    FormWindow* w = window_.get();
    const QSize design = designSize();
    const QRect area = screenAreaSource()(*w);
    const QMargins frame = frameOf(*w);
    fittedFrame_ = frame;
    double z = 1.0;
    if (area.isValid()) {
        const double across = double(area.width() - frame.left() - frame.right()) / design.width();
        const double down = double(area.height() - frame.top() - frame.bottom()) / design.height();
        z = std::clamp(std::min(across, down), 0.25, 1.0);
    }
    setZoom(z);
    const QSize shown(static_cast<int>(std::lround(design.width() * z)),
                      static_cast<int>(std::lround(design.height() * z)));
    if (w->size() != shown) w->resize(shown);
    // The frame's corner, where the form says, kept inside the area.
    QPoint at = origin(shown) + QPoint(form_.Left() / kTwips, form_.Top() / kTwips);
    if (area.isValid()) {
        const QSize outer = shown.grownBy(frame);
        at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - outer.width())));
        at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() + 1 - outer.height())));
    }
    if (w->pos() != at) w->move(at);
}

}  // namespace tarvolin
