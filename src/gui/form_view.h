#pragma once
// A window for a form of the toolkit model, built from its controls' types,
// containers and twips geometry (15 twips per pixel, absolute placement
// inside the form, its frames and the pages of a multipage), with the menu
// bar from the form's menus. The window follows the form's Caption, Icon,
// Visible, WindowState, Enabled, OnTop and geometry; closing it asks the form
// (QueryUnload / Unload), which decides.
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
// screen's dots per inch.
QFont programFont();

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
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    // The Tab key goes through the controls in the order they are drawn.
    bool focusNextPrevChild(bool next) override;

private:
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
    void syncWindow(std::string_view what);

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
};

}  // namespace tarvolin
