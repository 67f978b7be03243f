// gdiplus.dll: image decoding and drawing, gradient and texture brushes.
#include "system/SystemLibrary.h"

#include <objidl.h>
// After the COM declarations it relies on.
#include <gdiplus.h>

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

struct GdiplusLibrary {
    HMODULE module = loadSystemLibrary(L"gdiplus.dll");
    SYSTEM_FUNCTION(GdiplusStartup);
    SYSTEM_FUNCTION(GdiplusShutdown);
    SYSTEM_FUNCTION(GdipCreateBitmapFromStream);
    SYSTEM_FUNCTION(GdipCreateBitmapFromHBITMAP);
    SYSTEM_FUNCTION(GdipSaveImageToFile);
    SYSTEM_FUNCTION(GdipDisposeImage);
    SYSTEM_FUNCTION(GdipGetImageWidth);
    SYSTEM_FUNCTION(GdipGetImageHeight);
    SYSTEM_FUNCTION(GdipGetPropertyItemSize);
    SYSTEM_FUNCTION(GdipGetPropertyItem);
    SYSTEM_FUNCTION(GdipImageGetFrameDimensionsCount);
    SYSTEM_FUNCTION(GdipImageGetFrameDimensionsList);
    SYSTEM_FUNCTION(GdipImageGetFrameCount);
    SYSTEM_FUNCTION(GdipImageSelectActiveFrame);
    SYSTEM_FUNCTION(GdipCreateFromHDC);
    SYSTEM_FUNCTION(GdipDeleteGraphics);
    SYSTEM_FUNCTION(GdipDrawImageRectRectI);
    SYSTEM_FUNCTION(GdipCreateImageAttributes);
    SYSTEM_FUNCTION(GdipSetImageAttributesWrapMode);
    SYSTEM_FUNCTION(GdipDisposeImageAttributes);
    SYSTEM_FUNCTION(GdipFillRectangleI);
    SYSTEM_FUNCTION(GdipCreateLineBrushFromRectI);
    SYSTEM_FUNCTION(GdipCreateTexture);
    SYSTEM_FUNCTION(GdipScaleTextureTransform);
    SYSTEM_FUNCTION(GdipTranslateTextureTransform);
    SYSTEM_FUNCTION(GdipDeleteBrush);
};

// Calls the table's function, or answers as GDI+ does before it has been started.
template <typename Function, typename... Arguments>
GpStatus call(Function function, Arguments... arguments) {
    return callOr(function, GdiplusNotInitialized, arguments...);
}

} // namespace

namespace Gdiplus {

GpStatus WINGDIPAPI GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input,
                                   GdiplusStartupOutput* output) {
    return call(systemLibrary<GdiplusLibrary>().GdiplusStartup, token, input, output);
}

VOID WINGDIPAPI GdiplusShutdown(ULONG_PTR token) {
    if (systemLibrary<GdiplusLibrary>().GdiplusShutdown)
        systemLibrary<GdiplusLibrary>().GdiplusShutdown(token);
}

} // namespace Gdiplus

