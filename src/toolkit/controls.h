#pragma once
// The controls of the window toolkit, as a headless model.
//
// Every property Foo has Foo() and setFoo(v); setters of what the view shows
// notify `changed` with Property::Foo (Range for Min and Max, Steps for
// SmallChange and LargeChange). Behaviour events (Event<...>, one handler
// wired by Program) are raised by code exactly where the original toolkit
// raises them, as listed per control below; everything else a user does is
// turned into the same events by the view (gui/), never by the model itself.
//
// Headers: form.h (Form, MenuItem), control_array.h (ControlArray<T>),
// message_loop.h (MessageLoop), dialogs.h (Dialogs).
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "toolkit/control.h"
#include "toolkit/control_array.h"
#include "toolkit/event.h"
#include "toolkit/form.h"

namespace tarvolin {

class MessageLoop;

// Folds text for comparisons without regard to case: ASCII and Latin-1
// capitals, Greek capitals (accented ones included) to small letters, and
// final sigma to sigma. Other text is kept as it is.
std::string foldCase(std::string_view s);

// A "*.mp3"-style pattern (with * and ?) matched against a name without
// regard to case. "*.*" matches every name, with or without a dot.
bool matchesPattern(std::string_view pattern, std::string_view name);

// ---------------------------------------------------------------------------
// Label. Events: Click, DblClick (view only).
class Label : public Control {
public:
    const char* typeName() const override { return "Label"; }
    const std::string& Caption() const { return caption_; }
    void setCaption(std::string c) { if (c != caption_) { caption_ = std::move(c); changed.emit(Property::Caption); } }
    // Colours as the original gives them: BGR numbers, or system colours
    // &H800000xx (the view maps those to palette roles).
    std::int64_t BackColor() const { return backColor_; }
    void setBackColor(std::int64_t c) { if (c != backColor_) { backColor_ = c; changed.emit(Property::BackColor); } }
    std::int64_t ForeColor() const { return foreColor_; }
    void setForeColor(std::int64_t c) { if (c != foreColor_) { foreColor_ = c; changed.emit(Property::ForeColor); } }
    int BorderStyle() const { return borderStyle_; }
    void setBorderStyle(int b) { if (b != borderStyle_) { borderStyle_ = b; changed.emit(Property::BorderStyle); } }
    int Appearance() const { return appearance_; }
    void setAppearance(int a) { if (a != appearance_) { appearance_ = a; changed.emit(Property::Appearance); } }
    // Resource key or file path of a picture shown in the label ("" none).
    const std::string& Picture() const { return picture_; }
    void setPicture(std::string p) { if (p != picture_) { picture_ = std::move(p); changed.emit(Property::Picture); } }
    int SpecialEffect() const { return specialEffect_; }
    void setSpecialEffect(int s) { if (s != specialEffect_) { specialEffect_ = s; changed.emit(Property::SpecialEffect); } }
    bool FontBold() const { return fontBold_; }
    void setFontBold(bool b) { if (b != fontBold_) { fontBold_ = b; changed.emit(Property::FontBold); } }
    int Alignment() const { return alignment_; }
    // A label that stands for one of a row of choices (a class) is Markable;
    // Marked while it is the one highlighted (the playing track's class):
    // its checked state for assistive technology.
    bool Markable = false;
    bool Marked() const { return marked_; }
    void setMarked(bool m) { if (m != marked_) { marked_ = m; changed.emit(Property::Marked); } }
    void setAlignment(int a) { if (a != alignment_) { alignment_ = a; changed.emit(Property::Alignment); } }

