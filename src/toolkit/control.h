#pragma once
// Base of every control of the toolkit model.
//
// A control has its name in the program and, as a member of a
// control array, its index (-1 for a single control). Geometry is in twips
// (15 per pixel). Setting a property a view shows notifies `changed` with
// that property so that the view can redraw; behaviour events (Click,
// Change, ...) are declared by each control type.
#include <string>

#include "toolkit/event.h"

namespace tarvolin {

class Form;

// The properties whose change `Control::changed` tells a view. Properties a
// view reads only when it makes the widget (a text box's MultiLine) or shows
// through other means (a file list's Path, through its items) have none.
enum class Property {
    // Every control
    Visible, Enabled, Geometry, ToolTipText,
    // Looks
    Caption, BackColor, ForeColor, BorderStyle, Appearance, SpecialEffect, FontBold, Alignment, Picture,
    Stretch, Paint, Style,
    // A label standing for one of a row of choices: the one highlighted;
    // and the caption of the label that describes it
    Marked, DescribedBy,
    // Buttons, text boxes
    Default, Cancel, Text, SelStart, SelLength, Locked, MaxLength,
    // Lists
    ListIndex, MultiSelect, TopIndex, HorizontalExtent, Drive,
    // Values and ranges: Range is Min and Max, Steps SmallChange and LargeChange
    Value, Range, Steps, TickFrequency, Pages,
    // Shapes
    Shape, FillColor, FillStyle, BorderColor, BorderWidth,
    // Menu items and forms
    Checked, Icon, WindowState, OnTop,
    // The media player
    PlayState, URL, UiMode, Volume, Mute,
};

class Control {
public:
    Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    // Identity
    const std::string& Name() const { return name_; }
    int Index() const { return index_; }
    // Object name of the widget: the name, or name + "_" + index for a
    // member of a control array ("Command18_0", "List3_0_1").
    std::string objectName() const {
        return index_ < 0 ? name_ : name_ + "_" + std::to_string(index_);
    }
    Form* parentForm() const { return form_; }
    void setIdentity(Form* form, std::string name, int index = -1) {
        form_ = form;
        name_ = std::move(name);
        index_ = index;
    }
    virtual const char* typeName() const = 0;

    // Common properties
    bool Visible() const { return visible_; }
    virtual void setVisible(bool v) { if (visible_ != v) { visible_ = v; changed.emit(Property::Visible); } }
    bool Enabled() const { return enabled_; }
    virtual void setEnabled(bool e) { if (enabled_ != e) { enabled_ = e; changed.emit(Property::Enabled); } }

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void setLeft(int v) { if (left_ != v) { left_ = v; changed.emit(Property::Geometry); } }
    void setTop(int v) { if (top_ != v) { top_ = v; changed.emit(Property::Geometry); } }
    void setWidth(int v) { if (width_ != v) { width_ = v; changed.emit(Property::Geometry); } }
    void setHeight(int v) { if (height_ != v) { height_ = v; changed.emit(Property::Geometry); } }
    void move(int left, int top, int width, int height) {
        left_ = left; top_ = top; width_ = width; height_ = height;
        changed.emit(Property::Geometry);
    }

    const std::string& ToolTipText() const { return toolTip_; }
    void setToolTipText(std::string t) { toolTip_ = std::move(t); changed.emit(Property::ToolTipText); }
    std::string Tag;

    // Name of the container the control lies in ("" = the form itself), for
    // layout by the front end (a frame or a page of a multipage).
    std::string Container;

    // What assistive technology calls a control that shows no caption:
    // AccessibleName where the design gives one, else its tool tip, else the
    // caption of LabelledBy, the label drawn beside it. Design data only.
    std::string AccessibleName;
    Control* LabelledBy = nullptr;
    // A label whose caption says more of the control (the counts beside a
    // class's name): its accessible description. Design data only.
    Control* DescribedBy = nullptr;
    // False leaves the control out of the Tab key's round.
    bool TabStop = true;

    Signal<Property> changed;

private:
    Form* form_ = nullptr;
    std::string name_;
    int index_ = -1;
    bool visible_ = true;
    bool enabled_ = true;
    int left_ = 0, top_ = 0, width_ = 1215, height_ = 375;
    std::string toolTip_;
};

}  // namespace tarvolin
