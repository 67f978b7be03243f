#pragma once

#include "base/ZString.h"
#include "xhtml/document/IPtrBase.h"
#include "xhtml/document/StyleDef.h"
#include "xhtml/document/StyleSelector.h"

#include <vector>

namespace xhtml {

// One selector of a sheet rule with its declarations; the selectors of one rule share them.
struct StyleRule {
    StyleSelector selector;
    IPtr<StyleDef> definition;
};

// In the order the rules were read; rules are only ever appended.
using StyleRuleList = std::vector<StyleRule>;

// Appends the rules of a style element's text: "selector, selector { declarations }" repeated.
// Reading ends quietly at the end of the text, at an unclosed rule, or at a rule that starts with
// anything but "#", ".", "*" or a letter, which is how a closing "-->" ends a sheet wrapped in a
// comment.
void parseStyleSheet(StyleRuleList& rules, const ZString& text);

} // namespace xhtml
