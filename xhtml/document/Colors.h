#pragma once

#include "base/ZString.h"

#include <array>
#include <cstdint>

namespace xhtml {

// Colours are laid out like a COLORREF (red in the low byte) with a transparency byte on top:
// 0 is opaque, 0xFF is not painted at all.
constexpr uint32_t kTransparent = 0xFF000000;

struct NamedColor {
    const char16_t* name;
    uint32_t value;
};

// The colour keywords in alphabetical order, each grey present in one spelling only, then
// "Transparent".
extern const std::array<NamedColor, 141> namedColors;

// The named colour, matched ignoring case; null when the text names none.
const NamedColor* findNamedColor(const ZString& text);

// A colour name, "#RGB", "#RGBT", "#RRGGBB" or "#RRGGBBTT"; anything else is kTransparent.
uint32_t parseColor(const ZString& text);

} // namespace xhtml
