#pragma once

#include "base/ZString.h"
#include "xhtml/document/StyleState.h"

#include <vector>

namespace xhtml {

// "tag", ".class", "#id", "tag.class" or "tag#id", optionally followed by ":state". Each part
// may be empty or "*", both meaning any.
struct StyleSelector {
    ZString tagName;
    ZString id;
    ZString className;
    StyleState state = Normal;
};

// Reads one selector from `position` in `text` and returns the position after it and the white
// space that follows: at a ",", the end, or whatever else stopped it.
int parseSelector(StyleSelector& selector, const ZString& text, int position);

// The runs of a class attribute between blanks, ";", "," and ":", trimmed, empty runs dropped.
std::vector<ZString> splitClassList(const ZString& classText);

bool selectorMatches(const StyleSelector& selector, StyleState state, const ZString& tagName,
                     const ZString& id, const std::vector<ZString>& classList);

} // namespace xhtml
