#pragma once

// A page in a real frame window under the test display, for the tests of native controls.
#include "xhtml/frame/FrameView.h"
#include "xhtml/views/FormViews.h"
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

// The markup shown in a 400 × 300 client area and laid out, its controls made.
class Page : public FrameView {
public:
    explicit Page(const char16_t* markup) : FrameView(new ViewContext(nullptr)) {
        getContext()->setFrame(this);
        EXPECT_TRUE(
            create(u"controls", 0, 0, 0, 0, WS_OVERLAPPEDWINDOW, 0, nullptr, nullptr, nullptr));
        getWindow().setClientSize(400, 300, false);
        getWindow().show(true);
        setContent(markup, nullptr);
        pump(300);
    }
    ControlView& control(const char16_t* id) {
        return dynamic_cast<ControlView&>(*getViewById(id));
    }
};

} // namespace xhtml
