#include "xhtml/frame/GdiplusImage.h"

#include <cstring>

namespace xhtml {

using namespace Gdiplus;

std::unique_ptr<GdiplusImage> GdiplusImage::decode(const unsigned char* bytes, int count) {
    if (!bytes || count <= 0)
        return nullptr;
    std::unique_ptr<GdiplusImage> image(new GdiplusImage);
    image->memory_ = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(count));
    if (!image->memory_)
        return nullptr;
    void* target = GlobalLock(image->memory_);
    if (!target)
        return nullptr;
    std::memcpy(target, bytes, static_cast<size_t>(count));
    GlobalUnlock(image->memory_);
    // The stream must not free the memory: the image does, after the bitmap is gone.
    if (CreateStreamOnHGlobal(image->memory_, FALSE, &image->stream_) != S_OK)
        return nullptr;
    if (DllExports::GdipCreateBitmapFromStream(image->stream_, &image->bitmap_) != Ok)
        return nullptr;
    image->readFrames();
    return image;
}

GdiplusImage::~GdiplusImage() {
    if (bitmap_)
        DllExports::GdipDisposeImage(bitmap_);
    if (stream_)
        stream_->Release();
    if (memory_)
        GlobalFree(memory_);
}

Size GdiplusImage::pixelSize() const {
    UINT width = 0, height = 0;
    DllExports::GdipGetImageWidth(bitmap_, &width);
    DllExports::GdipGetImageHeight(bitmap_, &height);
    return {static_cast<int>(width), static_cast<int>(height)};
}

void GdiplusImage::selectFrame(unsigned index) const {
    DllExports::GdipImageSelectActiveFrame(bitmap_, &dimension_, index);
}

void GdiplusImage::draw(GpGraphics* graphics, const Rect& area) const {
    GpImageAttributes* attributes = nullptr;
    DllExports::GdipCreateImageAttributes(&attributes);
    DllExports::GdipSetImageAttributesWrapMode(attributes, WrapModeTileFlipXY, 0, FALSE);
    const Size size = pixelSize();
    DllExports::GdipDrawImageRectRectI(graphics, bitmap_, area.left, area.top, area.width(),
                                       area.height(), 0, 0, size.width, size.height, UnitPixel,
                                       attributes, nullptr, nullptr);
    DllExports::GdipDisposeImageAttributes(attributes);
}

void GdiplusImage::readFrames() {
    // Only animated images carry frame delays; still images get no frame list.
    UINT dimensions = 0;
    if (DllExports::GdipImageGetFrameDimensionsCount(bitmap_, &dimensions) != Ok || dimensions == 0)
        return;
    std::vector<GUID> ids(dimensions);
    if (DllExports::GdipImageGetFrameDimensionsList(bitmap_, ids.data(), dimensions) != Ok)
        return;
    dimension_ = ids[0];
    UINT count = 0;
    UINT size = 0;
    constexpr PROPID kFrameDelay = 0x5100;
    if (DllExports::GdipImageGetFrameCount(bitmap_, &dimension_, &count) != Ok ||
        DllExports::GdipGetPropertyItemSize(bitmap_, kFrameDelay, &size) != Ok || size == 0)
        return;
    std::vector<unsigned char> buffer(size);
    auto* item = reinterpret_cast<PropertyItem*>(buffer.data());
    if (DllExports::GdipGetPropertyItem(bitmap_, kFrameDelay, size, item) != Ok)
        return;
    const auto* delays = static_cast<const UINT*>(item->value);
    const UINT known = item->length / sizeof(UINT);
    for (UINT i = 0; i < count; ++i)
        frames_.push_back({i, i < known ? delays[i] * 10 : 0});
}

} // namespace xhtml