    Event<> Click;
    Event<> DblClick;

private:
    std::string caption_;
    std::int64_t backColor_ = 0x8000000F;  // button face
    std::int64_t foreColor_ = 0x80000012;  // button text
    int borderStyle_ = 0, appearance_ = 1, specialEffect_ = 0, alignment_ = 0;
    std::string picture_;
    bool fontBold_ = false;
    bool marked_ = false;
};

// ---------------------------------------------------------------------------
// CommandButton. Events: Click (view, or click() from code: the original's
// `Value = True`).
class CommandButton : public Control {
public:
    const char* typeName() const override { return "CommandButton"; }
    const std::string& Caption() const { return caption_; }
    void setCaption(std::string c) { if (c != caption_) { caption_ = std::move(c); changed.emit(Property::Caption); } }
    // Resource key of the button's picture ("play", "pause", "stop"; "" none).
    const std::string& Picture() const { return picture_; }
    void setPicture(std::string p) { if (p != picture_) { picture_ = std::move(p); changed.emit(Property::Picture); } }
    bool FontBold() const { return fontBold_; }
    void setFontBold(bool b) { if (b != fontBold_) { fontBold_ = b; changed.emit(Property::FontBold); } }
    bool Default() const { return default_; }
    void setDefault(bool d) { if (d != default_) { default_ = d; changed.emit(Property::Default); } }
    bool Cancel() const { return cancel_; }
    std::int64_t BackColor() const { return backColor_; }
    void setBackColor(std::int64_t c) { if (c != backColor_) { backColor_ = c; changed.emit(Property::BackColor); } }

    // Presses the button: raises Click when the button is enabled.
    void click() { if (Enabled()) Click.raise(); }

    Event<> Click;

private:
    std::string caption_, picture_;
    bool fontBold_ = false, default_ = false, cancel_ = false;
    std::int64_t backColor_ = 0x8000000F;
};

// ---------------------------------------------------------------------------
// TextBox.
//   setText raises Change whenever the text differs from before (re-entrant:
//   a Change handler may set Text again). Setting the same text raises
//   nothing.
//   prepend/prependLine raise Change (the text always changes).
//   KeyDown(KeyCode, Shift), KeyPress(KeyAscii): view only.
// The text is kept as pieces so that a log box growing at its front by
// thousands of lines is not quadratic: prepending is O(length of the line);
// Text() joins the pieces once and caches the result until the next edit.
// For the view: setText notifies changed(Property::Text); prepending notifies only
// `prepended` with the piece put in front (the view inserts it at the top).
class TextBox : public Control {
public:
    const char* typeName() const override { return "TextBox"; }

    const std::string& Text() const;
    void setText(std::string t);
    // Puts s in front of the text.
    void prepend(std::string_view s);
    // Puts line + separator in front of the text: the log box's
    // Text = line & vbCrLf & Text.
    void prependLine(std::string_view line, std::string_view separator = "\r\n");
    // Length of the text in bytes, without joining the pieces.
    std::size_t byteLength() const { return length_; }

    int SelStart() const { return selStart_; }
    void setSelStart(int s) { selStart_ = s < 0 ? 0 : s; changed.emit(Property::SelStart); }
    int SelLength() const { return selLength_; }
    void setSelLength(int s) { selLength_ = s < 0 ? 0 : s; changed.emit(Property::SelLength); }
    // MultiLine and ScrollBars are design data: the view reads them once,
    // when it makes the widget.
    bool MultiLine() const { return multiLine_; }
    void setMultiLine(bool m) { multiLine_ = m; }
    bool Locked() const { return locked_; }
    void setLocked(bool l) { if (l != locked_) { locked_ = l; changed.emit(Property::Locked); } }
    int ScrollBars() const { return scrollBars_; }
    void setScrollBars(int s) { scrollBars_ = s; }
    int MaxLength() const { return maxLength_; }
    void setMaxLength(int m) { maxLength_ = m; changed.emit(Property::MaxLength); }
    std::int64_t BackColor() const { return backColor_; }
    void setBackColor(std::int64_t c) { if (c != backColor_) { backColor_ = c; changed.emit(Property::BackColor); } }
    std::int64_t ForeColor() const { return foreColor_; }
    void setForeColor(std::int64_t c) { if (c != foreColor_) { foreColor_ = c; changed.emit(Property::ForeColor); } }
    bool FontBold() const { return fontBold_; }
    void setFontBold(bool b) { if (b != fontBold_) { fontBold_ = b; changed.emit(Property::FontBold); } }

    // The user typed: sets the text as setText does (Change when it differs).
    void userEdited(std::string t) { setText(std::move(t)); }

