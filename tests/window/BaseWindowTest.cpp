// Real windows under Wine; they need an X display.
#include "window/BaseWindow.h"

#include "tests/base/ZStringPrinter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

const wchar_t* const TestClass = L"DoxlyTestWindow";

WNDPROC procedureOf(HWND window) {
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
}

// Every window class of the program registers the shared procedure; so does the test class.
class Windows : public testing::Test {
protected:
    static void SetUpTestSuite() {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = BaseWindow::windowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = TestClass;
        ASSERT_NE(RegisterClassExW(&windowClass), 0);
    }

    static void create(BaseWindow& window, DWORD style, RECT rect = {0, 0, 200, 100},
                       HWND parent = nullptr) {
        ASSERT_TRUE(window.create(0, TestClass, L"", style, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, parent, nullptr,
                                  GetModuleHandleW(nullptr)));
    }
};

// Writes "name " to a shared log for each WM_USER; may remove itself when called.
struct LoggingListener : BaseWindow::IMessageListener {
    LoggingListener(const char* name, std::string& log, bool removesItself = false)
        : name(name), log(log), removesItself(removesItself) {}

    void onWindowMessage(BaseWindow& window, UINT message, WPARAM, LPARAM) override {
        if (message != WM_USER)
            return;
        log += name + " ";
        if (removesItself)
            window.removeListener(this);
    }

    std::string name;
    std::string& log;
    bool removesItself;
};

// Answers WM_USER itself and passes everything else on.
struct AnsweringFilter : BaseWindow::IMessageFilter {
    explicit AnsweringFilter(LRESULT answer) : answer(answer) {}

    LRESULT filterMessage(BaseWindow& window, UINT message, WPARAM wParam, LPARAM lParam) override {
        return message == WM_USER ? answer : window.defaultProc(message, wParam, lParam);
    }

    LRESULT answer;
};

// A subclass as the frame is one: its own handler, and a WM_CREATE that can refuse.
class HandlingWindow : public BaseWindow {
public:
    bool refuseCreation = false;
    std::vector<UINT> handled;

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        handled.push_back(message);
        if (message == WM_CREATE && refuseCreation)
            return -1;
        return message == WM_USER ? 5 : BaseWindow::onMessage(message, wParam, lParam);
    }
};

} // namespace

TEST_F(Windows, ListenersAreCalledInOrderAndMayRemoveThemselves) {
    BaseWindow window;
    create(window, WS_POPUP);
    std::string log;
    LoggingListener quitter("quitter", log, true), second("second", log), last("last", log);
    window.addListener(&quitter);
    window.addListener(&second);
    window.addListener(&last);
    window.sendMessage(WM_USER);
    log += "| ";
    window.sendMessage(WM_USER);
    EXPECT_EQ(log, "quitter second last | second last ");

    // Alone, a listener is called directly; removing itself then is just as safe.
    window.removeListener(&second);
    window.removeListener(&last);
    window.addListener(&quitter);
    log.clear();
    window.sendMessage(WM_USER);
    window.sendMessage(WM_USER);
    EXPECT_EQ(log, "quitter ");
}

TEST_F(Windows, FilterDecidesInsteadOfTheHandlerUntilRemoved) {
    HandlingWindow window;
    create(window, WS_POPUP);
    EXPECT_EQ(window.handled.front(), static_cast<UINT>(WM_NCCREATE))
        << "the object is attached before the first message it must see";
    EXPECT_EQ(window.sendMessage(WM_USER), 5);

    AnsweringFilter current(7), other(9);
    window.setFilter(&current);
    window.handled.clear();
    EXPECT_EQ(window.sendMessage(WM_USER), 7);
    EXPECT_TRUE(window.handled.empty()) << "the handler runs only when no filter is set";

    EXPECT_EQ(window.removeFilter(&other), &current);
    EXPECT_EQ(window.sendMessage(WM_USER), 7) << "removing another filter keeps the current one";
    EXPECT_EQ(window.removeFilter(&current), &current);
    EXPECT_EQ(window.removeFilter(&current), nullptr);
    EXPECT_EQ(window.sendMessage(WM_USER), 5);
}

