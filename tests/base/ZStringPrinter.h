#pragma once

#include "base/ZString.h"

#include <ostream>

// Lets GoogleTest show a ZString as readable text in failure messages.
inline void PrintTo(const ZString& text, std::ostream* os) {
    *os << '"' << toUtf8(text) << '"';
}