    Event<> Change;
    Event<int&, int> KeyDown;  // (KeyCode, Shift)
    Event<int&> KeyPress;      // (KeyAscii)
    Signal<std::string_view> prepended;

private:
    // Pieces in text order; Text() == concatenation of pieces_.
    mutable std::deque<std::string> pieces_;
    mutable std::string joined_;
    mutable bool joinedValid_ = true;
    std::size_t length_ = 0;
    int selStart_ = 0, selLength_ = 0;
    bool multiLine_ = false, locked_ = false, fontBold_ = false;
    int scrollBars_ = 0, maxLength_ = 0;
    std::int64_t backColor_ = 0x80000005, foreColor_ = 0x80000008;
};

// ---------------------------------------------------------------------------
// CheckBox. setValue(v) with v in 0 (unchecked), 1 (checked), 2 (grayed)
// raises Click when the value changes; the same value raises nothing; other
// values are refused (returns false). The user's click toggles 0/1 through
// userClick().
class CheckBox : public Control {
public:
    const char* typeName() const override { return "CheckBox"; }
    const std::string& Caption() const { return caption_; }
    void setCaption(std::string c) { if (c != caption_) { caption_ = std::move(c); changed.emit(Property::Caption); } }
    int Value() const { return value_; }
    bool setValue(int v);
    void userClick() { if (Enabled()) setValue(value_ == 1 ? 0 : 1); }
    std::int64_t BackColor() const { return backColor_; }
    void setBackColor(std::int64_t c) { if (c != backColor_) { backColor_ = c; changed.emit(Property::BackColor); } }

    Event<> Click;

private:
    std::string caption_;
    int value_ = 0;
    std::int64_t backColor_ = 0x8000000F;
};

// ---------------------------------------------------------------------------
// OptionButton. Exclusive within its group: the explicit group id when one is
// set, else its Container name (the frame or page it lies in; "" = the form).
// Buttons of one group are found through the form's registry.
// setValue(true) on a button that was off clears the others of its group and
// raises Click; setValue(true) on a button already on raises nothing;
// setValue(false) clears it and raises nothing.
class OptionButton : public Control {
public:
    const char* typeName() const override { return "OptionButton"; }
    const std::string& Caption() const { return caption_; }
    void setCaption(std::string c) { if (c != caption_) { caption_ = std::move(c); changed.emit(Property::Caption); } }
    bool Value() const { return value_; }
    void setValue(bool v);
    void userClick() { if (Enabled()) setValue(true); }

    // The explicit group id ("" = group by Container).
    const std::string& group() const { return group_; }
    void setGroup(std::string g) { group_ = std::move(g); }
    const std::string& groupKey() const { return group_.empty() ? Container : group_; }
    std::int64_t BackColor() const { return backColor_; }
    void setBackColor(std::int64_t c) { if (c != backColor_) { backColor_ = c; changed.emit(Property::BackColor); } }

    Event<> Click;

private:
    std::string caption_, group_;
    bool value_ = false;
    std::int64_t backColor_ = 0x8000000F;
};

// ---------------------------------------------------------------------------
// Frame. Click: view only.
class Frame : public Control {
public:
    const char* typeName() const override { return "Frame"; }
    const std::string& Caption() const { return caption_; }
    void setCaption(std::string c) { if (c != caption_) { caption_ = std::move(c); changed.emit(Property::Caption); } }
    int BorderStyle() const { return borderStyle_; }
    void setBorderStyle(int b) { if (b != borderStyle_) { borderStyle_ = b; changed.emit(Property::BorderStyle); } }
    std::int64_t BackColor() const { return backColor_; }
    void setBackColor(std::int64_t c) { if (c != backColor_) { backColor_ = c; changed.emit(Property::BackColor); } }
    Event<> Click;

private:
    std::string caption_;
    int borderStyle_ = 1;
    std::int64_t backColor_ = 0x8000000F;
};

// ---------------------------------------------------------------------------
// Items of a list (ListBox, ComboBox, and the file, folder and drive lists).
//
// Up to MaxItems (32766) items; AddItem beyond that fails (returns false).
// List(i) out of range gives "". setList(i, text) with i == ListCount
// appends. ListIndex -1 = none. Selected(i) is the multi-selection, separate
// from ListIndex; without MultiSelect, Selected(i) is (i == ListIndex).
//
// Searches (the original's find messages): findString = prefix,
// findStringExact = whole text, both without regard to case (foldCase),
// starting AFTER `start` and wrapping round to it; start -1 searches the
// whole list from item 0; -1 when nothing matches. The exact find uses a
// hash index of the folded items, built on the first find and kept up to date
// by AddItem, setList and RemoveItem (so a find-and-remove loop stays fast);
// Clear, and an insert between rows with no id room left, drop it until the
// next find.
//
// View notifications (no copy of the list: a view reads List(i)):
// rowsInserted(first, count), rowsRemoved(first, count), rowChanged(i),
// reset(), selectionChanged(i) (-1 = several rows). While the control is not
// Visible no row notification is sent; showing it again after edits sends one
// reset(). Clear and the file lists' refreshes send a single reset() (also
// held back until the control is shown).
class ListControl : public Control {
public:
    static constexpr int MaxItems = 32766;
    // The most items AddItem accepts (MaxItems unless raised at design
    // time, for a table with heading lines above its 32766 tracks).
    int ItemLimit() const { return itemLimit_; }
    void setItemLimit(int n) { itemLimit_ = n > 0 ? n : MaxItems; }
    // Design data: each row shows, and tells assistive technology, whether
    // it is chosen (selected) as a check mark: a list of choices.
    bool ChoicesChecked = false;

