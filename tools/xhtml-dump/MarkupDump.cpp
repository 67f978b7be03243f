// The modes "markup" (the node tree of a document) and "entities" (decodeEntities of a text).

#include "tools/xhtml-dump/DumpModes.h"
#include "tools/xhtml-dump/DumpText.h"
#include "xhtml/document/EntityDecoder.h"
#include "xhtml/document/MarkupParser.h"

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

using namespace xhtml;

namespace {

std::string describe(const HtmlNode& node) {
    if (node.kind == HtmlNode::Text)
        return "#text " + quoted(static_cast<const HtmlTextNode&>(node).text);
    const auto& element = static_cast<const HtmlTagNode&>(node);
    if (element.parent == nullptr)
        return "#root";
    std::string line = '<' + escaped(element.name) + '>';
    for (const auto& [name, value] : element.attributes)
        line += ' ' + escaped(name) + '=' + quoted(value);
    return line;
}

// Walks with an explicit stack, so a tree of any shape prints without deep recursion.
void printTree(const HtmlTagNode& root) {
    std::vector<std::pair<const HtmlNode*, int>> pending{{&root, 0}};
    while (!pending.empty()) {
        const auto [node, depth] = pending.back();
        pending.pop_back();
        std::printf("%s%s\n", std::string(2 * depth, ' ').c_str(), describe(*node).c_str());
        if (node->kind == HtmlNode::Element) {
            const auto& children = static_cast<const HtmlTagNode*>(node)->children;
            for (auto child = children.rbegin(); child != children.rend(); ++child)
                pending.emplace_back(child->get(), depth + 1);
        }
    }
}

} // namespace

int dumpMarkup(int argc, char** argv) {
    ZString text;
    if (argc != 1 || !readUtf8File(argv[0], text))
        return kBadArguments;
    printTree(*parseDocument(text));
    return 0;
}

int dumpEntities(int argc, char** argv) {
    ZString text;
    if (argc != 1 || !readUtf8File(argv[0], text))
        return kBadArguments;
    decodeEntities(text);
    std::printf("%s\n", quoted(text).c_str());
    return 0;
}
