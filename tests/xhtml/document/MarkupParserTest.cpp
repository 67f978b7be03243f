#include "tests/xhtml/document/TreeOutline.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace xhtml;

namespace {

const HtmlTagNode& firstElement(const HtmlTagNode& parent) {
    for (const auto& child : parent.children) {
        if (child->kind == HtmlNode::Element)
            return static_cast<const HtmlTagNode&>(*child);
    }
    throw std::logic_error("no element child");
}

TEST(MarkupElements, SelfClosedImageKeepsAttributesInSourceOrder) {
    EXPECT_EQ(parsedOutline(u"<img src=\"logo.png\" width=\"50\" height=\"50\" />"),
              "img(src=logo.png,width=50,height=50)");
}

TEST(MarkupElements, AttributeWithoutValueIsEmptyButPresent) {
    const auto root = parseDocument(u"<input type=\"radio\" name=\"installMode\" value=\"express\" "
                                    u"checked />");
    EXPECT_EQ(outlineChildren(*root), "input(type=radio,name=installMode,value=express,checked=)");
    const ZString* checked = getAttribute(&firstElement(*root), u"checked");
    ASSERT_NE(checked, nullptr);
    EXPECT_TRUE(checked->isEmpty());
    EXPECT_EQ(getAttribute(&firstElement(*root), u"disabled"), nullptr);
}

TEST(MarkupElements, NamesAreLowerCasedAndLookedUpIgnoringCase) {
    const auto root = parseDocument(u"<DIV Class=x hideId=\"a\" CLASS=y></Div>");
    EXPECT_EQ(outlineChildren(*root), "div(class=x,hideid=a,class=y)");
    const HtmlTagNode& div = firstElement(*root);
    ASSERT_NE(getAttribute(&div, u"hideId"), nullptr);
    EXPECT_EQ(*getAttribute(&div, u"HIDEID"), u"a");
    // Duplicates are kept; the first one answers.
    EXPECT_EQ(*getAttribute(&div, u"class"), u"x");
    EXPECT_EQ(getAttribute(nullptr, u"class"), nullptr);
}

TEST(MarkupElements, NodesKnowTheirParents) {
    const auto root = parseDocument(u"<p>a<b>c</b></p>");
    EXPECT_EQ(root->parent, nullptr);
    EXPECT_EQ(root->kind, HtmlNode::Element);
    const HtmlTagNode& p = firstElement(*root);
    EXPECT_EQ(p.parent, root.get());
    ASSERT_EQ(p.children.size(), 2u);
    EXPECT_EQ(p.children[0]->kind, HtmlNode::Text);
    EXPECT_EQ(p.children[0]->parent, &p);
    EXPECT_EQ(firstElement(p).children[0]->parent, &firstElement(p));
}

TEST(MarkupElements, EmptyElementsEndAtSlashGreaterThan) {
    EXPECT_EQ(parsedOutline(u"<p/>x<q a=1/>y"), "p \"x\" q(a=1) \"y\"");
    // A "/" not followed by ">" is no empty-element mark: <s / > opens an element.
    EXPECT_EQ(parsedOutline(u"<s / >x"), "s[\"x\"]");
}

TEST(MarkupElements, TextKeepsWhiteSpaceAndReferencesAsWritten) {
    EXPECT_EQ(parsedOutline(u"<p>\r\n\t a &amp; b&nbsp;</p> "),
              "p[\"\r\n\t a &amp; b&nbsp;\"] \" \"");
}

TEST(MarkupAttributes, ValuesAreTrimmedExceptTheValueAttribute) {
    EXPECT_EQ(parsedOutline(u"<a title=' b '>"), "a(title=b)");
    EXPECT_EQ(parsedOutline(u"<input value=' b '>"), "input(value= b )");
    EXPECT_EQ(parsedOutline(u"<input VALUE=\"\t b \n\">"), "input(value=\t b \n)");
    EXPECT_EQ(parsedOutline(u"<a title=\"\r\n\f\v x \t\">"), "a(title=x)");
}

TEST(MarkupAttributes, SpacesAroundEqualsAndUnquotedValues) {
    EXPECT_EQ(parsedOutline(u"<a  x = \"1\"  y z=2 w='3'>"), "a(x=1,y=,z=2,w=3)");
    EXPECT_EQ(parsedOutline(u"<a x=1/>b"), "a(x=1) \"b\"");
    EXPECT_EQ(parsedOutline(u"<a x=\"it's\" y='say \"hi\"'>"), "a(x=it's,y=say \"hi\")");
}

TEST(MarkupAttributes, GreaterThanEndsEvenAQuotedValue) {
    EXPECT_EQ(parsedOutline(u"<div title=\"a>b\">"), "div(title=a)[\"b\">\"]");
}

TEST(MarkupAttributes, LessThanInsideATagBecomesAnAttribute) {
    EXPECT_EQ(parsedOutline(u"<div class=x<span>"), "div(class=x,span=)");
    EXPECT_EQ(parsedOutline(u"<div <span>"), "div(span=)");
    EXPECT_EQ(parsedOutline(u"<a title=\"x<b>\">"), "a(title=x,b=)[\"\">\"]");
}

TEST(MarkupAttributes, NamesBeginWithALetter) {
    // Quotes only end names that follow a value.
    EXPECT_EQ(parsedOutline(u"<a 1x=2 -y \"q\"=3 _z>"), "a(x=2,y=,q\"=3,z=)");
}

TEST(MarkupAttributes, ParseAttributesStopsWhereTheListEnds) {
    const char16_t* text = u" a=\"1\" b />rest";
    std::vector<HtmlAttribute> attributes;
    EXPECT_EQ(parseAttributes(text, attributes), text + 9);
    ASSERT_EQ(attributes.size(), 2u);
    EXPECT_EQ(attributes[1].first, u"b");

    const char16_t* open = u" c>x";
    EXPECT_EQ(parseAttributes(open, attributes), open + 2);
    const char16_t* unfinished = u" d='x";
    EXPECT_EQ(parseAttributes(unfinished, attributes), unfinished + 5);
    ASSERT_EQ(attributes.size(), 4u);
    EXPECT_EQ(attributes[3].second, u"x");
}

TEST(MarkupNesting, MisnestedEndTagsAreDroppedAndLeaveElementsOpen) {
    EXPECT_EQ(parsedOutline(u"<b><i>x</b>y</i>z"), "b[i[\"x\" \"y\"] \"z\"]");
    EXPECT_EQ(parsedOutline(u"</p>a</div>"), "\"a\"");
}

TEST(MarkupNesting, EveryElementMustBeClosed) {
    EXPECT_EQ(parsedOutline(u"<br>text"), "br[\"text\"]");
    EXPECT_EQ(parsedOutline(u"<div><p>x"), "div[p[\"x\"]]");
    EXPECT_EQ(parsedOutline(u"<ul><li>a<li>b</ul>c"), "ul[li[\"a\" li[\"b\" \"c\"]]]");
}

TEST(MarkupNesting, EndTagNamesIgnoreCaseAndTrailingJunk) {
    EXPECT_EQ(parsedOutline(u"<p>a</P foo>b"), "p[\"a\"] \"b\"");
    EXPECT_EQ(parsedOutline(u"<p>a</p\n>b"), "p[\"a\"] \"b\"");
}

TEST(MarkupNesting, NamelessEndTagsCloseNothing) {
    // Not even the document root: the rest of the document survives a stray "</>".
    EXPECT_EQ(parsedOutline(u"a</>b"), "\"a\" \"b\"");
    EXPECT_EQ(parsedOutline(u"<p>a</ p>b</p>c"), "p[\"a\" \"b\"] \"c\"");
}

TEST(MarkupText, LessThanNotFollowedByMarkupIsText) {
    EXPECT_EQ(parsedOutline(u"a < b"), "\"a < b\"");
    EXPECT_EQ(parsedOutline(u"x<=y <3 <"), "\"x<=y <3 <\"");
    EXPECT_EQ(parsedOutline(u"<?xml version=\"1.0\"?><p/>"), "\"<?xml version=\"1.0\"?>\" p");
}

TEST(MarkupText, InputEndingInsideMarkup) {
    EXPECT_EQ(parsedOutline(u"a<"), "\"a<\"");
    EXPECT_EQ(parsedOutline(u"a</"), "\"a\"");
    EXPECT_EQ(parsedOutline(u"a<b"), "\"a\" b");
    EXPECT_EQ(parsedOutline(u"<a href=\"x"), "a(href=x)");
    EXPECT_EQ(parsedOutline(u"<p/"), "p/");
    // A start tag that ends the input leaves an empty open element.
    EXPECT_EQ(parsedOutline(u"x<b>"), "\"x\" b");
}

TEST(MarkupComments, MakeNoNodes) {
    EXPECT_EQ(parsedOutline(u"a<!-- b <p> -->c"), "\"a\" \"c\"");
    EXPECT_EQ(parsedOutline(u"<!-->x"), "\"x\"");
    EXPECT_EQ(parsedOutline(u"<!--->x"), "\"x\"");
    EXPECT_EQ(parsedOutline(u"<p>a<!--</p>-->b</p>"), "p[\"a\" \"b\"]");
}

TEST(MarkupComments, DoNotNest) {
    EXPECT_EQ(parsedOutline(u"<!-- <!-- -->x-->"), "\"x-->\"");
}

TEST(MarkupComments, AnUnterminatedCommentRunsToTheEnd) {
    EXPECT_EQ(parsedOutline(u"a<!-- b <p>c</p>"), "\"a\"");
}

TEST(MarkupDeclarations, AreSkippedThroughTheirGreaterThan) {
    EXPECT_EQ(parsedOutline(u"<!DOCTYPE html><p>x</p>"), "p[\"x\"]");
    EXPECT_EQ(parsedOutline(u"a<![CDATA[b]]>c"), "\"a\" \"c\"");
    // No CDATA sections in this dialect: the first ">" ends the construct.
    EXPECT_EQ(parsedOutline(u"<![CDATA[a>b]]>"), "\"b]]>\"");
    EXPECT_EQ(parsedOutline(u"a<!DOCTYPE"), "\"a\"");
    EXPECT_EQ(parsedOutline(u"<!>x"), "\"x\"");
}

TEST(MarkupRawText, TextareaAndStyleHoldOneTextChild) {
    EXPECT_EQ(parsedOutline(u"<textarea>a<b>c</TextArea>d"), "textarea[\"a<b>c\"] \"d\"");
    EXPECT_EQ(parsedOutline(u"<STYLE>p{}<!-- x --></style>"), "style[\"p{}<!-- x -->\"]");
    EXPECT_EQ(parsedOutline(u"<textarea>a</textareax>b"), "textarea[\"a\"] \"b\"");
}

TEST(MarkupRawText, EndTagAfterGreaterThanIsLeftToTheEnclosingElement) {
    // Which drops it as a stray end tag: the tree is the same either way.
    EXPECT_EQ(parsedOutline(u"<textarea>a></textarea>b"), "textarea[\"a>\"] \"b\"");
    EXPECT_EQ(parsedOutline(u"<textarea></textarea>x"), "textarea[\"\"] \"x\"");
    EXPECT_EQ(parsedOutline(u"<div><style></style></div>c"), "div[style[\"\"]] \"c\"");
}

TEST(MarkupRawText, UnterminatedRawTextTakesTheRest) {
    EXPECT_EQ(parsedOutline(u"<textarea>a</p><b>"), "textarea[\"a</p><b>\"]");
    EXPECT_EQ(parsedOutline(u"<textarea>"), "textarea[\"\"]");
    EXPECT_EQ(parsedOutline(u"<textarea/>x"), "textarea \"x\"");
}

TEST(MarkupParseContent, ReturnsThePositionAfterTheEndTag) {
    HtmlTagNode div(nullptr, u"div");
    const char16_t* text = u"x<i>y</i></DIV>rest";
    EXPECT_EQ(parseContent(&div, text), text + 15);
    EXPECT_EQ(outlineChildren(div), "\"x\" i[\"y\"]");

    HtmlTagNode textarea(nullptr, u"textarea");
    const char16_t* raw = u"<p</textarea>rest";
    EXPECT_EQ(parseContent(&textarea, raw), raw + 13);
    EXPECT_EQ(outlineChildren(textarea), "\"<p\"");

    // Raw text ending in ">" stops in front of its end tag.
    HtmlTagNode style(nullptr, u"style");
    const char16_t* angled = u"a></style>b";
    EXPECT_EQ(parseContent(&style, angled), angled + 2);
    EXPECT_EQ(outlineChildren(style), "\"a>\"");
}

TEST(MarkupParseContent, MakesNothingFromNothing) {
    HtmlTagNode root(nullptr);
    EXPECT_EQ(parseContent(nullptr, u"<p/>"), nullptr);
    EXPECT_EQ(parseContent(&root, nullptr), nullptr);
    EXPECT_EQ(parseContent(&root, u""), nullptr);
    HtmlTagNode textarea(nullptr, u"textarea");
    EXPECT_EQ(parseContent(&textarea, u""), nullptr);
    EXPECT_TRUE(root.children.empty());
    EXPECT_TRUE(textarea.children.empty());
}

TEST(MarkupParseContent, StopsAtAnEmbeddedNul) {
    const char16_t text[] = u"<p>a\0<q>";
    EXPECT_EQ(outlineChildren(*parseDocument(ZString(text, 8))), "p[\"a\"]");
}

} // namespace
