#include "toolkit/controls.h"

#include <algorithm>

#include "toolkit/message_loop.h"
#include "toolkit/runtime.h"

namespace tarvolin {

// ---------------------------------------------------------------------------
// Case folding and patterns

namespace {

char32_t foldCodePoint(char32_t c) {
    if (c >= 'A' && c <= 'Z') return c + 32;
    if (c < 0x80) return c;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;  // Latin-1 capitals
    switch (c) {
        case 0x386: return 0x3AC;  // Ά
        case 0x388: return 0x3AD;  // Έ
        case 0x389: return 0x3AE;  // Ή
        case 0x38A: return 0x3AF;  // Ί
        case 0x38C: return 0x3CC;  // Ό
        case 0x38E: return 0x3CD;  // Ύ
        case 0x38F: return 0x3CE;  // Ώ
        case 0x3C2: return 0x3C3;  // final sigma
        default: break;
    }
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 0x20;  // Α..Ω, Ϊ, Ϋ
    return c;
}

}  // namespace

std::string foldCase(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    std::size_t i = 0;
    const std::size_t n = s.size();
    while (i < n) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            out.push_back(b >= 'A' && b <= 'Z' ? static_cast<char>(b + 32) : static_cast<char>(b));
            ++i;
            continue;
        }
        // Two-byte sequences cover Latin-1 and Greek; anything else is copied.
        if ((b & 0xE0) == 0xC0 && i + 1 < n && (static_cast<unsigned char>(s[i + 1]) & 0xC0) == 0x80) {
            char32_t c = (static_cast<char32_t>(b & 0x1F) << 6) |
                         (static_cast<unsigned char>(s[i + 1]) & 0x3F);
            appendUtf8(out, foldCodePoint(c));
            i += 2;
            continue;
        }
        out.push_back(static_cast<char>(b));
        ++i;
    }
    return out;
}

namespace {

// Length in bytes of the UTF-8 character starting at s[i] (1 for stray bytes).
std::size_t charLen(std::string_view s, std::size_t i) {
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t len = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 1;
    if (i + len > s.size()) len = 1;
    return len;
}

// Wildcard match on folded texts; '?' stands for one character.
bool wildMatch(std::string_view p, std::string_view s) {
    std::size_t pi = 0, si = 0;
    std::size_t starP = std::string_view::npos, starS = 0;
    while (si < s.size()) {
        if (pi < p.size() && p[pi] == '*') {
            starP = ++pi;
            starS = si;
            continue;
        }
        if (pi < p.size() && p[pi] == '?') {
            ++pi;
            si += charLen(s, si);
            continue;
        }
        if (pi < p.size()) {
            const std::size_t pl = charLen(p, pi);
            if (s.compare(si, pl, p.substr(pi, pl)) == 0) {
                pi += pl;
                si += pl;
                continue;
            }
        }
        if (starP == std::string_view::npos) return false;
        pi = starP;
        starS += charLen(s, starS);
        si = starS;
    }
    while (pi < p.size() && p[pi] == '*') ++pi;
    return pi == p.size();
}

}  // namespace

bool matchesPattern(std::string_view pattern, std::string_view name) {
    if (pattern == "*.*" || pattern == "*") return true;
    return wildMatch(foldCase(pattern), foldCase(name));
}

// ---------------------------------------------------------------------------
// TextBox

const std::string& TextBox::Text() const {
    if (!joinedValid_) {
        std::string all;
        all.reserve(length_);
        for (const auto& p : pieces_) all += p;
        pieces_.clear();
        joined_ = std::move(all);
        joinedValid_ = true;
    }
    return joined_;
}

void TextBox::setText(std::string t) {
    if (t.size() == length_ && t == Text()) return;
    pieces_.clear();
    length_ = t.size();
    joined_ = std::move(t);
    joinedValid_ = true;
    changed.emit(Property::Text);
    Change.raise();
}

void TextBox::prepend(std::string_view s) {
    if (s.empty()) return;
    if (joinedValid_) {
        // Keep the joined text as the tail piece.
        if (!joined_.empty()) pieces_.push_back(std::move(joined_));
        joined_.clear();
        joinedValid_ = false;
    }
    pieces_.emplace_front(s);
    length_ += s.size();
    prepended.emit(s);
    Change.raise();
}