    int ListCount() const { return static_cast<int>(items_.size()); }
    const std::string& List(int i) const;
    // Inserts at index (-1: at the end, or in order when Sorted). False when
    // the list is full or index is outside -1..ListCount.
    bool AddItem(std::string text, int index = -1);
    // Makes room for n items in all (no more than ItemLimit) before a long
    // run of AddItem; changes nothing that can be seen.
    void reserve(int n);
    bool setList(int i, std::string text);
    bool RemoveItem(int i);
    void Clear();

    int ListIndex() const { return listIndex_; }
    // See ListBox / ComboBox for the events this raises. Returns false (and
    // changes nothing) for an index outside -1..ListCount-1 (a folder list:
    // FirstRow()..ListCount-1).
    virtual bool setListIndex(int i);
    // The index of the first row the list shows: 0, except in a folder list,
    // whose parent folders stand above its items at negative indexes.
    virtual int FirstRow() const { return 0; }

    bool MultiSelect() const { return multiSelect_ != 0; }
    int MultiSelectMode() const { return multiSelect_; }
    // 0 none, 1 simple, 2 extended (set at design time).
    void setMultiSelect(int mode);
    bool Selected(int i) const;
    // Selects or clears item i. With MultiSelect a change raises the list's
    // Click (setting the value it already has raises nothing); ListIndex does
    // not move. Without MultiSelect, selecting is setListIndex(i) (Click),
    // clearing the current item sets ListIndex to -1 (no event).
    bool setSelected(int i, bool s);
    int SelCount() const;
    // Every row's selection at once (1 selected, 0 not), for
    // setSelectionFlags.
    std::vector<unsigned char> selectionFlags() const;
    // Sets the selection of the first rows at once: row i ends selected
    // exactly when flags[i] is 1; rows past the flags keep theirs. With
    // MultiSelect a change raises one notification and one Click, however
    // many rows changed, and ListIndex does not move; without it this is
    // setSelected row by row.
    void setSelectionFlags(const std::vector<unsigned char>& flags);

    int TopIndex() const { return topIndex_; }
    void setTopIndex(int t);
    // Sorted lists keep AddItem's items in order without regard to case.
    bool Sorted() const { return sorted_; }
    void setSorted(bool s) { sorted_ = s; }
    // Width in pixels of the scrollable area (horizontal scroll bar).
    int HorizontalExtent() const { return horizontalExtent_; }
    void setHorizontalExtent(int px) { if (px != horizontalExtent_) { horizontalExtent_ = px; changed.emit(Property::HorizontalExtent); } }
    bool FontBold() const { return fontBold_; }
    void setFontBold(bool b) { if (b != fontBold_) { fontBold_ = b; changed.emit(Property::FontBold); } }
    std::int64_t BackColor() const { return backColor_; }
    void setBackColor(std::int64_t c) { if (c != backColor_) { backColor_ = c; changed.emit(Property::BackColor); } }

    int findString(std::string_view text, int start = -1) const;
    int findStringExact(std::string_view text, int start = -1) const;

    void setVisible(bool v) override;

