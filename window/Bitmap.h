#pragma once

#include "base/BaseInstance.h"

#include <windows.h>

// A device-dependent GDI bitmap, owned unless attached as borrowed, drawn and filled through
// memory device contexts: the engine's snapshots of what lies under a nested frame. Operations
// without a bitmap do nothing. The bitmap must not be selected into a device context while it is
// drawn, captured into or stretched: a bitmap can be selected into one context only.
class Bitmap {
public:
    Bitmap() = default;
    Bitmap(Bitmap&& other) noexcept;
    Bitmap& operator=(Bitmap&& other) noexcept;
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;
    ~Bitmap();

    // Frees the bitmap when owned; the object is then empty and owns what it gets next.
    void release();
    // Compatible with `dc`: a fresh memory context gives a monochrome bitmap, the screen's
    // context one of the display's colours.
    bool create(HDC dc, int width, int height);
    // MAKEINTRESOURCEW(id) for a numbered resource.
    bool load(const wchar_t* name, const BaseInstance& module);
    void attach(HBITMAP handle, bool owns);
    // Gives the bitmap away, with the duty to free it when it was owned.
    HBITMAP detach();

    // With a transparent colour, pixels of that colour leave the target as it was.
    void draw(HDC dc, int x, int y, int width, int height, int sourceX, int sourceY) const;
    void draw(HDC dc, int x, int y) const;
    // Copies the rectangle at (x, y) of `dc` into the bitmap at (destX, destY).
    void capture(HDC dc, int x, int y, int width, int height, int destX, int destY);
    void capture(HDC dc, int x, int y);
    void setTransparentColor(COLORREF color);

    int getWidth() const { return description_.bmWidth; }
    int getHeight() const { return description_.bmHeight; }
    bool isValid() const { return handle_ != nullptr; }
    HBITMAP getHandle() const { return handle_; }

    // Replaces the bitmap by an owned one `factor` times the size (each side truncated).
    bool stretch(double factor);
    // An independent duplicate, owned by the new object, with the same transparent colour.
    Bitmap copy() const;

private:
    HBITMAP handle_ = nullptr;
    bool transparent_ = false;
    COLORREF transparentColor_ = 0;
    BITMAP description_{};
    bool owns_ = true;
};
