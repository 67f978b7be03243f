#include "window/BaseWindow.h"

#include <algorithm>

namespace {

WNDPROC procedureOf(HWND window) {
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
}

bool strictlyInside(const RECT& rect, POINT point) {
    return point.x > rect.left && point.x < rect.right && point.y > rect.top &&
           point.y < rect.bottom;
}

// The width or height a scroll bar takes from the client area; 0 when it is hidden.
int scrollBarExtent(HWND window, LONG object) {
    SCROLLBARINFO info{};
    info.cbSize = sizeof(info);
    if (!GetScrollBarInfo(window, object, &info) || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE))
        return 0;
    return object == OBJID_VSCROLL ? info.rcScrollBar.right - info.rcScrollBar.left
                                   : info.rcScrollBar.bottom - info.rcScrollBar.top;
}

// Sees the window go while makeModal runs.
struct DestroyListener : BaseWindow::IMessageListener {
    void onWindowMessage(BaseWindow&, UINT message, WPARAM, LPARAM) override {
        destroyed = destroyed || message == WM_DESTROY;
    }
    bool destroyed = false;
};

} // namespace

BaseWindow::~BaseWindow() {
    if (!isAttached())
        return;
    // Detached first: the derived parts are gone, so the window's last messages must not reach
    // this object.
    detach();
    DestroyWindow(handle_);
}

LRESULT CALLBACK BaseWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* object =
            static_cast<BaseWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (!object)
            return FALSE;
        object->attach(window);
        return object->onMessage(message, wParam, lParam);
    }
    BaseWindow* object = attachedObject(window);
    if (!object || !object->handle_)
        return DefWindowProcW(window, message, wParam, lParam);
    return object->dispatch(message, wParam, lParam);
}

BaseWindow* BaseWindow::attachedObject(HWND window) {
    return reinterpret_cast<BaseWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT BaseWindow::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    if (listeners_.size() == 1) {
        listeners_.front()->onWindowMessage(*this, message, wParam, lParam);
    } else if (listeners_.size() > 1) {
        // A listener may change the list while it is called.
        const std::vector<IMessageListener*> listeners = listeners_;
        for (IMessageListener* listener : listeners)
            listener->onWindowMessage(*this, message, wParam, lParam);
    }
    if (filter_)
        return filter_->filterMessage(*this, message, wParam, lParam);
    return onMessage(message, wParam, lParam);
}

LRESULT BaseWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return defaultProc(message, wParam, lParam);
}

LRESULT BaseWindow::defaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (savedProc_ && savedProc_ != windowProc)
        return CallWindowProcW(savedProc_, handle_, message, wParam, lParam);
    return DefWindowProcW(handle_, message, wParam, lParam);
}

LRESULT BaseWindow::defWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(handle_, message, wParam, lParam);
}

void BaseWindow::setHandle(HWND handle) {
    detach();
    handle_ = handle;
}

void BaseWindow::releaseHandle() {
    setHandle(nullptr);
}

bool BaseWindow::isAttached() const {
    return handle_ && attachedObject(handle_) == this;
}

void BaseWindow::attach(HWND handle) {
    if (isAttached() && handle == handle_)
        return;
    detach();
    handle_ = handle;
    if (!handle_)
        return;
    const WNDPROC previous = procedureOf(handle);
    // Taken over from another object: the control's own procedure is the one that one kept.
    const BaseWindow* owner = attachedObject(handle);
    savedProc_ = previous == windowProc && owner ? owner->savedProc_ : previous;
    SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(windowProc));
}

void BaseWindow::reattach() {
    if (handle_)
        attach(handle_);
}

void BaseWindow::detach() {
    if (!isAttached())
        return;
    if (savedProc_)
        SetWindowLongPtrW(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(savedProc_));
    SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
    savedProc_ = nullptr;
}

