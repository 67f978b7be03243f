// comdlg32.dll: the open-file dialog of file inputs. Never imported at load time: it pulls in the
// common controls and with them UxTheme before the program's first line.
#include "system/SystemLibrary.h"

#include <commdlg.h>

namespace {

struct FileDialogs {
    HMODULE module = loadSystemLibrary(L"comdlg32.dll");
    SYSTEM_FUNCTION(GetOpenFileNameW);
};

} // namespace

BOOL WINAPI GetOpenFileNameW(LPOPENFILENAMEW dialog) {
    return callOr(systemLibrary<FileDialogs>().GetOpenFileNameW, FALSE, dialog);
}
