#pragma once

#include "window/BaseWindow.h"
#include "xhtml/views/AccessibleTree.h"
#include "xhtml/views/HtmlView.h"

#include <windows.h>

#include <vector>

namespace xhtml {

class FrameAccessible;

// The root of a rendered document in a native window: it lays the document out when something
// changed (many changes within 100 ms cost one pass), paints it through an off-screen buffer,
// scrolls it with native scroll bars, turns mouse, focus and activation messages into view
// events, shows the titles of views as tooltips and routes the notifications of hosted controls
// to the views that own them.
class FrameView : public HtmlView {
public:
    // The native window: every message goes to the frame's handleMessage.
    class Frame : public BaseWindow {
    public:
        explicit Frame(FrameView* owner) : owner_(owner) {}

    protected:
        LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    private:
        FrameView* owner_;
    };

    enum ScrollMode { Never = 0, Automatic = 1, Always = 2 };
    enum Axis { Vertical = 1, Horizontal = 2, BothAxes = 3 };

    // The frame deletes the context when the context names it as its frame.
    explicit FrameView(ViewContext* context);
    ~FrameView() override;

    // A null instance is the program's module, a null class name "XhtmlFrameView".
    bool create(const ZString& title, int x, int y, int width, int height, DWORD style,
                DWORD exStyle, HWND parent, HINSTANCE instance, const wchar_t* className);
    void setScrollMode(int axis, int mode);
    // A document rectangle, or everything when null.
    void repaintRect(const Rect* rect);
    // Now, unless an update is running; otherwise within 100 ms, once.
    void scheduleUpdate(bool immediate);
    void sizeToContent(int width);
    void setAutoSize(bool width, bool height);
    void addTooltip(View* view);
    BaseWindow& getWindow() { return frame_; }
    Size getDocumentSize() const { return documentSize_; }
    void doUpdate();
    // In scroll units; axis 3 with position 0 scrolls home.
    void scrollTo(int axis, int position);
    void updateScrollBars();
    bool isAutoSized() const { return autoSizeWidth_ || autoSizeHeight_; }
    void applyAutoSize();
    void updateTooltip(bool show);
    // The select or object view that hosts the native control.
    View* findControlView(HWND window);
    // Paints the dirty rectangle of the client area, as far as the target shows it, onto the
    // target through an off-screen buffer of that size.
    void renderClient(HDC target, const RECT& dirtyArea);
    virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // A key message of this frame's window or of a control on it: true when the document acted
    // on it, or the window closes on Escape as a dialog does.
    bool handleKeyMessage(UINT message, WPARAM key, LPARAM flags);

    void setContent(const ZString& markup, const ZString* baseUrl) override;
    void onTimer(unsigned id) override;
    void handleEvent(ViewEvent& event) override;
    // Records carry document points, but a top-level frame's box is only its client area: the
    // frame is where its window shows the document, wherever it is scrolled to.
    bool hitTest(Point point) const override;
    void handleMouse(MouseEvent& event) override;
    void invalidate() override { scheduleUpdate(false); }
    void requestUpdate() override;
    void invalidateRect(const Rect& rect) override { repaintRect(&rect); }
    void registerTooltip(View* view) override { addTooltip(view); }
    Point getScrollPosition() const override { return {scrollX_, scrollY_}; }
    Rect getClientRect() const override;
    void handleWindowMouse(MouseEvent& event) override { mouse(event); }

    // What a screen reader is told of the page.
    AccessibleTree accessibleTree();
    void accessibleChange(AccessibleChange change, View& view) override;

protected:
    bool isUpdating() const { return updateInProgress_; }
    // The mouse record being handled comes from this frame's own window.
    bool isDispatchingOwnMouse() const { return dispatchingOwnMouse_; }
    // Paints the document into the buffer of a paint; its logical coordinates are the
    // document's.
    virtual void paintContent(HDC dc, const Rect& document);
    // The window follows the document's focus: a control's own window, else the frame's.
    void onFocusChanged(View* view) override;

private:
    void sendEvent(int type);
    // A record of this frame's own window, at a client point.
    void mouse(LPARAM point, uint32_t flags);
    void mouse(MouseEvent event);
    void trackMouseLeave();
    LRESULT scroll(int axis, WPARAM request);
    void rangeScrollBar(int bar, int documentExtent, int clientExtent);
    int scrollUnit() const;
    // The window's client object for screen readers, made when one first asks.
    LRESULT accessibleObject(WPARAM wParam);
    // A click at the document point as the pointer makes one; hover then follows the pointer.
    void clickAt(Point point);
    // Whether the view hosts a native control, which then has the focus.
    bool takeNativeFocus(View* view);
    // The engine-drawn view whose focus ring this window shows now, or null.
    View* focusRingView();
    void repaintFocusRing();

    int horizontalMode_ = Automatic;
    int verticalMode_ = Automatic;
    bool autoSizeWidth_ = false;
    bool autoSizeHeight_ = false;
    int scrollX_ = 0;
    int scrollY_ = 0;
    bool updateInProgress_ = false;
    bool mouseLeaveTracked_ = false;
    bool timersStarted_ = false;
    bool dispatchingOwnMouse_ = false;
    // No focus ring until the keyboard navigates, as in a dialog opened with the mouse.
    bool hideFocus_ = true;
    HWND tooltipWindow_ = nullptr;
    View* tooltipView_ = nullptr;
    // The views registered as tools, in order.
    std::vector<View*> tools_;
    unsigned pendingUpdate_ = 0;
    ULONG_PTR gdiplusToken_ = 0;
    Size documentSize_;
    FrameAccessible* accessible_ = nullptr;
    bool reorderPending_ = false;
    // This thread's COM was started for the screen reader's calls, and is to be ended.
    bool comStarted_ = false;
    Frame frame_;
};

} // namespace xhtml
