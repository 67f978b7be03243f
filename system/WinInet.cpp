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

} // namespace

BOOL WINAPI InternetGetConnectedState(LPDWORD flags, DWORD reserved) {
    return callOr(systemLibrary<WinInet>().InternetGetConnectedState, FALSE, flags, reserved);
}

HINTERNET WINAPI InternetOpenW(LPCWSTR agent, DWORD access, LPCWSTR proxy, LPCWSTR bypass,
                               DWORD flags) {
    return callOr(systemLibrary<WinInet>().InternetOpenW, nullptr, agent, access, proxy, bypass,
                  flags);
}

BOOL WINAPI InternetCrackUrlW(LPCWSTR url, DWORD length, DWORD flags, LPURL_COMPONENTSW parts) {
    return callOr(systemLibrary<WinInet>().InternetCrackUrlW, FALSE, url, length, flags, parts);
}

BOOL WINAPI InternetSetOptionW(HINTERNET handle, DWORD option, LPVOID buffer, DWORD length) {
    return callOr(systemLibrary<WinInet>().InternetSetOptionW, FALSE, handle, option, buffer,
                  length);
}

HINTERNET WINAPI InternetConnectW(HINTERNET internet, LPCWSTR server, INTERNET_PORT port,
                                  LPCWSTR user, LPCWSTR password, DWORD service, DWORD flags,
                                  DWORD_PTR context) {
    return callOr(systemLibrary<WinInet>().InternetConnectW, nullptr, internet, server, port, user,
                  password, service, flags, context);
}

HINTERNET WINAPI HttpOpenRequestW(HINTERNET connection, LPCWSTR verb, LPCWSTR object,
                                  LPCWSTR version, LPCWSTR referrer, LPCWSTR* acceptTypes,
                                  DWORD flags, DWORD_PTR context) {
    return callOr(systemLibrary<WinInet>().HttpOpenRequestW, nullptr, connection, verb, object,
                  version, referrer, acceptTypes, flags, context);
}

BOOL WINAPI HttpSendRequestW(HINTERNET request, LPCWSTR headers, DWORD headersLength,
                             LPVOID optional, DWORD optionalLength) {
    return callOr(systemLibrary<WinInet>().HttpSendRequestW, FALSE, request, headers, headersLength,
                  optional, optionalLength);
}

BOOL WINAPI HttpQueryInfoW(HINTERNET request, DWORD query, LPVOID buffer, LPDWORD size,
                           LPDWORD index) {
    return callOr(systemLibrary<WinInet>().HttpQueryInfoW, FALSE, request, query, buffer, size,
                  index);
}

BOOL WINAPI InternetReadFile(HINTERNET request, LPVOID buffer, DWORD size, LPDWORD read) {
    return callOr(systemLibrary<WinInet>().InternetReadFile, FALSE, request, buffer, size, read);
}

BOOL WINAPI InternetCloseHandle(HINTERNET handle) {
    return callOr(systemLibrary<WinInet>().InternetCloseHandle, FALSE, handle);
}
