// wininet-read URL: reads the response with WinINet in 1 MiB reads, writes nothing and prints
// "received=N". The bare baseline of the download benchmark: the same requests the worker makes,
// without its file, progress or lock.

#include <windows.h>
#include <wininet.h>

#include <cstdio>
#include <vector>

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fputs("usage: wininet-read URL\n", stderr);
        return 2;
    }
    const HINTERNET internet =
        InternetOpenW(L"Doxly", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    const HINTERNET request =
        internet ? InternetOpenUrlW(internet, argv[1], L"Connection: close", static_cast<DWORD>(-1),
                                    INTERNET_FLAG_RELOAD, 0)
                 : nullptr;
    long long received = 0;
    bool failed = !request;
    std::vector<char> buffer(1 << 20);
    while (!failed) {
        DWORD read = 0;
        failed =
            !InternetReadFile(request, buffer.data(), static_cast<DWORD>(buffer.size()), &read);
        if (read == 0)
            break;
        received += read;
    }
    if (request)
        InternetCloseHandle(request);
    if (internet)
        InternetCloseHandle(internet);
    std::printf("received=%lld\n", received);
    return failed ? 1 : 0;
}
