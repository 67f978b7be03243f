// The program's own guards of local statics (app/RuntimeSupport.cpp), in a program built like the
// installer, without exceptions, so without a test framework: exits with 1 naming what failed.

#include <windows.h>

#include <atomic>
#include <cstdio>

namespace {

std::atomic<int> initialisations{0};

int slowlyMade() {
    ++initialisations;
    // Long enough for every other thread to arrive while the first is inside.
    Sleep(100);
    return 42;
}

int shared() {
    static const int value = slowlyMade();
    return value;
}

DWORD WINAPI readShared(void* out) {
    *static_cast<int*>(out) = shared();
    return 0;
}

int inner() {
    static const int value = slowlyMade() + 1;
    return value;
}

int outer() {
    // A static whose initialisation needs another one.
    static const int value = inner() + 1;
    return value;
}

bool check(bool passed, const char* what) {
    if (!passed)
        std::printf("FAILED: %s\n", what);
    return passed;
}

} // namespace

int wmain() {
    bool passed = true;
    int values[4] = {};
    HANDLE threads[4];
    for (int i = 0; i < 4; ++i)
        threads[i] = CreateThread(nullptr, 0, readShared, &values[i], 0, nullptr);
    passed &= check(WaitForMultipleObjects(4, threads, TRUE, 10000) == WAIT_OBJECT_0,
                    "every thread got the static");
    for (HANDLE thread : threads)
        CloseHandle(thread);
    passed &= check(initialisations == 1, "four threads made the static once");
    for (int value : values)
        passed &= check(value == 42, "every thread read the made value");

    initialisations = 0;
    passed &= check(outer() == 44 && outer() == 44, "a static made inside another's making");
    passed &= check(initialisations == 1, "each of them made once");
    return passed ? 0 : 1;
}
