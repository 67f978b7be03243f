#include "xhtml/frame/IFrameView.h"

#include "xhtml/frame/Painter.h"

namespace xhtml {

IFrameView::IFrameView(ViewContext* context) : FrameView(context) {
    setKind(IFrameKind);
}

void IFrameView::moveBy(int dx, int dy) {
    View::moveBy(dx, dy);
}

Rect IFrameView::layoutChildren(const Rect& content, Layouter::Mode mode) {
    if (isUpdating())
        return FrameView::layoutChildren(content, mode);
    const Size needed =
        FrameView::layoutChildren({0, 0, content.width(), content.height()}, Layouter::Measure)
            .size();
    return Rect::at({content.left, content.top}, needed);
}

void IFrameView::createWindow() {
    auto* outer = dynamic_cast<FrameView*>(getFrame(true));
    if (getWindow().getHandle() || !outer || !outer->getWindow().getHandle())
        return;
    const HWND parent = outer->getWindow().getHandle();
    create(u"", 0, 0, 0, 0, WS_CHILD, 0, parent,
           reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
    // Per axis: hidden never scrolls, scroll always shows its bar, auto decides.
    const auto modeOf = [this](PropertyId id) {
        const int code = getOwnInteger(id, 0);
        return code == 4 ? Never : code == 2 ? Always : Automatic;
    };
    setScrollMode(Horizontal, modeOf(PropertyId::OverflowX));
    setScrollMode(Vertical, modeOf(PropertyId::OverflowY));
}

void IFrameView::placeWindow() {
    auto* outer = dynamic_cast<FrameView*>(getFrame(true));
    BaseWindow& window = getWindow();
    if (!outer || !window.getHandle())
        return;
    const Rect content = getContentRect();
    if (!isVisibleInTree() || content.width() < 1 || content.height() < 1) {
        window.show(false);
        return;
    }
    const Point scroll = outer->getScrollPosition();
    window.move(content.left - scroll.x, content.top - scroll.y, content.width(), content.height(),
                true);
    window.show(true);
}

void IFrameView::handleEvent(ViewEvent& event) {
    if (getParent()) {
        if (event.type == ViewEvent::ContentChanged)
            createWindow();
        if ((event.type == ViewEvent::LayoutFinished || event.type == ViewEvent::Scrolled) &&
            event.origin != this)
            placeWindow();
        if (event.type == ViewEvent::ContentChanged || event.type == ViewEvent::LayoutFinished)
            updateScrollBars();
    }
    FrameView::handleEvent(event);
}

void IFrameView::handleMouse(MouseEvent& event) {
    if (isDispatchingOwnMouse()) {
        dispatchMouse(event);
        setHovered(event.point.x >= 0 && event.point.y >= 0);
        return;
    }
    // A record of the parent document: the pointer is not over the child window.
    if (isHovered()) {
        MouseEvent leave{{-1, -1}, MouseEvent::LeftWindow};
        dispatchMouse(leave);
    }
    MouseEvent own = event;
    own.flags |= MouseEvent::NotToChildren;
    FrameView::handleMouse(own);
}

Rect IFrameView::shownContent(const Rect& clip) {
    const Rect content = getContentRect();
    auto* parentFrame =
        getParent() ? dynamic_cast<FrameView*>(getParent()->getFrame(false)) : nullptr;
    Rect bound = clip;
    if (parentFrame && parentFrame->getWindow().getHandle()) {
        const RECT client = parentFrame->getWindow().getClientRect();
        const Point scroll = parentFrame->getScrollPosition();
        bound =
            Rect{client.left, client.top, client.right, client.bottom}.movedBy(scroll.x, scroll.y);
    }
    return content.clippedTo(bound);
}

void IFrameView::captureBackground(HDC dc, const Rect& clip) {
    const Rect shown = shownContent(clip);
    if (shown.isEmpty())
        return;
    const int width = shown.width(), height = shown.height();
    if (!snapshot_.isValid() || snapshot_.getWidth() != width || snapshot_.getHeight() != height)
        snapshot_.create(dc, width, height);
    const Rect content = getContentRect();
    snapshotOffset_ = {shown.left - content.left, shown.top - content.top};
    const Rect area = shown.clippedTo(clip);
    if (!area.isEmpty())
        snapshot_.capture(dc, area.left, area.top, area.width(), area.height(),
                          area.left - shown.left, area.top - shown.top);
}

void IFrameView::paintContent(HDC dc, const Rect& document) {
    const Point scroll = getScrollPosition();
    snapshot_.draw(dc, scroll.x + snapshotOffset_.x, scroll.y + snapshotOffset_.y);
    paintDocumentChildren(*this, dc, document);
}

} // namespace xhtml
