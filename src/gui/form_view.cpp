#include "gui/form_view.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QFontDatabase>
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

QFont programFont() {
    QFont f(QStringLiteral("Liberation Sans Narrow"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(12);
    return f;
}

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
    view_.form().userResized(width() * kTwips, height() * kTwips);
    view_.updating_ = false;
}

void FormWindow::moveEvent(QMoveEvent* e) {
    QMainWindow::moveEvent(e);
    if (view_.updating_ || !isVisible()) return;
    view_.updating_ = true;
    view_.form().setLeft(x() * kTwips);
    view_.form().setTop(y() * kTwips);
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

    for (Control* c : form_.controls()) bind(*c);
    placeAll();
    buildMenus();
    touchUp();

    listenIds_.push_back(form_.changed.listen([this](std::string_view what) { syncWindow(what); }));
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

    for (auto p : {"Caption", "Icon", "Geometry", "Enabled", "OnTop", "Visible"}) syncWindow(p);
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
    if (raw->menu()) {
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

void FormView::syncWindow(std::string_view what) {
    if (updating_) return;
    updating_ = true;
    FormWindow* w = window_.get();
    if (what == "Caption") {
        w->setWindowTitle(q(form_.Caption()));
    } else if (what == "Icon") {
        if (form_.Icon() >= 100 && form_.Icon() <= 102) w->setWindowIcon(programIcon(form_.Icon()));
        else if (!form_.IconKey().empty()) w->setWindowIcon(QIcon(picture(form_.IconKey())));
    } else if (what == "Geometry") {
        const int width = std::max(1, form_.Width() / kTwips), height = std::max(1, form_.Height() / kTwips);
        if (w->width() != width || w->height() != height) w->resize(width, height);
        if (w->x() != form_.Left() / kTwips || w->y() != form_.Top() / kTwips)
            w->move(form_.Left() / kTwips, form_.Top() / kTwips);
    } else if (what == "Enabled") {
        setEnabledKeepingFocus(w, form_.Enabled());
    } else if (what == "OnTop") {
        const bool on = form_.OnTop();
        if (w->windowFlags().testFlag(Qt::WindowStaysOnTopHint) != on) {
            const bool shown = w->isVisible();
            w->setWindowFlag(Qt::WindowStaysOnTopHint, on);
            // Changing the flags hides the window: show it again only when
            // it was shown.
            if (shown) w->show();
        }
        if (on && w->isVisible()) w->raise();
    } else if (what == "Visible" || what == "WindowState") {
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
        if (auto* v = qobject_cast<VideoWidget*>(widget("WindowsMediaPlayer3", i)); v && v->picture())
            v->picture()->setFrameInterval(kPreviewFrameIntervalMs);
    std::vector<QListView*> columns;
    for (int i = 0; i <= 1; ++i)
        if (auto* v = qobject_cast<QListView*>(widget("List3_0", i))) columns.push_back(v);
    if (auto* v = qobject_cast<QListView*>(widget("List2"))) columns.push_back(v);
    for (int i = 2; i <= 4; ++i)
        if (auto* v = qobject_cast<QListView*>(widget("List3_0", i))) columns.push_back(v);
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
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (const char* n : {"List5", "List4", "Text6"})
        if (QWidget* w = widget(n)) w->setFont(fixed);
}

}  // namespace tarvolin
