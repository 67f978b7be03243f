// Native controls hosted by control views, in a real frame window under the test display.
#include "tests/xhtml/frame/ControlPage.h"
#include "xhtml/frame/Win32Controls.h"

#include <memory>
#include <type_traits>

using namespace xhtml;

namespace {

TEST(Controls, TextInputsBecomeEditControlsOverTheirContentBox) {
    Page page(u"<div style='padding:7px'><input id='name' value='Ada' style='padding:2px'/>"
              u"<textarea id='notes' readonly style='width:200px; height:80px'>first</textarea>"
              u"<input id='secret' type='password'/></div>");
    const HWND name = controlWindow(page.control(u"name"));
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(GetParent(name), page.getWindow().getHandle());
    RECT placed;
    GetWindowRect(name, &placed);
    MapWindowPoints(nullptr, page.getWindow().getHandle(), reinterpret_cast<POINT*>(&placed), 2);
    const Rect content = page.control(u"name").getContentRect();
    EXPECT_EQ(placed.left, content.left);
    EXPECT_EQ(placed.top, content.top);
    EXPECT_EQ(placed.right, content.right);
    EXPECT_EQ(placed.bottom, content.bottom);
    EXPECT_EQ(dynamic_cast<FormElement&>(page.control(u"name")).getValue(), ZString(u"Ada"));
    // What the user types is the value from then on.
    SetWindowTextW(name, L"Grace");
    EXPECT_EQ(dynamic_cast<FormElement&>(page.control(u"name")).getValue(), ZString(u"Grace"));
    const HWND notes = controlWindow(page.control(u"notes"));
    EXPECT_TRUE(GetWindowLongPtrW(notes, GWL_STYLE) & ES_READONLY);
    EXPECT_TRUE(GetWindowLongPtrW(notes, GWL_STYLE) & ES_MULTILINE);
    EXPECT_TRUE(GetWindowLongPtrW(controlWindow(page.control(u"secret")), GWL_STYLE) & ES_PASSWORD);
}

TEST(Controls, TabInATextAreaMovesTheFocusToTheNextTextInputAndWraps) {
    Page page(u"<textarea id='a' readonly>licence</textarea><input type='button' value='b'/>"
              u"<input id='c'/><input id='d' style='display:none'/>");
    const HWND a = controlWindow(page.control(u"a"));
    const HWND c = controlWindow(page.control(u"c"));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(c, nullptr);
    SetFocus(a);
    SendMessageW(a, WM_KEYDOWN, VK_TAB, 0);
    SendMessageW(a, WM_KEYUP, VK_TAB, 0);
    EXPECT_EQ(GetFocus(), c);
    // From the last one, around to the first; the hidden input is passed over.
    SendMessageW(c, WM_KEYUP, VK_TAB, 0);
    EXPECT_EQ(GetFocus(), a);
    // The Tab itself never reaches the control: a text area would take it as text.
    SetWindowTextW(a, L"");
    SendMessageW(a, WM_CHAR, L'\t', 0);
    EXPECT_EQ(GetWindowTextLengthW(a), 0);
}

TEST(Controls, TheOnlyTextAreaKeepsTheFocusOnTab) {
    Page page(u"<textarea id='a'>x</textarea>");
    const HWND a = controlWindow(page.control(u"a"));
    SetFocus(page.getWindow().getHandle());
    SendMessageW(a, WM_KEYUP, VK_TAB, 0);
    EXPECT_EQ(GetFocus(), a);
}

TEST(Controls, ReplacingAnOwnedControlDestroysItAndABorrowedOneLivesOn) {
    Page page(u"<object id='bar' width='100' height='20'></object>");
    ControlView& bar = page.control(u"bar");
    const auto progress = [&] {
        return CreateWindowExW(0, L"msctls_progress32", L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                               page.getWindow().getHandle(), nullptr, nullptr, nullptr);
    };
    const HWND owned = progress();
    setControl(bar, owned, true);
    EXPECT_EQ(controlWindow(bar), owned);
    const HWND borrowed = progress();
    setControl(bar, borrowed, false);
    EXPECT_FALSE(IsWindow(owned));
    // Placed over the object's content box.
    RECT placed;
    GetWindowRect(borrowed, &placed);
    EXPECT_EQ(placed.right - placed.left, 100);
    EXPECT_EQ(placed.bottom - placed.top, 20);
    setControl(bar, nullptr, false);
    EXPECT_TRUE(IsWindow(borrowed));
    EXPECT_EQ(controlWindow(bar), nullptr);
    DestroyWindow(borrowed);
}

TEST(Controls, AHiddenBoxHidesItsControl) {
    Page page(u"<div id='box'><input id='name'/></div>");
    const HWND name = controlWindow(page.control(u"name"));
    EXPECT_TRUE(IsWindowVisible(name));
    page.getViewById(u"box")->changeProperty(PropertyId::Display, StyleValue::integer(0));
    pump(300);
    EXPECT_FALSE(IsWindowVisible(name));
}

TEST(Controls, MouseRecordsOverAControlReachTheViewTree) {
    Page page(u"<input id='name' style='width:100px'/>");
    ControlView& name = page.control(u"name");
    const HWND window = controlWindow(name);
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(4, 3));
    EXPECT_TRUE(name.isHovered());
}

// The WM_SETFONT messages sent to one window of this thread while it lives.
class FontCounter {
public:
    explicit FontCounter(HWND window)
        : hook_(SetWindowsHookExW(WH_CALLWNDPROC, count, nullptr, GetCurrentThreadId())) {
        watched = window;
        sent = 0;
    }
    int count() const { return sent; }

private:
    static LRESULT CALLBACK count(int code, WPARAM wParam, LPARAM lParam) {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && message->hwnd == watched && message->message == WM_SETFONT)
            ++sent;
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    struct Unhook {
        void operator()(HHOOK hook) const { UnhookWindowsHookEx(hook); }
    };
    static inline HWND watched = nullptr;
    static inline int sent = 0;
    std::unique_ptr<std::remove_pointer_t<HHOOK>, Unhook> hook_;
};

TEST(Controls, ALayoutPassSetsTheFontOnlyWhenItChanged) {
    Page page(u"<textarea id='a' style='font-size:12px'>a long licence</textarea>");
    FontCounter fonts(controlWindow(page.control(u"a")));
    // An edit control wraps all its text again for every font it is given.
    page.scheduleUpdate(true);
    EXPECT_EQ(fonts.count(), 0);
    page.control(u"a").changeProperty(PropertyId::FontSize, StyleValue::integer(20));
    page.scheduleUpdate(true);
    EXPECT_EQ(fonts.count(), 1);
    page.scheduleUpdate(true);
    EXPECT_EQ(fonts.count(), 1);
}

} // namespace
