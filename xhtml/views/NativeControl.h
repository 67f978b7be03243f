#pragma once

#include "base/ZString.h"
#include "xhtml/views/Geometry.h"

#include <memory>

namespace xhtml {

class ControlView;
struct Font;
class NativeList;

// A native control of the frame window, hosted by a control view. The window system provides
// it; a build without one has no controls, and control views then only measure.
class NativeControl {
public:
    virtual ~NativeControl() = default;

    // The size of the control's window.
    virtual Size size() const = 0;
    // Keeps the position; the control may settle on another size, which size() then reports.
    virtual void resize(Size size) = 0;
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
    // The items of a control that shows a select's options; null for other controls.
    virtual NativeList* list() { return nullptr; }
};

// The items of a native list (a combo box, a list box, a list of check boxes), derived from the
// option records of a select. Selected means checked where the items have check boxes.
class NativeList {
public:
    virtual ~NativeList() = default;

    // Off while the items are rebuilt, so the control paints once.
    virtual void setRedraw(bool on) = 0;
    virtual void clearItems() = 0;
    // Appends an item and returns its index, -1 when it could not.
    virtual int addItem(const ZString& label) = 0;
    // In a single-choice list the item replaces the one selected before.
    virtual void selectItem(int item) = 0;
    virtual bool isItemSelected(int item) const = 0;
    // The notifications of the control's windows, as the frame routes them.
    virtual void onCommand(const void* window, int code) = 0;
    virtual void onNotify(const void* window, const void* header) = 0;
    // False while the control shows something of its own over the page (an open drop-down).
    virtual bool allowsTooltip() const = 0;
};

// Makes the native control a view needs, or null.
using NativeControlFactory = std::unique_ptr<NativeControl> (*)(ControlView& view);
void setNativeControlFactory(NativeControlFactory factory);
NativeControlFactory nativeControlFactory();

} // namespace xhtml
