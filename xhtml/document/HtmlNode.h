#pragma once

#include "base/ZString.h"

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace xhtml {

class HtmlTagNode;

// Elements nest as written up to this many levels below the document root. Content nested deeper
// is flattened: an element beyond the limit is kept without children, and it and everything
// inside it become children of the innermost element at the limit, in document order. No node
// therefore lies more than kMaxNestingDepth + 1 levels below the root, which bounds every walk
// over the tree, and a hostile document cannot exhaust the stack of code that recurses over it.
constexpr int kMaxNestingDepth = 256;

// One node of the markup tree. Nodes are owned by their parent element; the document root is an
// element with an empty name and no parent.
class HtmlNode {
public:
    enum Kind : int32_t { Element = 1, Text = 2 };

    HtmlNode(const HtmlNode&) = delete;
    HtmlNode& operator=(const HtmlNode&) = delete;
    virtual ~HtmlNode() = default;

    const Kind kind;
    HtmlTagNode* parent;

protected:
    HtmlNode(Kind kind, HtmlTagNode* parent) : kind(kind), parent(parent) {}
};

using HtmlAttribute = std::pair<ZString, ZString>;

class HtmlTagNode : public HtmlNode {
public:
    explicit HtmlTagNode(HtmlTagNode* parent, ZString name = ZString());
    // Frees the subtree without recursing, however deep it is.
    ~HtmlTagNode() override;

    std::vector<std::unique_ptr<HtmlNode>> children;
    // Lower case; empty for the document root.
    ZString name;
    // Name (lower case) and value, in source order, duplicates kept.
    std::vector<HtmlAttribute> attributes;
};

// Character data exactly as written: white space and character references are left as they are.
class HtmlTextNode : public HtmlNode {
public:
    HtmlTextNode(HtmlTagNode* parent, ZString text)
        : HtmlNode(Text, parent), text(std::move(text)) {}

    ZString text;
};

} // namespace xhtml
