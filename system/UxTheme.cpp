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

} // namespace

// Without a theme the engine draws the classic look.
HTHEME WINAPI OpenThemeData(HWND window, LPCWSTR classes) {
    return callOr(systemLibrary<UxTheme>().OpenThemeData, nullptr, window, classes);
}

HRESULT WINAPI CloseThemeData(HTHEME theme) {
    return callOr(systemLibrary<UxTheme>().CloseThemeData, E_HANDLE, theme);
}

HRESULT WINAPI DrawThemeBackground(HTHEME theme, HDC dc, int part, int state, LPCRECT area,
                                   LPCRECT clip) {
    return callOr(systemLibrary<UxTheme>().DrawThemeBackground, E_HANDLE, theme, dc, part, state,
                  area, clip);
}
