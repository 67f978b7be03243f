#include "tests/xhtml/document/StyleTargets.h"
#include "xhtml/document/Colors.h"
#include "xhtml/document/Keywords.h"
#include "xhtml/document/Lengths.h"
#include "xhtml/document/StyleDef.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <string>
#include <utility>
#include <vector>

using namespace xhtml;

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs declarations(const char16_t* text) {
    Pairs out;
    const StyleDef definition(text);
    for (const StyleDeclaration& declaration : definition.declarations())
        out.emplace_back(toUtf8(declaration.name), toUtf8(declaration.value));
    return out;
}

TEST(DeclarationList, SplitsAtSemicolonsTrimsAndLowerCases) {
    EXPECT_EQ(declarations(u"color:#333; padding:5px"),
              (Pairs{{"color", "#333"}, {"padding", "5px"}}));
    EXPECT_EQ(declarations(u" \tCOLOR :\r\n RED \v\f; Font-Family: Arial;"),
              (Pairs{{"color", "red"}, {"font-family", "arial"}}));
    EXPECT_EQ(declarations(u"margin:1px;margin:2px"),
              (Pairs{{"margin", "1px"}, {"margin", "2px"}}));
}

TEST(DeclarationList, SemicolonBeforeColonBelongsToTheName) {
    EXPECT_EQ(declarations(u"a;b:c"), (Pairs{{"a;b", "c"}}));
}

TEST(DeclarationList, FurtherColonsStayInTheValue) {
    EXPECT_EQ(declarations(u"background-image:url(file://x)"),
              (Pairs{{"background-image", "url(file://x)"}}));
}

TEST(DeclarationList, TheEndOfTheTextEndsTheLastDeclaration) {
    EXPECT_EQ(declarations(u"color:red; foo"), (Pairs{{"color", "red"}, {"foo", ""}}));
    EXPECT_EQ(declarations(u"width:"), (Pairs{{"width", ""}}));
    EXPECT_EQ(declarations(u"x"), (Pairs{{"x", ""}}));
    EXPECT_EQ(declarations(u""), Pairs{});
}

TEST(DeclarationList, DeclarationsWithoutNameAreDropped) {
    EXPECT_EQ(declarations(u":red; ;:;  : blue;width:1"), (Pairs{{";", ""}, {"width", "1"}}));
}

TEST(DeclarationList, StartsWithoutReferences) {
    EXPECT_EQ(StyleDef(u"a:b").refCount(), 0);
}

TEST(Colors, ExamplesOfTheStyleDialect) {
    EXPECT_EQ(parseColor(u"#FFF"), 0x00FFFFFFu);
    EXPECT_EQ(parseColor(u"#333"), 0x00333333u);
    EXPECT_EQ(parseColor(u"#EEE"), 0x00EEEEEEu);
    EXPECT_EQ(parseColor(u"red"), 0x000000FFu);
    EXPECT_EQ(parseColor(u"transparent"), kTransparent);
    EXPECT_EQ(parseColor(u"#12345678"), 0x78563412u);
    EXPECT_EQ(parseColor(u"#1234"), 0x44332211u);
}

TEST(Colors, HexFormsPutRedInTheLowByte) {
    EXPECT_EQ(parseColor(u"#ff0000"), 0x000000FFu);
    EXPECT_EQ(parseColor(u"#00Ff00"), 0x0000FF00u);
    EXPECT_EQ(parseColor(u"#0000ff"), 0x00FF0000u);
    EXPECT_EQ(parseColor(u"#f00"), 0x000000FFu);
    EXPECT_EQ(parseColor(u"#000000ff"), 0xFF000000u);
}

TEST(Colors, GroupsAreReadAsFarAsTheyAreHex) {
    EXPECT_EQ(parseColor(u"#1g3456"), 0x00563401u);
    EXPECT_EQ(parseColor(u"#g13456"), 0x00563400u);
    EXPECT_EQ(parseColor(u"#ggg"), 0x00000000u);
    EXPECT_EQ(parseColor(u"#zzzzzz"), 0x00000000u);
}

TEST(Colors, AnythingElseIsNotPainted) {
    for (const char16_t* text : {u"", u"#", u"#12", u"#12345", u"#1234567", u"#123456789", u"foo",
                                 u"rgb(1,2,3)", u" red", u"123456"})
        EXPECT_EQ(parseColor(text), kTransparent) << toUtf8(text);
}

TEST(Colors, NamesMatchIgnoringCase) {
    EXPECT_EQ(parseColor(u"RED"), 0x000000FFu);
    EXPECT_EQ(parseColor(u"aliceblue"), 0x00FFF8F0u);
    EXPECT_EQ(parseColor(u"YellowGreen"), 0x0032CD9Au);
    EXPECT_EQ(parseColor(u"burlywood"), 0x0087B8DEu);
    EXPECT_EQ(parseColor(u"LAWNGREEN"), 0x0000FC7Cu);
    EXPECT_EQ(parseColor(u"darkgoldenrod"), 0x000B86B8u);
    EXPECT_EQ(parseColor(u"Transparent"), kTransparent);
}

