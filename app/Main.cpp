// The installer's process: one instance on the whole machine, the page in its window, the
// message loop until the page closes. Exits with 0 in every case.

#include "app/Installer.h"
#include "system/SystemLibrary.h"

#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    restrictLibrarySearch();
    // Global: a second installer under another logged-on user would download the same file.
    // The handle stays open until the process ends.
    if (!CreateMutexW(nullptr, TRUE, L"Global\\doxlyInstallerMutex") ||
        GetLastError() == ERROR_ALREADY_EXISTS)
        return 0;

    INITCOMMONCONTROLSEX controls{8, 0xFF};
    InitCommonControlsEx(&controls);
    Installer installer(instance,
                        {currentMachineFacts, u"" DOXLY_DOWNLOAD_HOST, u"" DOXLY_SETUP_PUBLISHER});
    InstallerUI& page = installer.page();
    // The page builds itself, shows its window and starts polling while the window is made.
    page.create(ZString(), 0, 0, 0, 0, WS_CAPTION | WS_SYSMENU, 0, nullptr, installer.getInstance(),
                nullptr);
    page.getWindow().show(true);
    page.getWindow().bringToTop();
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
