// sleeper MILLISECONDS: does nothing for that long. What a Windows program costs under Wine
// before it does anything, for the memory figures of the benchmarks.

#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    Sleep(argc == 2 ? static_cast<DWORD>(std::wcstoul(argv[1], nullptr, 10)) : 1000);
    return 0;
}