TEST(Colors, EachGreyHasOneSpellingOnly) {
    for (const char16_t* present : {u"lightgrey", u"gray", u"darkgray", u"dimgray", u"slategray",
                                    u"lightslategray", u"darkslategray"})
        EXPECT_NE(findNamedColor(present), nullptr) << toUtf8(present);
    for (const char16_t* absent : {u"lightgray", u"grey", u"darkgrey", u"dimgrey", u"slategrey",
                                   u"lightslategrey", u"darkslategrey", u"rebeccapurple"})
        EXPECT_EQ(findNamedColor(absent), nullptr) << toUtf8(absent);
    EXPECT_EQ(parseColor(u"gray"), 0x00808080u);
    EXPECT_EQ(parseColor(u"lightgrey"), 0x00D3D3D3u);
}

TEST(Colors, TableIsAlphabeticalWithTransparentLast) {
    ASSERT_EQ(namedColors.size(), 141u);
    EXPECT_EQ(ZString(namedColors.front().name), u"AliceBlue");
    EXPECT_EQ(ZString(namedColors[139].name), u"YellowGreen");
    EXPECT_EQ(ZString(namedColors.back().name), u"Transparent");
    for (size_t i = 1; i < 140; ++i) {
        ZString previous = namedColors[i - 1].name;
        ZString current = namedColors[i].name;
        EXPECT_LT(previous.toLower().compare(current.toLower()), 0) << toUtf8(current);
        EXPECT_EQ(namedColors[i].value >> 24, 0u) << toUtf8(current);
    }
}

TEST(Lengths, ExamplesOfTheStyleDialect) {
    EXPECT_EQ(parseLength(u"100%"), percent(100));
    EXPECT_EQ(parseLength(u"12px"), StyleValue::integer(12));
    EXPECT_EQ(parseLength(u"0"), StyleValue::integer(0));
    EXPECT_EQ(parseLength(u"-5px"), StyleValue::integer(-5));
    EXPECT_EQ(parseLength(u"2.5"), StyleValue::number(2.5));
    EXPECT_EQ(parseLength(u"1.5em"), StyleValue::number(1.5));
    EXPECT_EQ(parseLength(u"0x1f"), StyleValue::integer(31));
}

TEST(Lengths, OnlyTheLeadingNumberCounts) {
    EXPECT_EQ(parseLength(u"1px 2px"), StyleValue::integer(1));
    EXPECT_EQ(parseLength(u"  7pt \t"), StyleValue::integer(7));
    EXPECT_EQ(parseLength(u"+4"), StyleValue::integer(4));
    EXPECT_EQ(parseLength(u".5"), StyleValue::number(0.5));
    EXPECT_EQ(parseLength(u"5."), StyleValue::integer(5));
    EXPECT_EQ(parseLength(u"2.0"), StyleValue::integer(2));
    EXPECT_EQ(parseLength(u"1e3"), StyleValue::integer(1000));
    EXPECT_EQ(parseLength(u"1.5e1px"), StyleValue::integer(15));
    EXPECT_EQ(parseLength(u"2e"), StyleValue::integer(2));
    EXPECT_EQ(parseLength(u"2e+"), StyleValue::integer(2));
    EXPECT_EQ(parseLength(u"-0"), StyleValue::integer(0));
    EXPECT_EQ(parseLength(u"0x"), StyleValue::integer(0));
    EXPECT_EQ(parseLength(u"0xfg"), StyleValue::integer(15));
}

TEST(Lengths, TextWithoutNumberIsZero) {
    for (const char16_t* text :
         {u"", u"auto", u"-", u".", u"px", u"inf", u"nan", u"infinity", u"e5", u"- 5"})
        EXPECT_EQ(parseLength(text), StyleValue::integer(0)) << toUtf8(text);
    EXPECT_EQ(parseLength(u"%"), percent(0));
    EXPECT_EQ(parseLength(u"auto%"), percent(0));
}

TEST(Lengths, PercentOnlyWhenTheTrimmedTextEndsWithIt) {
    EXPECT_EQ(parseLength(u" 50% "), percent(50));
    EXPECT_EQ(parseLength(u"50 %"), percent(50));
    EXPECT_EQ(parseLength(u"50%px"), StyleValue::integer(50));
    StyleValue half = StyleValue::number(12.5);
    half.addFlag(StyleValue::kPercent);
    EXPECT_EQ(parseLength(u"12.5%"), half);
}

