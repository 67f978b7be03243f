// xhtml-dump: the engine's debug dump, so whole behaviours can be read and reviewed as text.

#include "tools/xhtml-dump/DumpModes.h"

#include <cstdio>
#include <cstring>

namespace {

struct Mode {
    const char* name;
    const char* arguments;
    int (*run)(int argc, char** argv);
};

constexpr Mode modes[] = {
    {"markup", "FILE", dumpMarkup},
    {"entities", "FILE", dumpEntities},
    {"style", "FILE [--font-size N]", dumpStyle},
    {"sheet", "FILE", dumpSheet},
    {"url", "TEXT [BASE]", dumpUrl},
    {"i18n", "FILE LANG", dumpTranslations},
    {"substitute", "FILE I18N LANG", dumpSubstituted},
    {"views", "FILE", dumpViews},
    {"layout", "FILE [--width W] [--height H] [--dpi D]", dumpLayout},
};

void printUsage(const Mode& mode) {
    std::fprintf(stderr, "usage: xhtml-dump %s %s\n", mode.name, mode.arguments);
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 2) {
        for (const Mode& mode : modes) {
            if (std::strcmp(argv[1], mode.name) == 0) {
                const int status = mode.run(argc - 2, argv + 2);
                if (status == kBadArguments)
                    printUsage(mode);
                return status;
            }
        }
    }
    for (const Mode& mode : modes)
        printUsage(mode);
    return kBadArguments;
}
