// The mode "style": the Normal map that a declaration list leaves on an element without
// properties of its own.

#include "tools/xhtml-dump/DumpModes.h"
#include "tools/xhtml-dump/DumpText.h"
#include "xhtml/document/ApplyStyle.h"
#include "xhtml/views/CompositeView.h"

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

using namespace xhtml;

int dumpStyle(int argc, char** argv) {
    const char* path = nullptr;
    std::optional<int> fontSize;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--font-size") == 0) {
            int size = 0;
            if (fontSize || i + 1 == argc || !readIntArgument(argv[++i], size))
                return kBadArguments;
            fontSize = size;
        } else if (!path) {
            path = argv[i];
        } else {
            return kBadArguments;
        }
    }
    ZString text;
    if (!path || !readUtf8File(path, text))
        return kBadArguments;
    // The element inherits only what its surroundings give it.
    CompositeView surroundings(nullptr);
    if (fontSize)
        surroundings.setProperty(PropertyId::FontSize, StyleValue::integer(*fontSize));
    auto* element = new View(nullptr);
    surroundings.appendChild(element);
    applyStyleText(*element, Normal, text);
    for (const auto& [id, value] : *element->getStyleMap(Normal))
        std::printf("%s %s\n", propertyName(id), describe(value).c_str());
    return 0;
}
