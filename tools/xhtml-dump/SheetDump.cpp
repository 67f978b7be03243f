// The mode "sheet": the rules a style sheet adds to a rule list, in list order.

#include "tools/xhtml-dump/DumpModes.h"
#include "tools/xhtml-dump/DumpText.h"
#include "xhtml/document/StyleSheet.h"

#include <cstdio>
#include <string>

using namespace xhtml;

namespace {

std::string describe(const StyleRule& rule) {
    const StyleSelector& selector = rule.selector;
    std::string line = "tag=" + quoted(selector.tagName) + " id=" + quoted(selector.id) +
                       " class=" + quoted(selector.className) +
                       " state=" + std::to_string(selector.state) + " | ";
    const char* separator = "";
    for (const StyleDeclaration& declaration : rule.definition->declarations()) {
        line += separator + escaped(declaration.name) + ": " + escaped(declaration.value);
        separator = "; ";
    }
    return line;
}

} // namespace

int dumpSheet(int argc, char** argv) {
    ZString text;
    if (argc != 1 || !readUtf8File(argv[0], text))
        return kBadArguments;
    StyleRuleList rules;
    parseStyleSheet(rules, text);
    for (const StyleRule& rule : rules)
        std::printf("%s\n", describe(rule).c_str());
    return 0;
}
