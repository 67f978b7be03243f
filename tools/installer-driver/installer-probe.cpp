// installer-probe: what the installer driver (installer_driver.py) cannot see from outside Wine.
//   layout  builds the page as the program does and prints where its controls are, one line
//           "name x y" each, in client coordinates: install, express, custom (welcome state)
//           and retry (failed state)
//   window  prints the running installer's window: class, client size, client origin on the
//           screen, whether its progress bar shows, the number of installer windows, whether
//           everything on it has been painted and whether the downloaded setup's file exists
//   watch   prints "progress N" whenever the installer's progress bar moves, and "gone" when the
//           window has closed (or after a minute)
//   focus   prints the class of the window with the running installer's keyboard focus: the
//           page's ("XhtmlFrameView") for the views it draws, "Edit" for the licence; or "none"
// Exits with 1 when there is no installer window to look at.

#include "app/DownloadSource.h"
#include "app/Installer.h"
#include "xhtml/views/ViewContext.h"

#include <commctrl.h>

#include <cstdio>
#include <cwchar>

using namespace xhtml;

namespace {

const wchar_t* const Title = L"Doxly Creator Installer";

MachineFacts windows10Amd64() {
    return {ArchitectureAmd64, true, 0};
}

void printCentre(const char* name, View* view) {
    const Rect rect = view->getRect();
    std::printf("%s %d %d\n", name, rect.left + rect.width() / 2, rect.top + rect.height() / 2);
}

int layout() {
    Installer app(nullptr, {windows10Amd64, u"localhost", u"Doxly"});
    InstallerUI& page = app.page();
    page.create(ZString(), 0, 0, 0, 0, WS_CAPTION | WS_SYSMENU, 0, nullptr, nullptr, nullptr);
    std::vector<View*> radios;
    page.collectViewsByKind(radios, RadioKind);
    if (radios.size() != 2)
        return 1;
    printCentre("install", page.getViewById(u"actionButton"));
    printCentre("express", radios[0]);
    printCentre("custom", radios[1]);
    page.setState(InstallerUI::PageState::Failed);
    printCentre("retry", page.getViewById(u"actionButton"));
    return 0;
}

BOOL CALLBACK countFrame(HWND window, LPARAM count) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    if (std::wcscmp(name, L"XhtmlFrameView") == 0 && std::wcscmp(title, Title) == 0)
        ++*reinterpret_cast<int*>(count);
    return TRUE;
}

BOOL CALLBACK notePending(HWND child, LPARAM pending) {
    if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE))
        *reinterpret_cast<bool*>(pending) = true;
    return TRUE;
}

// Shown, and neither the window nor a control on it waits for WM_PAINT.
bool isPainted(HWND window) {
    bool pending = GetUpdateRect(window, nullptr, FALSE) != FALSE;
    EnumChildWindows(window, notePending, reinterpret_cast<LPARAM>(&pending));
    return IsWindowVisible(window) && !pending;
}

HWND progressBarOf(HWND window) {
    return FindWindowExW(window, nullptr, PROGRESS_CLASSW, nullptr);
}

int window() {
    const HWND window = FindWindowW(nullptr, Title);
    if (!window)
        return 1;
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    const HWND bar = progressBarOf(window);
    int windows = 0;
    EnumWindows(countFrame, reinterpret_cast<LPARAM>(&windows));
    const ZString setup = joinPath(tempFolder(), targetFileName(), u'\\');
    std::printf(
        "class=%ls client=%ldx%ld origin=%ld,%ld bar=%s windows=%d painted=%s setup=%s\n", name,
        client.right - client.left, client.bottom - client.top, origin.x, origin.y,
        bar && IsWindowVisible(bar) ? "shown" : "hidden", windows, isPainted(window) ? "yes" : "no",
        GetFileAttributesW(setup.w_str()) != INVALID_FILE_ATTRIBUTES ? "present" : "absent");
    return 0;
}

int watch() {
    const HWND bar = progressBarOf(FindWindowW(nullptr, Title));
    if (!bar)
        return 1;
    LRESULT last = -1;
    for (int tick = 0; tick < 6000 && IsWindow(bar); ++tick) {
        const LRESULT position = SendMessageW(bar, PBM_GETPOS, 0, 0);
        // A bar destroyed meanwhile answers 0.
        if (position != last && IsWindow(bar)) {
            std::printf("progress %d\n", static_cast<int>(position));
            std::fflush(stdout);
            last = position;
        }
        Sleep(10);
    }
    std::puts("gone");
    return 0;
}

int focus() {
    const HWND window = FindWindowW(nullptr, Title);
    if (!window)
        return 1;
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    wchar_t name[64] = L"none";
    if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread) && thread.hwndFocus)
        GetClassNameW(thread.hwndFocus, name, 64);
    std::printf("%ls\n", name);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 2 && std::wcscmp(argv[1], L"layout") == 0)
        return layout();
    if (argc == 2 && std::wcscmp(argv[1], L"window") == 0)
        return window();
    if (argc == 2 && std::wcscmp(argv[1], L"watch") == 0)
        return watch();
    if (argc == 2 && std::wcscmp(argv[1], L"focus") == 0)
        return focus();
    std::fputs("usage: installer-probe layout|window|watch|focus\n", stderr);
    return 2;
}