    // The user clicked row i (view): moves ListIndex, selects as the
    // selection mode does, raises Click.
    void userClick(int i);
    // The user chose a whole selection at once (a row added or taken away
    // with Ctrl, a range with Shift, every row, a row picked by assistive
    // technology): with MultiSelect the selected rows become exactly `rows`;
    // ListIndex moves to `current` (-1 none); Click is raised once.
    void userSelect(const std::vector<int>& rows, int current);

    Signal<int, int> rowsInserted;
    Signal<int, int> rowsRemoved;
    Signal<int> rowChanged;
    Signal<> reset;
    Signal<int> selectionChanged;

protected:
    // Replaces all items (the file lists): one reset, ListIndex -1, no event.
    void replaceItems(std::vector<std::string> items);
    // Called by setListIndex after the index was set (changed or not).
    virtual void listIndexSet() {}
    // Called when setSelected changed a row's selection (MultiSelect).
    virtual void selectedSet() {}
    bool notifying() const { return Visible(); }
    void noteHidden() { pendingReset_ = true; }

private:
    bool selectQuietly(int i, bool s);
    void indexRow(int i) const;
    void unindexRow(int i) const;
    void indexInsert(int index, const std::string& text) const;
    int rowOfId(std::uint64_t id) const;
    void dropIndex() const;
    void buildIndex() const;
    int sortedPosition(const std::string& text) const;

    std::vector<std::string> items_;
    std::vector<unsigned char> selected_;  // used with MultiSelect only
    int listIndex_ = -1;
    int multiSelect_ = 0;
    int topIndex_ = 0;
    bool sorted_ = false;
    int horizontalExtent_ = 0;
    bool fontBold_ = false;
    std::int64_t backColor_ = 0x80000005;
    bool pendingReset_ = false;
    int itemLimit_ = MaxItems;

    // Lazily built search aids: folded items and folded text -> ascending
    // item indexes.
    mutable bool indexValid_ = false;
    mutable std::vector<std::string> folded_;
    mutable std::vector<std::uint64_t> rowIds_;
    mutable std::unordered_map<std::string, std::vector<std::uint64_t>> exact_;
};

// ListBox. setListIndex(i) raises Click on every valid set (also when i is
// already the current item, and for -1); with MultiSelect, setSelected(i, s)
// raises Click when the row's selection changes. RemoveItem and Clear raise
// nothing. Click, DblClick and MouseDown(Button, Shift, X, Y) are also raised
// by the view on user action.
class ListBox : public ListControl {
public:
    const char* typeName() const override { return "ListBox"; }
    Event<> Click;
    Event<> DblClick;
    Event<int, int, float, float> MouseDown;  // (Button, Shift, X, Y)

protected:
    void listIndexSet() override { Click.raise(); }
    void selectedSet() override { Click.raise(); }
};

// ComboBox. setListIndex(i) sets Text to the item (no Change) and raises
// Click on every valid set. setText raises Change when the text differs; with
// Style 2 (drop-down list) only an item's text may be set (else false).
// Style: 0 drop-down combo, 1 simple, 2 drop-down list.
class ComboBox : public ListControl {
public:
    const char* typeName() const override { return "ComboBox"; }
    const std::string& Text() const { return text_; }
    bool setText(std::string t);
    int Style() const { return style_; }
    void setStyle(int s) { style_ = s; changed.emit(Property::Style); }
    // The user typed in the edit part.
    void userEdited(std::string t) { setText(std::move(t)); }

