#pragma once
// A window for a form of the toolkit model, built from its controls' types,
// containers and twips geometry (15 twips per pixel, absolute placement
// inside the form, its frames and the pages of a multipage), with the menu
// bar from the form's menus. The window follows the form's Caption, Icon,
// Visible, WindowState, Enabled, OnTop and geometry; closing it asks the form
// (QueryUnload / Unload), which decides.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QFont>
#include <QMainWindow>
#include <QPointer>

#include "gui/binders.h"

namespace tarvolin {

class Form;
class FormView;
class MenuItem;

// The font of every window's texts: a narrow sans serif (Liberation Sans
// Narrow, which has the Greek letters) at a size in pixels, so that the
// design geometry, which is in pixels too, holds its captions whatever the
// screen's dots per inch. zoom: the scale a window is drawn at, on the
// screen of the widget on.
QFont programFont(double zoom = 1.0, const QWidget* on = nullptr);
// The fixed-pitch font of the track tables, likewise in pixels.
QFont programFixedFont();

// The part of the screen a window may take: by default the available
// geometry of its screen, the desktop's panels left out. Tests set their own.
using ScreenArea = std::function<QRect(const QWidget& window)>;
void setScreenArea(ScreenArea area);

class FormWindow final : public QMainWindow {
    Q_OBJECT
public:
    FormWindow(FormView& view);
    // The form asks to stay above the other windows.
    bool keptOnTop() const;

protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void changeEvent(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    // The Tab key goes through the controls in the order they are drawn.
    bool focusNextPrevChild(bool next) override;

private:
    void refitForFrame();
    FormView& view_;
};

class FormView final : public QObject {
    Q_OBJECT
public:
    // name: the form's name ("Form1", "frmSplash"), used for the window's
    // object name and the per-window touches.
    FormView(Form& form, std::string name);
    ~FormView() override;

    Form& form() const { return form_; }
    const std::string& name() const { return name_; }
    FormWindow* window() const { return window_.get(); }

    // The widget and binder of a control (name, index), or null.
    QWidget* widget(const std::string& name, int index = -1) const;
    Binder* binder(const std::string& name, int index = -1) const;
    // The action of a menu item, and the QMenu of a menu with children.
    QAction* action(const std::string& name, int index = -1) const;
    QMenu* menu(const std::string& name, int index = -1) const;
    // The QMenu last popped up for the form's PopupMenu (tests).
    QMenu* lastPopup() const { return lastPopup_; }

    // Frees every video widget's render context: called before the program
    // that owns the players goes.
    void releaseVideo();

    // Applies every form property to the window.
    void syncWindow(Property what);

    // The scale the window is drawn at: below 1 when the form's design does
    // not fit the screen's area, frame included.
    double zoom() const { return zoom_; }

private:
    friend class FormWindow;
    void build();
    void bind(Control& c);
    void placeAll();
    QWidget* containerWidget(const std::string& container) const;
    void buildMenus();
    void addMenuItem(MenuItem& item, QWidget* parentMenu);
    void popup(MenuItem& item);
    void touchUp();
    // Sizes and places the window from the form: the design zoomed to fit
    // the screen's area, the frame inside it.
    void fit();
    void setZoom(double zoom);
    // Where the form's position of (0, 0) is on the screen: the area's
    // corner, moved by half what the zoom took from the window's size so
    // that a window keeps its middle.
    QPoint origin(QSize shown) const;
    // The form's size in the design's pixels.
    QSize designSize() const;

    Form& form_;
    std::string name_;
    std::unique_ptr<FormWindow> window_;
    QWidget* central_ = nullptr;
    std::vector<std::unique_ptr<Binder>> binders_;
    std::map<const Control*, Binder*> byControl_;
    std::vector<std::unique_ptr<MenuBinder>> menus_;
    std::map<const MenuItem*, MenuBinder*> byMenu_;
    QPointer<QMenu> lastPopup_;
    std::vector<int> listenIds_;
    int addedId_ = 0, popupId_ = 0, announcedId_ = 0;
    bool updating_ = false;
    double zoom_ = 0;
    // The frame the last fit allowed for.
    QMargins fittedFrame_;
};

}  // namespace tarvolin
