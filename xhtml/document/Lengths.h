#pragma once

#include "base/ZString.h"
#include "xhtml/document/StyleValue.h"

#include <cstdint>

namespace xhtml {

// A style length: the leading number of the trimmed text, units ignored ("12px" is 12, "1.5em"
// is 1.5), "0x1f" read as hexadecimal. Whole numbers become int values, clamped to the int range,
// others double values; text without a number is int 0. A text ending with "%" adds kPercent.
StyleValue parseLength(const ZString& text);

// A double as an int, truncated toward zero and clamped to the int range; NaN gives 0.
int32_t clampToInt(double value);

} // namespace xhtml
