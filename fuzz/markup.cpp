// Parses the input as a document and decodes the character references of every text node and of
// the whole input, checking what must hold for any input: the parse reaches the end, the tree is
// consistent and no deeper than the nesting limit allows, and decoding never lengthens a text.
#include "xhtml/document/EntityDecoder.h"
#include "xhtml/document/MarkupParser.h"

#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

using namespace xhtml;

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

bool isLowerCaseName(const ZString& name) {
    for (int i = 0; i < name.length(); ++i) {
        if (name.c_str()[i] >= u'A' && name.c_str()[i] <= u'Z')
            return false;
    }
    return !name.isEmpty();
}

void checkDecoding(const ZString& text) {
    ZString decoded = text;
    decodeEntities(decoded);
    check(decoded.length() <= text.length());
    if (text.find(u'&') < 0)
        check(decoded == text);
}

void checkTree(const HtmlTagNode& root) {
    std::vector<std::pair<const HtmlNode*, int>> pending{{&root, 0}};
    while (!pending.empty()) {
        const auto [node, depth] = pending.back();
        pending.pop_back();
        check(depth <= kMaxNestingDepth + 1);
        if (node->kind == HtmlNode::Text) {
            checkDecoding(static_cast<const HtmlTextNode*>(node)->text);
            continue;
        }
        const auto* element = static_cast<const HtmlTagNode*>(node);
        check(element == &root || isLowerCaseName(element->name));
        for (const auto& [name, value] : element->attributes)
            check(isLowerCaseName(name));
        for (const auto& child : element->children) {
            check(child->parent == element);
            pending.emplace_back(child.get(), depth + 1);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::u16string units = fromUtf8(reinterpret_cast<const char*>(data), int(size));
    const ZString text(units.data(), int(units.size()));
    HtmlTagNode root(nullptr);
    const char16_t* end = parseContent(&root, text.c_str());
    // Nothing closes the root, so its content runs to the first NUL.
    check(end == nullptr ? *text.c_str() == 0 : *end == 0);
    checkTree(root);
    checkDecoding(text);
    return 0;
}
