// The frame in a real window under the test display: update passes, scrolling, mouse records
// and tooltips, provoked with real messages.
#include "tests/xhtml/frame/WindowedFrame.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <functional>
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

TEST(FrameView, ChangesWithinTheWindowCostOnePass) {
    TestFrame frame;
    frame.show(u"<div id='a'>a</div>");
    const int before = frame.passes;
    View* a = frame.getViewById(u"a");
    a->changeProperty(PropertyId::FontSize, StyleValue::integer(30));
    Sleep(10);
    a->changeProperty(PropertyId::Color, StyleValue::color(0xFF));
    EXPECT_EQ(frame.passes, before);
    pump(300);
    EXPECT_EQ(frame.passes, before + 1);
}

TEST(FrameView, AChangeDuringAPassSchedulesTheNextInsteadOfRecursing) {
    TestFrame frame;
    frame.show(u"<div id='a'>a</div>");
    const int before = frame.passes;
    int depth = 0;
    int deepest = 0;
    frame.onPass = [&] {
        ++depth;
        deepest = std::max(deepest, depth);
        // A property change and a resize (which asks for an immediate pass) both wait.
        if (frame.passes == before + 1) {
            frame.getViewById(u"a")->changeProperty(PropertyId::FontSize, StyleValue::integer(40));
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

TEST(FrameView, ScrollingStopsAtTheDocumentsEnd) {
    TestFrame frame;
    frame.show(u"<div style='height:1000px'>tall</div>");
    const int clientHeight = frame.getClientRect().height();
    frame.scrollTo(FrameView::Vertical, 1000);
    EXPECT_EQ(frame.getScrollPosition().y, frame.getDocumentSize().height - clientHeight);
    EXPECT_EQ(frame.getDocumentSize().height, 1000);
    // Page Down moves one page; the wheel is turned into a scroll message too.
    frame.scrollTo(FrameView::Vertical, 0);
    frame.getWindow().sendMessage(WM_KEYDOWN, VK_NEXT);
    pump(50);
    const int page = frame.getScrollPosition().y;
    EXPECT_GT(page, 0);
    EXPECT_LE(page, clientHeight);
    frame.getWindow().sendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA));
    pump(50);
    EXPECT_EQ(frame.getScrollPosition().y, page + 3 * 25);

    TestFrame fitting;
    fitting.show(u"<div>short</div>");
    fitting.scrollTo(FrameView::Vertical, 1000);
    EXPECT_EQ(fitting.getScrollPosition().y, 0);
    EXPECT_FALSE(fitting.getWindow().getLong(GWL_STYLE) & WS_VSCROLL);
    // Without a vertical bar the wheel scrolls nothing.
    fitting.getWindow().sendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA));
    pump(50);
    EXPECT_EQ(fitting.getScrollPosition().y, 0);
}

TEST(FrameView, AnAlwaysShownBarIsDisabledWhenTheDocumentFits) {
    TestFrame frame;
    frame.setScrollMode(FrameView::Vertical, FrameView::Always);
    frame.show(u"<div>short</div>");
    ASSERT_TRUE(frame.getWindow().getLong(GWL_STYLE) & WS_VSCROLL);
    SCROLLBARINFO bar{};
    bar.cbSize = sizeof bar;
    ASSERT_TRUE(GetScrollBarInfo(frame.getWindow().getHandle(), OBJID_VSCROLL, &bar));
    EXPECT_TRUE(bar.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
    EXPECT_FALSE(bar.rgstate[0] & STATE_SYSTEM_INVISIBLE);
}

TEST(FrameView, LeavingTheWindowGivesExactlyOneLeaveRecord) {
    TestFrame frame;
    frame.getWindow().show(true);
    frame.show(u"<div id='a' style='height:100px'>a</div>");
    frame.getWindow().sendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    frame.getWindow().sendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(12, 10));
    EXPECT_TRUE(frame.getViewById(u"a")->isHovered());
    frame.records.clear();
    frame.getWindow().sendMessage(WM_MOUSELEAVE);
    ASSERT_EQ(frame.records.size(), 1u);
    EXPECT_EQ(frame.records[0].point.x, -1);
    EXPECT_EQ(frame.records[0].point.y, -1);
    EXPECT_EQ(frame.records[0].flags, uint32_t{MouseEvent::LeftWindow});
    EXPECT_FALSE(frame.getViewById(u"a")->isHovered());
}

