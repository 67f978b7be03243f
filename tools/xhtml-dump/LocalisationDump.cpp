// The modes "i18n" (the text table of a language) and "substitute" (a page after its four
// placeholder passes).

#include "app/Localisation.h"
#include "tools/xhtml-dump/DumpModes.h"
#include "tools/xhtml-dump/DumpText.h"

#include <cstdio>
#include <string>

namespace {

// The table of the UTF-8 file for the language, as the program builds it from its resource.
bool readTable(const char* path, const char* language, TextTable& table) {
    ZString text;
    if (!readUtf8File(path, text))
        return false;
    parseTranslations(table, text, argumentText(language));
    return true;
}

} // namespace

int dumpTranslations(int argc, char** argv) {
    TextTable table;
    if (argc != 2 || !readTable(argv[0], argv[1], table))
        return kBadArguments;
    for (const auto& [key, text] : table)
        std::printf("%s=%s\n", escaped(key).c_str(), quoted(text).c_str());
    return 0;
}

int dumpSubstituted(int argc, char** argv) {
    ZString page;
    TextTable table;
    if (argc != 3 || !readUtf8File(argv[0], page) || !readTable(argv[1], argv[2], table))
        return kBadArguments;
    const std::string out = toUtf8(substitutePagePlaceholders(page, table));
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}
