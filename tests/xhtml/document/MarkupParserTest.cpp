#include "tests/xhtml/document/TreeOutline.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

using namespace xhtml;

namespace {

TEST(Markup, MalformedAndEdgeInputGivesTheseTrees) {
    const std::pair<const char16_t*, const char*> cases[] = {
        // Empty elements, attribute forms and names.
        {u"<p/>x<q a=1/>y<s / >z", "p \"x\" q(a=1) \"y\" s[\"z\"]"},
        {u"<a  x = \"1\"  y z=2 w='3' 1v=2 -u \"q\"=3 _t>", "a(x=1,y=,z=2,w=3,v=2,u=,q\"=3,t=)"},
        {u"<a title=\"\r\n\f\v x \t\">", "a(title=x)"},
        // ">" ends even a quoted value.
        {u"<div title=\"a>b\">", "div(title=a)[\"b\">\"]"},
        // Text keeps white space and references as written.
        {u"<p>\r\n\t a &amp; b&nbsp;</p>x<=y <3 <", "p[\"\r\n\t a &amp; b&nbsp;\"] \"x<=y <3 <\""},
        // End tags ignore case and what follows the name; a nameless one closes nothing.
        {u"<p>a</P foo>b<p>c</p\n>d", "p[\"a\"] \"b\" p[\"c\"] \"d\""},
        {u"a</>b<p>c</ p>d</p>e", "\"a\" \"b\" p[\"c\" \"d\"] \"e\""},
        // Input ending inside markup.
        {u"a</", "\"a\""},
        {u"a<b", "\"a\" b"},
        {u"<a href=\"x", "a(href=x)"},
        {u"<p/", "p/"},
        // Comments make no nodes, do not nest, and an unclosed one runs to the end.
        {u"<!-->x<!--->y", "\"x\" \"y\""},
        {u"<!-- <!-- -->x-->", "\"x-->\""},
        {u"a<!-- b <p>c</p>", "\"a\""},
        // Other "<!" constructs are skipped through their first ">".
        {u"a<!>b<![CDATA[c>d]]>", "\"a\" \"b\" \"d]]>\""},
        {u"a<!DOCTYPE", "\"a\""},
        // Raw text holds one text child up to its own end tag.
        {u"<STYLE>p{}<!-- x --></style>", "style[\"p{}<!-- x -->\"]"},
        {u"<textarea>a</textareax>b", "textarea[\"a\"] \"b\""},
        {u"<textarea>a></textarea>b", "textarea[\"a>\"] \"b\""},
        {u"<textarea>", "textarea[\"\"]"},
        {u"<textarea/>x", "textarea \"x\""},
    };
    for (const auto& [markup, tree] : cases)
        EXPECT_EQ(outline(*parseDocument(markup)), tree) << toUtf8(markup);
    const char16_t withNul[] = u"<p>a\0<q>";
    EXPECT_EQ(outline(*parseDocument(ZString(withNul, 8))), "p[\"a\"]");
}

TEST(Markup, AttributeLookupAndNullInputs) {
    const auto root = parseDocument(u"<p Class=x CLASS=y>");
    const auto* p = static_cast<const HtmlTagNode*>(root->children.at(0).get());
    EXPECT_EQ(*getAttribute(p, u"CLASS"), u"x");
    EXPECT_EQ(getAttribute(p, u"disabled"), nullptr);
    EXPECT_EQ(getAttribute(nullptr, u"class"), nullptr);
    HtmlTagNode style(nullptr, u"style");
    EXPECT_EQ(parseContent(nullptr, u"<p/>"), nullptr);
    EXPECT_EQ(parseContent(&style, nullptr), nullptr);
    EXPECT_EQ(parseContent(&style, u""), nullptr);
}

std::u16string repeated(const std::u16string& text, int count) {
    std::u16string out;
    for (int i = 0; i < count; ++i)
        out += text;
    return out;
}

// The element reached by following the first child `levels` times.
HtmlTagNode& descend(HtmlTagNode& element, int levels) {
    HtmlTagNode* node = &element;
    for (int i = 0; i < levels; ++i)
        node = &static_cast<HtmlTagNode&>(*node->children.at(0));
    return *node;
}

TEST(MarkupDepth, ContentBeyondTheLimitIsFlattenedIntoTheElementAtTheLimit) {
    const std::u16string markup = repeated(u"<b>", kMaxNestingDepth) +
                                  u"x<i>y<u a=1>z</u></i><textarea>a<i>b</textarea>w" +
                                  repeated(u"</b>", kMaxNestingDepth) + u"after";
    const auto root = parseDocument(ZString(markup.c_str()));
    HtmlTagNode& deepest = descend(*root, kMaxNestingDepth);
    EXPECT_EQ(outline(deepest), "\"x\" i \"y\" u(a=1) \"z\" textarea \"a<i>b\" \"w\"");
    EXPECT_EQ(deepest.children[1]->parent, &deepest);
    // End tags still close what they name, so the structure resumes above the limit.
    ASSERT_EQ(root->children.size(), 2u);
    EXPECT_EQ(static_cast<const HtmlTextNode&>(*root->children[1]).text, u"after");
    // Parsing into the element at the limit later flattens too.
    deepest.children.clear();
    parseContent(&deepest, u"<i>x</i>");
    EXPECT_EQ(outline(deepest), "i \"x\"");
}

TEST(MarkupDepth, AMillionUnclosedElementsParseFlat) {
    constexpr int count = 1000000;
    const auto root = parseDocument(ZString((repeated(u"<b>", count) + u"end").c_str()));
    const HtmlTagNode& deepest = descend(*root, kMaxNestingDepth);
    ASSERT_EQ(deepest.children.size(), std::size_t(count - kMaxNestingDepth + 1));
    EXPECT_EQ(static_cast<const HtmlTextNode&>(*deepest.children.back()).text, u"end");
}

// Counts its own destruction, to show that freeing a deep tree reaches every node.
struct CountedText : HtmlTextNode {
    CountedText(HtmlTagNode* parent, int& freed) : HtmlTextNode(parent, u"t"), freed(freed) {}
    ~CountedText() override { ++freed; }
    int& freed;
};

TEST(MarkupDepth, ADeepTreeBuiltByHandIsFreedWithoutRecursion) {
    constexpr int depth = 100000;
    int freed = 0;
    auto root = std::make_unique<HtmlTagNode>(nullptr);
    HtmlTagNode* tip = root.get();
    for (int i = 0; i < depth; ++i) {
        tip->children.push_back(std::make_unique<HtmlTagNode>(tip, u"b"));
        tip->children.push_back(std::make_unique<CountedText>(tip, freed));
        tip = static_cast<HtmlTagNode*>(tip->children[0].get());
    }
    root.reset();
    EXPECT_EQ(freed, depth);
}

} // namespace
