// wininet.dll: the download of the setup program.
#include "system/SystemLibrary.h"

#include <wininet.h>

namespace {

struct WinInet {
    HMODULE module = loadSystemLibrary(L"wininet.dll");
    SYSTEM_FUNCTION(InternetGetConnectedState);
    SYSTEM_FUNCTION(InternetOpenW);
    SYSTEM_FUNCTION(InternetCrackUrlW);
    SYSTEM_FUNCTION(InternetSetOptionW);
    SYSTEM_FUNCTION(InternetConnectW);
    SYSTEM_FUNCTION(HttpOpenRequestW);
    SYSTEM_FUNCTION(HttpSendRequestW);
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

BOOL WINAPI InternetCrackUrlW(LPCWSTR url, DWORD length, DWORD flags, LPURL_COMPONENTSW parts) {
    const auto crack = winInet().InternetCrackUrlW;
    return crack && crack(url, length, flags, parts);
}

BOOL WINAPI InternetSetOptionW(HINTERNET handle, DWORD option, LPVOID buffer, DWORD length) {
    const auto setOption = winInet().InternetSetOptionW;
    return setOption && setOption(handle, option, buffer, length);
}

HINTERNET WINAPI InternetConnectW(HINTERNET internet, LPCWSTR server, INTERNET_PORT port,
                                  LPCWSTR user, LPCWSTR password, DWORD service, DWORD flags,
                                  DWORD_PTR context) {
    const auto connect = winInet().InternetConnectW;
    return connect ? connect(internet, server, port, user, password, service, flags, context)
                   : nullptr;
}

HINTERNET WINAPI HttpOpenRequestW(HINTERNET connection, LPCWSTR verb, LPCWSTR object,
                                  LPCWSTR version, LPCWSTR referrer, LPCWSTR* acceptTypes,
                                  DWORD flags, DWORD_PTR context) {
    const auto open = winInet().HttpOpenRequestW;
    return open ? open(connection, verb, object, version, referrer, acceptTypes, flags, context)
                : nullptr;
}

BOOL WINAPI HttpSendRequestW(HINTERNET request, LPCWSTR headers, DWORD headersLength,
                             LPVOID optional, DWORD optionalLength) {
    const auto send = winInet().HttpSendRequestW;
    return send && send(request, headers, headersLength, optional, optionalLength);
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
