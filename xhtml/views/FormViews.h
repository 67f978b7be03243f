#pragma once

#include "xhtml/views/BoxView.h"

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

// A box that hosts a native control of the frame window. Tab navigation stops at these views.
class ControlView : public BoxView {
public:
    explicit ControlView(ViewContext* context);
    bool isContainer() const override { return false; }
};

// A push button drawn by the engine; its caption is its value.
class ButtonView : public BoxView, public FormElement {
public:
    explicit ButtonView(ViewContext* context);
    bool isContainer() const override { return false; }
    void layout(Layouter& layouter) override;
    void onLeftButtonDown() override;
    void onLeftButtonUp() override;
};

// Check box and radio button: a 13 × 13 glyph whose state is the Checked property.
class ToggleView : public BoxView, public FormElement {
public:
    bool isContainer() const override { return false; }
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
};

// A multi-line text input; sized by Rows and Cols when given, else 100 × 50.
class TextAreaView : public ControlView, public FormElement {
public:
    explicit TextAreaView(ViewContext* context);
    void layout(Layouter& layouter) override;
};

// A placeholder for a control that page code attaches; without one it has no content size.
class ObjectView : public ControlView {
public:
    explicit ObjectView(ViewContext* context);
    void layout(Layouter& layouter) override;
};

// An input of type "hidden": a value and no size.
class HiddenInputView : public View, public FormElement {
public:
    explicit HiddenInputView(ViewContext* context);
    void layout(Layouter&) override { setSize(0, 0); }
    void invalidate() override {}
    void requestUpdate() override {}
};

// A text input with a "..." button beside it, on one line.
class FileChooseView : public BoxView, public FormElement {
public:
    // The label replaces the button's "..." when given.
    FileChooseView(ViewContext* context, const ZString& label);
    bool isContainer() const override { return false; }
    ZString getValue() const override;
    void setValue(const ZString& value) override;

private:
    EditView* edit_;
};

} // namespace xhtml
