#include "xhtml/views/FormViews.h"

#include "xhtml/views/Dpi.h"
#include "xhtml/views/FileChooser.h"
#include "xhtml/views/ViewContext.h"
#include "xhtml/views/ViewPlatform.h"

#include <optional>

namespace xhtml {

namespace {

ZString stringProperty(const View& view, PropertyId id) {
    const StyleValue* value = view.findInStyleMap(id, Normal);
    return value ? value->stringValue() : ZString();
}

// An integer attribute, or the fallback when it is absent.
int integerProperty(const View& view, PropertyId id, int fallback) {
    const StyleValue* value = view.findInStyleMap(id, Normal);
    return value ? integerOf(*value) : fallback;
}

std::optional<FontMetrics> metricsOf(const View& view) {
    return viewPlatform().fontMetrics(view.getFont());
}

// What a text input or a text area takes when its font cannot be measured.
Size unmeasuredTextSize() {
    return {scale(80), scale(21)};
}

} // namespace

ZString FormElement::getName() const {
    return stringProperty(*view_, PropertyId::Name);
}

ZString FormElement::getValue() const {
    return stringProperty(*view_, PropertyId::Value);
}

void FormElement::setName(const ZString& name) {
    view_->setProperty(PropertyId::Name, StyleValue::string(name));
}

void FormElement::setValue(const ZString& value) {
    view_->setProperty(PropertyId::Value, StyleValue::string(value));
    view_->requestUpdate();
}

void FormElement::setView(View* view) {
    view_ = view;
    view->setProperty(PropertyId::FormElementMarker, StyleValue::boolean(true));
}

namespace {
NativeControlFactory controlFactory = nullptr;
}

void setNativeControlFactory(NativeControlFactory factory) {
    controlFactory = factory;
}

NativeControlFactory nativeControlFactory() {
    return controlFactory;
}

ControlView::ControlView(ViewContext* context) : BoxView(context) {
    setKind(ControlKind);
    setProperty(PropertyId::TabStop, StyleValue::boolean(true));
}

ControlView::~ControlView() = default;

void ControlView::handleEvent(ViewEvent& event) {
    if (event.type == ViewEvent::LayoutFinished) {
        if (!control_ && isDisplayed())
            createControl();
        if (control_) {
            positionControl();
            control_->setFont(getFont());
        }
    } else if (event.type == ViewEvent::Scrolled) {
        positionControl();
    }
    BoxView::handleEvent(event);
}

bool ControlView::ownsWindow(const void* window) const {
    return control_ && control_->ownsWindow(window);
}

bool ControlView::createControl() {
    if (control_)
        return true;
    if (!controlFactory)
        return false;
    auto control = controlFactory(*this);
    if (!control)
        return false;
    setControl(std::move(control));
    return true;
}

void ControlView::setControl(std::unique_ptr<NativeControl> control) {
    control_ = std::move(control);
    positionControl();
}

void ControlView::positionControl() {
    if (!control_)
        return;
    const Rect content = getContentRect();
    View* frame = getFrame(false);
    if (!isVisibleInTree() || content.width() < 1 || content.height() < 1) {
        control_->place(nullptr);
        return;
    }
    const Point scroll = frame ? frame->getScrollPosition() : Point{};
    const Rect area = content.movedBy(-scroll.x, -scroll.y);
    control_->place(&area);
}

bool ControlView::isCursorOverControl() const {
    return control_ && control_->isCursorOver();
}

void ControlView::forwardMouse(Point point, uint32_t flags) {
    View* frame = getFrame(false);
    if (!frame)
        return;
    const Rect content = getContentRect();
    MouseEvent event{{addSaturated(point.x, content.left), addSaturated(point.y, content.top)},
                     flags};
    frame->handleWindowMouse(event);
}

ZString ControlView::controlValue(const FormElement& element) const {
    return control_ ? control_->text() : element.FormElement::getValue();
}

void ControlView::setControlValue(FormElement& element, const ZString& value) {
    element.FormElement::setValue(value);
    if (control_)
        control_->setText(value);
}

ButtonView::ButtonView(ViewContext* context) : BoxView(context) {
    setKind(ButtonKind);
    setView(this);
}

void ButtonView::layout(Layouter& layouter) {
    const ZString caption = getValue();
    Size content{scale(35), scale(22)};
    if (!caption.isEmpty()) {
        const Size text = viewPlatform().textExtent(getFont(), caption);
        content = {addSaturated(text.width, scale(10)), addSaturated(text.height, scale(5))};
    }
    layoutAroundContent(layouter, content);
}

void ButtonView::onLeftButtonDown() {
    BoxView::onLeftButtonDown();
    invalidate();
}

void ButtonView::onLeftButtonUp() {
    BoxView::onLeftButtonUp();
    invalidate();
}

void ButtonView::setValue(const ZString& value) {
    const bool changed = !getValue().equals(value);
    FormElement::setValue(value);
    if (changed)
        announce(AccessibleChange::Name);
}

ToggleView::ToggleView(ViewContext* context, ViewKind kind) : BoxView(context) {
    setKind(kind);
    setView(this);
}

void ToggleView::layout(Layouter& layouter) {
    layoutAroundContent(layouter, {scale(13), scale(13)});
}

bool ToggleView::isChecked() const {
    const StyleValue* checked = findInStyleMap(PropertyId::Checked, Normal);
    return checked && checked->boolValue();
}

void ToggleView::setChecked(bool checked, bool notify) {
    const bool changed = checked != isChecked();
    setProperty(PropertyId::Checked, StyleValue::boolean(checked));
    if (!changed)
        return;
    invalidate();
    announce(AccessibleChange::State);
    if (notify)
        notifyChange();
}

CheckView::CheckView(ViewContext* context) : ToggleView(context, CheckKind) {}

void CheckView::onLeftButtonUp() {
    const bool click = (getFlags() & LeftClick) != 0;
    ToggleView::onLeftButtonUp();
    // A release that ends a drag begun elsewhere is no click.
    if (click)
        setChecked(!isChecked(), true);
}

ZString CheckView::getValue() const {
    return isChecked() ? u"true" : u"false";
}

void CheckView::notifyChange() {
    if (getContext())
        getContext()->onCheckChanged(this);
}

RadioView::RadioView(ViewContext* context) : ToggleView(context, RadioKind) {}

void RadioView::onLeftButtonUp() {
    const bool click = (getFlags() & LeftClick) != 0;
    ToggleView::onLeftButtonUp();
    if (click)
        select(true);
}

void RadioView::select(bool notify) {
    if (isChecked())
        return;
    const ZString name = getName();
    const ZString value = getValue();
    std::vector<View*> radios;
    getRootView()->collectViewsByKind(radios, RadioKind);
    for (View* view : radios) {
        auto* radio = static_cast<RadioView*>(view);
        if (radio->getName().equals(name))
            radio->setChecked(radio->getValue().equals(value), notify);
    }
}

void RadioView::notifyChange() {
    if (getContext())
        getContext()->onRadioChanged(this);
}

EditView::EditView(ViewContext* context) : ControlView(context) {
    setKind(EditKind);
    setView(this);
}

void EditView::layout(Layouter& layouter) {
    Size content = unmeasuredTextSize();
    if (const auto metrics = metricsOf(*this)) {
        const long long characters = integerProperty(*this, PropertyId::Size, 15) + 1LL;
        content = {saturated(scale(10) + characters * metrics->averageCharWidth),
                   addSaturated(scale(5), metrics->charHeight)};
    }
    layoutAroundContent(layouter, content);
}

TextAreaView::TextAreaView(ViewContext* context) : ControlView(context) {
    setKind(TextAreaKind);
    setView(this);
}

void TextAreaView::layout(Layouter& layouter) {
    if (!findInStyleMap(PropertyId::Rows, Normal) && !findInStyleMap(PropertyId::Cols, Normal)) {
        layoutAroundContent(layouter, {scale(100), scale(50)});
        return;
    }
    Size content = unmeasuredTextSize();
    if (const auto metrics = metricsOf(*this)) {
        const long long cols = integerProperty(*this, PropertyId::Cols, 15);
        const long long rows = integerProperty(*this, PropertyId::Rows, 5);
        content = {saturated(cols * metrics->averageCharWidth + scale(25)),
                   saturated(rows * metrics->charHeight + scale(25))};
    }
    layoutAroundContent(layouter, content);
}

void TextAreaView::setHorizontalScroll(bool on) {
    horizontalScroll_ = on;
    if (NativeControl* control = getControl())
        control->setHorizontalScroll(on);
}

ObjectView::ObjectView(ViewContext* context) : ControlView(context) {
    setKind(ObjectKind);
}

void ObjectView::layout(Layouter& layouter) {
    // The attached control's own size, the box around it.
    layoutAroundContent(layouter, hasControl() ? getControl()->size() : Size{});
}

HiddenInputView::HiddenInputView(ViewContext* context) : View(context) {
    setKind(HiddenInputKind);
    setView(this);
}

namespace {

// The button of a file input.
class ChooserButton : public ButtonView {
public:
    ChooserButton(ViewContext* context, FileChooseView& input)
        : ButtonView(context), input_(input) {}
    void onLeftButtonUp() override {
        // A release that ends a drag begun elsewhere is no click.
        const bool click = (getFlags() & LeftClick) != 0;
        ButtonView::onLeftButtonUp();
        if (click)
            input_.choose();
    }

private:
    FileChooseView& input_;
};

} // namespace

FileChooseView::FileChooseView(ViewContext* context, const ZString& label) : BoxView(context) {
    setKind(FileChooseKind);
    setView(this);
    setProperty(PropertyId::NoWrap, StyleValue::boolean(true));
    edit_ = new EditView(context);
    appendChild(edit_);
    auto* button = new ChooserButton(context, *this);
    button->setProperty(PropertyId::Value, StyleValue::string(label.isEmpty() ? u"..." : label));
    appendChild(button);
}

void FileChooseView::choose() {
    const FileChooser chooser = fileChooser();
    if (!chooser)
        return;
    const FileChoice choice =
        fileChoiceFor(stringProperty(*this, PropertyId::FileFilter), getValue());
    if (const auto chosen = chooser(*this, choice))
        setValue(*chosen);
}

ZString FileChooseView::getValue() const {
    return edit_->getValue();
}

void FileChooseView::setValue(const ZString& value) {
    setProperty(PropertyId::Value, StyleValue::string(value));
    edit_->setValue(value);
}

} // namespace xhtml
