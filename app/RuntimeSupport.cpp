// The parts of the C++ run-time support the program defines itself. It is built without
// exceptions, but the standard library's allocation functions, its helpers that throw and its
// guards of local statics would bring the exception support along, and with it the string
// classes of its exception types and the POSIX threads library: a third of the program. Here a
// failure ends the program at once, as an exception that nothing catches would.

#include <windows.h>

#include <bits/functexcept.h>
#include <cxxabi.h>

#include <cstdlib>
#include <new>

void* operator new(std::size_t size) {
    if (void* block = std::malloc(size ? size : 1))
        return block;
    std::abort();
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size ? size : 1);
}

void operator delete(void* block) noexcept {
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}

namespace std {

void __throw_bad_alloc() {
    abort();
}

void __throw_bad_array_new_length() {
    abort();
}

void __throw_length_error(const char*) {
    abort();
}

void __throw_out_of_range_fmt(const char*, ...) {
    abort();
}

void __throw_bad_function_call() {
    abort();
}

} // namespace std

// A local static is initialised once, by the first thread to reach it; others wait for it. The
// first byte of its guard tells the compiled code that it is done, the second that it is being
// initialised, and the second word by which thread: a static whose initialisation reaches itself
// again ends the program.
namespace {

struct Guard {
    char done;
    char busy;
    DWORD thread;
};
static_assert(sizeof(Guard) <= sizeof(__cxxabiv1::__guard));

Guard& guardOf(__cxxabiv1::__guard* guard) {
    return *reinterpret_cast<Guard*>(guard);
}

} // namespace

extern "C" int __cxxabiv1::__cxa_guard_acquire(__guard* raw) {
    Guard& guard = guardOf(raw);
    for (;;) {
        if (__atomic_load_n(&guard.done, __ATOMIC_ACQUIRE))
            return 0;
        char idle = 0;
        if (__atomic_compare_exchange_n(&guard.busy, &idle, 1, false, __ATOMIC_ACQUIRE,
                                        __ATOMIC_RELAXED)) {
            __atomic_store_n(&guard.thread, GetCurrentThreadId(), __ATOMIC_RELAXED);
            return 1;
        }
        if (__atomic_load_n(&guard.thread, __ATOMIC_RELAXED) == GetCurrentThreadId())
            std::abort();
        SwitchToThread();
    }
}

extern "C" void __cxxabiv1::__cxa_guard_release(__guard* raw) noexcept {
    Guard& guard = guardOf(raw);
    __atomic_store_n(&guard.thread, 0, __ATOMIC_RELAXED);
    __atomic_store_n(&guard.done, 1, __ATOMIC_RELEASE);
}
