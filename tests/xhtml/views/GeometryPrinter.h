#pragma once

#include "xhtml/views/Geometry.h"

#include <ostream>

namespace xhtml {

// Let GoogleTest show rectangles and sizes as their numbers in failure messages.
inline void PrintTo(const Rect& r, std::ostream* os) {
    *os << '(' << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom << ')';
}

inline void PrintTo(const Size& s, std::ostream* os) {
    *os << s.width << 'x' << s.height;
}

} // namespace xhtml
