#include "system/SystemLibrary.h"

#include <cwchar>

void restrictLibrarySearch() {
    // Windows 7 has it only with an update; the loads below do without it.
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const auto setDefaultDllDirectories = systemFunction<SetDefaultDllDirectoriesFunction>(
        GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    if (setDefaultDllDirectories)
        setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    SetDllDirectoryW(L"");
    // Wine's loader looks for the libraries its own libraries load by name after the start in
    // the program's folder first, whatever the defaults say. Loaded from the system folder now,
    // they are found among the loaded ones: MSIMG32, through which UxTheme and the common
    // controls draw, and Crypt32, which TLS and the signature check use.
    loadSystemLibrary(L"msimg32.dll");
    loadSystemLibrary(L"crypt32.dll");
}

HMODULE loadSystemLibrary(const wchar_t* file) {
    // By name, so that the manifest's activation context still redirects the common controls
    // to their version 6.
    if (const HMODULE module = LoadLibraryExW(file, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
        return module;
    // Where the flag is unknown: the full path, and the library's own dependencies searched
    // from the system folder first.
    if (GetLastError() != ERROR_INVALID_PARAMETER)
        return nullptr;
    wchar_t path[MAX_PATH];
    const UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length + 1 + std::wcslen(file) >= MAX_PATH)
        return nullptr;
    path[length] = L'\\';
    std::wcscpy(path + length + 1, file);
    return LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
