#pragma once

#include "base/ZString.h"
#include "xhtml/document/IStyleTarget.h"
#include "xhtml/document/StyleDef.h"

namespace xhtml {

// Stores each declaration of the definition in the target's map of the state, in order, so a
// later declaration of a property wins. Unknown properties and unusable values are ignored; a
// "-c-" prefix on a name is dropped.
void applyStyle(IStyleTarget& target, StyleState state, const StyleDef& definition);
// Parses the declaration text and applies it: inline styles, style animation steps.
void applyStyleText(IStyleTarget& target, StyleState state, const ZString& text);

// "1px solid #ccc": blank-separated tokens, each a width (starts with a digit), a colour ("#..."
// or a colour name) or a border-style word ("none" included), in any order.
void applyBorderShorthand(IStyleTarget& target, StyleState state, const ZString& value,
                          PropertyId widthKey, PropertyId styleKey, PropertyId colorKey);

} // namespace xhtml
