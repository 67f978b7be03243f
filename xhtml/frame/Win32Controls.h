#pragma once

#include "window/BaseWindow.h"
#include "xhtml/views/FormViews.h"

#include <windows.h>

#include <memory>

namespace xhtml {

// A native window hosted by a control view: subclassed so that its mouse records reach the view
// tree and Tab, Enter and Escape reach the document as in a dialog, re-parented to the frame
// window, and destroyed with the view when owned.
class Win32Control : public NativeControl, private BaseWindow::IMessageFilter {
public:
    Win32Control(ControlView& view, HWND window, bool owns);
    ~Win32Control() override;

    Size size() const override;
    void resize(Size size) override;
    void place(const Rect* area) override;
    ZString text() const override;
    void setText(const ZString& text) override;
    void setFont(const Font& font) override;
    bool ownsWindow(const void* window) const override;
    bool isCursorOver() const override;
    void focus() override;
    void setHorizontalScroll(bool on) override;

    HWND handle() const { return window_.getHandle(); }

protected:
    BaseWindow& window() { return window_; }
    const BaseWindow& window() const { return window_; }

private:
    LRESULT filterMessage(BaseWindow& window, UINT message, WPARAM wParam, LPARAM lParam) override;

    ControlView& view_;
    BaseWindow window_;
    bool owns_;
    // The character of a key the document took, which the control must not see either.
    WPARAM takenChar_ = 0;
};

// The native controls of text inputs, text areas and selects; installed by the frames.
std::unique_ptr<NativeControl> createWin32Control(ControlView& view);

// The native window of the frame the view lies in, or null.
HWND frameWindow(View& view);

// Hosts a window page code made (a progress bar) in the view, which from then on places, sizes,
// shows and, when owned, destroys it.
void setControl(ControlView& view, HWND window, bool owns);
// The native window the view hosts, or null.
HWND controlWindow(const ControlView& view);

} // namespace xhtml
