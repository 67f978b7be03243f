#include "xhtml/document/StyleDef.h"

namespace xhtml {

namespace {

ZString normalized(ZString text) {
    text.trim();
    text.toLower();
    return text;
}

} // namespace

// A ";" before the ":" belongs to the name, and further ":" belong to the value, so
// "url(file://x)" survives; the end of the text ends the last declaration.
StyleDef::StyleDef(const ZString& text) {
    const char16_t* chars = text.c_str();
    const int length = text.length();
    int nameStart = 0;
    int colon = -1;
    for (int i = 0; i < length; ++i) {
        const char16_t c = chars[i];
        const bool inValue = colon >= 0;
        if (!inValue && c == u':')
            colon = i;
        const bool ends = inValue && c == u';';
        if (!ends && i != length - 1)
            continue;
        const int nameEnd = colon >= 0 ? colon : i + 1;
        const int valueEnd = ends ? i : i + 1;
        ZString name = normalized(text.mid(nameStart, nameEnd));
        ZString value = colon >= 0 ? normalized(text.mid(colon + 1, valueEnd)) : ZString();
        if (!name.isEmpty())
            declarations_.push_back({std::move(name), std::move(value)});
        nameStart = i + 1;
        colon = -1;
    }
}

} // namespace xhtml
