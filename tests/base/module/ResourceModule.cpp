// A library that carries one data resource of its own ("MODULE.TXT") and leaves a mark in the
// process environment when its code runs: reading its resources must not leave that mark.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        SetEnvironmentVariableW(L"DOXLY_RESOURCE_MODULE_RAN", L"1");
    return TRUE;
}
