#pragma once

#include <cstdlib>

// Raises the standard exception Exception with the message. The Windows program is built without
// exceptions (their run-time support would be a fifth of it): there the failure ends the program
// at once, as an exception nobody catches would.
template <class Exception> [[noreturn]] void raise(const char* message) {
#if __cpp_exceptions
    throw Exception(message);
#else
    static_cast<void>(message);
    std::abort();
#endif
}
