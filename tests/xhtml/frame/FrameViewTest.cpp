// The frame in a real window under the test display: update passes, scrolling, mouse records
// and tooltips, provoked with real messages.
#include "tests/xhtml/frame/WindowedFrame.h"
#include "xhtml/frame/Win32Controls.h"

#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

using namespace xhtml;

namespace {

// A frame that counts its update passes and records the mouse records it is given.
class TestFrame : public WindowedFrame {
public:
    TestFrame() : WindowedFrame(300, 200) {}
    void handleEvent(ViewEvent& event) override {
        if (event.type == ViewEvent::LayoutFinished && event.origin == this) {
            ++passes;
            if (onPass)
                onPass();
        }
        FrameView::handleEvent(event);
    }
    void handleMouse(MouseEvent& event) override {
        records.push_back(event);
        FrameView::handleMouse(event);
    }
    int passes = 0;
    std::function<void()> onPass;
    std::vector<MouseEvent> records;
};

TEST(FrameView, ChangesWithinTheWindowCostOnePassAndNeverRunInsideOne) {
    TestFrame frame;
    frame.show(u"<div id='a'>a</div>");
    int before = frame.passes;
    View* a = frame.getViewById(u"a");
    a->changeProperty(PropertyId::FontSize, StyleValue::integer(30));
    Sleep(10);
    a->changeProperty(PropertyId::Color, StyleValue::color(0xFF));
    EXPECT_EQ(frame.passes, before);
    pump(300);
    EXPECT_EQ(frame.passes, before + 1);

    before = frame.passes;
    int depth = 0;
    int deepest = 0;
    frame.onPass = [&] {
        ++depth;
        deepest = std::max(deepest, depth);
        // A property change and a resize (which asks for an immediate pass) both wait.
        if (frame.passes == before + 1) {
            a->changeProperty(PropertyId::FontSize, StyleValue::integer(40));
            frame.getWindow().setClientSize(320, 220, false);
        }
        --depth;
    };
    frame.scheduleUpdate(true);
    EXPECT_EQ(frame.passes, before + 1);
    pump(300);
    EXPECT_EQ(frame.passes, before + 2);
    EXPECT_EQ(deepest, 1);
}

TEST(FrameView, AFittingDocumentDoesNotScrollAndABarShownAlwaysIsDisabled) {
    TestFrame fitting;
    // A document replaced by a short one leaves no trace of its size.
    fitting.show(u"<div style='height:1000px'>tall</div>");
    EXPECT_EQ(fitting.getDocumentSize().height, 1000);
    fitting.show(u"<div>short</div>");
    EXPECT_LT(fitting.getDocumentSize().height, 100);
    fitting.scrollTo(FrameView::Vertical, 1000);
    EXPECT_EQ(fitting.getScrollPosition().y, 0);
    EXPECT_FALSE(fitting.getWindow().getLong(GWL_STYLE) & WS_VSCROLL);
    fitting.setScrollMode(FrameView::Vertical, FrameView::Always);
    fitting.scheduleUpdate(true);
    ASSERT_TRUE(fitting.getWindow().getLong(GWL_STYLE) & WS_VSCROLL);
    SCROLLBARINFO bar{};
    bar.cbSize = sizeof bar;
    ASSERT_TRUE(GetScrollBarInfo(fitting.getWindow().getHandle(), OBJID_VSCROLL, &bar));
    EXPECT_TRUE(bar.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
    EXPECT_FALSE(bar.rgstate[0] & STATE_SYSTEM_INVISIBLE);
}

TEST(FrameView, OnlyNonEmptyTitlesBecomeTooltips) {
    TestFrame frame;
    frame.show(u"<div title=''>a</div>");
    EXPECT_EQ(ownedWindow(frame.getWindow().getHandle(), TOOLTIPS_CLASSW), nullptr);
    frame.show(u"<div title=''>a</div><div title='tip'>b</div><span title='x'>c</span>");
    const HWND tooltip = ownedWindow(frame.getWindow().getHandle(), TOOLTIPS_CLASSW);
    ASSERT_NE(tooltip, nullptr);
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 2);
    // Another pass registers the same views again, once each.
    frame.scheduleUpdate(true);
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 2);
}

TEST(FrameView, AShownFrameGivesOneLeaveRecordAndNestsAFrameForAnOverflowingBox) {
    TestFrame frame;
    frame.getWindow().show(true);
    frame.show(u"<div id='above' style='height:20px'>above</div>"
               u"<div id='box' style='overflow:auto; height:100px; width:200px; "
               u"border-width:1px'><div style='height:400px'>tall</div></div>");
    const HWND window = frame.getWindow().getHandle();
    frame.getWindow().sendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    frame.getWindow().sendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(12, 10));
    EXPECT_TRUE(frame.getViewById(u"above")->isHovered());
    frame.records.clear();
    frame.getWindow().sendMessage(WM_MOUSELEAVE);
    ASSERT_EQ(frame.records.size(), 1u);
    EXPECT_EQ(frame.records[0].point.x, -1);
    EXPECT_EQ(frame.records[0].point.y, -1);
    EXPECT_EQ(frame.records[0].flags, uint32_t{MouseEvent::LeftWindow});
    EXPECT_FALSE(frame.getViewById(u"above")->isHovered());

    auto* nested = dynamic_cast<FrameView*>(frame.getViewById(u"box"));
    ASSERT_NE(nested, nullptr);
    EXPECT_EQ(nested->getKind(), IFrameKind);
    pump(300);
    const HWND inner = nested->getWindow().getHandle();
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(GetParent(inner), window);
    // Over the content box: inside the one-pixel border, below the first block.
    EXPECT_EQ(placedRect(inner, window), (Rect{1, 21, 199, 119}));
    EXPECT_TRUE(GetWindowLongPtrW(inner, GWL_STYLE) & WS_VSCROLL);
    EXPECT_EQ(nested->getDocumentSize().height, 400);
    // Scrolling inside moves the nested document only, and stops at its end.
    nested->scrollTo(FrameView::Vertical, 2);
    EXPECT_EQ(nested->getScrollPosition().y, 50);
    EXPECT_EQ(frame.getScrollPosition().y, 0);
    nested->scrollTo(FrameView::Vertical, 1000);
    EXPECT_EQ(nested->getScrollPosition().y, 400 - nested->getClientRect().height());
}

