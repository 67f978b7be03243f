#pragma once

// The libraries the program does not import at load time. A library beside the program (in the
// Downloads folder, where any web site may drop one) must never be loaded in their place, so
// they are loaded when first used, from the system folder only. Each has a file here that defines
// the functions the program calls and forwards them through one table of the library's
// functions; a forwarder answers as the function does on failure when its library is missing.
// Call sites reach these definitions because the build declares the Windows functions without
// dllimport.

#include <windows.h>

#include <type_traits>

// Keeps the program's folder and the current folder out of every later library search: first
// thing in the program's entry, before any library is loaded.
void restrictLibrarySearch();

// The library `file` from the system folder; null when it is not there.
HMODULE loadSystemLibrary(const wchar_t* file);

// The function `name` of `module`; null when either is missing.
template <typename Function> Function systemFunction(HMODULE module, const char* name) {
    if (!module)
        return nullptr;
    // Through a function pointer without parameters, the type GetProcAddress itself stands for.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// A member of a library's table: the library's function of the same name as the global one
// declared by the headers, looked up in the table's `module`.
#define SYSTEM_FUNCTION(name)                                                                      \
    decltype(&::name) name = systemFunction<decltype(&::name)>(module, #name)

// The table of a library, loaded when first asked for (by whichever thread: the initialisation
// of a local static is thread-safe).
template <typename Library> const Library& systemLibrary() {
    static const Library library;
    return library;
}

// Calls the table's `function`, or answers `failure` as the function itself does when it fails.
template <typename Function, typename... Arguments>
std::invoke_result_t<Function, Arguments...>
callOr(Function function, std::invoke_result_t<Function, Arguments...> failure,
       Arguments... arguments) {
    return function ? function(arguments...) : failure;
}
