// comctl32.dll: the progress bar, tool tips and list views; version 6 through the manifest.
#include "system/SystemLibrary.h"

#include <commctrl.h>

namespace {

struct CommonControls {
    HMODULE module = loadSystemLibrary(L"comctl32.dll");
    SYSTEM_FUNCTION(InitCommonControlsEx);
};

} // namespace

BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX* classes) {
    return callOr(systemLibrary<CommonControls>().InitCommonControlsEx, FALSE, classes);
}