// The ids of the views that report clicks, in order.
struct Clicks : EventListener {
    void onClicked(View* view) override {
        if (!view->getId().isEmpty())
            heard += toUtf8(view->getId()) + ' ';
    }
    std::string heard;
};

// Fifty-pixel blocks b0, b1, ... one below the other.
ZString blocks(int count) {
    ZString markup;
    for (int i = 0; i < count; ++i)
        markup.append(ZString::format(u"<div id='b%d' style='height:50px'>%d</div>", i, i));
    return markup;
}

// Moves the pointer over the window's client point and reports the ids of the hovered blocks.
std::string hoveredAfterMove(FrameView& frame, HWND window, int x, int y) {
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    std::string hovered;
    std::vector<View*> blocks;
    frame.collectViewsByKind(blocks, BlockKind);
    for (const View* block : blocks) {
        if (block->isHovered() && !block->getId().isEmpty())
            hovered += toUtf8(block->getId()) + ' ';
    }
    return hovered;
}

void clickAt(HWND window, int x, int y) {
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

TEST(FrameView, EveryPointOfAScrolledDocumentReachesItsViews) {
    TestFrame frame;
    frame.getWindow().show(true);
    frame.show(blocks(10).c_str());
    Clicks clicks;
    frame.getContext()->setListener(&clicks);
    const HWND window = frame.getWindow().getHandle();
    const int bottom = frame.getClientRect().height() - 5;
    ASSERT_EQ(hoveredAfterMove(frame, window, 10, 10), "b0 ");
    clickAt(window, 10, 60);
    // At the end of the document the window shows its last 200 pixels, 300 to 500.
    frame.getWindow().sendMessage(WM_KEYDOWN, VK_NEXT);
    frame.getWindow().sendMessage(WM_KEYDOWN, VK_NEXT);
    pump(100);
    ASSERT_EQ(frame.getScrollPosition().y, 500 - frame.getClientRect().height());
    EXPECT_EQ(hoveredAfterMove(frame, window, 10, bottom), "b9 ");
    EXPECT_EQ(hoveredAfterMove(frame, window, 10, bottom - 50), "b8 ");
    EXPECT_EQ(hoveredAfterMove(frame, window, 10, 5), "b6 ");
    clickAt(window, 10, bottom);
    clickAt(window, 10, 5);
    EXPECT_EQ(clicks.heard, "b1 b9 b6 ");
    frame.getContext()->setListener(nullptr);
}

TEST(FrameView, EveryPointOfAScrolledNestedFrameReachesItsViews) {
    TestFrame frame;
    frame.getWindow().show(true);
    // The box stays in view when the page scrolls to its end.
    frame.show((ZString(u"<div style='height:250px'>above</div><div id='box' style='overflow:auto; "
                        u"height:100px; width:200px'>") +
                blocks(6) + u"<input id='field'/></div><div style='height:50px'>below</div>")
                   .c_str());
    Clicks clicks;
    frame.getContext()->setListener(&clicks);
    auto* nested = dynamic_cast<FrameView*>(frame.getViewById(u"box"));
    ASSERT_NE(nested, nullptr);
    pump(300);
    const HWND inner = nested->getWindow().getHandle();
    ASSERT_NE(inner, nullptr);
    // Both documents scrolled to their ends, the text input at the bottom of the nested one.
    frame.scrollTo(FrameView::Vertical, 1000);
    nested->scrollTo(FrameView::Vertical, 1000);
    View& field = *frame.getViewById(u"field");
    ASSERT_EQ(nested->getScrollPosition().y,
              field.getRect().bottom - nested->getClientRect().height());
    // Over the input's own window the records reach the views too.
    const HWND edit = controlWindow(static_cast<ControlView&>(field));
    ASSERT_NE(edit, nullptr);
    SendMessageW(edit, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    SendMessageW(edit, WM_MOUSEMOVE, 0, MAKELPARAM(3, 2));
    EXPECT_TRUE(field.isHovered());
    const int bottom = field.getRect().top - nested->getScrollPosition().y - 5;
    EXPECT_EQ(hoveredAfterMove(*nested, inner, 10, bottom), "b5 ");
    EXPECT_EQ(hoveredAfterMove(*nested, inner, 10, bottom - 50), "b4 ");
    clickAt(inner, 10, bottom);
    clickAt(inner, 10, 2);
    // Scrolled back to its start.
    nested->scrollTo(FrameView::Vertical, 0);
    EXPECT_EQ(hoveredAfterMove(*nested, inner, 10, 2), "b0 ");
    clickAt(inner, 10, 2);
    EXPECT_EQ(clicks.heard, "b5 b4 b0 ");
    frame.getContext()->setListener(nullptr);
}

} // namespace