    Event<> Click;
    Event<> Change;
    Event<> DblClick;
    Event<int&, int> KeyDown;

protected:
    void listIndexSet() override;

private:
    std::string text_;
    int style_ = 0;
};

// ---------------------------------------------------------------------------
// PictureBox: a picture (resource key, file path or in-memory image id) and
// what was painted on it. Cls clears the painted pictures; PaintPicture
// records a stretched drawing (pixels with ScaleMode 3); a new Picture (also
// none) replaces what was painted over the old one. Click: view only.
class PictureBox : public Control {
public:
    struct Painting {
        std::string picture;
        int x = 0, y = 0, width = 0, height = 0;
    };
    const char* typeName() const override { return "PictureBox"; }
    const std::string& Picture() const { return picture_; }
    void setPicture(std::string p) {
        picture_ = std::move(p);
        changed.emit(Property::Picture);
        if (!paintings_.empty()) Cls();
    }
    void Cls() { paintings_.clear(); changed.emit(Property::Paint); }
    void PaintPicture(std::string picture, int x, int y, int width, int height) {
        paintings_.push_back({std::move(picture), x, y, width, height});
        changed.emit(Property::Paint);
    }
    const std::vector<Painting>& paintings() const { return paintings_; }
    int ScaleMode() const { return scaleMode_; }
    void setScaleMode(int m) { scaleMode_ = m; }
    bool AutoRedraw() const { return autoRedraw_; }
    void setAutoRedraw(bool a) { autoRedraw_ = a; }
    int BorderStyle() const { return borderStyle_; }
    void setBorderStyle(int b) { borderStyle_ = b; changed.emit(Property::BorderStyle); }
    std::int64_t BackColor() const { return backColor_; }
    void setBackColor(std::int64_t c) { if (c != backColor_) { backColor_ = c; changed.emit(Property::BackColor); } }
    // Inner size in pixels (15 twips each).
    int ScaleWidth() const { return Width() / 15; }
    int ScaleHeight() const { return Height() / 15; }

    Event<> Click;
    Event<> DblClick;

private:
    std::string picture_;
    std::vector<Painting> paintings_;
    int scaleMode_ = 1, borderStyle_ = 1;
    bool autoRedraw_ = false;
    std::int64_t backColor_ = 0x8000000F;
};

// Image: a picture, optionally stretched. Click: view only.
class Image : public Control {
public:
    const char* typeName() const override { return "Image"; }
    const std::string& Picture() const { return picture_; }
    void setPicture(std::string p) { picture_ = std::move(p); changed.emit(Property::Picture); }
    bool Stretch() const { return stretch_; }
    void setStretch(bool s) { stretch_ = s; changed.emit(Property::Stretch); }
    Event<> Click;
    Event<> DblClick;

private:
    std::string picture_;
    bool stretch_ = false;
};

// Shape: a drawn rectangle or line-like bar; no events.
class Shape : public Control {
public:
    const char* typeName() const override { return "Shape"; }
    int ShapeKind() const { return shape_; }  // 0 rectangle ... (the original's Shape)
    std::int64_t FillColor() const { return fillColor_; }
    void setFillColor(std::int64_t c) { fillColor_ = c; changed.emit(Property::FillColor); }
    int FillStyle() const { return fillStyle_; }
    void setFillStyle(int f) { fillStyle_ = f; changed.emit(Property::FillStyle); }
    std::int64_t BorderColor() const { return borderColor_; }
    void setBorderColor(std::int64_t c) { borderColor_ = c; changed.emit(Property::BorderColor); }
    int BorderWidth() const { return borderWidth_; }
    std::int64_t BackColor() const { return backColor_; }
    void setBackColor(std::int64_t c) { backColor_ = c; changed.emit(Property::BackColor); }

private:
    int shape_ = 0, fillStyle_ = 1, borderWidth_ = 1;
    std::int64_t fillColor_ = 0, borderColor_ = 0x80000008, backColor_ = 0x80000005;
};

// ---------------------------------------------------------------------------
// Slider (the common controls' track bar). setValue clamps to Min..Max
// (0..Max by default) and raises nothing; Scroll is raised only when the
// user drags (userScroll).
class Slider : public Control {
public:
    const char* typeName() const override { return "Slider"; }
    int Min() const { return min_; }
    void setMin(int m);
    int Max() const { return max_; }
    void setMax(int m);
    int Value() const { return value_; }
    void setValue(int v);
    int TickFrequency() const { return tickFrequency_; }
    void setTickFrequency(int t) { tickFrequency_ = t; changed.emit(Property::TickFrequency); }
    int SmallChange() const { return smallChange_; }
    void setSmallChange(int s) { if (s != smallChange_) { smallChange_ = s; changed.emit(Property::Steps); } }
    int LargeChange() const { return largeChange_; }
    void setLargeChange(int l) { if (l != largeChange_) { largeChange_ = l; changed.emit(Property::Steps); } }
    // The user moved the thumb: sets Value (clamped) and raises Scroll.
    void userScroll(int v) {
        setValue(v);
        Scroll.raise();
    }