void TextBox::prependLine(std::string_view line, std::string_view separator) {
    std::string piece;
    piece.reserve(line.size() + separator.size());
    piece.append(line);
    piece.append(separator);
    prepend(piece);
}

// ---------------------------------------------------------------------------
// CheckBox, OptionButton

bool CheckBox::setValue(int v) {
    if (v < 0 || v > 2) return false;
    if (v == value_) return true;
    value_ = v;
    changed.emit(Property::Value);
    Click.raise();
    return true;
}

void OptionButton::setValue(bool v) {
    if (v == value_) return;
    value_ = v;
    changed.emit(Property::Value);
    if (!v) return;
    if (Form* f = parentForm()) {
        const std::string& g = groupKey();
        for (Control* c : f->controls()) {
            auto* o = dynamic_cast<OptionButton*>(c);
            if (o && o != this && o->value_ && o->groupKey() == g) {
                o->value_ = false;
                o->changed.emit(Property::Value);
            }
        }
    }
    Click.raise();
}

// ---------------------------------------------------------------------------
// ComboBox

bool ComboBox::setText(std::string t) {
    if (t == text_) return true;
    if (style_ == 2) {
        int i = findStringExact(t, -1);
        if (i < 0) return false;
        t = List(i);
        if (t == text_) return true;
    }
    text_ = std::move(t);
    changed.emit(Property::Text);
    Change.raise();
    return true;
}

void ComboBox::listIndexSet() {
    const int i = ListIndex();
    std::string t = i >= 0 ? List(i) : std::string();
    if (t != text_) {
        text_ = std::move(t);
        changed.emit(Property::Text);
    }
    Click.raise();
}

// ---------------------------------------------------------------------------
// Slider, ScrollBar

void Slider::setMin(int m) {
    min_ = m;
    if (max_ < min_) max_ = min_;
    changed.emit(Property::Range);
    setValue(value_);
}

void Slider::setMax(int m) {
    max_ = m;
    if (min_ > max_) min_ = max_;
    changed.emit(Property::Range);
    setValue(value_);
}

void Slider::setValue(int v) {
    v = std::clamp(v, min_, max_);
    if (v == value_) return;
    value_ = v;
    changed.emit(Property::Value);
}

int ScrollBar::clamp(int v) const {
    return std::clamp(v, std::min(min_, max_), std::max(min_, max_));
}

void ScrollBar::setMin(int m) {
    min_ = m;
    changed.emit(Property::Range);
    setValue(value_);
}

void ScrollBar::setMax(int m) {
    max_ = m;
    changed.emit(Property::Range);
    setValue(value_);
}

void ScrollBar::setValue(int v) {
    v = clamp(v);
    if (v == value_) return;
    value_ = v;
    changed.emit(Property::Value);
    Change.raise();
}

void ScrollBar::userScroll(int v) {
    v = clamp(v);
    if (v != value_) {
        value_ = v;
        changed.emit(Property::Value);
    }
    Scroll.raise();
}

// ---------------------------------------------------------------------------
// Timer

Timer::Timer() {
    // A timer is enabled by default, as the original; it runs once it has a
    // loop and an interval.
}

Timer::~Timer() {
    if (armed_ && loop_) loop_->disarmTimer(this);
}

void Timer::rearm() {
    if (!loop_) {
        armed_ = false;
        return;
    }
    if (Enabled() && interval_ > 0) {
        loop_->armTimer(this, interval_);
        armed_ = true;
    } else if (armed_) {
        loop_->disarmTimer(this);
        armed_ = false;
    }
}

void Timer::setInterval(int ms) {
    if (ms < 0) ms = 0;
    interval_ = ms;
    rearm();
}

void Timer::setEnabled(bool e) {
    Control::setEnabled(e);
    rearm();
}

void Timer::setLoop(MessageLoop* loop) {
    if (loop == loop_) return;
    if (armed_ && loop_) loop_->disarmTimer(this);
    armed_ = false;
    loop_ = loop;
    rearm();
}

// ---------------------------------------------------------------------------
// MultiPage

bool MultiPage::setValue(int page) {
    if (page < 0 || page >= PageCount()) return false;
    if (page == value_) return true;
    value_ = page;
    changed.emit(Property::Value);
    Change.raise();
    return true;
}

}  // namespace tarvolin
