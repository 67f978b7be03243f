// oleacc.dll: the page's accessible object handed to screen readers, and the objects of the
// windows of its native controls.
#include "system/SystemLibrary.h"

#include <oleacc.h>

namespace {

struct Oleacc {
    HMODULE module = loadSystemLibrary(L"oleacc.dll");
    SYSTEM_FUNCTION(LresultFromObject);
    SYSTEM_FUNCTION(AccessibleObjectFromWindow);
};

} // namespace

// Without the library no screen reader can ask: the window has no object of its own to give.
LRESULT WINAPI LresultFromObject(REFIID iid, WPARAM wParam, LPUNKNOWN object) {
    return callOr(systemLibrary<Oleacc>().LresultFromObject, static_cast<LRESULT>(E_FAIL), iid,
                  wParam, object);
}

HRESULT WINAPI AccessibleObjectFromWindow(HWND window, DWORD id, REFIID iid, void** object) {
    *object = nullptr;
    return callOr(systemLibrary<Oleacc>().AccessibleObjectFromWindow, E_FAIL, window, id, iid,
                  object);
}
