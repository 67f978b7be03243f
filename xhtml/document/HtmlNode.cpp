#include "xhtml/document/HtmlNode.h"

#include <iterator>

namespace xhtml {

HtmlTagNode::HtmlTagNode(HtmlTagNode* parent, ZString name)
    : HtmlNode(Element, parent), name(std::move(name)) {}

HtmlTagNode::~HtmlTagNode() {
    // Each node is emptied before it is freed, so no destructor below this one has work to pass on.
    std::vector<std::unique_ptr<HtmlNode>> pending = std::move(children);
    while (!pending.empty()) {
        std::unique_ptr<HtmlNode> node = std::move(pending.back());
        pending.pop_back();
        if (node->kind == Element) {
            auto& grandchildren = static_cast<HtmlTagNode&>(*node).children;
            std::move(grandchildren.begin(), grandchildren.end(), std::back_inserter(pending));
            grandchildren.clear();
        }
    }
}

} // namespace xhtml