bool BaseWindow::create(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                        int x, int y, int width, int height, HWND parent, HMENU menu,
                        HINSTANCE instance) {
    // A window of a foreign class is attached only afterwards; an earlier window must not keep
    // pointing at this object meanwhile.
    detach();
    handle_ = CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, menu,
                              instance, this);
    if (!handle_) {
        // A window that went after WM_NCCREATE leaves nothing behind.
        savedProc_ = nullptr;
        return false;
    }
    if (!isAttached())
        attach(handle_);
    return true;
}

void BaseWindow::destroy() {
    if (handle_)
        DestroyWindow(handle_);
    handle_ = nullptr;
}

void BaseWindow::addListener(IMessageListener* listener) {
    listeners_.push_back(listener);
}

void BaseWindow::removeListener(IMessageListener* listener) {
    std::erase(listeners_, listener);
}

void BaseWindow::setFilter(IMessageFilter* filter) {
    filter_ = filter;
}

BaseWindow::IMessageFilter* BaseWindow::removeFilter(IMessageFilter* filter) {
    IMessageFilter* previous = filter_;
    if (filter_ == filter)
        filter_ = nullptr;
    return previous;
}

LRESULT BaseWindow::sendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return SendMessageW(handle_, message, wParam, lParam);
}

bool BaseWindow::postMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return handle_ && PostMessageW(handle_, message, wParam, lParam);
}

HWND BaseWindow::getParent() const {
    return handle_ ? GetParent(handle_) : nullptr;
}

HWND BaseWindow::setParent(HWND parent) {
    return SetParent(handle_, parent);
}

HWND BaseWindow::getTopLevelWindow() const {
    return GetAncestor(handle_, GA_ROOT);
}

int BaseWindow::getId() const {
    return GetDlgCtrlID(handle_);
}

bool BaseWindow::isChild(HWND window) const {
    return IsChild(handle_, window);
}

LONG_PTR BaseWindow::getLong(int index) const {
    return GetWindowLongPtrW(handle_, index);
}

LONG_PTR BaseWindow::setLong(int index, LONG_PTR value) {
    return SetWindowLongPtrW(handle_, index, value);
}

ZString BaseWindow::getClassName() const {
    ZString name(256);
    name.setLength(GetClassNameW(handle_, name.wdata(), 257));
    return name;
}

void BaseWindow::showWindow(int command) {
    ShowWindow(handle_, command);
}

void BaseWindow::show(bool visible) {
    showWindow(visible ? SW_SHOW : SW_HIDE);
}

bool BaseWindow::isVisible() const {
    return IsWindowVisible(handle_);
}

bool BaseWindow::isWindow() const {
    return IsWindow(handle_);
}

bool BaseWindow::isMinimized() const {
    return IsIconic(handle_);
}

bool BaseWindow::isMaximized() const {
    return IsZoomed(handle_);
}

bool BaseWindow::isForeground() const {
    return handle_ && GetForegroundWindow() == handle_;
}

bool BaseWindow::isActive() const {
    return handle_ && GetActiveWindow() == handle_;
}

void BaseWindow::bringToTop() {
    BringWindowToTop(handle_);
}

void BaseWindow::setForeground() {
    SetForegroundWindow(handle_);
}

void BaseWindow::bringToFront() {
    if (isMinimized())
        showWindow(SW_RESTORE);
    showWindow(SW_SHOW);
    bringToTop();
    setForeground();
    setTopMost(true);
    setTopMost(false);
}

void BaseWindow::setTopMost(bool topMost) {
    SetWindowPos(handle_, topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE);
}

void BaseWindow::moveTo(int x, int y, bool repaint) {
    move(x, y, getWidth(), getHeight(), repaint);
}

void BaseWindow::resize(int width, int height, bool repaint) {
    const POINT position = getPosition();
    move(position.x, position.y, width, height, repaint);
}

void BaseWindow::move(int x, int y, int width, int height, bool repaint) {
    MoveWindow(handle_, x, y, width, height, repaint);
}

void BaseWindow::setRect(const RECT& rect, bool repaint) {
    move(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, repaint);
}

