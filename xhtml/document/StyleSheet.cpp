#include "xhtml/document/StyleSheet.h"

namespace xhtml {

namespace {

void skipSpaces(const ZString& text, int& position) {
    while (position < text.length() && isWideSpace(text.getAt(position)))
        ++position;
}

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
        skipSpaces(selectors, position);
        if (position >= selectors.length() || selectors.getAt(position) != u',')
            return;
        ++position;
    }
}

} // namespace

void parseStyleSheet(StyleRuleList& rules, const ZString& text) {
    int position = 0;
    skipSpaces(text, position);
    if (text.mid(position, position + 4).equalsIgnoreCase(u"<!--"))
        position += 4;
    for (;;) {
        skipSpaces(text, position);
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
