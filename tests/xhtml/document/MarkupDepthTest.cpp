#include "tests/xhtml/document/TreeOutline.h"

#include <gtest/gtest.h>

#include <string>

using namespace xhtml;

namespace {

std::u16string repeated(const std::u16string& text, int count) {
    std::u16string out;
    out.reserve(text.size() * count);
    for (int i = 0; i < count; ++i)
        out += text;
    return out;
}

// The element reached by following the first child `levels` times.
const HtmlTagNode& descend(const HtmlTagNode& element, int levels) {
    const HtmlTagNode* node = &element;
    for (int i = 0; i < levels; ++i)
        node = &static_cast<const HtmlTagNode&>(*node->children.at(0));
    return *node;
}

int treeDepth(const HtmlNode& node) {
    if (node.kind == HtmlNode::Text)
        return 0;
    int deepest = 0;
    for (const auto& child : static_cast<const HtmlTagNode&>(node).children)
        deepest = std::max(deepest, 1 + treeDepth(*child));
    return deepest;
}

TEST(MarkupDepth, NestingUpToTheLimitIsKeptExactly) {
    const std::u16string markup =
        repeated(u"<b>", kMaxNestingDepth) + u"x" + repeated(u"</b>", kMaxNestingDepth) + u"after";
    const auto root = parseDocument(ZString(markup.c_str()));
    ASSERT_EQ(root->children.size(), 2u);
    EXPECT_EQ(outline(*root->children[1]), "\"after\"");
    const HtmlTagNode& deepest = descend(*root, kMaxNestingDepth);
    EXPECT_EQ(deepest.name, u"b");
    EXPECT_EQ(outlineChildren(deepest), "\"x\"");
    EXPECT_EQ(treeDepth(*root), kMaxNestingDepth + 1);
}

TEST(MarkupDepth, DeeperContentIsFlattenedIntoTheElementAtTheLimit) {
    const std::u16string markup = repeated(u"<b>", kMaxNestingDepth) + u"x<i>y<u a=1>z</u></i>w" +
                                  repeated(u"</b>", kMaxNestingDepth) + u"after";
    const auto root = parseDocument(ZString(markup.c_str()));
    const HtmlTagNode& deepest = descend(*root, kMaxNestingDepth);
    // In document order; the flattened elements keep their attributes but hold nothing.
    EXPECT_EQ(outlineChildren(deepest), "\"x\" i \"y\" u(a=1) \"z\" \"w\"");
    EXPECT_EQ(deepest.children[1]->parent, &deepest);
    // End tags still close what they name, so the structure resumes above the limit.
    ASSERT_EQ(root->children.size(), 2u);
    EXPECT_EQ(outline(*root->children[1]), "\"after\"");
}

TEST(MarkupDepth, RawTextBeyondTheLimitFollowsItsElement) {
    const std::u16string markup =
        repeated(u"<b>", kMaxNestingDepth) + u"<textarea>a<i>b</textarea>c";
    const auto root = parseDocument(ZString(markup.c_str()));
    EXPECT_EQ(outlineChildren(descend(*root, kMaxNestingDepth)), "textarea \"a<i>b\" \"c\"");
}

TEST(MarkupDepth, ParsingIntoAnElementAtTheLimitFlattensToo) {
    const std::u16string markup = repeated(u"<b>", kMaxNestingDepth);
    const auto root = parseDocument(ZString(markup.c_str()));
    auto& deepest = const_cast<HtmlTagNode&>(descend(*root, kMaxNestingDepth));
    parseContent(&deepest, u"<i>x</i>");
    EXPECT_EQ(outlineChildren(deepest), "i \"x\"");
}

TEST(MarkupDepth, AMillionUnclosedElementsParseFlatAndFree) {
    constexpr int count = 1000000;
    const std::u16string markup = repeated(u"<b>", count) + u"end";
    auto root = parseDocument(ZString(markup.c_str()));
    const HtmlTagNode& deepest = descend(*root, kMaxNestingDepth);
    ASSERT_EQ(deepest.children.size(), std::size_t(count - kMaxNestingDepth + 1));
    EXPECT_EQ(outline(*deepest.children.back()), "\"end\"");
    EXPECT_EQ(treeDepth(*root), kMaxNestingDepth + 1);
    root.reset();
}

// Counts its own destruction, to show that freeing a deep tree reaches every node.
class CountedText : public HtmlTextNode {
public:
    CountedText(HtmlTagNode* parent, int& freed) : HtmlTextNode(parent, u"t"), freed_(freed) {}
    ~CountedText() override { ++freed_; }

private:
    int& freed_;
};

TEST(MarkupDepth, ADeepTreeBuiltByHandIsFreedWithoutRecursion) {
    constexpr int depth = 100000;
    int freed = 0;
    auto root = std::make_unique<HtmlTagNode>(nullptr);
    HtmlTagNode* tip = root.get();
    for (int i = 0; i < depth; ++i) {
        auto child = std::make_unique<HtmlTagNode>(tip, u"b");
        HtmlTagNode* next = child.get();
        tip->children.push_back(std::move(child));
        tip->children.push_back(std::make_unique<CountedText>(tip, freed));
        tip = next;
    }
    root.reset();
    EXPECT_EQ(freed, depth);
}

} // namespace
