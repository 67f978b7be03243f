#pragma once

#include "base/ZString.h"
#include "xhtml/views/Geometry.h"

#include <memory>

namespace xhtml {

class ControlView;
struct Font;

// A native control of the frame window, hosted by a control view. The window system provides
// it; a build without one has no controls, and control views then only measure.
class NativeControl {
public:
    virtual ~NativeControl() = default;

    // The size of the control's window.
    virtual Size size() const = 0;
    // Moves the control over the area (the frame window's client coordinates) and shows it;
    // null hides it.
    virtual void place(const Rect* area) = 0;
    virtual ZString text() const = 0;
    virtual void setText(const ZString& text) = 0;
    virtual void setFont(const Font& font) = 0;
    virtual bool ownsWindow(const void* window) const = 0;
    virtual bool isCursorOver() const = 0;
    // Gives the keyboard focus to the frame window, then to the control.
    virtual void focus() = 0;
    // Lines of a multi-line text scroll sideways instead of wrapping.
    virtual void setHorizontalScroll(bool on) = 0;
};

// Makes the native control a view needs, or null.
using NativeControlFactory = std::unique_ptr<NativeControl> (*)(ControlView& view);
void setNativeControlFactory(NativeControlFactory factory);
NativeControlFactory nativeControlFactory();

} // namespace xhtml
