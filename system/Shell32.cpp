// shell32.dll: starting the setup or a link, and the folder dialog of file inputs. Loaded when
// first used, so that neither it nor the libraries it brings delay the first paint.
#include "system/SystemLibrary.h"

#include <shellapi.h>
#include <shlobj.h>

namespace {

struct Shell32 {
    HMODULE module = loadSystemLibrary(L"shell32.dll");
    SYSTEM_FUNCTION(ShellExecuteW);
    SYSTEM_FUNCTION(SHBrowseForFolderW);
    SYSTEM_FUNCTION(SHGetPathFromIDListW);
};

} // namespace

HINSTANCE WINAPI ShellExecuteW(HWND window, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                               LPCWSTR folder, INT show) {
    return callOr(systemLibrary<Shell32>().ShellExecuteW,
                  reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_DLLNOTFOUND)), window,
                  verb, file, parameters, folder, show);
}

PIDLIST_ABSOLUTE WINAPI SHBrowseForFolderW(LPBROWSEINFOW browse) {
    return callOr(systemLibrary<Shell32>().SHBrowseForFolderW, PIDLIST_ABSOLUTE{}, browse);
}

BOOL WINAPI SHGetPathFromIDListW(PCIDLIST_ABSOLUTE list, LPWSTR path) {
    return callOr(systemLibrary<Shell32>().SHGetPathFromIDListW, FALSE, list, path);
}
