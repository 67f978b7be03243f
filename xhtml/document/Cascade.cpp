#include "xhtml/document/Cascade.h"

#include "xhtml/document/ApplyStyle.h"

namespace xhtml {

namespace {

ZString textIn(const IStyleTarget& target, PropertyId id, StyleState state) {
    const StyleValue* value = target.findInStyleMap(id, state);
    return value ? value->stringValue() : ZString();
}

} // namespace

void applyStyles(const StyleRuleList& rules, IStyleTarget& target, StyleState state) {
    const ZString tagName = textIn(target, PropertyId::TagName, Normal);
    const ZString id = textIn(target, PropertyId::Id, Normal);
    const std::vector<ZString> classList =
        splitClassList(textIn(target, PropertyId::Class, Normal));
    for (const StyleRule& rule : rules) {
        if (selectorMatches(rule.selector, state, tagName, id, classList))
            applyStyle(target, state, *rule.definition);
    }
    applyStyleText(target, state, textIn(target, PropertyId::StyleText, state));
}

} // namespace xhtml
