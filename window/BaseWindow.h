#pragma once

#include "base/BaseInstance.h"
#include "base/ZString.h"

#include <optional>
#include <vector>
#include <windows.h>

// The program's object for one native window. Every window class of the program registers
// windowProc, which finds the object through the window's GWLP_USERDATA slot; foreign windows
// (edit boxes, progress bars) are subclassed by attach. Each message goes to the listeners, then
// to the filter when one is set, otherwise to onMessage.
// Without a window the operations do nothing and answer 0, false or empty, also those that Win32
// would apply to the thread, the desktop or every window when given a null handle (posting,
// focus, capture, timers, invalidation, the monitor).
// Neither copyable nor movable: the window holds the object's address.
class BaseWindow {
public:
    // Told of every message; the result is ignored. Owned by whoever adds it, who removes it
    // before destroying it.
    class IMessageListener {
    public:
        virtual void onWindowMessage(BaseWindow& window, UINT message, WPARAM wParam,
                                     LPARAM lParam) = 0;

    protected:
        ~IMessageListener() = default;
    };

    // Takes over the window's message handling, defaultProc included. Owned like a listener.
    class IMessageFilter {
    public:
        virtual LRESULT filterMessage(BaseWindow& window, UINT message, WPARAM wParam,
                                      LPARAM lParam) = 0;

    protected:
        ~IMessageFilter() = default;
    };

    BaseWindow() = default;
    BaseWindow(const BaseWindow&) = delete;
    BaseWindow& operator=(const BaseWindow&) = delete;
    // Destroys the window only while it is attached to this object: a window re-attached to
    // another object, or detached, lives on.
    virtual ~BaseWindow();

    // WM_NCCREATE attaches the object given as creation parameter; without one the creation
    // fails.
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // Handle and association.
    HWND getHandle() const { return handle_; }
    // Detaches if attached, then keeps the handle without attaching it.
    void setHandle(HWND handle);
    void releaseHandle();
    bool equals(const BaseWindow& other) const { return handle_ == other.handle_; }
    bool isAttached() const;
    // Routes the window's messages to this object and keeps the procedure it had, which
    // defaultProc then calls.
    void attach(HWND handle);
    void reattach();
    // Gives the window its earlier procedure back; the handle stays for reattach.
    void detach();
    // The object is the creation parameter, so windowProc attaches it before the first message
    // that matters; a window of a foreign class is attached afterwards.
    bool create(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x,
                int y, int width, int height, HWND parent = nullptr, HMENU menu = nullptr,
                HINSTANCE instance = nullptr);
    void destroy();

    // Listeners may add or remove listeners, themselves included, while they are being called.
    void addListener(IMessageListener* listener);
    // Removes every entry of the listener.
    void removeListener(IMessageListener* listener);
    void setFilter(IMessageFilter* filter);
    // Clears the filter only when it is `filter`; returns the filter set before the call.
    IMessageFilter* removeFilter(IMessageFilter* filter);

    LRESULT sendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    bool postMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    // The behaviour the window had before it was attached; DefWindowProcW for the program's own
    // classes.
    LRESULT defaultProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT defWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Relations and window data.
    HWND getParent() const;
    HWND setParent(HWND parent);
    HWND getTopLevelWindow() const;
    int getId() const;
    bool isChild(HWND window) const;
    LONG_PTR getLong(int index) const;
    LONG_PTR setLong(int index, LONG_PTR value);
    // At most 256 characters; empty when the call fails.
    ZString getClassName() const;

    // Visibility and activation.
    void showWindow(int command);
    void show(bool visible);
    bool isVisible() const;
    bool isWindow() const;
    bool isMinimized() const;
    bool isMaximized() const;
    bool isForeground() const;
    bool isActive() const;
    void bringToTop();
    void setForeground();
    // Restores, shows, raises and activates the window; a moment of top-most lifts it above
    // other programs' windows, which SetForegroundWindow alone may not.
    void bringToFront();
    void setTopMost(bool topMost);

