// Reads the input as an element (first line: tag, id, class and inline style, separated by "|")
// and a style sheet (the rest), then checks the rule list and runs the cascade for every state on
// a target that aborts on anything the style code must never store.
#include "fuzz/StyleFuzzTarget.h"
#include "xhtml/document/Cascade.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <vector>

using namespace xhtml;

namespace {

bool isSelectorPart(const ZString& part) {
    const char16_t* units = part.c_str();
    for (int i = 0; i < part.length(); ++i) {
        if (isWideSpace(units[i]) || units[i] == u',' || units[i] == u':' ||
            (units[i] >= u'A' && units[i] <= u'Z'))
            return false;
    }
    return true;
}

void checkRules(const StyleRuleList& rules) {
    std::map<const StyleDef*, int> references;
    for (const StyleRule& rule : rules) {
        const StyleSelector& selector = rule.selector;
        check(rule.definition.get() != nullptr);
        ++references[rule.definition.get()];
        check(selector.state >= Normal && selector.state <= RightDown);
        check(isSelectorPart(selector.tagName) && isSelectorPart(selector.id) &&
              isSelectorPart(selector.className));
        check(selector.tagName.find(u'.') < 0 && selector.tagName.find(u'#') < 0);
        check(!selector.tagName.isEmpty() || !selector.id.isEmpty() ||
              !selector.className.isEmpty());
        check(selector.id.isEmpty() || selector.className.isEmpty());
    }
    for (const auto& [definition, count] : references)
        check(definition->refCount() == count);
}

void checkSelectorPositions(const ZString& text) {
    for (int position = -1; position <= text.length() + 1; position += 7) {
        StyleSelector selector;
        const int end = parseSelector(selector, text, position);
        check(end >= std::clamp(position, 0, text.length()) && end <= text.length());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::u16string utf16 =
        fromUtf8(reinterpret_cast<const char*>(data), static_cast<int>(size));
    const ZString input(utf16.data(), static_cast<int>(utf16.size()));
    const int lineEnd = input.find(u'\n');
    const ZString sheetText = lineEnd >= 0 ? input.mid(lineEnd + 1) : ZString();
    std::vector<ZString> fields;
    split(fields, lineEnd >= 0 ? input.mid(0, lineEnd) : input, u"|", true, false);
    fields.resize(4);

    StyleRuleList rules;
    parseStyleSheet(rules, sheetText);
    checkRules(rules);
    checkSelectorPositions(sheetText);

    StyleFuzzTarget element;
    element.maps.set(PropertyId::TagName, StyleValue::string(fields[0]), Normal);
    element.maps.set(PropertyId::Id, StyleValue::string(fields[1]), Normal);
    element.maps.set(PropertyId::Class, StyleValue::string(fields[2]), Normal);
    element.maps.set(PropertyId::StyleText, StyleValue::string(fields[3]), Hover);
    const std::vector<ZString> classList = splitClassList(fields[2]);
    for (const ZString& entry : classList)
        check(!entry.isEmpty());
    for (StyleState state : {Normal, Hover, LeftDown, RightDown}) {
        for (const StyleRule& rule : rules) {
            if (selectorMatches(rule.selector, state, fields[0], fields[1], classList))
                check(rule.selector.state == state);
        }
        element.applying = state;
        applyStyles(rules, element, state);
    }

    if (!rules.empty()) {
        const IPtr<StyleDef> kept = rules.front().definition;
        rules.clear();
        check(kept->refCount() == 1);
    }
    return 0;
}
