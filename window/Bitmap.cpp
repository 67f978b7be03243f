#include "window/Bitmap.h"

#include "window/ScopedWin32.h"

#include <utility>

namespace {

// A memory device context with one bitmap selected, undone in the right order.
struct MemoryDCWith {
    MemoryDCWith(HDC compatible, HBITMAP bitmap) : dc(compatible), selection(dc.get(), bitmap) {}
    explicit operator bool() const { return dc && selection; }

    ScopedMemoryDC dc;
    ScopedSelectObject selection;
};

} // namespace

Bitmap::Bitmap(Bitmap&& other) noexcept {
    *this = std::move(other);
}

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
    if (this == &other)
        return *this;
    release();
    transparent_ = other.transparent_;
    transparentColor_ = other.transparentColor_;
    description_ = other.description_;
    owns_ = other.owns_;
    handle_ = other.detach();
    return *this;
}

Bitmap::~Bitmap() {
    release();
}

void Bitmap::release() {
    if (handle_ && owns_)
        DeleteObject(handle_);
    handle_ = nullptr;
    description_ = {};
    owns_ = true;
}

bool Bitmap::create(HDC dc, int width, int height) {
    attach(CreateCompatibleBitmap(dc, width, height), true);
    return isValid();
}

bool Bitmap::load(const wchar_t* name, const BaseInstance& module) {
    attach(module.loadBitmap(name), true);
    return isValid();
}

void Bitmap::attach(HBITMAP handle, bool owns) {
    release();
    handle_ = handle;
    owns_ = owns;
    if (handle_)
        GetObjectW(handle_, sizeof(description_), &description_);
}

HBITMAP Bitmap::detach() {
    const HBITMAP handle = std::exchange(handle_, nullptr);
    description_ = {};
    owns_ = true;
    return handle;
}

void Bitmap::draw(HDC dc, int x, int y, int width, int height, int sourceX, int sourceY) const {
    if (!handle_)
        return;
    const MemoryDCWith source(dc, handle_);
    if (!source)
        return;
    if (transparent_)
        TransparentBlt(dc, x, y, width, height, source.dc.get(), sourceX, sourceY, width, height,
                       transparentColor_);
    else
        BitBlt(dc, x, y, width, height, source.dc.get(), sourceX, sourceY, SRCCOPY);
}

void Bitmap::draw(HDC dc, int x, int y) const {
    draw(dc, x, y, getWidth(), getHeight(), 0, 0);
}

void Bitmap::capture(HDC dc, int x, int y, int width, int height, int destX, int destY) {
    if (!handle_)
        return;
    const MemoryDCWith target(dc, handle_);
    if (target)
        BitBlt(target.dc.get(), destX, destY, width, height, dc, x, y, SRCCOPY);
}

void Bitmap::capture(HDC dc, int x, int y) {
    capture(dc, x, y, getWidth(), getHeight(), 0, 0);
}

void Bitmap::setTransparentColor(COLORREF color) {
    transparent_ = true;
    transparentColor_ = color;
}

bool Bitmap::stretch(double factor) {
    if (!handle_)
        return false;
    const auto width = static_cast<int>(getWidth() * factor);
    const auto height = static_cast<int>(getHeight() * factor);
    ScopedBitmap stretched;
    {
        const MemoryDCWith source(nullptr, handle_);
        if (!source)
            return false;
        // Made for the context that holds the old bitmap, the new one gets its colour format.
        stretched.reset(CreateCompatibleBitmap(source.dc.get(), width, height));
        if (!stretched)
            return false;
        const MemoryDCWith target(nullptr, stretched.get());
        if (!target)
            return false;
        StretchBlt(target.dc.get(), 0, 0, width, height, source.dc.get(), 0, 0, getWidth(),
                   getHeight(), SRCCOPY);
    }
    // Only now is the old bitmap selected nowhere and can be freed.
    attach(stretched.release(), true);
    return true;
}

Bitmap Bitmap::copy() const {
    Bitmap duplicate;
    if (handle_)
        duplicate.attach(static_cast<HBITMAP>(CopyImage(handle_, IMAGE_BITMAP, 0, 0, 0)), true);
    duplicate.transparent_ = transparent_;
    duplicate.transparentColor_ = transparentColor_;
    return duplicate;
}
