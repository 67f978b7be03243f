// Reads a localisation table (the rest of the input) for a language (the first line).
#include "app/Localisation.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

bool isTrimmed(const ZString& text) {
    ZString copy = text;
    return copy.trim().length() == text.length();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::u16string input = fromUtf8(reinterpret_cast<const char*>(data), int(size));
    const size_t lineEnd = input.find(u'\n');
    if (lineEnd == std::u16string::npos)
        return 0;
    const ZString language(input.c_str(), int(lineEnd));
    const ZString text(input.c_str() + lineEnd + 1, int(input.size() - lineEnd - 1));

    TextTable table;
    parseTranslations(table, text, language);
    for (const auto& [key, value] : table) {
        if (key.isEmpty() || !isTrimmed(key) || !isTrimmed(value) || key.find(u'=') >= 0)
            std::abort();
    }
    translate(table, language);
    return 0;
}
