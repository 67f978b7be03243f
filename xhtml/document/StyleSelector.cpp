#include "xhtml/document/StyleSelector.h"

#include <algorithm>

namespace xhtml {

namespace {

bool isOneOf(char16_t c, std::u16string_view set) {
    return set.find(c) != set.npos;
}

// Moves `position` up to the first character of `stops` or white space, and returns what it passed.
ZString readUntil(const ZString& text, int& position, std::u16string_view stops) {
    const int start = position;
    while (position < text.length() && !isOneOf(text.getAt(position), stops) &&
           !isWideSpace(text.getAt(position)))
        ++position;
    return text.mid(start, position);
}

void skipSpaces(const ZString& text, int& position) {
    while (position < text.length() && isWideSpace(text.getAt(position)))
        ++position;
}

StyleState stateNamed(const ZString& word) {
    if (word.equalsIgnoreCase(u"hover") || word.equalsIgnoreCase(u"hoover") ||
        word.equalsIgnoreCase(u"mo"))
        return Hover;
    if (word.equalsIgnoreCase(u"lbd") || word.equalsIgnoreCase(u"leftbuttondown"))
        return LeftDown;
    if (word.equalsIgnoreCase(u"rbd") || word.equalsIgnoreCase(u"rightbuttondown"))
        return RightDown;
    return Normal;
}

bool partMatches(const ZString& part, const ZString& value) {
    return part.isEmpty() || part == u"*" || part.equalsIgnoreCase(value);
}

} // namespace

int parseSelector(StyleSelector& selector, const ZString& text, int position) {
    position = std::clamp(position, 0, text.length());
    skipSpaces(text, position);
    selector.tagName = readUntil(text, position, u".#,:");
    if (position < text.length() && text.getAt(position) == u'.')
        selector.className = readUntil(text, ++position, u",:");
    else if (position < text.length() && text.getAt(position) == u'#')
        selector.id = readUntil(text, ++position, u",:");
    skipSpaces(text, position);
    if (position < text.length() && text.getAt(position) == u':') {
        skipSpaces(text, ++position);
        selector.state = stateNamed(readUntil(text, position, u","));
        skipSpaces(text, position);
    }
    return position;
}

std::vector<ZString> splitClassList(const ZString& classText) {
    std::vector<ZString> classes;
    const int length = classText.length();
    int start = 0;
    for (int i = 0; i <= length; ++i) {
        if (i < length && !isOneOf(classText.getAt(i), u" ;,:"))
            continue;
        ZString run = classText.mid(start, i);
        run.trim();
        if (!run.isEmpty())
            classes.push_back(std::move(run));
        start = i + 1;
    }
    return classes;
}

bool selectorMatches(const StyleSelector& selector, StyleState state, const ZString& tagName,
                     const ZString& id, const std::vector<ZString>& classList) {
    if (selector.state != state || !partMatches(selector.tagName, tagName) ||
        !partMatches(selector.id, id))
        return false;
    if (selector.className.isEmpty() || selector.className == u"*")
        return true;
    return std::any_of(classList.begin(), classList.end(), [&](const ZString& entry) {
        return selector.className.equalsIgnoreCase(entry);
    });
}

} // namespace xhtml
