#pragma once

#include "base/ZString.h"

namespace xhtml {

// Replaces character references ("&amp;", "&#65;", "&#x41;", "&#065;" in octal) in place.
// References that are unknown, malformed or out of range stay as written.
void decodeEntities(ZString& text);

} // namespace xhtml
