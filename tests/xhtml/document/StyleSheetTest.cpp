// The committed xhtml-dump sheet cases hold the selector forms and a sheet wrapped in a comment.
#include "xhtml/document/StyleSheet.h"
#include "tests/xhtml/document/StyleTargets.h"
#include "xhtml/document/Cascade.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace xhtml;

namespace {

using P = PropertyId;
using Strings = std::vector<std::string>;

StyleRuleList sheet(const char16_t* text) {
    StyleRuleList rules;
    parseStyleSheet(rules, text);
    return rules;
}

// Each rule's selector as "tag #id .class :state".
Strings selectors(const char16_t* text) {
    Strings out;
    for (const StyleRule& rule : sheet(text)) {
        const StyleSelector& selector = rule.selector;
        out.push_back(toUtf8(selector.tagName) + " #" + toUtf8(selector.id) + " ." +
                      toUtf8(selector.className) + " :" + std::to_string(selector.state));
    }
    return out;
}

// A state is a whole word, after the ":" and white space.
TEST(Selectors, StatesAndWhereReadingStops) {
    EXPECT_EQ(selectors(u"td.cell : lbd {} a:hoover {} a:hover2 {} a: hov er {}"),
              (Strings{"td # .cell :2", "a # . :1", "a # . :0", "a # . :0"}));
    StyleSelector read;
    const ZString text = u"a:hover , .x";
    EXPECT_EQ(parseSelector(read, text, 0), 8);
    EXPECT_EQ(parseSelector(read, text, 99), text.length());
    EXPECT_EQ(parseSelector(read, text, -3), 8);
}

TEST(StyleSheets, SelectorsOfOneRuleShareOneCountedDefinition) {
    StyleRuleList rules = sheet(u"a, b, c { width:1 } d { width:2 }");
    ASSERT_EQ(rules.size(), 4u);
    IPtr<StyleDef> kept = rules[0].definition;
    EXPECT_EQ(kept->refCount(), 4);
    rules.clear();
    EXPECT_EQ(kept->refCount(), 1);
}

TEST(StyleSheets, ReadingStopsAtWhatItCannotRead) {
    for (const char16_t* text :
         {u"a { } 1b { } c { }", u"a { } -x { }", u"a { } /* note */ b { }",
          u"a { } b { color:blue", u"a { } b", u"<!-- a { } --> b { }", u"<!--a{}"})
        EXPECT_EQ(selectors(text), Strings{"a # . :0"}) << toUtf8(text);
    for (const char16_t* text : {u"@media screen { a { } }", u"<!--", u"", u" \r\n\t "})
        EXPECT_TRUE(sheet(text).empty()) << toUtf8(text);
}

// An empty selector would match every element of the document.
TEST(StyleSheets, SelectorsThatNameNothingAreDropped) {
    EXPECT_EQ(selectors(u"a, { color:red } b,,:hover , { } *, {}"),
              (Strings{"a # . :0", "b # . :0", "* # . :0"}));
}

// An element as the builder leaves it before the cascade: tag, id, class and inline styles.
std::unique_ptr<View> element(const char16_t* tag, const char16_t* id = u"",
                              const char16_t* classes = u"") {
    auto target = std::make_unique<View>(nullptr);
    target->setProperty(P::TagName, StyleValue::string(tag));
    if (*id)
        target->setProperty(P::Id, StyleValue::string(id));
    if (*classes)
        target->setProperty(P::Class, StyleValue::string(classes));
    return target;
}

void cascade(const StyleRuleList& rules, View& target) {
    for (StyleState state : {Normal, Hover, LeftDown, RightDown})
        applyStyles(rules, target, state);
}

TEST(Cascade, LaterRuleWinsInlineStyleWinsAndEachStateFillsItsOwnMap) {
    const StyleRuleList rules =
        sheet(u"a { width:1 } #M { width:2 } #n { top:1 } a { color:#333; width:5 }"
              u"a:hover { color:red } a:lbd { color:lime }");
    const auto link = element(u"a", u"m");
    link->setProperty(P::StyleText, StyleValue::string(u"color:blue"), Normal);
    link->setProperty(P::StyleText, StyleValue::string(u"underline-me:1; width:6"), RightDown);
    cascade(rules, *link);
    // The Normal inline style is not applied again for the other states.
    EXPECT_EQ(listing(*link), "TagName string a, Color colour ff0000, Width int 5, Id string m, "
                              "StyleText string color:blue");
    EXPECT_EQ(listing(*link, Hover), "Color colour ff");
    EXPECT_EQ(listing(*link, LeftDown), "Color colour ff00");
    EXPECT_EQ(listing(*link, RightDown), "Width int 6, StyleText string underline-me:1; width:6");
}

TEST(Cascade, MatchesOnTheClassListAndTheFirstSelectorOfACompound) {
    const StyleRuleList rules = sheet(u".y { width:1 } .X { height:2 } .a.b { color:red } "
                                      u"div span { top:3 } * { left:4 }");
    const auto span = element(u"span", u"", u"x;y,a");
    const auto div = element(u"div");
    View bare(nullptr);
    for (View* target : {span.get(), div.get(), &bare})
        cascade(rules, *target);
    EXPECT_EQ(listing(*span),
              "TagName string span, Height int 2, Width int 1, Class string x;y,a, Left int 4");
    EXPECT_EQ(listing(*div), "TagName string div, Top int 3, Left int 4");
    EXPECT_EQ(listing(bare), "Left int 4");
}

} // namespace
