#include "xhtml/document/StyleSheet.h"
#include "tests/xhtml/document/StyleTargets.h"
#include "xhtml/document/Cascade.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace xhtml;
using ::testing::_;
using ::testing::Return;
using ::testing::StrictMock;

namespace {

using P = PropertyId;

std::string describe(const StyleSelector& selector) {
    return "tag=" + toUtf8(selector.tagName) + " id=" + toUtf8(selector.id) +
           " class=" + toUtf8(selector.className) + " state=" + std::to_string(selector.state);
}

StyleSelector selector(const char16_t* text) {
    StyleSelector out;
    parseSelector(out, text, 0);
    return out;
}

std::vector<std::string> selectors(const StyleRuleList& rules) {
    std::vector<std::string> out;
    for (const StyleRule& rule : rules)
        out.push_back(describe(rule.selector));
    return out;
}

StyleRuleList sheet(const char16_t* text) {
    StyleRuleList rules;
    parseStyleSheet(rules, text);
    return rules;
}

// An element as the builder leaves it before the cascade: tag, id, class and inline styles.
RecordingStyleTarget element(const char16_t* tag, const char16_t* id = u"",
                             const char16_t* classes = u"") {
    RecordingStyleTarget target;
    target.maps.set(P::TagName, StyleValue::string(tag), Normal);
    if (*id)
        target.maps.set(P::Id, StyleValue::string(id), Normal);
    if (*classes)
        target.maps.set(P::Class, StyleValue::string(classes), Normal);
    return target;
}

void cascade(const StyleRuleList& rules, RecordingStyleTarget& target) {
    for (StyleState state : {Normal, Hover, LeftDown, RightDown})
        applyStyles(rules, target, state);
}

TEST(Selectors, TagClassIdAndState) {
    EXPECT_EQ(describe(selector(u"div")), "tag=div id= class= state=0");
    EXPECT_EQ(describe(selector(u"  .note")), "tag= id= class=note state=0");
    EXPECT_EQ(describe(selector(u"a#home:hover")), "tag=a id=home class= state=1");
    EXPECT_EQ(describe(selector(u"td.cell : lbd")), "tag=td id= class=cell state=2");
    EXPECT_EQ(describe(selector(u"*:rightbuttondown")), "tag=* id= class= state=3");
}

TEST(Selectors, OnlyOneOfClassAndIdFollowsTheTag) {
    EXPECT_EQ(describe(selector(u"#a.b")), "tag= id=a.b class= state=0");
    EXPECT_EQ(describe(selector(u".a.b")), "tag= id= class=a.b state=0");
    EXPECT_EQ(describe(selector(u"p.x#y")), "tag=p id= class=x#y state=0");
}

TEST(Selectors, StateWords) {
    for (const char16_t* hover : {u"a:hover", u"a:hoover", u"a:mo", u"a:HOVER"})
        EXPECT_EQ(selector(hover).state, Hover) << toUtf8(hover);
    for (const char16_t* left : {u"a:lbd", u"a:leftbuttondown"})
        EXPECT_EQ(selector(left).state, LeftDown) << toUtf8(left);
    for (const char16_t* right : {u"a:rbd", u"a:rightbuttondown"})
        EXPECT_EQ(selector(right).state, RightDown) << toUtf8(right);
    for (const char16_t* normal : {u"a:visited", u"a:", u"a:hover2", u"a: hov er"})
        EXPECT_EQ(selector(normal).state, Normal) << toUtf8(normal);
}

TEST(Selectors, ReturnsThePositionWhereReadingStopped) {
    StyleSelector first;
    const ZString text = u"a:hover , .x";
    EXPECT_EQ(parseSelector(first, text, 0), 8);
    StyleSelector second;
    EXPECT_EQ(parseSelector(second, text, 9), text.length());
    EXPECT_EQ(second.className, u"x");
    StyleSelector outside;
    EXPECT_EQ(parseSelector(outside, text, 99), text.length());
    EXPECT_EQ(parseSelector(outside, text, -3), 8);
    StyleSelector compound;
    EXPECT_EQ(parseSelector(compound, u"div  span", 0), 5);
}

TEST(ClassList, RunsBetweenBlanksAndPunctuation) {
    EXPECT_EQ(splitClassList(u"x  y"), (std::vector<ZString>{u"x", u"y"}));
    EXPECT_EQ(splitClassList(u" a;b,c:d "), (std::vector<ZString>{u"a", u"b", u"c", u"d"}));
    EXPECT_EQ(splitClassList(u"\tbig\t ;;"), (std::vector<ZString>{u"big"}));
    EXPECT_TRUE(splitClassList(u"").empty());
    EXPECT_TRUE(splitClassList(u" ,; ").empty());
}

TEST(Matching, EveryGivenPartMustMatchIgnoringCase) {
    const std::vector<ZString> classes = {u"Primary", u"wide"};
    EXPECT_TRUE(selectorMatches(selector(u"div"), Normal, u"DIV", u"", classes));
    EXPECT_TRUE(selectorMatches(selector(u"#main"), Normal, u"div", u"Main", classes));
    EXPECT_TRUE(selectorMatches(selector(u".primary"), Normal, u"span", u"", classes));
    EXPECT_TRUE(selectorMatches(selector(u"*"), Normal, u"span", u"x", {}));
    EXPECT_TRUE(selectorMatches(selector(u"div.wide"), Normal, u"div", u"", classes));
    EXPECT_FALSE(selectorMatches(selector(u"div.wide"), Normal, u"p", u"", classes));
    EXPECT_FALSE(selectorMatches(selector(u".narrow"), Normal, u"div", u"", classes));
    EXPECT_FALSE(selectorMatches(selector(u"#other"), Normal, u"div", u"main", classes));
    EXPECT_FALSE(selectorMatches(selector(u".wide"), Normal, u"div", u"", {}));
}

TEST(Matching, TheStateMustBeTheSelectorsState) {
    EXPECT_TRUE(selectorMatches(selector(u"a:hover"), Hover, u"a", u"", {}));
    EXPECT_FALSE(selectorMatches(selector(u"a:hover"), Normal, u"a", u"", {}));
    EXPECT_FALSE(selectorMatches(selector(u"a"), Hover, u"a", u"", {}));
    EXPECT_FALSE(selectorMatches(selector(u"a"), Current, u"a", u"", {}));
}

TEST(StyleSheets, SelectorsOfOneRuleShareOneDefinition) {
    const StyleRuleList rules = sheet(u"a:hover, .x { color:#f00 }");
    EXPECT_EQ(selectors(rules),
              (std::vector<std::string>{"tag=a id= class= state=1", "tag= id= class=x state=0"}));
    ASSERT_EQ(rules.size(), 2u);
    EXPECT_EQ(rules[0].definition.get(), rules[1].definition.get());
    EXPECT_EQ(rules[0].definition->refCount(), 2);
    ASSERT_EQ(rules[0].definition->declarations().size(), 1u);
    EXPECT_EQ(rules[0].definition->declarations()[0].value, u"#f00");
}

TEST(StyleSheets, DroppingTheListReleasesTheDefinitions) {
    StyleRuleList rules = sheet(u"a, b, c { width:1 } d { width:2 }");
    ASSERT_EQ(rules.size(), 4u);
    IPtr<StyleDef> kept = rules[0].definition;
    EXPECT_EQ(kept->refCount(), 4);
    rules.clear();
    EXPECT_EQ(kept->refCount(), 1);
}

TEST(StyleSheets, SelectorsAreLowerCasedAndTheRestOfACompoundSelectorIgnored) {
    EXPECT_EQ(selectors(sheet(u"DIV.Note { } div span { } p > q, em { }")),
              (std::vector<std::string>{"tag=div id= class=note state=0",
                                        "tag=div id= class= state=0", "tag=p id= class= state=0"}));
}

TEST(StyleSheets, ReadingStopsAtADigitOrAMinus) {
    EXPECT_EQ(sheet(u"a { color:red } 1b { color:blue } c { color:green }").size(), 1u);
    EXPECT_EQ(sheet(u"a { color:red } -x { color:blue } c { color:green }").size(), 1u);
    EXPECT_EQ(sheet(u"a { } /* note */ b { }").size(), 1u);
    EXPECT_EQ(sheet(u"@media screen { a { } }").size(), 0u);
}

TEST(StyleSheets, CommentWrapperIsSkippedAndItsEndStopsReading) {
    StyleRuleList rules = sheet(u"\n  <!-- b { color:red } --> i { color:blue }");
    EXPECT_EQ(selectors(rules), std::vector<std::string>{"tag=b id= class= state=0"});
    EXPECT_EQ(sheet(u"<!--").size(), 0u);
    EXPECT_EQ(sheet(u"<!--p{}").size(), 1u);
}

TEST(StyleSheets, UnclosedRulesEndTheSheet) {
    EXPECT_EQ(sheet(u"a { color:red } b { color:blue").size(), 1u);
    EXPECT_EQ(sheet(u"a { color:red } b").size(), 1u);
    EXPECT_EQ(sheet(u"").size(), 0u);
    EXPECT_EQ(sheet(u" \r\n\t ").size(), 0u);
}

TEST(StyleSheets, RulesAccumulateAcrossSheets) {
    StyleRuleList rules;
    parseStyleSheet(rules, u"a { }");
    parseStyleSheet(rules, u"a { }");
    EXPECT_EQ(rules.size(), 2u);
    EXPECT_NE(rules[0].definition.get(), rules[1].definition.get());
}

// An empty selector would match every element of the document.
TEST(StyleSheets, SelectorsThatNameNothingAreDropped) {
    EXPECT_EQ(selectors(sheet(u"a, { color:red } b,,:hover , { }")),
              (std::vector<std::string>{"tag=a id= class= state=0", "tag=b id= class= state=0"}));
    const StyleRuleList onlyEmpty = sheet(u"*, {}");
    EXPECT_EQ(selectors(onlyEmpty), std::vector<std::string>{"tag=* id= class= state=0"});
}

TEST(Cascade, LaterRuleWinsAndInlineStyleWinsOverAll) {
    const StyleRuleList rules = sheet(u"div { color:#111 } #m { color:#222 } div { color:#333 }");
    RecordingStyleTarget div = element(u"div", u"m");
    cascade(rules, div);
    EXPECT_EQ(div.at(P::Color), StyleValue::color(0x00333333));

    RecordingStyleTarget inlined = element(u"div", u"m");
    inlined.maps.set(P::StyleText, StyleValue::string(u"color:#444"), Normal);
    cascade(rules, inlined);
    EXPECT_EQ(inlined.at(P::Color), StyleValue::color(0x00444444));
}

TEST(Cascade, StateRulesAndStateStylesFillTheirOwnMaps) {
    const StyleRuleList rules = sheet(u"a:hover { color:red } a:lbd { color:lime } a { width:5 }");
    RecordingStyleTarget link = element(u"a");
    link.maps.set(P::StyleText, StyleValue::string(u"color:blue"), Normal);
    link.maps.set(P::StyleText, StyleValue::string(u"underline-me:1; width:6"), RightDown);
    cascade(rules, link);
    EXPECT_EQ(link.at(P::Color), StyleValue::color(0x00FF0000));
    EXPECT_EQ(link.at(P::Width), StyleValue::integer(5));
    // The Normal inline style is not applied again for the other states.
    EXPECT_EQ(link.at(P::Color, Hover), StyleValue::color(0x000000FF));
    EXPECT_EQ(link.at(P::Color, LeftDown), StyleValue::color(0x0000FF00));
    EXPECT_EQ(link.keys(RightDown), (std::vector<PropertyId>{P::Width, P::StyleText}));
    EXPECT_EQ(link.at(P::Width, RightDown), StyleValue::integer(6));
}

TEST(Cascade, ClassListFromTheClassAttribute) {
    const StyleRuleList rules = sheet(u".y { width:1 } .X { height:2 } .a.b { color:red }");
    RecordingStyleTarget target = element(u"span", u"", u"x  y a");
    cascade(rules, target);
    EXPECT_EQ(target.at(P::Width), StyleValue::integer(1));
    EXPECT_EQ(target.at(P::Height), StyleValue::integer(2));
    EXPECT_TRUE(target.at(P::Color).isEmpty());
}

TEST(Cascade, ChildAndDescendantSelectorsApplyToTheFirstElement) {
    const StyleRuleList rules = sheet(u"div span { color:red }");
    RecordingStyleTarget div = element(u"div");
    RecordingStyleTarget span = element(u"span");
    cascade(rules, div);
    cascade(rules, span);
    EXPECT_EQ(div.at(P::Color), StyleValue::color(0x000000FF));
    EXPECT_TRUE(span.calls.empty());
}

TEST(Cascade, ReadsIdentityFromTheNormalMapAndInlineStyleFromTheStatesMap) {
    const StyleRuleList rules = sheet(u"p:hover { width:1 }");
    StrictMock<MockStyleTarget> target;
    const StyleValue tag = StyleValue::string(u"p");
    const StyleValue style = StyleValue::string(u"height:2");
    EXPECT_CALL(target, findInStyleMap(P::TagName, Normal)).WillOnce(Return(&tag));
    EXPECT_CALL(target, findInStyleMap(P::Id, Normal)).WillOnce(Return(nullptr));
    EXPECT_CALL(target, findInStyleMap(P::Class, Normal)).WillOnce(Return(nullptr));
    EXPECT_CALL(target, findInStyleMap(P::StyleText, Hover)).WillOnce(Return(&style));
    {
        ::testing::InSequence order;
        EXPECT_CALL(target, setProperty(P::Width, StyleValue::integer(1), Hover));
        EXPECT_CALL(target, setProperty(P::Height, StyleValue::integer(2), Hover));
    }
    applyStyles(rules, target, Hover);
}

TEST(Cascade, ElementWithoutIdentityMatchesOnlyUniversalRules) {
    const StyleRuleList rules = sheet(u"* { width:1 } div { height:2 } .c { color:red }");
    RecordingStyleTarget bare;
    cascade(rules, bare);
    EXPECT_EQ(bare.keys(), std::vector<PropertyId>{P::Width});
}

} // namespace
