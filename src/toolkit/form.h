#pragma once
// Windows (forms) and their menus.
//
// A form is a Control (geometry in twips, Visible, Enabled, changed) that
// also keeps a registry of every control and menu item placed on it, under
// (name, index), so that controls are found by the name the program gives
// them: form.findControl("List3_0", 1), form.findMenu("MnuMoreRandom").
// Names are matched without regard to case, as the original toolkit does.
//
// Events of a form (all raised by Program or by the view, never on their own
// at construction: a form is created once and does nothing until told):
//   Load                          - raised by Program when it starts the form.
//   QueryUnload(Cancel, Mode)     - raised by requestUnload(); Cancel != 0 stops it.
//   Unload(Cancel)                - raised by requestUnload() after QueryUnload.
//   Resize                        - raised when Width/Height or WindowState change
//                                   (by code or by the user through the view).
//   Activate                      - raised by Show() when the form was hidden, and
//                                   by the view when the window becomes active.
//   KeyDown(KeyCode, Shift), KeyPress(KeyAscii), MouseMove(Button, Shift, X, Y)
//                                 - raised by the view (or tests) only.
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/control.h"
#include "toolkit/event.h"

namespace tarvolin {

class MessageLoop;

// A menu item, a submenu (an item with children) or a separator (Caption "-").
// setChecked, setCaption, setEnabled, setVisible only notify `changed`;
// Click is raised by the view when the user picks the item, or by click().
class MenuItem : public Control {
public:
    MenuItem() = default;
    explicit MenuItem(std::string caption) : caption_(std::move(caption)) {}
    const char* typeName() const override { return "MenuItem"; }

    const std::string& Caption() const { return caption_; }
    void setCaption(std::string c);
    bool Checked() const { return checked_; }
    void setChecked(bool c);
    bool isSeparator() const { return caption_ == "-"; }

    // Submenu: children in display order (not owned: they are members of the
    // same form). Adding sets the child's parent.
    void addChild(MenuItem& child);
    const std::vector<MenuItem*>& children() const { return children_; }
    MenuItem* parentMenu() const { return parent_; }

    // Raises Click as a pick by the user would (only when enabled).
    void click() {
        if (Enabled()) Click.raise();
    }

    Event<> Click;
    // The children list changed (an item added) - for the view.
    Signal<> childrenChanged;

private:
    std::string caption_;
    bool checked_ = false;
    std::vector<MenuItem*> children_;
    MenuItem* parent_ = nullptr;
};

class Form : public Control {
public:
    Form();
    ~Form() override;
    const char* typeName() const override { return "Form"; }

    // --- registry -------------------------------------------------------
    // Gives the control its identity (this form, name, index) and registers
    // it. A menu item is also registered as a menu. Registering the same
    // (name, index) twice replaces the earlier entry.
    void adopt(Control& c, std::string name, int index = -1);
    // Removes the control from the registry (a control array member unloaded).
    void forget(Control& c);
    Control* findControl(std::string_view name, int index = -1) const;
    MenuItem* findMenu(std::string_view name, int index = -1) const;
    template <typename T>
    T* find(std::string_view name, int index = -1) const {
        return dynamic_cast<T*>(findControl(name, index));
    }
    // Every registered control (menus included) in registration order.
    const std::vector<Control*>& controls() const { return order_; }
    // Top-level menus of the menu bar in order (menus without a parent menu).
    std::vector<MenuItem*> menuBar() const;

    // The message loop for the form's timers: set by Program when it creates
    // the form; passed on to every Timer registered now or later.
    void setLoop(MessageLoop* loop);
    MessageLoop* loop() const { return loop_; }

    // --- properties -----------------------------------------------------
    const std::string& Caption() const { return caption_; }
    void setCaption(std::string c);
    // Icon: resource number (100, 101, 102) or 0 with a resource key.
    int Icon() const { return icon_; }
    const std::string& IconKey() const { return iconKey_; }
    void setIcon(int resourceNumber);

    // 0 normal, 1 minimised, 2 maximised. A change raises Resize.
    int WindowState() const { return windowState_; }
    void setWindowState(int s);

    // Stay on top of other windows. Changing it never shows a hidden form.
    bool OnTop() const { return onTop_; }
    void setOnTop(bool t);

    bool KeyPreview() const { return keyPreview_; }
    void setKeyPreview(bool k) { keyPreview_ = k; }

    // Design data: the Esc key closes the window as its close box does (the
    // dialog-like windows), unless the control with the focus takes the key.
    bool EscapeCloses = false;

    // Show: visible (raises Activate when it was hidden). Hide: not visible.
    void Show();
    void Hide();
    void setVisible(bool v) override;

    // Unload as the close box or the program asks (UnloadMode 0 = the user
    // closed the window, 1 = code). Raises QueryUnload then Unload; returns
    // false when either set Cancel. On success the form is hidden.
    bool requestUnload(int unloadMode);

    // Shows a menu as a pop-up at the mouse position: the view listens to
    // popupRequested. The last menu popped up is kept for tests.
    void PopupMenu(MenuItem& menu);
    MenuItem* lastPopup() const { return lastPopup_; }

    // The view reports a user resize: sets the size and raises Resize once.
    void userResized(int width, int height);

    // Has a result the window shows spoken to a screen reader user where no
    // control that has the focus tells it (the view listens to announced):
    // the text as the window shows it. The last one is kept for tests.
    void announce(std::string text) {
        lastAnnouncement_ = std::move(text);
        announced.emit(lastAnnouncement_);
    }
    const std::string& lastAnnouncement() const { return lastAnnouncement_; }

    Event<> Load;
    Event<int&, int> QueryUnload;  // (Cancel, UnloadMode)
    Event<int&> Unload;            // (Cancel)
    Event<> Resize;
    Event<> Activate;
    Event<int&, int> KeyDown;             // (KeyCode, Shift)
    Event<int&> KeyPress;                 // (KeyAscii)
    Event<int, int, float, float> MouseMove;  // (Button, Shift, X, Y)

    Signal<MenuItem&> popupRequested;
    Signal<std::string_view> announced;
    // A control was registered after the view was built.
    Signal<Control&> controlAdded;

private:
    std::string lastAnnouncement_;
    static std::string key(std::string_view name, int index);

    std::map<std::string, Control*> byName_;
    std::map<std::string, MenuItem*> menus_;
    std::vector<Control*> order_;
    MessageLoop* loop_ = nullptr;

    std::string caption_;
    int icon_ = 0;
    std::string iconKey_;
    int windowState_ = 0;
    bool onTop_ = false;
    bool keyPreview_ = false;
    MenuItem* lastPopup_ = nullptr;
    int lastWidth_ = 0, lastHeight_ = 0;
    bool resizing_ = false;
};

}  // namespace tarvolin
