// Real windows under Wine; they need an X display.
#include "window/BaseWindow.h"

#include "tests/base/ZStringPrinter.h"
#include "window/ScopedWin32.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

using testing::Contains;

namespace {

const wchar_t* const TestClass = L"DoxlyTestWindow";

WNDPROC procedureOf(HWND window) {
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
}

std::string text(POINT point) {
    return std::to_string(point.x) + "," + std::to_string(point.y);
}

std::string text(SIZE size) {
    return std::to_string(size.cx) + "x" + std::to_string(size.cy);
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

// Writes "name " to a shared log for each message it watches; may remove itself when called.
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

// Answers WM_USER itself and passes everything else on; remembers what it saw.
struct AnsweringFilter : BaseWindow::IMessageFilter {
    explicit AnsweringFilter(LRESULT answer) : answer(answer) {}

    LRESULT filterMessage(BaseWindow& window, UINT message, WPARAM wParam, LPARAM lParam) override {
        seen.push_back(message);
        return message == WM_USER ? answer : window.defaultProc(message, wParam, lParam);
    }

    LRESULT answer;
    std::vector<UINT> seen;
};

// A subclass as the frame will be one: its own handler, and a WM_CREATE that can refuse.
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

// What a modal window's own code does on WM_APP; any timer is the test's fallback firing.
struct ModalAction : BaseWindow::IMessageListener {
    enum class Action { EndModal, Destroy };
    ModalAction(Action action, HWND owner) : action(action), owner(owner) {}

    Action action;
    HWND owner;
    int calls = 0;
    bool ownerEnabledMeanwhile = true;
    bool fallbackFired = false;

    void onWindowMessage(BaseWindow& window, UINT message, WPARAM, LPARAM) override {
        fallbackFired = fallbackFired || message == WM_TIMER;
        if (message != WM_APP)
            return;
        ++calls;
        ownerEnabledMeanwhile = IsWindowEnabled(owner);
        if (action == Action::Destroy) {
            window.destroy();
            return;
        }
        window.endModal();
        // Wakes a loop that missed the request, so that the test fails instead of hanging.
        window.setTimer(1, 5000);
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

    // Added twice, called twice; one removal takes every entry.
    window.addListener(&second);
    window.addListener(&second);
    log.clear();
    window.sendMessage(WM_USER);
    window.removeListener(&second);
    window.sendMessage(WM_USER);
    EXPECT_EQ(log, "second second ");
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
    EXPECT_EQ(current.seen, std::vector<UINT>(2, WM_USER));
}

TEST_F(Windows, AttachedEditControlKeepsItsOwnBehaviour) {
    BaseWindow frame;
    create(frame, WS_POPUP);
    BaseWindow edit;
    ASSERT_TRUE(edit.create(0, L"Edit", L"", WS_CHILD, 0, 0, 100, 20, frame.getHandle()));
    const WNDPROC editProcedure =
        reinterpret_cast<WNDPROC>(GetClassLongPtrW(edit.getHandle(), GCLP_WNDPROC));
    EXPECT_TRUE(edit.isAttached());
    EXPECT_EQ(procedureOf(edit.getHandle()), BaseWindow::windowProc);
    EXPECT_EQ(edit.getClassName().toLower(), u"edit");

    AnsweringFilter filter(0);
    edit.setFilter(&filter);
    edit.setText(u"type");
    edit.sendMessage(EM_SETSEL, 4, 4);
    edit.sendMessage(WM_CHAR, 'd', 1);
    EXPECT_EQ(edit.getText(), u"typed") << "only the edit control's procedure types";
    EXPECT_THAT(filter.seen, Contains(static_cast<UINT>(WM_SETTEXT)));
    EXPECT_THAT(filter.seen, Contains(static_cast<UINT>(WM_GETTEXT)));
    edit.removeFilter(&filter);

    // Taken over by another object, the control still has its own procedure behind it.
    {
        BaseWindow visitor;
        visitor.attach(edit.getHandle());
        EXPECT_FALSE(edit.isAttached());
        visitor.sendMessage(WM_CHAR, '!', 1);
        EXPECT_EQ(visitor.getText(), u"typed!");
        visitor.detach();
        EXPECT_EQ(procedureOf(edit.getHandle()), editProcedure);
    }
    EXPECT_TRUE(edit.isWindow()) << "a detached object leaves the window alone";
    edit.reattach();
    EXPECT_TRUE(edit.isAttached());
    EXPECT_EQ(edit.getText(), u"typed!");
}

TEST_F(Windows, TheWindowGoesWithTheObjectItIsAttachedTo) {
    HWND handle = nullptr;
    {
        BaseWindow window;
        create(window, WS_POPUP);
        handle = window.getHandle();
    }
    EXPECT_FALSE(IsWindow(handle));

    auto second = std::make_unique<BaseWindow>();
    {
        BaseWindow first;
        create(first, WS_POPUP);
        handle = first.getHandle();
        second->attach(handle);
    }
    EXPECT_TRUE(IsWindow(handle)) << "re-attached to another object, the window stays";
    EXPECT_TRUE(second->isAttached());
    second.reset();
    EXPECT_FALSE(IsWindow(handle));
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
    EXPECT_FALSE(refused.isAttached());
    EXPECT_EQ(refused.setTimer(1, 10), 0u);
    EXPECT_FALSE(refused.postMessage(WM_APP));
    MSG posted{};
    EXPECT_FALSE(PeekMessageW(&posted, nullptr, WM_APP, WM_APP, PM_REMOVE))
        << "without a window nothing goes to the thread's queue";

    BaseWindow unknown;
    EXPECT_FALSE(unknown.create(0, L"NoSuchClass", L"", WS_POPUP, 0, 0, 10, 10));
    EXPECT_EQ(unknown.getHandle(), nullptr);
}

TEST_F(Windows, SizesAndPositions) {
    BaseWindow frame;
    create(frame, WS_CAPTION | WS_SYSMENU, {30, 40, 130, 140});
    frame.setClientSize(300, 200);
    EXPECT_EQ(text(frame.getClientSize()), "300x200");
    EXPECT_EQ(text(frame.getPosition()), "30,40") << "resizing keeps the position";

    BaseWindow child;
    create(child, WS_CHILD | WS_VISIBLE, {15, 25, 55, 55}, frame.getHandle());
    EXPECT_EQ(text(child.getPosition()), "15,25") << "in the parent's client coordinates";
    child.resize(60, 50);
    EXPECT_EQ(text(child.getPosition()), "15,25");
    EXPECT_EQ(text(child.getSize()), "60x50");
    EXPECT_EQ(child.getTopLevelWindow(), frame.getHandle());

    RECT desktop{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    BaseWindow huge;
    create(huge, WS_POPUP, {0, 0, desktop.right + 1721, desktop.bottom + 977});
    huge.centerOnDesktop();
    EXPECT_EQ(text(huge.getPosition()), "-860,-488");
    const auto monitor = huge.getMonitorRect();
    ASSERT_TRUE(monitor.has_value());
    EXPECT_TRUE(EqualRect(&*monitor, &desktop));
}

TEST_F(Windows, ClientRectCanIncludeTheScrollBars) {
    BaseWindow window;
    create(window, WS_POPUP | WS_VSCROLL | WS_HSCROLL, {0, 0, 200, 150});
    const SIZE bars{GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYHSCROLL)};
    EXPECT_EQ(text(window.getClientSize()), text(SIZE{200 - bars.cx, 150 - bars.cy}));
    EXPECT_EQ(text(window.getClientSize(true)), "200x150");

    window.showScrollBar(SB_VERT, false);
    EXPECT_EQ(text(window.getClientSize(true)), "200x150") << "a hidden bar adds nothing";
    EXPECT_EQ(text(window.getClientSize()), text(SIZE{200, 150 - bars.cy}));
}

TEST_F(Windows, ModalLoopEndsOnRequestOrDestructionAndFreesTheOwner) {
    BaseWindow owner;
    create(owner, WS_POPUP);
    BaseWindow child;
    create(child, WS_CHILD, {0, 0, 10, 10}, owner.getHandle());
    ModalAction childAction(ModalAction::Action::EndModal, owner.getHandle());
    child.addListener(&childAction);
    child.postMessage(WM_APP);
    child.makeModal();
    EXPECT_EQ(childAction.calls, 0) << "a child window runs no loop";
    MSG pending{};
    EXPECT_TRUE(PeekMessageW(&pending, child.getHandle(), WM_APP, WM_APP, PM_REMOVE));
    child.removeListener(&childAction);

    {
        BaseWindow dialog;
        create(dialog, WS_POPUP, {0, 0, 50, 50}, owner.getHandle());
        ModalAction action(ModalAction::Action::EndModal, owner.getHandle());
        dialog.addListener(&action);
        // GetMessageW handles a message sent from another thread itself and waits on, so only
        // the loop's own tick lets it see the request.
        std::thread sender([&] { SendMessageW(dialog.getHandle(), WM_APP, 0, 0); });
        dialog.makeModal();
        sender.join();
        EXPECT_EQ(action.calls, 1);
        EXPECT_FALSE(action.ownerEnabledMeanwhile);
        EXPECT_FALSE(action.fallbackFired) << "the loop's own tick ends it after endModal";
        EXPECT_TRUE(IsWindowEnabled(owner.getHandle()));
        EXPECT_TRUE(dialog.isWindow());
        dialog.removeListener(&action);
    }
    {
        BaseWindow dialog;
        create(dialog, WS_POPUP, {0, 0, 50, 50}, owner.getHandle());
        ModalAction action(ModalAction::Action::Destroy, owner.getHandle());
        dialog.addListener(&action);
        dialog.postMessage(WM_APP);
        dialog.makeModal();
        EXPECT_EQ(action.calls, 1);
        EXPECT_FALSE(action.ownerEnabledMeanwhile);
        EXPECT_FALSE(dialog.isWindow());
        EXPECT_TRUE(IsWindowEnabled(owner.getHandle()));
    }

    // An owner disabled before stays disabled; a quit message ends the loop and is kept.
    BaseWindow dialog;
    create(dialog, WS_POPUP, {0, 0, 50, 50}, owner.getHandle());
    EnableWindow(owner.getHandle(), FALSE);
    PostQuitMessage(3);
    dialog.makeModal();
    EXPECT_FALSE(IsWindowEnabled(owner.getHandle()));
    MSG quit{};
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 3u);
}

TEST_F(Windows, IconsAtTheSystemsLargeAndSmallSizes) {
    BaseWindow window;
    create(window, WS_POPUP);
    window.setIconFromOwnModule(100);
    const auto iconSize = [&](WPARAM which) {
        ICONINFO info{};
        if (!GetIconInfo(reinterpret_cast<HICON>(window.sendMessage(WM_GETICON, which)), &info))
            return std::string("none");
        const ScopedBitmap color(info.hbmColor), mask(info.hbmMask);
        BITMAP description{};
        GetObjectW(color.get(), sizeof(description), &description);
        return text(SIZE{description.bmWidth, description.bmHeight});
    };
    EXPECT_EQ(iconSize(ICON_BIG),
              text(SIZE{GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)}));
    EXPECT_EQ(iconSize(ICON_SMALL),
              text(SIZE{GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)}));
}
