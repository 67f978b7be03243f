#pragma once

// High contrast as the tests switch it, through the platform, and what a frame's window shows.
#include "window/ScopedWin32.h"
#include "xhtml/frame/FrameView.h"
#include "xhtml/frame/PngFile.h"
#include "xhtml/frame/Win32ViewPlatform.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>

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

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const Rgb& c) {
        return out << c.r << ',' << c.g << ',' << c.b;
    }
};

inline Rgb rgb(COLORREF color) {
    return {GetRValue(color), GetGValue(color), GetBValue(color)};
}

// The client area of a frame's window as the screen shows it, in a 32-bit bitmap.
class Capture {
public:
    explicit Capture(FrameView& frame) {
        // What the window has yet to paint first.
        UpdateWindow(frame.getWindow().getHandle());
        const HWND window = frame.getWindow().getHandle();
        RECT client;
        GetClientRect(window, &client);
        width_ = client.right;
        height_ = client.bottom;
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width_, -height_, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
        const ScopedSelectObject selected(memory_.get(), bitmap_.get());
        const ScopedGetDC screen(window);
        BitBlt(memory_.get(), 0, 0, width_, height_, screen.get(), 0, 0, SRCCOPY);
        GdiFlush();
    }
    Rgb at(int x, int y) const {
        const uint32_t pixel = static_cast<const uint32_t*>(bits_)[y * width_ + x];
        return {static_cast<int>((pixel >> 16) & 0xFF), static_cast<int>((pixel >> 8) & 0xFF),
                static_cast<int>(pixel & 0xFF)};
    }
    Rgb at(Point p) const { return at(p.x, p.y); }
    // How many pixels of the rectangle have the colour.
    int count(const Rect& r, Rgb color) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x)
                n += at(x, y) == color;
        }
        return n;
    }
    void save(const char16_t* name) const {
        EXPECT_TRUE(savePng(bitmap_.get(), ZString(DOXLY_PICTURES u"/") + name + u".png"));
    }

private:
    int width_ = 0, height_ = 0;
    void* bits_ = nullptr;
    ScopedMemoryDC memory_{nullptr};
    ScopedBitmap bitmap_{nullptr};
};

} // namespace xhtml