    Event<> Scroll;

private:
    int min_ = 0, max_ = 10, value_ = 0;
    int tickFrequency_ = 1, smallChange_ = 1, largeChange_ = 5;
};

// ScrollBar (HScrollBar, VScrollBar). setValue clamps to the range between
// Min and Max (Min may exceed Max) and raises Change when the value changes.
// Scroll is raised only while the user drags (userScroll), Change when the
// user lets go or steps (userChange).
class ScrollBar : public Control {
public:
    int Min() const { return min_; }
    void setMin(int m);
    int Max() const { return max_; }
    void setMax(int m);
    int Value() const { return value_; }
    void setValue(int v);
    int SmallChange() const { return smallChange_; }
    void setSmallChange(int s) { if (s != smallChange_) { smallChange_ = s; changed.emit(Property::Steps); } }
    int LargeChange() const { return largeChange_; }
    void setLargeChange(int l) { if (l != largeChange_) { largeChange_ = l; changed.emit(Property::Steps); } }
    void userScroll(int v);
    void userChange(int v) { setValue(v); }

    // Design data: assistive technology is told the value as a percentage
    // of the range, as the bar's thumb shows it (the volume bars).
    bool ValueInPercent = false;

    Event<> Change;
    Event<> Scroll;

private:
    int clamp(int v) const;
    int min_ = 0, max_ = 32767, value_ = 0;
    int smallChange_ = 1, largeChange_ = 1;
};

class HScrollBar : public ScrollBar {
public:
    const char* typeName() const override { return "HScrollBar"; }
};

class VScrollBar : public ScrollBar {
public:
    const char* typeName() const override { return "VScrollBar"; }
};

// ---------------------------------------------------------------------------
// Timer. Raises TimerEvent every Interval ms while Enabled (Enabled is the
// Control's). Needs the MessageLoop: set by the form (Form::setLoop) or
// directly with setLoop. setInterval and setEnabled(true) re-arm it, the
// interval counting from now; setEnabled(false) or Interval 0 disarm it.
// A loop that ends before its timers calls detachLoop() on them.
class Timer : public Control {
public:
    Timer();
    ~Timer() override;
    const char* typeName() const override { return "Timer"; }

    int Interval() const { return interval_; }
    void setInterval(int ms);
    void setEnabled(bool e) override;
    void setLoop(MessageLoop* loop);
    MessageLoop* loop() const { return loop_; }
    // True while the timer is registered with its loop.
    bool armed() const { return armed_; }
    // The loop is going away: forget it without calling it.
    void detachLoop() {
        loop_ = nullptr;
        armed_ = false;
    }

    // Called by the loop when the interval has passed.
    void fire() {
        if (Enabled() && interval_ > 0) TimerEvent.raise();
    }

    Event<> TimerEvent;

private:
    void rearm();
    MessageLoop* loop_ = nullptr;
    int interval_ = 0;
    bool armed_ = false;
};

// ---------------------------------------------------------------------------
// MultiPage: pages with captions. setValue(page) raises Change when the page
// changes (same page: nothing; out of range: refused). Click(page) and
// GotFocus: view only.
class MultiPage : public Control {
public:
    struct Page {
        std::string Caption;
        bool Visible = true;
        bool Enabled = true;
        std::string ToolTipText;
    };
    const char* typeName() const override { return "MultiPage"; }
    int addPage(std::string caption) {
        pages_.push_back({std::move(caption), true, true, {}});
        changed.emit(Property::Pages);
        return static_cast<int>(pages_.size()) - 1;
    }
    int PageCount() const { return static_cast<int>(pages_.size()); }
    const Page& page(int i) const { return pages_.at(static_cast<std::size_t>(i)); }
    void setPageToolTip(int i, std::string t) { pages_.at(static_cast<std::size_t>(i)).ToolTipText = std::move(t); changed.emit(Property::Pages); }

    int Value() const { return value_; }
    bool setValue(int page);

