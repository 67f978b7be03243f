#include "xhtml/frame/PngFile.h"

#include <objidl.h>
// After the COM declarations it relies on.
#include <gdiplus.h>

namespace xhtml {

using namespace Gdiplus;

bool savePng(HBITMAP bitmap, const ZString& path) {
    // The PNG encoder that comes with GDI+.
    static const CLSID png = {
        0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    GpBitmap* image = nullptr;
    if (DllExports::GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &image) != Ok)
        return false;
    const bool saved = DllExports::GdipSaveImageToFile(image, path.w_str(), &png, nullptr) == Ok;
    DllExports::GdipDisposeImage(image);
    return saved;
}

} // namespace xhtml
