// Native controls hosted by control views, in a real frame window under the test display.
#include "tests/xhtml/frame/WindowedFrame.h"
#include "xhtml/frame/Win32Controls.h"

using namespace xhtml;

namespace {

// Counts the WM_SETFONT messages sent to one window of this thread.
HWND fontWatched = nullptr;
int fontsSent = 0;

LRESULT CALLBACK countFonts(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message->hwnd == fontWatched && message->message == WM_SETFONT)
        ++fontsSent;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(Controls, FontsAreSetOnceAndHostedControlsAreReplaced) {
    Page page(u"<textarea id='a' style='font-size:12px'>licence</textarea>"
              u"<input type='button' value='b'/><input id='c'/>"
              u"<object id='bar' width='100' height='20'></object>");
    const HWND frame = page.getWindow().getHandle();
    const HWND a = controlWindow(page.control(u"a"));
    const HWND c = controlWindow(page.control(u"c"));
    ASSERT_TRUE(a && c);
    EXPECT_TRUE(GetWindowLongPtrW(a, GWL_STYLE) & ES_MULTILINE);

    // An edit control wraps all its text again for every font it is given.
    fontWatched = a;
    fontsSent = 0;
    const HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, countFonts, nullptr, GetCurrentThreadId());
    page.scheduleUpdate(true);
    EXPECT_EQ(fontsSent, 0);
    page.control(u"a").changeProperty(PropertyId::FontSize, StyleValue::integer(20));
    page.scheduleUpdate(true);
    EXPECT_EQ(fontsSent, 1);
    page.scheduleUpdate(true);
    EXPECT_EQ(fontsSent, 1);
    UnhookWindowsHookEx(hook);

    ControlView& bar = page.control(u"bar");
    const auto progress = [&] {
        return CreateWindowExW(0, L"msctls_progress32", L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                               frame, nullptr, nullptr, nullptr);
    };
    const HWND owned = progress();
    setControl(bar, owned, true);
    EXPECT_EQ(controlWindow(bar), owned);
    const HWND borrowed = progress();
    setControl(bar, borrowed, false);
    EXPECT_FALSE(IsWindow(owned));
    EXPECT_EQ(placedRect(borrowed, frame), bar.getContentRect());
    EXPECT_EQ(bar.getContentRect().size(), (Size{100, 20}));
    setControl(bar, nullptr, false);
    EXPECT_TRUE(IsWindow(borrowed));
    EXPECT_EQ(controlWindow(bar), nullptr);
    DestroyWindow(borrowed);
}

} // namespace
