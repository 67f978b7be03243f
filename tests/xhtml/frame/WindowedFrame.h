#pragma once

// Frames in real windows under the test display.
#include "tests/base/ZStringPrinter.h"
#include "tests/xhtml/views/GeometryPrinter.h"
#include "xhtml/frame/FrameView.h"
#include "xhtml/views/FormViews.h"
#include "xhtml/views/ViewContext.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

namespace xhtml {

// A window's rectangle in the client coordinates of `frame`, as a box of the document.
inline Rect placedRect(HWND window, HWND frame) {
    RECT placed;
    GetWindowRect(window, &placed);
    MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&placed), 2);
    return {placed.left, placed.top, placed.right, placed.bottom};
}

// The top-level window of that class that `owner` owns (a tooltip, a pop-up, a dialog), or null.
inline HWND ownedWindow(HWND owner, const wchar_t* className) {
    HWND window = FindWindowExW(nullptr, nullptr, className, nullptr);
    while (window && GetWindow(window, GW_OWNER) != owner)
        window = FindWindowExW(nullptr, window, className, nullptr);
    return window;
}

// Runs the thread's messages, so that timers fire, until the condition holds or the time is up;
// a quit message is dropped, not obeyed.
inline bool pumpUntil(const std::function<bool()>& done, int milliseconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(5);
    }
    return true;
}

inline void pump(int milliseconds) {
    pumpUntil([] { return false; }, milliseconds);
}

// A frame in a window of its own with a client area of that size, owning its context.
class WindowedFrame : public FrameView {
public:
    WindowedFrame(int width, int height) : FrameView(new ViewContext(nullptr)) {
        getContext()->setFrame(this);
        EXPECT_TRUE(create(u"test", 0, 0, 0, 0, WS_OVERLAPPEDWINDOW, 0, nullptr, nullptr, nullptr));
        getWindow().setClientSize(width, height, false);
    }
    // The content, laid out by the pass it schedules.
    void show(const char16_t* markup) {
        setContent(markup, nullptr);
        pump(250);
    }
};

// The markup shown in a visible 400 × 300 client area and laid out, its controls made.
class Page : public WindowedFrame {
public:
    explicit Page(const char16_t* markup) : WindowedFrame(400, 300) {
        getWindow().show(true);
        show(markup);
    }
    template <typename Control = ControlView> Control& control(const char16_t* id) {
        return dynamic_cast<Control&>(*getViewById(id));
    }
};

} // namespace xhtml
