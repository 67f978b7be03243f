#include "xhtml/frame/Win32FileChooser.h"

#include "window/ScopedWin32.h"
#include "xhtml/frame/Win32Controls.h"

#include <windows.h>

#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>

namespace xhtml {

namespace {

constexpr int kPathCapacity = 1040;

// The folder browser's dialog style needs COM on the thread while it runs.
class ScopedCom {
public:
    ScopedCom() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ScopedCom(const ScopedCom&) = delete;
    ScopedCom& operator=(const ScopedCom&) = delete;
    ~ScopedCom() {
        if (initialised_)
            CoUninitialize();
    }

private:
    bool initialised_;
};

using ScopedItemList = ScopedHandle<PIDLIST_ABSOLUTE, CoTaskMemFree>;

// Selects the start folder once the browser is up; the data is that folder's path.
int CALLBACK selectStartFolder(HWND browser, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED && data)
        SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

std::optional<ZString> chooseFolder(HWND owner, const ZString& start) {
    const ScopedCom com;
    wchar_t displayName[kPathCapacity] = {};
    BROWSEINFOW browse{};
    browse.hwndOwner = owner;
    browse.pszDisplayName = displayName;
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
    browse.lpfn = selectStartFolder;
    browse.lParam = start.isEmpty() ? 0 : reinterpret_cast<LPARAM>(start.w_str());
    const ScopedItemList chosen(SHBrowseForFolderW(&browse));
    wchar_t path[kPathCapacity] = {};
    if (!chosen || !SHGetPathFromIDListW(chosen.get(), path))
        return std::nullopt;
    return ZString(path);
}

std::optional<ZString> chooseFile(HWND owner, const FileChoice& choice) {
    wchar_t file[kPathCapacity] = {};
    std::copy_n(choice.start.w_str(), std::min(choice.start.length(), kPathCapacity - 1), file);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = reinterpret_cast<const wchar_t*>(choice.filter.c_str());
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file;
    dialog.nMaxFile = kPathCapacity;
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetOpenFileNameW(&dialog))
        return std::nullopt;
    return ZString(file);
}

} // namespace

std::optional<ZString> chooseWithSystemDialog(View& owner, const FileChoice& choice) {
    const HWND window = frameWindow(owner);
    return choice.folder ? chooseFolder(window, choice.start) : chooseFile(window, choice);
}

} // namespace xhtml