TEST_F(Windows, AnAttachedEditControlKeepsItsBehaviourAndGoesWithItsLastObject) {
    BaseWindow frame;
    create(frame, WS_POPUP);
    auto taker = std::make_unique<BaseWindow>();
    HWND handle = nullptr;
    {
        BaseWindow edit;
        ASSERT_TRUE(edit.create(0, L"Edit", L"", WS_CHILD, 0, 0, 100, 20, frame.getHandle()));
        handle = edit.getHandle();
        const WNDPROC editProcedure =
            reinterpret_cast<WNDPROC>(GetClassLongPtrW(handle, GCLP_WNDPROC));
        EXPECT_EQ(procedureOf(handle), BaseWindow::windowProc);
        AnsweringFilter filter(0);
        edit.setFilter(&filter);
        edit.setText(u"type");
        edit.sendMessage(EM_SETSEL, 4, 4);
        edit.sendMessage(WM_CHAR, 'd', 1);
        EXPECT_EQ(edit.getText(), u"typed") << "only the edit control's procedure types";
        edit.removeFilter(&filter);

        // Taken over by another object, the control still has its own procedure behind it.
        {
            BaseWindow visitor;
            visitor.attach(handle);
            EXPECT_FALSE(edit.isAttached());
            visitor.sendMessage(WM_CHAR, '!', 1);
            EXPECT_EQ(visitor.getText(), u"typed!");
            visitor.detach();
            EXPECT_EQ(procedureOf(handle), editProcedure);
        }
        EXPECT_TRUE(IsWindow(handle)) << "a detached object leaves the window alone";
        edit.reattach();
        EXPECT_TRUE(edit.isAttached());
        taker->attach(handle);
    }
    EXPECT_TRUE(IsWindow(handle)) << "re-attached to another object, the window stays";
    EXPECT_EQ(taker->getText(), u"typed!");
    taker.reset();
    EXPECT_FALSE(IsWindow(handle)) << "and goes with the object it is attached to";
}

TEST_F(Windows, CreationFailsWithoutAnObjectOrWhenRefused) {
    const HWND orphan = CreateWindowExW(0, TestClass, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                        GetModuleHandleW(nullptr), nullptr);
    EXPECT_EQ(orphan, nullptr) << "WM_NCCREATE without an object refuses the window";
    if (orphan)
        DestroyWindow(orphan);

    HandlingWindow refused;
    refused.refuseCreation = true;
    EXPECT_FALSE(refused.create(0, TestClass, L"", WS_POPUP, 0, 0, 10, 10));
    EXPECT_EQ(refused.getHandle(), nullptr);
    // Without a window nothing goes to the thread: no timer, nothing in its queue.
    EXPECT_EQ(refused.setTimer(1, 10), 0u);
    EXPECT_FALSE(refused.postMessage(WM_APP));
    MSG posted{};
    EXPECT_FALSE(PeekMessageW(&posted, nullptr, WM_APP, WM_APP, PM_REMOVE));
}

TEST_F(Windows, ClientAreaWithScrollBarsAndCentringOnASmallerDesktop) {
    // With the scroll bars the client area is what the content would have without them.
    BaseWindow scrolled;
    create(scrolled, WS_POPUP | WS_VSCROLL | WS_HSCROLL, {0, 0, 200, 150});
    ASSERT_EQ(scrolled.getClientSize().cx, 200 - GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(scrolled.getClientSize(true).cx, 200);
    EXPECT_EQ(scrolled.getClientSize(true).cy, 150);
    scrolled.showScrollBar(SB_VERT, false);
    EXPECT_EQ(scrolled.getClientSize(true).cx, 200) << "a hidden bar adds nothing";

    RECT desktop{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    BaseWindow huge;
    create(huge, WS_POPUP, {0, 0, desktop.right + 1721, desktop.bottom + 977});
    huge.centerOnDesktop();
    EXPECT_EQ(huge.getPosition().x, -860) << "a window larger than the desktop";
    EXPECT_EQ(huge.getPosition().y, -488);
}
