#pragma once

#include <utility>
#include <windows.h>

// Owners for the GDI resources the program creates: each one frees what it holds when it goes out
// of scope, so creating and freeing in pairs is right by construction, early returns included.
// They move but never copy: a copy would free the same handle twice.

// A handle freed by one call (DeleteObject, DeleteDC). Null means nothing is held.
template <typename Handle, auto Free> class ScopedHandle {
public:
    explicit ScopedHandle(Handle handle = nullptr) : handle_(handle) {}
    ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.release()) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ~ScopedHandle() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    // Gives the handle away unfreed.
    Handle release() { return std::exchange(handle_, nullptr); }
    void reset(Handle handle = nullptr) {
        if (handle_)
            Free(handle_);
        handle_ = handle;
    }

private:
    Handle handle_;
};

// A pen, brush, font, bitmap or region. It must not be selected into a device context when
// freed: a ScopedSelectObject declared after it restores the old object first.
template <typename Handle> using ScopedGdiObject = ScopedHandle<Handle, DeleteObject>;
using ScopedBitmap = ScopedGdiObject<HBITMAP>;

// A memory device context compatible with `dc` (the screen when null). It starts with a 1 x 1
// monochrome bitmap selected, so a bitmap made compatible with it is monochrome too.
class ScopedMemoryDC : public ScopedHandle<HDC, DeleteDC> {
public:
    explicit ScopedMemoryDC(HDC dc) : ScopedHandle(CreateCompatibleDC(dc)) {}
};

// The device context of a window's client area (of the screen when the window is null), given
// back to the window when the scope ends.
class ScopedGetDC {
public:
    explicit ScopedGetDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ScopedGetDC(ScopedGetDC&& other) noexcept
        : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
    ScopedGetDC& operator=(ScopedGetDC&& other) noexcept {
        // What this held is given back as `taken` ends, at once.
        ScopedGetDC taken(std::move(other));
        std::swap(window_, taken.window_);
        std::swap(dc_, taken.dc_);
        return *this;
    }
    ScopedGetDC(const ScopedGetDC&) = delete;
    ScopedGetDC& operator=(const ScopedGetDC&) = delete;
    ~ScopedGetDC() {
        if (dc_)
            ReleaseDC(window_, dc_);
    }

    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a device context and puts the previous one back when the scope ends,
// so the object can be freed and the context deleted cleanly. Not for regions, whose selection
// returns no previous object.
class ScopedSelectObject {
public:
    ScopedSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ScopedSelectObject(ScopedSelectObject&& other) noexcept
        : dc_(std::exchange(other.dc_, nullptr)), previous_(other.previous_) {}
    ScopedSelectObject& operator=(ScopedSelectObject&& other) noexcept {
        // The selection this held is undone as `taken` ends, at once.
        ScopedSelectObject taken(std::move(other));
        std::swap(dc_, taken.dc_);
        std::swap(previous_, taken.previous_);
        return *this;
    }
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;
    ~ScopedSelectObject() {
        if (dc_ && previous_)
            SelectObject(dc_, previous_);
    }

    // False when the object could not be selected (a bitmap already selected elsewhere).
    explicit operator bool() const { return previous_ != nullptr; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};