TEST(FrameView, MouseRecordsAreInDocumentCoordinates) {
    TestFrame frame;
    frame.show(u"<div style='height:1000px'>tall</div>");
    frame.scrollTo(FrameView::Vertical, 2);
    frame.records.clear();
    frame.getWindow().sendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(7, 9));
    frame.getWindow().sendMessage(WM_LBUTTONUP, 0, MAKELPARAM(7, 9));
    ASSERT_EQ(frame.records.size(), 2u);
    EXPECT_EQ(frame.records[0].point.y, 9 + 50);
    EXPECT_EQ(frame.records[0].flags, uint32_t{MouseEvent::LeftHeld | MouseEvent::LeftDown});
    EXPECT_EQ(frame.records[1].flags, uint32_t{MouseEvent::LeftUp});
}

BOOL CALLBACK findTooltip(HWND window, LPARAM out) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (lstrcmpiW(name, TOOLTIPS_CLASSW) != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(out) = window;
    return FALSE;
}

// The tooltip control the frame made, if any.
HWND tooltipOf(HWND owner) {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findTooltip, reinterpret_cast<LPARAM>(&found));
    return found && GetWindow(found, GW_OWNER) == owner ? found : nullptr;
}

TEST(FrameView, OnlyNonEmptyTitlesBecomeTooltips) {
    TestFrame empty;
    empty.show(u"<div title=''>a</div>");
    EXPECT_EQ(tooltipOf(empty.getWindow().getHandle()), nullptr);

    TestFrame titled;
    titled.show(u"<div title=''>a</div><div title='tip'>b</div><span title='x'>c</span>");
    const HWND tooltip = tooltipOf(titled.getWindow().getHandle());
    ASSERT_NE(tooltip, nullptr);
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 2);
    // Another pass registers the same views again, once each.
    titled.scheduleUpdate(true);
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 2);
}

TEST(FrameView, AnOverflowingBoxBecomesANestedFrameWithAWindowOverItsContentBox) {
    TestFrame frame;
    frame.getWindow().show(true);
    frame.show(u"<div style='height:20px'>above</div>"
               u"<div id='box' style='overflow:auto; height:100px; width:200px; "
               u"border-width:1px'><div style='height:400px'>tall</div></div>"
               u"<div id='plain' style='overflow:visible'>plain</div>");
    EXPECT_EQ(frame.getViewById(u"plain")->getKind(), BlockKind);
    auto* nested = dynamic_cast<FrameView*>(frame.getViewById(u"box"));
    ASSERT_NE(nested, nullptr);
    EXPECT_EQ(nested->getKind(), IFrameKind);
    pump(300);
    const HWND window = nested->getWindow().getHandle();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetParent(window), frame.getWindow().getHandle());
    // Over the content box: inside the one-pixel border, below the first block.
    RECT placed;
    GetWindowRect(window, &placed);
    MapWindowPoints(nullptr, frame.getWindow().getHandle(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.left, 1);
    EXPECT_EQ(placed.top, 21);
    EXPECT_EQ(placed.right - placed.left, 198);
    EXPECT_EQ(placed.bottom - placed.top, 98);
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_STYLE) & WS_VSCROLL);
    EXPECT_EQ(nested->getDocumentSize().height, 400);
    // Scrolling inside moves the nested document only.
    nested->scrollTo(FrameView::Vertical, 2);
    EXPECT_EQ(nested->getScrollPosition().y, 50);
    EXPECT_EQ(frame.getScrollPosition().y, 0);
}

} // namespace
