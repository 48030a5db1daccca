#include "toolkit/form.h"

#include <algorithm>
#include <cctype>

#include "toolkit/controls.h"

namespace tarvolin {

// ---------------------------------------------------------------------------
// MenuItem

void MenuItem::setCaption(std::string c) {
    if (c == caption_) return;
    caption_ = std::move(c);
    changed.emit(Property::Caption);
}

void MenuItem::setChecked(bool c) {
    if (c == checked_) return;
    checked_ = c;
    changed.emit(Property::Checked);
}

void MenuItem::addChild(MenuItem& child) {
    if (child.parent_ == this) return;
    if (child.parent_) {
        auto& sib = child.parent_->children_;
        sib.erase(std::remove(sib.begin(), sib.end(), &child), sib.end());
        child.parent_->childrenChanged.emit();
    }
    child.parent_ = this;
    children_.push_back(&child);
    childrenChanged.emit();
}

// ---------------------------------------------------------------------------
// Form

Form::Form() {
    Control::setVisible(false);
    lastWidth_ = Width();
    lastHeight_ = Height();
    // Width and Height set by code resize the window as the user would.
    changed.listen([this](Property what) {
        if (what != Property::Geometry || resizing_) return;
        if (Width() != lastWidth_ || Height() != lastHeight_) {
            lastWidth_ = Width();
            lastHeight_ = Height();
            Resize.raise();
        }
    });
}

Form::~Form() = default;

std::string Form::key(std::string_view name, int index) {
    std::string k;
    k.reserve(name.size() + 8);
    for (char ch : name) k.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(ch))));
    k.push_back('#');
    k += std::to_string(index);
    return k;
}

void Form::adopt(Control& c, std::string name, int index) {
    // A control moved from another name first leaves its old entry.
    if (c.parentForm() == this && !c.Name().empty()) forget(c);
    c.setIdentity(this, std::move(name), index);
    const std::string k = key(c.Name(), index);
    auto old = byName_.find(k);
    if (old != byName_.end() && old->second != &c) {
        order_.erase(std::remove(order_.begin(), order_.end(), old->second), order_.end());
    }
    byName_[k] = &c;
    if (auto* m = dynamic_cast<MenuItem*>(&c)) menus_[k] = m;
    if (std::find(order_.begin(), order_.end(), &c) == order_.end()) order_.push_back(&c);
    if (auto* t = dynamic_cast<Timer*>(&c)) {
        if (loop_) t->setLoop(loop_);
    }
    controlAdded.emit(c);
}

void Form::forget(Control& c) {
    const std::string k = key(c.Name(), c.Index());
    auto it = byName_.find(k);
    if (it != byName_.end() && it->second == &c) byName_.erase(it);
    auto m = menus_.find(k);
    if (m != menus_.end() && m->second == &c) menus_.erase(m);
    order_.erase(std::remove(order_.begin(), order_.end(), &c), order_.end());
    if (lastPopup_ == &c) lastPopup_ = nullptr;
}

Control* Form::findControl(std::string_view name, int index) const {
    auto it = byName_.find(key(name, index));
    return it == byName_.end() ? nullptr : it->second;
}

MenuItem* Form::findMenu(std::string_view name, int index) const {
    auto it = menus_.find(key(name, index));
    return it == menus_.end() ? nullptr : it->second;
}

std::vector<MenuItem*> Form::menuBar() const {
    std::vector<MenuItem*> top;
    for (Control* c : order_) {
        if (auto* m = dynamic_cast<MenuItem*>(c); m && !m->parentMenu()) top.push_back(m);
    }
    return top;
}

void Form::setLoop(MessageLoop* loop) {
    loop_ = loop;
    for (Control* c : order_) {
        if (auto* t = dynamic_cast<Timer*>(c)) t->setLoop(loop);
    }
}

void Form::setCaption(std::string c) {
    if (c == caption_) return;
    caption_ = std::move(c);
    changed.emit(Property::Caption);
}

void Form::setIcon(int resourceNumber) {
    icon_ = resourceNumber;
    iconKey_ = std::to_string(resourceNumber);
    changed.emit(Property::Icon);
}

void Form::setWindowState(int s) {
    if (s < 0 || s > 2 || s == windowState_) return;
    windowState_ = s;
    changed.emit(Property::WindowState);
    Resize.raise();
}

void Form::setOnTop(bool t) {
    if (t == onTop_) return;
    onTop_ = t;
    changed.emit(Property::OnTop);
}

void Form::Show() {
    if (Visible()) return;
    Control::setVisible(true);
    Activate.raise();
}

void Form::Hide() { Control::setVisible(false); }

void Form::setVisible(bool v) {
    if (v) Show();
    else Hide();
}

bool Form::requestUnload(int unloadMode) {
    int cancel = 0;
    QueryUnload.raise(cancel, unloadMode);
    if (cancel != 0) return false;
    Unload.raise(cancel);
    if (cancel != 0) return false;
    Hide();
    return true;
}

void Form::PopupMenu(MenuItem& menu) {
    lastPopup_ = &menu;
    popupRequested.emit(menu);
}

void Form::userResized(int width, int height) {
    if (width == Width() && height == Height()) return;
    resizing_ = true;
    move(Left(), Top(), width, height);
    resizing_ = false;
    lastWidth_ = width;
    lastHeight_ = height;
    Resize.raise();
}

}  // namespace tarvolin
