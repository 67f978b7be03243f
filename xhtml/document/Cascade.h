#pragma once

#include "xhtml/document/IStyleTarget.h"
#include "xhtml/document/StyleSheet.h"

namespace xhtml {

// Stores the target's properties for one state: every rule that matches it in that state, in
// list order (a later rule wins, there is no specificity), then its inline style for the state
// (StyleText of that state's map), which wins over all rules. The target's tag name, id and
// class are read from its Normal map.
void applyStyles(const StyleRuleList& rules, IStyleTarget& target, StyleState state);

} // namespace xhtml
