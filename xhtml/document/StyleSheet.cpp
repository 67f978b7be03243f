#include "xhtml/document/StyleSheet.h"

namespace xhtml {

namespace {

bool startsRule(char16_t c) {
    return c == u'#' || c == u'.' || c == u'*' || (c >= u'a' && c <= u'z') ||
           (c >= u'A' && c <= u'Z');
}

// A selector that names nothing ("a, { }") would match every element; it is dropped instead.
bool namesSomething(const StyleSelector& selector) {
    return !selector.tagName.isEmpty() || !selector.id.isEmpty() || !selector.className.isEmpty();
}

void appendRules(StyleRuleList& rules, const ZString& selectors, const IPtr<StyleDef>& definition) {
    int position = 0;
    for (;;) {
        StyleSelector selector;
        position = parseSelector(selector, selectors, position);
        if (namesSomething(selector))
            rules.push_back({std::move(selector), definition});
        if (position >= selectors.length() || selectors.getAt(position) != u',')
            return;
        ++position;
    }
}

} // namespace

void parseStyleSheet(StyleRuleList& rules, const ZString& text) {
    const char16_t* chars = text.c_str();
    int position = static_cast<int>(skipSpaces(chars) - chars);
    if (text.mid(position, position + 4).equalsIgnoreCase(u"<!--"))
        position += 4;
    for (;;) {
        position = static_cast<int>(skipSpaces(chars + position) - chars);
        if (position >= text.length() || !startsRule(text.getAt(position)))
            return;
        const int open = text.find(u'{', position);
        if (open < 0)
            return;
        const int close = text.find(u'}', open + 1);
        if (close < 0)
            return;
        ZString selectors = text.mid(position, open);
        selectors.trim();
        selectors.toLower();
        ZString body = text.mid(open + 1, close);
        body.trim();
        appendRules(rules, selectors, IPtr<StyleDef>(new StyleDef(body)));
        position = close + 1;
    }
}

} // namespace xhtml
