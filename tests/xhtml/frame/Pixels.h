#pragma once

// Pictures the tests read pixel by pixel and keep in the build folder for a person to look at.
#include "window/ScopedWin32.h"
#include "xhtml/frame/PngFile.h"
#include "xhtml/views/Geometry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>

namespace xhtml {

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

// A 32-bit top-down bitmap whose pixels are read straight from its memory.
class Pixels {
public:
    Pixels(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
    }

    HBITMAP handle() const { return bitmap_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }
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
    int width_, height_;
    void* bits_ = nullptr;
    ScopedBitmap bitmap_{nullptr};
};

} // namespace xhtml