// A whole number outside the int range would be undefined behaviour to convert; it is clamped.
TEST(Lengths, HugeNumbersAreClampedToTheIntRange) {
    EXPECT_EQ(parseLength(u"3000000000"), StyleValue::integer(INT_MAX));
    EXPECT_EQ(parseLength(u"-3000000000px"), StyleValue::integer(INT_MIN));
    EXPECT_EQ(parseLength(u"1e30"), StyleValue::integer(INT_MAX));
    EXPECT_EQ(parseLength(u"1e999"), StyleValue::integer(INT_MAX));
    EXPECT_EQ(parseLength(u"-1e999"), StyleValue::integer(INT_MIN));
    EXPECT_EQ(parseLength(u"1e99999999999999999999"), StyleValue::integer(INT_MAX));
    EXPECT_EQ(parseLength(u"0xffffffffffff"), StyleValue::integer(INT_MAX));
    EXPECT_EQ(parseLength(u"2147483647"), StyleValue::integer(INT_MAX));
    EXPECT_EQ(parseLength(u"-2147483648"), StyleValue::integer(INT_MIN));
    EXPECT_EQ(parseLength(u"3000000000.5"), StyleValue::number(3000000000.5));
}

TEST(Lengths, TinyNumbersBecomeZeroOrStayFractions) {
    EXPECT_EQ(parseLength(u"1e-999"), StyleValue::integer(0));
    EXPECT_EQ(parseLength(u"0.000001e-999"), StyleValue::integer(0));
    EXPECT_EQ(parseLength(u"1e-5"), StyleValue::number(1e-5));
}

TEST(Lengths, ClampToIntTruncatesTowardZero) {
    EXPECT_EQ(clampToInt(2.9), 2);
    EXPECT_EQ(clampToInt(-2.9), -2);
    EXPECT_EQ(clampToInt(1e300), INT_MAX);
    EXPECT_EQ(clampToInt(-1e300), INT_MIN);
    EXPECT_EQ(clampToInt(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(Keywords, KnownWordsGiveTheirCodeIgnoringCase) {
    EXPECT_EQ(lookupKeyword(textAlignKeywords, u"center"), 2);
    EXPECT_EQ(lookupKeyword(textAlignKeywords, u"JUSTIFY"), 4);
    EXPECT_EQ(lookupKeyword(verticalAlignKeywords, u"baseline"), 3);
    EXPECT_EQ(lookupKeyword(verticalAlignKeywords, u"text-top"), 1);
    EXPECT_EQ(lookupKeyword(borderStyleKeywords, u"dashed"), 3);
    EXPECT_EQ(lookupKeyword(fontSizeKeywords, u"smaller"), -2);
    EXPECT_EQ(lookupKeyword(fontSizeKeywords, u"xx-large"), 18);
    EXPECT_EQ(lookupKeyword(fontWeightKeywords, u"bolder"), 800);
    EXPECT_EQ(lookupKeyword(fontWeightKeywords, u"600"), 600);
    EXPECT_EQ(lookupKeyword(cursorKeywords, u"pointer"), 1);
    EXPECT_EQ(lookupKeyword(positionKeywords, u"absolute"), 3);
    EXPECT_EQ(lookupKeyword(visibilityKeywords, u"hidden"), 0);
    EXPECT_EQ(lookupKeyword(displayKeywords, u"inline-block"), 3);
    EXPECT_EQ(lookupKeyword(overflowKeywords, u"hidden"), 4);
    EXPECT_EQ(lookupKeyword(backgroundRepeatKeywords, u"repeat-y"), 3);
    EXPECT_EQ(lookupKeyword(backgroundPositionKeywords, u"center"), 4);
}

TEST(Keywords, OtherWordsGiveTheTablesDefault) {
    EXPECT_EQ(lookupKeyword(textAlignKeywords, u"middle"), 0);
    EXPECT_EQ(lookupKeyword(fontWeightKeywords, u"550"), 400);
    EXPECT_EQ(lookupKeyword(fontWeightKeywords, u" bold"), 400);
    EXPECT_EQ(lookupKeyword(visibilityKeywords, u"collapse"), 1);
    EXPECT_EQ(lookupKeyword(displayKeywords, u"table"), 1);
    EXPECT_EQ(lookupKeyword(overflowKeywords, u""), 1);
    EXPECT_EQ(lookupKeyword(backgroundRepeatKeywords, u"space"), 1);
    EXPECT_EQ(lookupKeyword(cursorKeywords, u"wait"), 0);
}

TEST(Keywords, HasKeywordTellsListedWordsFromDefaults) {
    EXPECT_TRUE(hasKeyword(borderStyleKeywords, u"none"));
    EXPECT_TRUE(hasKeyword(borderStyleKeywords, u"Hidden"));
    EXPECT_FALSE(hasKeyword(borderStyleKeywords, u"groove"));
    EXPECT_TRUE(hasKeyword(fontSizeKeywords, u"larger"));
    EXPECT_FALSE(hasKeyword(fontSizeKeywords, u"12px"));
}

} // namespace
