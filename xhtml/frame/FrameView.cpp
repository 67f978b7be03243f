#include "xhtml/frame/FrameView.h"

#include "window/ScopedWin32.h"

#include "xhtml/frame/FrameAccessible.h"
#include "xhtml/frame/IFrameView.h"
#include "xhtml/frame/MouseMessages.h"
#include "xhtml/frame/Painter.h"
#include "xhtml/frame/Win32Controls.h"
#include "xhtml/frame/Win32FileChooser.h"
#include "xhtml/frame/Win32ViewPlatform.h"
#include "xhtml/views/Dpi.h"
#include "xhtml/views/ViewContext.h"
#include "xhtml/views/ViewPlatform.h"

#include <commctrl.h>
#include <objidl.h>
// After the COM declarations it relies on.
#include <gdiplus.h>
#include <windowsx.h>

#include <algorithm>

namespace xhtml {

namespace {

constexpr UINT_PTR kTooltipTimer = 500;

// One platform for every frame of the process, and nested frames for overflowing boxes.
void useWin32Platform() {
    static Win32ViewPlatform platform;
    setViewPlatform(&platform);
    setNestedFrameFactory(
        [](ViewContext* context) -> CompositeView* { return new IFrameView(context); });
    setNativeControlFactory(createWin32Control);
    setFileChooser(chooseWithSystemDialog);
}

int ceilingDivision(int value, int unit) {
    return unit <= 0 ? 0 : static_cast<int>((static_cast<long long>(value) + unit - 1) / unit);
}

// What edit boxes are painted on: white, or the system's window colours in high contrast.
LRESULT editColors(HDC dc) {
    const auto colors = viewPlatform().highContrast();
    if (!colors)
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    SetTextColor(dc, colors->windowText);
    SetBkColor(dc, colors->window);
    SetDCBrushColor(dc, colors->window);
    return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
}

TOOLINFOW toolOf(HWND owner, View* view) {
    TOOLINFOW tool{};
    // The size every version of the tooltip control understands.
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(view);
    tool.hinst = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE));
    return tool;
}

} // namespace

LRESULT FrameView::Frame::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return owner_->handleMessage(message, wParam, lParam);
}

FrameView::FrameView(ViewContext* context) : HtmlView(context), frame_(this) {
    setKind(FrameKind);
    const Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&gdiplusToken_, &input, nullptr);
    useWin32Platform();
}

FrameView::~FrameView() {
    frame_.destroy();
    // The views go before the context and GDI+, which their images need.
    removeAllChildren();
    if (getContext() && getContext()->getFrame() == this)
        delete getContext();
    Gdiplus::GdiplusShutdown(gdiplusToken_);
    if (comStarted_)
        CoUninitialize();
}

bool FrameView::create(const ZString& title, int x, int y, int width, int height, DWORD style,
                       DWORD exStyle, HWND parent, HINSTANCE instance, const wchar_t* className) {
    if (!instance)
        instance = GetModuleHandleW(nullptr);
    if (!className)
        className = L"XhtmlFrameView";
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = BaseWindow::windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = className;
    // Registered once per process; a second registration fails harmlessly.
    RegisterClassExW(&windowClass);
    // The page's repaint must not cover the native controls over it, scroll bars included.
    return frame_.create(exStyle, className, title.w_str(), style | WS_CLIPCHILDREN, x, y, width,
                         height, parent, nullptr, instance);
}

void FrameView::setScrollMode(int axis, int mode) {
    if (axis & Vertical)
        verticalMode_ = mode;
    if (axis & Horizontal)
        horizontalMode_ = mode;
}

void FrameView::repaintRect(const Rect* rect) {
    if (!frame_.getHandle())
        return;
    if (!rect) {
        frame_.redraw(RDW_INVALIDATE | RDW_ALLCHILDREN);
        return;
    }
    const Rect shifted = rect->movedBy(-scrollX_, -scrollY_);
    const RECT area{shifted.left, shifted.top, shifted.right, shifted.bottom};
    frame_.redraw(RDW_INVALIDATE | RDW_ALLCHILDREN, &area);
}

