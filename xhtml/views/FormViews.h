#pragma once

#include "xhtml/views/BoxView.h"
#include "xhtml/views/NativeControl.h"

namespace xhtml {

// The name and value of a form view, so page code can read and set values without knowing the
// control kind.
class FormElement {
public:
    virtual ~FormElement() = default;
    ZString getName() const;
    virtual ZString getValue() const;
    void setName(const ZString& name);
    virtual void setValue(const ZString& value);

protected:
    // Marks the view as a form element.
    void setView(View* view);
    View* formView() const { return view_; }

private:
    View* view_ = nullptr;
};

// A box that hosts a native control of the frame window, created when the box is first laid
// out and kept over its content box. Tab navigation stops at these views.
class ControlView : public BoxView {
public:
    explicit ControlView(ViewContext* context);
    ~ControlView() override;
    bool isContainer() const override { return false; }
    bool isFocusable() const override { return true; }
    void handleEvent(ViewEvent& event) override;
    bool ownsWindow(const void* window) const override;

    bool hasControl() const { return control_ != nullptr; }
    NativeControl* getControl() const { return control_.get(); }
    // Replaces the control (an owned one's window goes with it) and places the new one.
    void setControl(std::unique_ptr<NativeControl> control);
    // Keeps the control over the content box, in view while the box is; hidden otherwise.
    void positionControl();
    bool isCursorOverControl() const;
    // A mouse record the control saw, at a point relative to the content box, goes to the
    // frame's view tree so hover and clicks stay right over native controls.
    void forwardMouse(Point point, uint32_t flags);

protected:
    // Through the window system's factory; false without one or without a frame window.
    virtual bool createControl();
    // The control's text once it exists, else the value attribute.
    ZString controlValue(const FormElement& element) const;
    void setControlValue(FormElement& element, const ZString& value);

private:
    std::unique_ptr<NativeControl> control_;
};

// A push button drawn by the engine; its caption is its value.
class ButtonView : public BoxView, public FormElement {
public:
    explicit ButtonView(ViewContext* context);
    bool isContainer() const override { return false; }
    bool isFocusable() const override { return true; }
    void layout(Layouter& layouter) override;
    void onLeftButtonDown() override;
    void onLeftButtonUp() override;
    // A new caption is a new name for a screen reader.
    void setValue(const ZString& value) override;
};

// Check box and radio button: a 13 × 13 glyph whose state is the Checked property.
class ToggleView : public BoxView, public FormElement {
public:
    bool isContainer() const override { return false; }
    bool isFocusable() const override { return true; }
    void layout(Layouter& layouter) override;
    bool isChecked() const;
    // Notifies the listener of a change when asked to.
    void setChecked(bool checked, bool notify);

protected:
    ToggleView(ViewContext* context, ViewKind kind);
    virtual void notifyChange() = 0;
};

class CheckView : public ToggleView {
public:
    explicit CheckView(ViewContext* context);
    // A click toggles the box.
    void onLeftButtonUp() override;
    // The state, as "true" or "false".
    ZString getValue() const override;

private:
    void notifyChange() override;
};

class RadioView : public ToggleView {
public:
    explicit RadioView(ViewContext* context);
    // A click selects the radio.
    void onLeftButtonUp() override;
    // Checks every radio of the group (same name) with this radio's value and unchecks the
    // others; nothing when this radio is checked already.
    void select(bool notify);

private:
    void notifyChange() override;
};

// A single-line text input; its content width follows the Size attribute in characters.
class EditView : public ControlView, public FormElement {
public:
    explicit EditView(ViewContext* context);
    void layout(Layouter& layouter) override;
    ZString getValue() const override { return controlValue(*this); }
    void setValue(const ZString& value) override { setControlValue(*this, value); }
};

// A multi-line text input; sized by Rows and Cols when given, else 100 × 50.
class TextAreaView : public ControlView, public FormElement {
public:
    explicit TextAreaView(ViewContext* context);
    void layout(Layouter& layouter) override;
    ZString getValue() const override { return controlValue(*this); }
    void setValue(const ZString& value) override { setControlValue(*this, value); }
    // Off: long lines wrap.
    void setHorizontalScroll(bool on);
    bool hasHorizontalScroll() const { return horizontalScroll_; }

private:
    bool horizontalScroll_ = true;
};

// A placeholder for a control that page code attaches; without one it has no content size.
class ObjectView : public ControlView {
public:
    explicit ObjectView(ViewContext* context);
    void layout(Layouter& layouter) override;
    // What it shows (a progress bar) takes no input.
    bool isFocusable() const override { return false; }

protected:
    bool createControl() override { return false; }
};

// An input of type "hidden": a value and no size.
class HiddenInputView : public View, public FormElement {
public:
    explicit HiddenInputView(ViewContext* context);
    void layout(Layouter&) override { setSize(0, 0); }
    void invalidate() override {}
    void requestUpdate() override {}
};

// A text input with a "..." button beside it, on one line. A click on the button, or its press
// by the keyboard, opens the system's chooser, whose choice becomes the value.
class FileChooseView : public BoxView, public FormElement {
public:
    // The label replaces the button's "..." when given.
    FileChooseView(ViewContext* context, const ZString& label);
    bool isContainer() const override { return false; }
    ZString getValue() const override;
    void setValue(const ZString& value) override;
    void choose();

private:
    EditView* edit_;
};

} // namespace xhtml
