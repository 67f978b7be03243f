// uxtheme.dll: the themed look of the engine's buttons, check boxes and radio buttons.
#include "system/SystemLibrary.h"

#include <uxtheme.h>

namespace {

struct UxTheme {
    HMODULE module = loadSystemLibrary(L"uxtheme.dll");
    SYSTEM_FUNCTION(OpenThemeData);
    SYSTEM_FUNCTION(CloseThemeData);
    SYSTEM_FUNCTION(DrawThemeBackground);
};

const UxTheme& uxTheme() {
    static const UxTheme library;
    return library;
}

} // namespace

// Without a theme the engine draws the classic look.
HTHEME WINAPI OpenThemeData(HWND window, LPCWSTR classes) {
    const auto open = uxTheme().OpenThemeData;
    return open ? open(window, classes) : nullptr;
}

HRESULT WINAPI CloseThemeData(HTHEME theme) {
    const auto close = uxTheme().CloseThemeData;
    return close ? close(theme) : E_HANDLE;
}

HRESULT WINAPI DrawThemeBackground(HTHEME theme, HDC dc, int part, int state, LPCRECT area,
                                   LPCRECT clip) {
    const auto draw = uxTheme().DrawThemeBackground;
    return draw ? draw(theme, dc, part, state, area, clip) : E_HANDLE;
}
