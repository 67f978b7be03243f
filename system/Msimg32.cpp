// msimg32.dll: the blending of translucent boxes and the transparent colour of bitmaps.
#include "system/SystemLibrary.h"

namespace {

struct Msimg32 {
    HMODULE module = loadSystemLibrary(L"msimg32.dll");
    SYSTEM_FUNCTION(AlphaBlend);
    SYSTEM_FUNCTION(TransparentBlt);
};

} // namespace

BOOL WINAPI AlphaBlend(HDC target, int x, int y, int width, int height, HDC source, int sourceX,
                       int sourceY, int sourceWidth, int sourceHeight, BLENDFUNCTION blend) {
    return callOr(systemLibrary<Msimg32>().AlphaBlend, FALSE, target, x, y, width, height, source,
                  sourceX, sourceY, sourceWidth, sourceHeight, blend);
}

BOOL WINAPI TransparentBlt(HDC target, int x, int y, int width, int height, HDC source, int sourceX,
                           int sourceY, int sourceWidth, int sourceHeight, UINT transparent) {
    return callOr(systemLibrary<Msimg32>().TransparentBlt, FALSE, target, x, y, width, height,
                  source, sourceX, sourceY, sourceWidth, sourceHeight, transparent);
}