namespace Gdiplus::DllExports {

GpStatus WINGDIPAPI GdipCreateBitmapFromStream(IStream* stream, GpBitmap** bitmap) {
    return call(systemLibrary<GdiplusLibrary>().GdipCreateBitmapFromStream, stream, bitmap);
}

GpStatus WINGDIPAPI GdipCreateBitmapFromHBITMAP(HBITMAP source, HPALETTE palette,
                                                GpBitmap** bitmap) {
    return call(systemLibrary<GdiplusLibrary>().GdipCreateBitmapFromHBITMAP, source, palette,
                bitmap);
}

GpStatus WINGDIPAPI GdipSaveImageToFile(GpImage* image, const WCHAR* file, const CLSID* encoder,
                                        const EncoderParameters* parameters) {
    return call(systemLibrary<GdiplusLibrary>().GdipSaveImageToFile, image, file, encoder,
                parameters);
}

GpStatus WINGDIPAPI GdipDisposeImage(GpImage* image) {
    return call(systemLibrary<GdiplusLibrary>().GdipDisposeImage, image);
}

GpStatus WINGDIPAPI GdipGetImageWidth(GpImage* image, UINT* width) {
    return call(systemLibrary<GdiplusLibrary>().GdipGetImageWidth, image, width);
}

GpStatus WINGDIPAPI GdipGetImageHeight(GpImage* image, UINT* height) {
    return call(systemLibrary<GdiplusLibrary>().GdipGetImageHeight, image, height);
}

GpStatus WINGDIPAPI GdipGetPropertyItemSize(GpImage* image, PROPID id, UINT* size) {
    return call(systemLibrary<GdiplusLibrary>().GdipGetPropertyItemSize, image, id, size);
}

GpStatus WINGDIPAPI GdipGetPropertyItem(GpImage* image, PROPID id, UINT size, PropertyItem* item) {
    return call(systemLibrary<GdiplusLibrary>().GdipGetPropertyItem, image, id, size, item);
}

GpStatus WINGDIPAPI GdipImageGetFrameDimensionsCount(GpImage* image, UINT* count) {
    return call(systemLibrary<GdiplusLibrary>().GdipImageGetFrameDimensionsCount, image, count);
}

GpStatus WINGDIPAPI GdipImageGetFrameDimensionsList(GpImage* image, GUID* dimensions, UINT count) {
    return call(systemLibrary<GdiplusLibrary>().GdipImageGetFrameDimensionsList, image, dimensions,
                count);
}

GpStatus WINGDIPAPI GdipImageGetFrameCount(GpImage* image, const GUID* dimension, UINT* count) {
    return call(systemLibrary<GdiplusLibrary>().GdipImageGetFrameCount, image, dimension, count);
}

GpStatus WINGDIPAPI GdipImageSelectActiveFrame(GpImage* image, const GUID* dimension, UINT frame) {
    return call(systemLibrary<GdiplusLibrary>().GdipImageSelectActiveFrame, image, dimension,
                frame);
}

GpStatus WINGDIPAPI GdipCreateFromHDC(HDC dc, GpGraphics** graphics) {
    return call(systemLibrary<GdiplusLibrary>().GdipCreateFromHDC, dc, graphics);
}

GpStatus WINGDIPAPI GdipDeleteGraphics(GpGraphics* graphics) {
    return call(systemLibrary<GdiplusLibrary>().GdipDeleteGraphics, graphics);
}

GpStatus WINGDIPAPI GdipDrawImageRectRectI(GpGraphics* graphics, GpImage* image, INT x, INT y,
                                           INT width, INT height, INT sourceX, INT sourceY,
                                           INT sourceWidth, INT sourceHeight, GpUnit unit,
                                           const GpImageAttributes* attributes,
                                           DrawImageAbort abort, VOID* abortData) {
    return call(systemLibrary<GdiplusLibrary>().GdipDrawImageRectRectI, graphics, image, x, y,
                width, height, sourceX, sourceY, sourceWidth, sourceHeight, unit, attributes, abort,
                abortData);
}

GpStatus WINGDIPAPI GdipCreateImageAttributes(GpImageAttributes** attributes) {
    return call(systemLibrary<GdiplusLibrary>().GdipCreateImageAttributes, attributes);
}

GpStatus WINGDIPAPI GdipSetImageAttributesWrapMode(GpImageAttributes* attributes, WrapMode wrap,
                                                   ARGB colour, BOOL clamp) {
    return call(systemLibrary<GdiplusLibrary>().GdipSetImageAttributesWrapMode, attributes, wrap,
                colour, clamp);
}

GpStatus WINGDIPAPI GdipDisposeImageAttributes(GpImageAttributes* attributes) {
    return call(systemLibrary<GdiplusLibrary>().GdipDisposeImageAttributes, attributes);
}

GpStatus WINGDIPAPI GdipFillRectangleI(GpGraphics* graphics, GpBrush* brush, INT x, INT y,
                                       INT width, INT height) {
    return call(systemLibrary<GdiplusLibrary>().GdipFillRectangleI, graphics, brush, x, y, width,
                height);
}

GpStatus WINGDIPAPI GdipCreateLineBrushFromRectI(const GpRect* area, ARGB from, ARGB to,
                                                 LinearGradientMode mode, GpWrapMode wrap,
                                                 GpLineGradient** brush) {
    return call(systemLibrary<GdiplusLibrary>().GdipCreateLineBrushFromRectI, area, from, to, mode,
                wrap, brush);
}

GpStatus WINGDIPAPI GdipCreateTexture(GpImage* image, GpWrapMode wrap, GpTexture** brush) {
    return call(systemLibrary<GdiplusLibrary>().GdipCreateTexture, image, wrap, brush);
}

GpStatus WINGDIPAPI GdipScaleTextureTransform(GpTexture* brush, REAL x, REAL y,
                                              GpMatrixOrder order) {
    return call(systemLibrary<GdiplusLibrary>().GdipScaleTextureTransform, brush, x, y, order);
}

GpStatus WINGDIPAPI GdipTranslateTextureTransform(GpTexture* brush, REAL x, REAL y,
                                                  GpMatrixOrder order) {
    return call(systemLibrary<GdiplusLibrary>().GdipTranslateTextureTransform, brush, x, y, order);
}

GpStatus WINGDIPAPI GdipDeleteBrush(GpBrush* brush) {
    return call(systemLibrary<GdiplusLibrary>().GdipDeleteBrush, brush);
}

} // namespace Gdiplus::DllExports
