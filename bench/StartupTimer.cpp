// startup-timer TITLE PROGRAM: starts the program and prints the milliseconds until its window
// of that title is visible with nothing left to paint, then closes the window and waits for the
// program to end. Exits with 1 when the window does not come within 30 s.

#include <windows.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fputs("usage: startup-timer TITLE PROGRAM\n", stderr);
        return 2;
    }
    std::wstring command = std::wstring(L"\"") + argv[2] + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::fprintf(stderr, "startup-timer: cannot start %ls\n", argv[2]);
        return 1;
    }
    CloseHandle(process.hThread);
    HWND window = nullptr;
    double milliseconds = -1;
    for (int poll = 0; poll < 30000 && milliseconds < 0; ++poll) {
        window = FindWindowW(nullptr, argv[1]);
        // Painted: shown, and the window has no region left that waits for WM_PAINT.
        if (window && IsWindowVisible(window) && !GetUpdateRect(window, nullptr, FALSE)) {
            QueryPerformanceCounter(&now);
            milliseconds = (now.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart;
        } else {
            Sleep(1);
        }
    }
    if (window)
        PostMessageW(window, WM_CLOSE, 0, 0);
    WaitForSingleObject(process.hProcess, 30000);
    CloseHandle(process.hProcess);
    if (milliseconds < 0)
        return 1;
    std::printf("%.1f\n", milliseconds);
    return 0;
}