    // Geometry. Positions are in the parent's client coordinates for child windows, otherwise on
    // the screen.
    void moveTo(int x, int y, bool repaint = true);
    void resize(int width, int height, bool repaint = true);
    void move(int x, int y, int width, int height, bool repaint = true);
    void setRect(const RECT& rect, bool repaint = true);
    // Sizes the window so that its client area gets exactly this size.
    void setClientSize(int width, int height, bool repaint = true);
    // Negative coordinates for a window larger than the desktop.
    void centerOnDesktop(bool repaint = true);
    RECT getWindowRect() const;
    // The window rectangle in the client coordinates of `other` (the screen when null).
    RECT getWindowRectIn(HWND other) const;
    // With includeScrollBars the area under visible scroll bars counts as client area: the size
    // the window's content would have without them.
    RECT getClientRect(bool includeScrollBars = false) const;
    RECT getClientRectOnScreen(bool includeScrollBars = false) const;
    SIZE getSize() const;
    SIZE getClientSize(bool includeScrollBars = false) const;
    int getWidth() const;
    int getHeight() const;
    int getClientWidth(bool includeScrollBars = false) const;
    int getClientHeight(bool includeScrollBars = false) const;
    POINT getPosition() const;
    int getX() const;
    int getY() const;
    // The whole monitor nearest to the window, task bar included.
    std::optional<RECT> getMonitorRect() const;
    std::optional<WINDOWPLACEMENT> getPlacement() const;
    bool setPlacement(const WINDOWPLACEMENT& placement);
    void clientToScreen(POINT& point) const;
    void clientToScreen(RECT& rect) const;
    void screenToClient(POINT& point) const;
    void screenToClient(RECT& rect) const;
    // Strictly inside: a cursor on an edge is outside.
    bool isCursorInWindow() const;
    // `rect` is client-relative; null stands for the client rectangle.
    bool isCursorInClient(const RECT* rect = nullptr) const;

    // Scroll bars; `bar` is SB_HORZ, SB_VERT, SB_CTL or SB_BOTH.
    void setScrollRange(int min, int max, int bar, bool redraw = true);
    int setScrollPos(int position, int bar, bool redraw = true);
    int setScrollInfo(const SCROLLINFO& info, int bar, bool redraw = true);
    // `info` says what to read through its cbSize and fMask.
    bool getScrollInfo(SCROLLINFO& info, int bar) const;
    int getScrollPos(int bar) const;
    void showScrollBar(int bar, bool show);
    void enableScrollBar(int bar, bool enable);

    // Input and text.
    HWND setFocus();
    void setCapture();
    // Only while this window has the capture, so another window's capture survives.
    void releaseCapture();
    void setText(const ZString& text);
    ZString getText() const;

    // Window timers.
    UINT_PTR setTimer(UINT_PTR id, UINT milliseconds);
    bool killTimer(UINT_PTR id);

    // Painting.
    void setRedraw(bool redraw);
    // `rect` is client-relative; null stands for the whole client area.
    void invalidate(const RECT* rect = nullptr, bool erase = true);
    // Invalidates and paints before returning.
    void invalidateNow(const RECT* rect = nullptr, bool erase = true);
    void redraw(UINT flags, const RECT* rect = nullptr, HRGN region = nullptr);
    void update();

    // Sends the icon at the system's large and small icon sizes. The module shares its icons,
    // which stay valid as long as the module is loaded.
    void setIcon(const BaseInstance& module, WORD id);
    // From the module the window was created with.
    void setIconFromOwnModule(WORD id);

    // Runs a message loop, with the owner disabled, until endModal, the window's destruction or
    // WM_QUIT, which is posted again for the caller's loop. Returns at once for child windows.
    void makeModal();
    // Ends makeModal at its next message; a 100 ms thread timer makes sure one comes.
    void endModal() { endModal_ = true; }

protected:
    // The handler subclasses override; the base passes everything to defaultProc.
    virtual LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    LRESULT dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    static BaseWindow* attachedObject(HWND window);

    std::vector<IMessageListener*> listeners_;
    WNDPROC savedProc_ = nullptr;
    bool endModal_ = false;
    HWND handle_ = nullptr;
    IMessageFilter* filter_ = nullptr;
};