void FrameView::scheduleUpdate(bool immediate) {
    if (immediate && !updateInProgress_) {
        doUpdate();
        return;
    }
    if (pendingUpdate_ == 0)
        pendingUpdate_ = setTimer(100, 0);
}

void FrameView::sizeToContent(int width) {
    const Size size = measureAt(width);
    frame_.setClientSize(size.width, size.height, true);
}

void FrameView::setAutoSize(bool width, bool height) {
    autoSizeWidth_ = width;
    autoSizeHeight_ = height;
}

Rect FrameView::getClientRect() const {
    const RECT client = frame_.getClientRect();
    return {client.left, client.top, client.right, client.bottom};
}

void FrameView::doUpdate() {
    updateInProgress_ = true;
    if (pendingUpdate_ != 0) {
        killTimer(pendingUpdate_);
        pendingUpdate_ = 0;
    }
    const Rect client = getClientRect();
    // A top-level frame's box is its client area (the document may reach beyond it); a nested
    // frame's box belongs to the parent document.
    if (getKind() == FrameKind)
        setSize(client.width(), client.height());
    // The document is laid out into the client area itself, so its size is the children's.
    const Rect bounds = layoutChildren(client, Layouter::Place);
    documentSize_ = {std::max(bounds.right, 0), std::max(bounds.bottom, 0)};
    applyAutoSize();
    updateScrollBars();
    // The titles register again below; tools of views that are gone must not stay.
    for (View* view : tools_) {
        TOOLINFOW tool = toolOf(frame_.getHandle(), view);
        SendMessageW(tooltipWindow_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    tools_.clear();
    tooltipView_ = nullptr;
    sendEvent(ViewEvent::LayoutFinished);
    updateInProgress_ = false;
    repaintRect(nullptr);
    if (reorderPending_ && frame_.getHandle()) {
        reorderPending_ = false;
        NotifyWinEvent(EVENT_OBJECT_REORDER, frame_.getHandle(), OBJID_CLIENT, CHILDID_SELF);
    }
}

int FrameView::scrollUnit() const {
    return scale(25);
}

void FrameView::scrollTo(int axis, int position) {
    const Size client = getClientRect().size();
    const int unit = scrollUnit();
    int x = scrollX_, y = scrollY_;
    const auto clamp = [&](int documentExtent, int clientExtent) {
        return std::min(std::max(0, documentExtent - clientExtent),
                        saturated(static_cast<long long>(position) * unit));
    };
    if (axis == Vertical)
        y = clamp(documentSize_.height, client.height);
    else if (axis == Horizontal)
        x = clamp(documentSize_.width, client.width);
    else if (axis == BothAxes && position == 0)
        x = y = 0;
    if (x == scrollX_ && y == scrollY_)
        return;
    scrollX_ = x;
    scrollY_ = y;
    sendEvent(ViewEvent::Scrolled);
    repaintRect(nullptr);
}

void FrameView::rangeScrollBar(int bar, int documentExtent, int clientExtent) {
    const int unit = scrollUnit();
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL;
    info.nMax = ceilingDivision(documentExtent, unit);
    info.nPage = static_cast<UINT>(ceilingDivision(clientExtent, unit));
    frame_.setScrollInfo(info, bar, false);
    scrollTo(bar == SB_VERT ? Vertical : Horizontal, frame_.getScrollPos(bar));
}

void FrameView::updateScrollBars() {
    if (!frame_.getHandle())
        return;
    const SIZE inner = frame_.getClientSize(false);
    const SIZE outer = frame_.getClientSize(true);
    const Size document = documentSize_;
    const bool horizontal =
        horizontalMode_ == Always || (horizontalMode_ == Automatic && document.width > outer.cx);
    const bool vertical =
        verticalMode_ == Always || (verticalMode_ == Automatic && document.height > outer.cy);
    if (!horizontal) {
        scrollTo(horizontal || vertical ? Horizontal : BothAxes, 0);
        frame_.showScrollBar(SB_HORZ, false);
    }
    if (!vertical) {
        scrollTo(Vertical, 0);
        frame_.showScrollBar(SB_VERT, false);
    }
    if (horizontal) {
        frame_.showScrollBar(SB_HORZ, true);
        frame_.enableScrollBar(SB_HORZ, document.width > inner.cx);
        rangeScrollBar(SB_HORZ, document.width, frame_.getClientSize(false).cx);
    }
    if (vertical) {
        frame_.showScrollBar(SB_VERT, true);
        frame_.enableScrollBar(SB_VERT, document.height > inner.cy);
        rangeScrollBar(SB_VERT, document.height, frame_.getClientSize(false).cy);
    }
}

void FrameView::applyAutoSize() {
    if (!isAutoSized() || !frame_.getHandle())
        return;
    std::vector<View*> bodies;
    collectViewsByKind(bodies, BodyKind);
    if (bodies.empty())
        return;
    const SIZE client = frame_.getClientSize(false);
    const Size body = bodies.front()->getSize();
    const int width = autoSizeWidth_ && horizontalMode_ == Never ? body.width : client.cx;
    const int height = autoSizeHeight_ && verticalMode_ == Never ? body.height : client.cy;
    if (width != client.cx || height != client.cy)
        frame_.setClientSize(width, height, true);
}

void FrameView::addTooltip(View* view) {
    const StyleValue* title = view->findInStyleMap(PropertyId::Title, Normal);
    if (!title || title->stringValue().isEmpty() || !frame_.getHandle())
        return;
    const HWND owner = frame_.getHandle();
    if (!tooltipWindow_) {
        tooltipWindow_ = CreateWindowExW(
            WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
            reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE)), nullptr);
        if (!tooltipWindow_)
            return;
        SetWindowPos(tooltipWindow_, HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SendMessageW(tooltipWindow_, TTM_SETMAXTIPWIDTH, 0, 300);
    }
    TOOLINFOW tool = toolOf(owner, view);
    if (std::find(tools_.begin(), tools_.end(), view) != tools_.end()) {
        SendMessageW(tooltipWindow_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
        return;
    }
    ZString text = title->stringValue();
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    tool.lpszText = text.wdata();
    if (SendMessageW(tooltipWindow_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)))
        tools_.push_back(view);
}

void FrameView::updateTooltip(bool show) {
    if (!tooltipWindow_)
        return;
    POINT cursor;
    GetCursorPos(&cursor);
    POINT anchor{cursor.x, cursor.y + scale(25)};
    RECT tip;
    GetWindowRect(tooltipWindow_, &tip);
    if (const auto monitor = frame_.getMonitorRect()) {
        anchor.x = std::max(anchor.x, monitor->left);
        if (anchor.x + (tip.right - tip.left) > monitor->right)
            anchor.x = monitor->right - (tip.right - tip.left);
        if (anchor.y + (tip.bottom - tip.top) > monitor->bottom)
            anchor.y = monitor->bottom - (tip.bottom - tip.top);
    }
    const bool inClient = frame_.isCursorInClient();
    const LPARAM position = MAKELPARAM(anchor.x, anchor.y);
    if (tooltipView_) {
        if (show && inClient && tooltipView_->isHovered() && tooltipView_->allowsTooltip()) {
            SendMessageW(tooltipWindow_, TTM_TRACKPOSITION, 0, position);
            return;
        }
        TOOLINFOW tool = toolOf(frame_.getHandle(), tooltipView_);
        SendMessageW(tooltipWindow_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
        tooltipView_ = nullptr;
    }
    if (!show || !inClient)
        return;
    for (View* view : tools_) {
        if (view->isHovered() && view->isVisibleInTree() && view->allowsTooltip()) {
            tooltipView_ = view;
            TOOLINFOW tool = toolOf(frame_.getHandle(), view);
            SendMessageW(tooltipWindow_, TTM_TRACKPOSITION, 0, position);
            SendMessageW(tooltipWindow_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
            return;
        }
    }
}

View* FrameView::findControlView(HWND window) {
    std::vector<View*> views;
    collectViews(views, [](View& view) {
        return view.getKind() == SelectKind || view.getKind() == ObjectKind;
    });
    for (View* view : views) {
        if (view->ownsWindow(window))
            return view;
    }
    return nullptr;
}

void FrameView::renderClient(HDC target, const RECT& dirtyArea) {
    // No buffer beyond what the target can show: a nested frame's window may be far larger.
    Rect dirty{dirtyArea.left, dirtyArea.top, dirtyArea.right, dirtyArea.bottom};
    if (RECT shown; GetClipBox(target, &shown) != ERROR)
        dirty = dirty.clippedTo({shown.left, shown.top, shown.right, shown.bottom});
    if (dirty.isEmpty())
        return;
    const int width = dirty.width(), height = dirty.height();
    const Rect document = dirty.movedBy(scrollX_, scrollY_);
    const ScopedMemoryDC memory(target);
    const ScopedBitmap buffer(CreateCompatibleBitmap(target, width, height));
    const ScopedSelectObject selected(memory.get(), buffer.get());
    if (!memory || !selected)
        return;
    BitBlt(memory.get(), 0, 0, width, height, target, dirty.left, dirty.top, SRCCOPY);
    // Document coordinates work directly in the buffer.
    SetViewportOrgEx(memory.get(), -document.left, -document.top, nullptr);
    paintContent(memory.get(), document);
    if (View* focus = focusRingView())
        paintFocusRing(memory.get(), focusRingOf(*focus));
    SetViewportOrgEx(memory.get(), 0, 0, nullptr);
    BitBlt(target, dirty.left, dirty.top, width, height, memory.get(), 0, 0, SRCCOPY);
}

void FrameView::paintContent(HDC dc, const Rect& document) {
    paintDocument(*this, dc, document);
}

View* FrameView::focusRingView() {
    View* view = focusedView();
    const HWND window = frame_.getHandle();
    if (!view || !window || !canTakeFocus(*view) || dynamic_cast<ControlView*>(view) ||
        view->getFrame(false) != this)
        return nullptr;
    const HWND focus = GetFocus();
    if (focus != window && focus != GetAncestor(window, GA_ROOT))
        return nullptr;
    return SendMessageW(GetAncestor(window, GA_ROOT), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS
               ? nullptr
               : view;
}

void FrameView::repaintFocusRing() {
    if (View* view = focusedView())
        invalidateRect(focusRingOf(*view));
}

void FrameView::onFocusChanged(View* view) {
    // Native controls announce their own focus.
    if (!takeNativeFocus(view))
        accessibleChange(AccessibleChange::Focus, view ? *view : *this);
}

bool FrameView::takeNativeFocus(View* view) {
    auto* control = dynamic_cast<ControlView*>(view);
    const bool native = control && control->hasControl();
    const HWND window = frame_.getHandle();
    // An inactive window takes the focus when it is activated.
    if (!window || GetActiveWindow() != GetAncestor(window, GA_ROOT))
        return native;
    if (native)
        control->getControl()->focus();
    else if (GetFocus() != window)
        SetFocus(window);
    return native;
}

bool FrameView::handleKeyMessage(UINT message, WPARAM key, LPARAM flags) {
    static constexpr std::pair<WPARAM, KeyEvent::Key> keys[] = {
        {VK_TAB, KeyEvent::Tab},       {VK_RETURN, KeyEvent::Enter}, {VK_SPACE, KeyEvent::Space},
        {VK_ESCAPE, KeyEvent::Escape}, {VK_LEFT, KeyEvent::Left},    {VK_UP, KeyEvent::Up},
        {VK_RIGHT, KeyEvent::Right},   {VK_DOWN, KeyEvent::Down}};
    const auto* found = std::find_if(std::begin(keys), std::end(keys),
                                     [&](const auto& entry) { return entry.first == key; });
    if (found == std::end(keys) || (message != WM_KEYDOWN && message != WM_KEYUP))
        return false;
    const bool down = message == WM_KEYDOWN;
    const KeyEvent event{found->second, down, GetKeyState(VK_SHIFT) < 0,
                         down && (flags & 0x40000000) != 0};
    // Navigating with the keyboard shows the focus from then on.
    if (down && event.key != KeyEvent::Enter && event.key != KeyEvent::Space &&
        event.key != KeyEvent::Escape)
        SendMessageW(GetAncestor(frame_.getHandle(), GA_ROOT), WM_CHANGEUISTATE,
                     MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    if (handleKey(event))
        return true;
    if (event.key != KeyEvent::Escape || !down)
        return false;
    // Posted: a control's message may be on the way here.
    if (!event.repeat)
        frame_.postMessage(WM_CLOSE);
    return true;
}

void FrameView::setContent(const ZString& markup, const ZString* baseUrl) {
    HtmlView::setContent(markup, baseUrl);
    scheduleUpdate(false);
}

void FrameView::onTimer(unsigned id) {
    if (id != 0 && id == pendingUpdate_) {
        killTimer(pendingUpdate_);
        pendingUpdate_ = 0;
        scheduleUpdate(true);
        return;
    }
    HtmlView::onTimer(id);
}

void FrameView::handleEvent(ViewEvent& event) {
    HtmlView::handleEvent(event);
    if (event.type == ViewEvent::ContentChanged)
        scheduleUpdate(false);
}

void FrameView::requestUpdate() {
    invalidateLayoutCache();
    invalidate();
}

void FrameView::sendEvent(int type) {
    ViewEvent event{type, this};
    handleEvent(event);
}

void FrameView::mouse(LPARAM point, uint32_t flags) {
    // Client coordinates come as unsigned 16-bit values.
    mouse(MouseEvent{{LOWORD(point) + scrollX_, HIWORD(point) + scrollY_}, flags});
}

void FrameView::mouse(MouseEvent event) {
    dispatchingOwnMouse_ = true;
    handleMouse(event);
    dispatchingOwnMouse_ = false;
}

bool FrameView::hitTest(Point point) const {
    // A nested frame is a box of the parent document.
    if (getKind() != FrameKind)
        return HtmlView::hitTest(point);
    return getClientRect().movedBy(scrollX_, scrollY_).contains(point);
}

void FrameView::handleMouse(MouseEvent& event) {
    if (getKind() != FrameKind) {
        HtmlView::handleMouse(event);
        return;
    }
    // Not the box's test of its rectangle: the children decide for themselves.
    CompositeView::handleMouse(event);
}

AccessibleTree FrameView::accessibleTree() {
    return AccessibleTree(*this, focusedView());
}

void FrameView::accessibleChange(AccessibleChange change, View& view) {
    // Readers hear of new or vanished parts once per layout pass, when their places are known.
    if (change == AccessibleChange::Structure || announceAccessibleChange(*this, change, view))
        reorderPending_ = true;
}

LRESULT FrameView::accessibleObject(WPARAM wParam) {
    // COM brings the reader's calls to this thread; started only once a reader asks.
    if (!comStarted_)
        comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    if (!accessible_)
        accessible_ = new FrameAccessible(*this);
    return LresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(accessible_));
}

void FrameView::clickAt(Point point) {
    mouse(MouseEvent{point, 0});
    mouse(MouseEvent{point, MouseEvent::LeftHeld | MouseEvent::LeftDown});
    mouse(MouseEvent{point, MouseEvent::LeftUp});
    POINT cursor;
    if (GetCursorPos(&cursor) && frame_.getHandle() &&
        ScreenToClient(frame_.getHandle(), &cursor) &&
        getClientRect().contains({cursor.x, cursor.y}))
        mouse(MouseEvent{{cursor.x + scrollX_, cursor.y + scrollY_}, 0});
    else
        mouse(MouseEvent{{-1, -1}, MouseEvent::LeftWindow});
}

void FrameView::trackMouseLeave() {
    if (mouseLeaveTracked_)
        return;
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, frame_.getHandle(), 0};
    mouseLeaveTracked_ = TrackMouseEvent(&track) != FALSE;
}

LRESULT FrameView::scroll(int axis, WPARAM request) {
    const int bar = axis == Vertical ? SB_VERT : SB_HORZ;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    if (!frame_.getScrollInfo(info, bar))
        return 0;
    int position = info.nPos;
    const int page = static_cast<int>(info.nPage);
    switch (LOWORD(request)) {
    case SB_LINEUP:
        --position;
        break;
    case SB_LINEDOWN:
        ++position;
        break;
    case SB_PAGEUP:
        position -= page;
        break;
    case SB_PAGEDOWN:
        position += page;
        break;
    case SB_THUMBTRACK:
        position = info.nTrackPos;
        break;
    case SB_TOP:
        position = info.nMin;
        break;
    case SB_BOTTOM:
        position = info.nMax;
        break;
    case SB_THUMBPOSITION:
        // Only the vertical bar takes the position the message carries.
        if (axis == Vertical)
            position = static_cast<short>(HIWORD(request));
        break;
    default:
        break;
    }
    frame_.setScrollPos(position, bar, true);
    const int now = frame_.getScrollPos(bar);
    if (now != info.nPos)
        scrollTo(axis, now);
    return 0;
}

LRESULT FrameView::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!timersStarted_ && frame_.getHandle()) {
        timersStarted_ = true;
        frame_.setTimer(kTooltipTimer, 500);
    }
    switch (message) {
    case WM_PAINT: {
        sendEvent(6);
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(frame_.getHandle(), &paint);
        renderClient(dc, paint.rcPaint);
        EndPaint(frame_.getHandle(), &paint);
        sendEvent(7);
        return 0;
    }
    case WM_SIZE:
        scheduleUpdate(true);
        return 0;
    case WM_TIMER:
        if (wParam == kTooltipTimer) {
            updateTooltip(true);
            return 0;
        }
        break;
    case WM_MOUSEMOVE: {
        updateTooltip(false);
        trackMouseLeave();
        const HWND focus = GetFocus();
        wchar_t className[257] = {};
        if (focus && focus != frame_.getHandle() && GetClassNameW(focus, className, 257) > 0 &&
            ZString(className).equals(u"XhtmlFrameView"))
            frame_.setFocus();
        mouse(lParam, mouseRecordFlags(message, wParam));
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
        // A press gives the focus to a view that takes it; the background leaves it where it is.
        if (getKind() != FrameKind)
            frame_.setFocus();
        mouse(lParam, mouseRecordFlags(message, wParam));
        std::vector<View*> pressed;
        if (message == WM_LBUTTONDOWN)
            collectViews(pressed, [](View& view) {
                return (view.getFlags() & View::LeftPressed) && canTakeFocus(view);
            });
        if (!pressed.empty())
            setFocus(pressed.back());
        return 0;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        mouse(lParam, mouseRecordFlags(message, wParam));
        return 0;
    case WM_MOUSELEAVE: {
        mouseLeaveTracked_ = false;
        mouse(MouseEvent{{-1, -1}, MouseEvent::LeftWindow});
        return 0;
    }
    case WM_SETFOCUS:
        repaintFocusRing();
        return 0;
    case WM_KILLFOCUS:
        if (View* focus = focusedView())
            focus->releaseByKey(false);
        repaintFocusRing();
        sendEvent(2);
        return 0;
    case WM_ACTIVATE:
        sendEvent(LOWORD(wParam) == 0 ? 4 : 3);
        // As a dialog, the window gives the focus back where it was.
        if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam))
            takeNativeFocus(focusedView());
        return 0;
    // The focus cues, kept here as well: not every system keeps them for a window.
    case WM_CHANGEUISTATE:
        if (getKind() != FrameKind)
            break;
        return frame_.sendMessage(WM_UPDATEUISTATE, wParam, lParam);
    case WM_UPDATEUISTATE: {
        if (HIWORD(wParam) & UISF_HIDEFOCUS && LOWORD(wParam) != UIS_INITIALIZE)
            hideFocus_ = LOWORD(wParam) == UIS_SET;
        const LRESULT result = frame_.defaultProc(message, wParam, lParam);
        repaintFocusRing();
        return result;
    }
    case WM_QUERYUISTATE:
        return (frame_.defaultProc(message, wParam, lParam) & ~UISF_HIDEFOCUS) |
               (hideFocus_ ? UISF_HIDEFOCUS : 0);
    case WM_HSCROLL:
        return scroll(Horizontal, wParam);
    case WM_VSCROLL:
        return scroll(Vertical, wParam);
    case WM_MOUSEWHEEL:
        if (verticalMode_ != Never && (frame_.getLong(GWL_STYLE) & WS_VSCROLL)) {
            const int position = frame_.getScrollPos(SB_VERT);
            const int target = GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? position - 3 : position + 3;
            frame_.postMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, target));
        }
        return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (message == WM_KEYDOWN && (wParam == VK_PRIOR || wParam == VK_NEXT)) {
            frame_.postMessage(WM_VSCROLL, wParam == VK_PRIOR ? SB_PAGEUP : SB_PAGEDOWN);
            return 0;
        }
        // Keys a child frame does not use belong to the frame around it.
        if ((frame_.getLong(GWL_STYLE) & WS_CHILD) && frame_.getParent())
            return SendMessageW(frame_.getParent(), message, wParam, lParam);
        if (handleKeyMessage(message, wParam, lParam))
            return 0;
        break;
    case WM_COMMAND:
        if (lParam != 0) {
            if (View* owner = findControlView(reinterpret_cast<HWND>(lParam)))
                owner->onCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
            return 0;
        }
        break;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (View* owner = findControlView(header->hwndFrom))
            owner->onNotify(header->hwndFrom, header);
        return 0;
    }
    case WM_GETOBJECT:
        if (static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT))
            return accessibleObject(wParam);
        break;
    case kAccessibleActionMessage: {
        const AccessibleTree tree = accessibleTree();
        if (const AccessibleItem* item = tree.find(static_cast<int32_t>(lParam)))
            clickAt(item->press);
        return 0;
    }
    case WM_ERASEBKGND:
        // A nested frame paints the parent's pixels under it itself.
        if (getKind() == IFrameKind)
            return 0;
        break;
    case WM_NCDESTROY: {
        // The window is gone, whoever destroyed it: the object must not act on its handle.
        const LRESULT result = frame_.defaultProc(message, wParam, lParam);
        frame_.releaseHandle();
        tooltipWindow_ = nullptr;
        tools_.clear();
        tooltipView_ = nullptr;
        if (accessible_) {
            accessible_->disconnect();
            accessible_->Release();
            accessible_ = nullptr;
        }
        return result;
    }
    case WM_CTLCOLOREDIT:
        return editColors(reinterpret_cast<HDC>(wParam));
    case WM_CTLCOLORSTATIC: {
        // Read-only edit boxes ask as statics; see-through, their text would smear on scrolling.
        wchar_t className[8] = {};
        GetClassNameW(reinterpret_cast<HWND>(lParam), className, 8);
        if (lstrcmpiW(className, L"Edit") == 0)
            return editColors(reinterpret_cast<HDC>(wParam));
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    case WM_CTLCOLORBTN:
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    case WM_SYSCOLORCHANGE:
        // Only top-level windows hear of it; the common controls keep the colours they read.
        for (HWND child = GetWindow(frame_.getHandle(), GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT))
            SendMessageW(child, message, wParam, lParam);
        [[fallthrough]];
    case WM_SETTINGCHANGE:
        // High contrast on or off: the painter asks the system at every paint.
        repaintRect(nullptr);
        return 0;
    default:
        break;
    }
    return frame_.defaultProc(message, wParam, lParam);
}

} // namespace xhtml
