// Substitutes placeholders with a prefix (the first line) in a text (the rest), with the table
// the text itself declares in "en." lines. Without a table the text must come back unchanged.
#include "app/Localisation.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::u16string input = fromUtf8(reinterpret_cast<const char*>(data), int(size));
    const size_t lineEnd = input.find(u'\n');
    if (lineEnd == std::u16string::npos)
        return 0;
    // The page's prefixes are short; a long one only slows the plain search down.
    const ZString prefix(input.c_str(), int(std::min<size_t>(lineEnd, 12)));
    const ZString text(input.c_str() + lineEnd + 1, int(input.size() - lineEnd - 1));

    if (!substitutePlaceholders(text, prefix, TextTable(), keepText).equals(text))
        std::abort();
    TextTable table;
    parseTranslations(table, text, u"en");
    substitutePlaceholders(text, prefix, table, escapeHtml);
    substitutePagePlaceholders(text, table);
    return 0;
}
