#pragma once

#include "xhtml/views/ViewPlatform.h"

#include <objidl.h>
// After the COM declarations it relies on.
#include <gdiplus.h>
#include <windows.h>

#include <memory>
#include <vector>

namespace xhtml {

// An image decoded by GDI+ from bytes in global memory. The bitmap reads from the stream for its
// whole life, so the image owns the memory, the stream and the bitmap together.
class GdiplusImage : public Image {
public:
    // Null when the bytes are no image GDI+ can decode.
    static std::unique_ptr<GdiplusImage> decode(const unsigned char* bytes, int count);
    ~GdiplusImage() override;

    Size pixelSize() const override;
    const std::vector<ImageFrame>& frames() const override { return frames_; }
    Gdiplus::GpBitmap* bitmap() const { return bitmap_; }
    // Makes the frame the one that drawing shows.
    void selectFrame(unsigned index) const;
    // Scaled into the area. The pixels beyond the edges are the edges mirrored, so that scaling
    // does not blend the last row and column with nothing.
    void draw(Gdiplus::GpGraphics* graphics, const Rect& area) const;

private:
    GdiplusImage() = default;
    void readFrames();

    HGLOBAL memory_ = nullptr;
    IStream* stream_ = nullptr;
    Gdiplus::GpBitmap* bitmap_ = nullptr;
    GUID dimension_{};
    std::vector<ImageFrame> frames_;
};

} // namespace xhtml
