// Parses the input as a declaration list and applies it to a target that aborts on anything the
// style code must never store. The first byte picks the state and an inherited font size.
#include "fuzz/StyleFuzzTarget.h"
#include "xhtml/document/ApplyStyle.h"

#include <cstdint>

using namespace xhtml;

namespace {

// Declaration names and values come out trimmed and lower-cased.
void checkNormalized(const ZString& text) {
    const char16_t* units = text.c_str();
    for (int i = 0; i < text.length(); ++i)
        check(units[i] < u'A' || units[i] > u'Z');
    const auto isBlank = [](char16_t c) { return c == u' ' || (c >= 9 && c <= 13); };
    check(text.isEmpty() || (!isBlank(units[0]) && !isBlank(units[text.length() - 1])));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const std::u16string utf16 =
        fromUtf8(reinterpret_cast<const char*>(data + 1), static_cast<int>(size - 1));
    const ZString text(utf16.data(), static_cast<int>(utf16.size()));

    const StyleDef definition(text);
    check(definition.refCount() == 0);
    for (const StyleDeclaration& declaration : definition.declarations()) {
        check(!declaration.name.isEmpty());
        checkNormalized(declaration.name);
        checkNormalized(declaration.value);
    }

    StyleFuzzTarget target;
    target.applying = static_cast<StyleState>(data[0] & 3);
    target.inheritedFontSize = data[0] >> 2;
    applyStyle(target, target.applying, definition);
    // Applying the same list again stores the same values (relative font sizes aside).
    const StyleMaps first = target.maps;
    applyStyle(target, target.applying, definition);
    for (int state = Normal; state <= RightDown; ++state) {
        const StyleMaps::Map& before = *first.map(static_cast<StyleState>(state));
        const StyleMaps::Map& after = *target.maps.map(static_cast<StyleState>(state));
        check(before.size() == after.size());
        for (const auto& [id, value] : before) {
            const auto again = after.find(id);
            check(again != after.end());
            check(id == PropertyId::FontSize || again->second == value);
        }
    }
    return 0;
}