void BaseWindow::setClientSize(int width, int height, bool repaint) {
    RECT rect{0, 0, width, height};
    const auto style = static_cast<DWORD>(getLong(GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(getLong(GWL_EXSTYLE));
    if (AdjustWindowRectEx(&rect, style, GetMenu(handle_) != nullptr, exStyle))
        resize(rect.right - rect.left, rect.bottom - rect.top, repaint);
}

void BaseWindow::centerOnDesktop(bool repaint) {
    RECT desktop{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    moveTo((desktop.right - desktop.left - getWidth()) / 2,
           (desktop.bottom - desktop.top - getHeight()) / 2, repaint);
}

RECT BaseWindow::getWindowRect() const {
    RECT rect{};
    GetWindowRect(handle_, &rect);
    return rect;
}

RECT BaseWindow::getWindowRectIn(HWND other) const {
    RECT rect = getWindowRect();
    MapWindowPoints(nullptr, other, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT BaseWindow::getClientRect(bool includeScrollBars) const {
    RECT rect{};
    GetClientRect(handle_, &rect);
    if (includeScrollBars) {
        rect.right += scrollBarExtent(handle_, OBJID_VSCROLL);
        rect.bottom += scrollBarExtent(handle_, OBJID_HSCROLL);
    }
    return rect;
}

RECT BaseWindow::getClientRectOnScreen(bool includeScrollBars) const {
    RECT rect = getClientRect(includeScrollBars);
    clientToScreen(rect);
    return rect;
}

SIZE BaseWindow::getSize() const {
    const RECT rect = getWindowRect();
    return {rect.right - rect.left, rect.bottom - rect.top};
}

SIZE BaseWindow::getClientSize(bool includeScrollBars) const {
    const RECT rect = getClientRect(includeScrollBars);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

int BaseWindow::getWidth() const {
    return getSize().cx;
}

int BaseWindow::getHeight() const {
    return getSize().cy;
}

int BaseWindow::getClientWidth(bool includeScrollBars) const {
    return getClientSize(includeScrollBars).cx;
}

int BaseWindow::getClientHeight(bool includeScrollBars) const {
    return getClientSize(includeScrollBars).cy;
}

POINT BaseWindow::getPosition() const {
    const RECT rect =
        getWindowRectIn((getLong(GWL_STYLE) & WS_CHILD) ? GetParent(handle_) : nullptr);
    return {rect.left, rect.top};
}

int BaseWindow::getX() const {
    return getPosition().x;
}

int BaseWindow::getY() const {
    return getPosition().y;
}

std::optional<RECT> BaseWindow::getMonitorRect() const {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!handle_ || !GetMonitorInfoW(MonitorFromWindow(handle_, MONITOR_DEFAULTTONEAREST), &info))
        return std::nullopt;
    return info.rcMonitor;
}

std::optional<WINDOWPLACEMENT> BaseWindow::getPlacement() const {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (!GetWindowPlacement(handle_, &placement))
        return std::nullopt;
    return placement;
}

bool BaseWindow::setPlacement(const WINDOWPLACEMENT& placement) {
    return SetWindowPlacement(handle_, &placement);
}

void BaseWindow::clientToScreen(POINT& point) const {
    MapWindowPoints(handle_, nullptr, &point, 1);
}

void BaseWindow::clientToScreen(RECT& rect) const {
    MapWindowPoints(handle_, nullptr, reinterpret_cast<POINT*>(&rect), 2);
}

void BaseWindow::screenToClient(POINT& point) const {
    MapWindowPoints(nullptr, handle_, &point, 1);
}

void BaseWindow::screenToClient(RECT& rect) const {
    MapWindowPoints(nullptr, handle_, reinterpret_cast<POINT*>(&rect), 2);
}

bool BaseWindow::isCursorInWindow() const {
    POINT cursor{};
    return GetCursorPos(&cursor) && strictlyInside(getWindowRect(), cursor);
}

bool BaseWindow::isCursorInClient(const RECT* rect) const {
    if (!handle_)
        return false;
    RECT area = rect ? *rect : getClientRect();
    clientToScreen(area);
    POINT cursor{};
    return GetCursorPos(&cursor) && strictlyInside(area, cursor);
}

void BaseWindow::setScrollRange(int min, int max, int bar, bool redraw) {
    SetScrollRange(handle_, bar, min, max, redraw);
}

int BaseWindow::setScrollPos(int position, int bar, bool redraw) {
    return SetScrollPos(handle_, bar, position, redraw);
}

int BaseWindow::setScrollInfo(const SCROLLINFO& info, int bar, bool redraw) {
    return SetScrollInfo(handle_, bar, &info, redraw);
}

bool BaseWindow::getScrollInfo(SCROLLINFO& info, int bar) const {
    return GetScrollInfo(handle_, bar, &info);
}

int BaseWindow::getScrollPos(int bar) const {
    return GetScrollPos(handle_, bar);
}

void BaseWindow::showScrollBar(int bar, bool show) {
    ShowScrollBar(handle_, bar, show);
}

void BaseWindow::enableScrollBar(int bar, bool enable) {
    EnableScrollBar(handle_, bar, enable ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
}

HWND BaseWindow::setFocus() {
    return handle_ ? SetFocus(handle_) : nullptr;
}

void BaseWindow::setCapture() {
    if (handle_)
        SetCapture(handle_);
}

void BaseWindow::releaseCapture() {
    if (handle_ && GetCapture() == handle_)
        ReleaseCapture();
}

void BaseWindow::setText(const ZString& text) {
    SetWindowTextW(handle_, text.w_str());
}

ZString BaseWindow::getText() const {
    const auto length = static_cast<int>(sendMessage(WM_GETTEXTLENGTH));
    if (length < 1)
        return ZString();
    ZString text(length);
    text.setLength(static_cast<int>(
        sendMessage(WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.wdata()))));
    return text;
}

UINT_PTR BaseWindow::setTimer(UINT_PTR id, UINT milliseconds) {
    return handle_ ? SetTimer(handle_, id, milliseconds, nullptr) : 0;
}

bool BaseWindow::killTimer(UINT_PTR id) {
    return handle_ && KillTimer(handle_, id);
}

void BaseWindow::setRedraw(bool redraw) {
    sendMessage(WM_SETREDRAW, redraw);
}

void BaseWindow::invalidate(const RECT* rect, bool erase) {
    if (handle_)
        InvalidateRect(handle_, rect, erase);
}

void BaseWindow::invalidateNow(const RECT* rect, bool erase) {
    invalidate(rect, erase);
    update();
}

void BaseWindow::redraw(UINT flags, const RECT* rect, HRGN region) {
    if (handle_)
        RedrawWindow(handle_, rect, region, flags);
}

void BaseWindow::update() {
    UpdateWindow(handle_);
}

void BaseWindow::setIcon(const BaseInstance& module, WORD id) {
    const HICON big = module.loadIcon(id, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    sendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    const HICON small =
        module.loadIcon(id, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
    sendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

void BaseWindow::setIconFromOwnModule(WORD id) {
    setIcon(BaseInstance(reinterpret_cast<HMODULE>(getLong(GWLP_HINSTANCE))), id);
}

void BaseWindow::makeModal() {
    if (getLong(GWL_STYLE) & WS_CHILD)
        return;
    if (!isAttached())
        reattach();
    // A top-level window's owner is what a modal window keeps from input; GetParent would miss
    // the owner of a window without WS_POPUP.
    const HWND owner = GetWindow(handle_, GW_OWNER);
    const bool ownerWasDisabled = owner && EnableWindow(owner, FALSE);
    DestroyListener destroyListener;
    addListener(&destroyListener);
    const UINT_PTR tick = SetTimer(nullptr, 0, 100, nullptr);
    endModal_ = false;

    MSG message{};
    while (!endModal_ && IsWindow(handle_)) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            // The caller's loop has to see the quit message too.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got < 0)
            break;
        if (message.message != WM_TIMER || message.hwnd || message.wParam != tick) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (destroyListener.destroyed)
            break;
    }

    KillTimer(nullptr, tick);
    removeListener(&destroyListener);
    if (owner) {
        if (!ownerWasDisabled)
            EnableWindow(owner, TRUE);
        BringWindowToTop(owner);
    }
}
