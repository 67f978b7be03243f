// wininet.dll: the download of the setup program.
#include "system/SystemLibrary.h"

#include <wininet.h>

namespace {

struct WinInet {
    HMODULE module = loadSystemLibrary(L"wininet.dll");
    SYSTEM_FUNCTION(InternetGetConnectedState);
    SYSTEM_FUNCTION(InternetOpenW);
    SYSTEM_FUNCTION(InternetOpenUrlW);
    SYSTEM_FUNCTION(HttpQueryInfoW);
    SYSTEM_FUNCTION(InternetReadFile);
    SYSTEM_FUNCTION(InternetCloseHandle);
};

// First used by a download worker; at most one runs at a time, and the initialisation of a
// local static is thread-safe besides.
const WinInet& winInet() {
    static const WinInet library;
    return library;
}

} // namespace

BOOL WINAPI InternetGetConnectedState(LPDWORD flags, DWORD reserved) {
    const auto connected = winInet().InternetGetConnectedState;
    return connected && connected(flags, reserved);
}

HINTERNET WINAPI InternetOpenW(LPCWSTR agent, DWORD access, LPCWSTR proxy, LPCWSTR bypass,
                               DWORD flags) {
    const auto open = winInet().InternetOpenW;
    return open ? open(agent, access, proxy, bypass, flags) : nullptr;
}

HINTERNET WINAPI InternetOpenUrlW(HINTERNET internet, LPCWSTR url, LPCWSTR headers,
                                  DWORD headersLength, DWORD flags, DWORD_PTR context) {
    const auto open = winInet().InternetOpenUrlW;
    return open ? open(internet, url, headers, headersLength, flags, context) : nullptr;
}

BOOL WINAPI HttpQueryInfoW(HINTERNET request, DWORD query, LPVOID buffer, LPDWORD size,
                           LPDWORD index) {
    const auto queryInfo = winInet().HttpQueryInfoW;
    return queryInfo && queryInfo(request, query, buffer, size, index);
}

BOOL WINAPI InternetReadFile(HINTERNET request, LPVOID buffer, DWORD size, LPDWORD read) {
    const auto readFile = winInet().InternetReadFile;
    return readFile && readFile(request, buffer, size, read);
}

BOOL WINAPI InternetCloseHandle(HINTERNET handle) {
    const auto close = winInet().InternetCloseHandle;
    return close && close(handle);
}
