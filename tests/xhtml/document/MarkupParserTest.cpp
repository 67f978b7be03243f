#include "tests/xhtml/document/TreeOutline.h"

#include <gtest/gtest.h>

#include <string>

using namespace xhtml;

namespace {

TEST(Markup, MalformedAndEdgeInputGivesTheseTrees) {
    const struct {
        const char16_t* markup;
        const char* tree;
    } cases[] = {
        // Empty elements, attribute forms and names.
        {u"<p/>x<q a=1/>y<s / >z", "p \"x\" q(a=1) \"y\" s[\"z\"]"},
        {u"<a  x = \"1\"  y z=2 w='3' 1v=2 -u \"q\"=3 _t>", "a(x=1,y=,z=2,w=3,v=2,u=,q\"=3,t=)"},
        {u"<a title=\"\r\n\f\v x \t\"><input VALUE=\"\t b \n\">",
         "a(title=x)[input(value=\t b \n)]"},
        // ">" ends even a quoted value; "<" inside a tag starts an attribute.
        {u"<div title=\"a>b\">", "div(title=a)[\"b\">\"]"},
        {u"<a title=\"x<b>\">", "a(title=x,b=)[\"\">\"]"},
        // Text keeps white space and references as written.
        {u"<p>\r\n\t a &amp; b&nbsp;</p>x<=y <3 <", "p[\"\r\n\t a &amp; b&nbsp;\"] \"x<=y <3 <\""},
        // Every element must be closed; end tags ignore case and what follows the name.
        {u"<ul><li>a<li>b</ul>c", "ul[li[\"a\" li[\"b\" \"c\"]]]"},
        {u"<p>a</P foo>b<p>c</p\n>d", "p[\"a\"] \"b\" p[\"c\"] \"d\""},
        // A nameless end tag closes nothing, not even the root.
        {u"a</>b", "\"a\" \"b\""},
        {u"<p>a</ p>b</p>c", "p[\"a\" \"b\"] \"c\""},
        // Input ending inside markup.
        {u"a</", "\"a\""},
        {u"a<b", "\"a\" b"},
        {u"<a href=\"x", "a(href=x)"},
        {u"<p/", "p/"},
        {u"x<b>", "\"x\" b"},
        // Comments make no nodes, do not nest, and an unclosed one runs to the end.
        {u"<!-->x<!--->y", "\"x\" \"y\""},
        {u"<p>a<!--</p>-->b</p>", "p[\"a\" \"b\"]"},
        {u"<!-- <!-- -->x-->", "\"x-->\""},
        {u"a<!-- b <p>c</p>", "\"a\""},
        // Other "<!" constructs are skipped through their first ">".
        {u"a<![CDATA[b]]>c<!>d", "\"a\" \"c\" \"d\""},
        {u"<![CDATA[a>b]]>", "\"b]]>\""},
        {u"a<!DOCTYPE", "\"a\""},
        // Raw text holds one text child up to its own end tag.
        {u"<STYLE>p{}<!-- x --></style>", "style[\"p{}<!-- x -->\"]"},
        {u"<textarea>a</textareax>b", "textarea[\"a\"] \"b\""},
        {u"<textarea>a></textarea>b", "textarea[\"a>\"] \"b\""},
        {u"<textarea>a</p><b>", "textarea[\"a</p><b>\"]"},
        {u"<textarea>", "textarea[\"\"]"},
        {u"<textarea/>x", "textarea \"x\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parsedOutline(c.markup), c.tree) << toUtf8(c.markup);
    const char16_t withNul[] = u"<p>a\0<q>";
    EXPECT_EQ(outlineChildren(*parseDocument(ZString(withNul, 8))), "p[\"a\"]");
}

TEST(Markup, AttributesAndParents) {
    const auto root = parseDocument(u"<p Class=x checked CLASS=y>a<b>c</b></p>");
    const auto& p = static_cast<const HtmlTagNode&>(*root->children.at(0));
    EXPECT_EQ(*getAttribute(&p, u"CLASS"), u"x");
    EXPECT_TRUE(getAttribute(&p, u"checked")->isEmpty());
    EXPECT_EQ(getAttribute(&p, u"disabled"), nullptr);
    EXPECT_EQ(getAttribute(nullptr, u"class"), nullptr);
    EXPECT_EQ(root->parent, nullptr);
    EXPECT_EQ(p.parent, root.get());
    EXPECT_EQ(p.children.at(1)->parent, &p);
}

TEST(Markup, ParseFunctionsReturnWhereTheyStopped) {
    std::vector<HtmlAttribute> attributes;
    const char16_t* list = u" a=\"1\" b />rest";
    EXPECT_EQ(parseAttributes(list, attributes), list + 9);
    const char16_t* unfinished = u" d='x";
    EXPECT_EQ(parseAttributes(unfinished, attributes), unfinished + 5);
    EXPECT_EQ(attributes.at(2).second, u"x");

    HtmlTagNode div(nullptr, u"div");
    const char16_t* text = u"x<i>y</i></DIV>rest";
    EXPECT_EQ(parseContent(&div, text), text + 15);
    // Raw text ending in ">" stops in front of its end tag.
    HtmlTagNode style(nullptr, u"style");
    const char16_t* angled = u"a></style>b";
    EXPECT_EQ(parseContent(&style, angled), angled + 2);
    EXPECT_EQ(parseContent(nullptr, u"<p/>"), nullptr);
    EXPECT_EQ(parseContent(&div, nullptr), nullptr);
    EXPECT_EQ(parseContent(&style, u""), nullptr);
    EXPECT_EQ(outlineChildren(div) + outlineChildren(style), "\"x\" i[\"y\"]\"a>\"");
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
    EXPECT_EQ(deepest.name, u"b");
    EXPECT_EQ(outlineChildren(deepest), "\"x\" i \"y\" u(a=1) \"z\" textarea \"a<i>b\" \"w\"");
    EXPECT_EQ(deepest.children[1]->parent, &deepest);
    // End tags still close what they name, so the structure resumes above the limit.
    ASSERT_EQ(root->children.size(), 2u);
    EXPECT_EQ(outline(*root->children[1]), "\"after\"");
    // Parsing into the element at the limit later flattens too.
    deepest.children.clear();
    parseContent(&deepest, u"<i>x</i>");
    EXPECT_EQ(outlineChildren(deepest), "i \"x\"");
}

TEST(MarkupDepth, AMillionUnclosedElementsParseFlat) {
    constexpr int count = 1000000;
    const auto root = parseDocument(ZString((repeated(u"<b>", count) + u"end").c_str()));
    const HtmlTagNode& deepest = descend(*root, kMaxNestingDepth);
    ASSERT_EQ(deepest.children.size(), std::size_t(count - kMaxNestingDepth + 1));
    EXPECT_EQ(outline(*deepest.children.back()), "\"end\"");
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
