#include "xhtml/frame/Win32Controls.h"

#include "xhtml/frame/FrameView.h"
#include "xhtml/frame/MouseMessages.h"
#include "xhtml/frame/Win32Selects.h"
#include "xhtml/views/ViewPlatform.h"

#include <windowsx.h>

#include <utility>

namespace xhtml {

namespace {

bool ownProperty(const View& view, PropertyId id) {
    const StyleValue* value = view.findInStyleMap(id, Normal);
    return value && value->boolValue();
}

} // namespace

HWND frameWindow(View& view) {
    auto* frame = dynamic_cast<FrameView*>(view.getFrame(false));
    return frame ? frame->getWindow().getHandle() : nullptr;
}

Win32Control::Win32Control(ControlView& view, HWND window, bool owns) : view_(view), owns_(owns) {
    window_.attach(window);
    window_.setFilter(this);
    if (const HWND parent = frameWindow(view)) {
        // A child of the frame, whatever it was made as.
        const LONG_PTR style = window_.getLong(GWL_STYLE);
        window_.setLong(GWL_STYLE, (style & 0x3F33FFFF) | WS_CHILD);
        window_.setParent(parent);
    }
}

Win32Control::~Win32Control() {
    window_.removeFilter(this);
    // A window that is not ours lives on, with its own procedure back.
    if (!owns_)
        window_.releaseHandle();
}

Size Win32Control::size() const {
    const SIZE size = window_.getSize();
    return {size.cx, size.cy};
}

void Win32Control::resize(Size size) {
    window_.resize(size.width, size.height, false);
}

void Win32Control::place(const Rect* area) {
    if (!area) {
        window_.show(false);
        return;
    }
    window_.move(area->left, area->top, area->width(), area->height(), true);
    window_.show(true);
}

ZString Win32Control::text() const {
    return window_.getText();
}

void Win32Control::setText(const ZString& text) {
    window_.setText(text);
}

void Win32Control::setFont(const Font& font) {
    // Every layout pass sets the font again; an edit control would wrap all its text anew.
    const auto handle = reinterpret_cast<WPARAM>(font.handle);
    if (static_cast<WPARAM>(window_.sendMessage(WM_GETFONT)) != handle)
        window_.sendMessage(WM_SETFONT, handle, FALSE);
}

bool Win32Control::ownsWindow(const void* window) const {
    return window && window == window_.getHandle();
}

bool Win32Control::isCursorOver() const {
    return window_.isVisible() && window_.isCursorInWindow();
}

void Win32Control::focus() {
    if (GetFocus() == window_.getHandle())
        return;
    if (const HWND frame = frameWindow(view_))
        SetFocus(frame);
    SetFocus(window_.getHandle());
}

void Win32Control::setHorizontalScroll(bool on) {
    const LONG_PTR bits = WS_HSCROLL | ES_AUTOHSCROLL;
    const LONG_PTR style = window_.getLong(GWL_STYLE);
    window_.setLong(GWL_STYLE, on ? style | bits : style & ~bits);
}

LRESULT Win32Control::filterMessage(BaseWindow& window, UINT message, WPARAM wParam,
                                    LPARAM lParam) {
    if (isMouseRecordMessage(message))
        view_.forwardMouse({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)},
                           mouseRecordFlags(message, wParam));
    auto* frame = dynamic_cast<FrameView*>(view_.getFrame(true));
    if (message == WM_SETFOCUS && frame)
        frame->setFocus(&view_);
    if (message == WM_CHAR) {
        const WPARAM taken = std::exchange(takenChar_, 0);
        if (wParam == taken)
            return 0;
    }
    // An open drop-down list keeps its keys.
    const bool dropped = list() && !list()->allowsTooltip();
    if (message == WM_KEYDOWN && (wParam == VK_TAB || wParam == VK_RETURN || wParam == VK_ESCAPE) &&
        !dropped && frame && frame->handleKeyMessage(message, wParam, lParam)) {
        takenChar_ = wParam == VK_TAB ? '\t' : wParam == VK_RETURN ? '\r' : 0x1B;
        return 0;
    }
    return window.defaultProc(message, wParam, lParam);
}

std::unique_ptr<NativeControl> createWin32Control(ControlView& view) {
    const HWND parent = frameWindow(view);
    if (parent && view.getKind() == SelectKind)
        return createSelectControl(static_cast<SelectView&>(view), parent);
    const bool edit = view.getKind() == EditKind;
    if (!parent || (!edit && view.getKind() != TextAreaKind))
        return nullptr;
    DWORD style = WS_CHILD;
    if (edit) {
        style |= WS_TABSTOP | ES_AUTOHSCROLL;
        if (ownProperty(view, PropertyId::Password))
            style |= ES_PASSWORD;
    } else {
        style |= WS_BORDER | WS_VSCROLL | ES_WANTRETURN | ES_AUTOVSCROLL | ES_MULTILINE;
        if (static_cast<TextAreaView&>(view).hasHorizontalScroll())
            style |= WS_HSCROLL | ES_AUTOHSCROLL;
    }
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    // An edit control wraps all its text again for every new width or font, at a width of 0 one
    // line per character: it gets both before the text. Its place comes later.
    const Size size = view.getContentSize();
    const HWND window =
        CreateWindowExW(edit ? WS_EX_CLIENTEDGE : 0, edit ? L"Edit" : L"edit", L"", style, 0, 0,
                        size.width, size.height, parent, nullptr, instance, nullptr);
    if (!window)
        return nullptr;
    auto control = std::make_unique<Win32Control>(view, window, true);
    control->setFont(view.getFont());
    if (const StyleValue* value = view.findInStyleMap(PropertyId::Value, Normal))
        control->setText(value->stringValue());
    if (ownProperty(view, PropertyId::ReadOnly))
        SendMessageW(window, EM_SETREADONLY, TRUE, 0);
    return control;
}

void setControl(ControlView& view, HWND window, bool owns) {
    view.setControl(window ? std::make_unique<Win32Control>(view, window, owns) : nullptr);
}

HWND controlWindow(const ControlView& view) {
    const auto* control = dynamic_cast<const Win32Control*>(view.getControl());
    return control ? control->handle() : nullptr;
}

} // namespace xhtml
