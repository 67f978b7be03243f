#pragma once

#include "base/ZString.h"

#include <windows.h>

namespace xhtml {

// Writes the bitmap as a PNG file with the GDI+ encoder (GDI+ must be running). False when it
// could not be written.
bool savePng(HBITMAP bitmap, const ZString& path);

} // namespace xhtml
