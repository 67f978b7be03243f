#pragma once

#include "xhtml/frame/FrameView.h"
#include "xhtml/views/ViewContext.h"

#include <gtest/gtest.h>

#include <chrono>

namespace xhtml {

// Runs the thread's messages for a while, so that timers fire.
inline void pump(int milliseconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    MSG message;
    while (std::chrono::steady_clock::now() < end) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(5);
    }
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

} // namespace xhtml
