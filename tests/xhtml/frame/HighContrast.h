#pragma once

// High contrast as the tests switch it, through the platform, and what a frame's window shows.
#include "tests/xhtml/frame/Pixels.h"
#include "xhtml/frame/FrameView.h"
#include "xhtml/frame/Win32ViewPlatform.h"

#include <optional>

namespace xhtml {

// Colours no page of these tests uses, so that each probe tells where its colour came from.
constexpr SystemColors Contrast{RGB(16, 16, 64), RGB(255, 255, 0), RGB(0, 255, 255), RGB(96, 0, 96),
                                RGB(0, 255, 0)};

// The Windows platform with a high-contrast setting of the test's own. It lives as long as the
// process, like the fonts it makes for the process-wide cache.
class ContrastPlatform : public Win32ViewPlatform {
public:
    std::optional<SystemColors> highContrast() override { return colors; }
    std::optional<SystemColors> colors;
};

inline ContrastPlatform& contrastPlatform() {
    static ContrastPlatform platform;
    return platform;
}

// The client area of a frame's window as the screen shows it, what the window had yet to paint
// painted first.
class Capture : public Pixels {
public:
    explicit Capture(FrameView& frame)
        : Capture(frame.getWindow().getHandle(), paintedClient(frame)) {}

private:
    Capture(HWND window, const RECT& client) : Pixels(client.right, client.bottom) {
        const ScopedMemoryDC memory(nullptr);
        const ScopedSelectObject selected(memory.get(), handle());
        const ScopedGetDC screen(window);
        BitBlt(memory.get(), 0, 0, width(), height(), screen.get(), 0, 0, SRCCOPY);
        GdiFlush();
    }
    static RECT paintedClient(FrameView& frame) {
        UpdateWindow(frame.getWindow().getHandle());
        RECT client;
        GetClientRect(frame.getWindow().getHandle(), &client);
        return client;
    }
};

} // namespace xhtml