    Event<> Change;
    Event<int> Click;  // (page)
    Event<> GotFocus;

private:
    std::vector<Page> pages_;
    int value_ = 0;
};

// ---------------------------------------------------------------------------
// Drive, folder and file lists over the real file system. Paths use "/"; a
// folder path has no trailing "/" except the root "/".

// DriveListBox: "/" and the mounted volumes (block-device mounts, and
// anything mounted under /media, /mnt or /run/media), as List(i).
// setDrive(d) with d one of the listed drives (a trailing "/" is ignored)
// raises Change when the drive differs; the same drive raises nothing; a
// drive not present fails: returns false, the drive stays as it was.
// The initial drive is "/".
class DriveListBox : public ListControl {
public:
    DriveListBox();
    const char* typeName() const override { return "DriveListBox"; }
    const std::string& Drive() const { return drive_; }
    bool setDrive(std::string d);
    // Reads the mount table again.
    void Refresh();
    // The file read for the mount table (tests); default /proc/self/mounts.
    void setMountTable(std::string path) { mountTable_ = std::move(path); Refresh(); }
    // The drives a mount table's text lists, "/" first, then sorted.
    static std::vector<std::string> drivesFromMounts(std::string_view mountsText);

    Event<> Change;

private:
    using ListControl::AddItem;
    using ListControl::setList;
    using ListControl::RemoveItem;
    using ListControl::Clear;
    std::string drive_ = "/";
    std::string mountTable_ = "/proc/self/mounts";
};

// DirListBox: Path is a folder; List(i), 0..ListCount-1, are the full paths
// of its subfolders, sorted without regard to case, names beginning with "."
// left out; List(-1) is Path itself, List(-2) its parent, and so on up to the
// root. A folder that cannot be read lists nothing (no error).
// setPath(p) on an existing folder raises Change when the path differs (the
// same path raises nothing, but the list is read again); a path that is not an
// existing folder fails: returns false and Path stays as it was.
// The initial path is the current working folder.
// The list shows the root first, then each folder down to Path, then Path's
// subfolders: its rows run from FirstRow() (the root) through -1 (Path) to
// ListCount-1. ListIndex is -1 after every listing; setListIndex (and a
// user's click) accepts any row and raises nothing: a folder is opened by
// setPath.
class DirListBox : public ListControl {
public:
    DirListBox();
    const char* typeName() const override { return "DirListBox"; }
    const std::string& Path() const { return path_; }
    bool setPath(std::string p);
    const std::string& List(int i) const;
    int FirstRow() const override { return -static_cast<int>(parents_.size()); }
    void Refresh();

    Event<> Change;

private:
    using ListControl::AddItem;
    using ListControl::setList;
    using ListControl::RemoveItem;
    using ListControl::Clear;
    std::string path_;
    std::vector<std::string> parents_;  // Path, its parent, ... up to "/"
};

// FileListBox: the files of Path whose names match Pattern (";"-separated
// patterns such as "*.mp3;*.MP4", matched without regard to case), sorted
// without regard to case; names beginning with "." are not listed. List(i)
// is the name only. Multi-selection through Selected(i).
// setPath(p) on an existing folder lists it again and raises PathChange when
// the path differs; a path that is not an existing folder fails (false, the
// old path and list stay). setPattern lists again and raises PatternChange
// when the pattern differs. setListIndex raises Click on every valid set,
// setSelected (MultiSelect) when the row's selection changes, as a ListBox.
// Listing again clears the selection and sets ListIndex to -1 (no event).
// The initial path is the current working folder, the pattern "*.*".
class FileListBox : public ListControl {
public:
    FileListBox();
    const char* typeName() const override { return "FileListBox"; }
    const std::string& Path() const { return path_; }
    bool setPath(std::string p);
    const std::string& Pattern() const { return pattern_; }
    void setPattern(std::string p);
    void Refresh();

    Event<> PathChange;
    Event<> PatternChange;
    Event<> Click;
    Event<> DblClick;

protected:
    void listIndexSet() override { Click.raise(); }
    void selectedSet() override { Click.raise(); }

private:
    using ListControl::AddItem;
    using ListControl::setList;
    using ListControl::RemoveItem;
    using ListControl::Clear;
    std::string path_;
    std::string pattern_ = "*.*";
};

// Normalises a folder path as the folder lists keep it: absolute (a relative
// path is taken from the current folder), "." and ".." resolved, repeated "/"
// collapsed, no trailing "/" except the root; "\" is an ordinary character.
std::string normaliseFolderPath(std::string_view p);

}  // namespace tarvolin
