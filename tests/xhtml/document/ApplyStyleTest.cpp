#include "xhtml/document/ApplyStyle.h"
#include "tests/xhtml/document/StyleTargets.h"
#include "xhtml/document/Colors.h"

#include <gtest/gtest.h>

#include <vector>

using namespace xhtml;
using ::testing::_;
using ::testing::StrictMock;

namespace {

using P = PropertyId;

StyleValue numericPosition(StyleValue length) {
    length.addFlag(StyleValue::kNumericPosition);
    return length;
}

// What the declarations store in the Normal map of a target without properties of its own.
RecordingStyleTarget applied(const char16_t* text) {
    RecordingStyleTarget target;
    applyStyleText(target, Normal, text);
    return target;
}

struct RowCase {
    const char16_t* declaration;
    PropertyId id;
    StyleValue value;
};

// One declaration per property of the dialect, each storing exactly one key.
const std::vector<RowCase> kRows = {
    {u"width:10", P::Width, StyleValue::integer(10)},
    {u"height:20%", P::Height, percent(20)},
    {u"min-width:3px", P::MinWidth, StyleValue::integer(3)},
    {u"min-height:4.5", P::MinHeight, StyleValue::number(4.5)},
    {u"color:#010203", P::Color, StyleValue::color(0x00030201)},
    {u"text-align:right", P::TextAlign, StyleValue::integer(3)},
    {u"text-decoration:overline", P::Overline, StyleValue::boolean(true)},
    {u"vertical-align:bottom", P::VerticalAlign, StyleValue::integer(3)},
    {u"vertical-align-content:middle", P::VerticalAlignContent, StyleValue::integer(2)},
    {u"vertical-align-line:text-top", P::VerticalAlignLine, StyleValue::integer(1)},
    {u"font-family:Verdana", P::FontFamily, StyleValue::string(u"verdana")},
    {u"font-weight:bold", P::FontWeight, StyleValue::integer(700)},
    {u"font-size:x-small", P::FontSize, StyleValue::integer(8)},
    {u"font-style:italic", P::Italic, StyleValue::boolean(true)},
    {u"border-width:2", P::BorderWidth, StyleValue::integer(2)},
    {u"border-left-width:3", P::BorderLeftWidth, StyleValue::integer(3)},
    {u"border-top-width:4", P::BorderTopWidth, StyleValue::integer(4)},
    {u"border-right-width:5", P::BorderRightWidth, StyleValue::integer(5)},
    {u"border-bottom-width:6", P::BorderBottomWidth, StyleValue::integer(6)},
    {u"border-left-color:#100", P::BorderLeftColor, StyleValue::color(0x00000011)},
    {u"border-top-color:#010", P::BorderTopColor, StyleValue::color(0x00001100)},
    {u"border-right-color:#001", P::BorderRightColor, StyleValue::color(0x00110000)},
    {u"border-bottom-color:#111", P::BorderBottomColor, StyleValue::color(0x00111111)},
    {u"border-style:solid", P::BorderStyle, StyleValue::integer(1)},
    {u"border-left-style:dotted", P::BorderLeftStyle, StyleValue::integer(2)},
    {u"border-top-style:dashed", P::BorderTopStyle, StyleValue::integer(3)},
    {u"border-right-style:solid", P::BorderRightStyle, StyleValue::integer(1)},
    {u"border-bottom-style:dotted", P::BorderBottomStyle, StyleValue::integer(2)},
    {u"padding:1", P::Padding, StyleValue::integer(1)},
    {u"padding-left:2", P::PaddingLeft, StyleValue::integer(2)},
    {u"padding-top:3", P::PaddingTop, StyleValue::integer(3)},
    {u"padding-right:4", P::PaddingRight, StyleValue::integer(4)},
    {u"padding-bottom:5", P::PaddingBottom, StyleValue::integer(5)},
    {u"margin:6", P::Margin, StyleValue::integer(6)},
    {u"margin-left:7", P::MarginLeft, StyleValue::integer(7)},
    {u"margin-top:8", P::MarginTop, StyleValue::integer(8)},
    {u"margin-right:9", P::MarginRight, StyleValue::integer(9)},
    {u"margin-bottom:10", P::MarginBottom, StyleValue::integer(10)},
    {u"cursor:pointer", P::Cursor, StyleValue::integer(1)},
    {u"position:absolute", P::Position, StyleValue::integer(3)},
    {u"top:11", P::Top, StyleValue::integer(11)},
    {u"left:12", P::Left, StyleValue::integer(12)},
    {u"right:13", P::Right, StyleValue::integer(13)},
    {u"bottom:14", P::Bottom, StyleValue::integer(14)},
    {u"background-color:white", P::BackgroundColor, StyleValue::color(0x00FFFFFF)},
    {u"background-image:url(Images/Bg.png)", P::BackgroundImage,
     StyleValue::string(u"images/bg.png")},
    {u"background-repeat:repeat-x", P::BackgroundRepeat, StyleValue::integer(2)},
    {u"visibility:hidden", P::Visibility, StyleValue::integer(0)},
    {u"display:inline", P::Display, StyleValue::integer(4)},
    {u"overflow-x:scroll", P::OverflowX, StyleValue::integer(2)},
    {u"overflow-y:visible", P::OverflowY, StyleValue::integer(3)},
    {u"white-space:nowrap", P::NoWrap, StyleValue::boolean(true)},
    {u"opacity:0.5", P::Opacity, StyleValue::number(0.5)},
    {u"line-spacing:3", P::LineSpacing, StyleValue::integer(3)},
    {u"cell-spacing:4", P::CellSpacing, StyleValue::integer(4)},
    {u"cell-padding:5", P::CellPadding, StyleValue::integer(5)},
};

TEST(PropertyTable, EachPropertyStoresItsKeyInTheStateOfTheApplication) {
    for (const RowCase& row : kRows) {
        RecordingStyleTarget target;
        applyStyleText(target, Hover, row.declaration);
        ASSERT_EQ(target.calls.size(), 1u) << toUtf8(row.declaration);
        EXPECT_EQ(target.calls[0].id, row.id) << toUtf8(row.declaration);
        EXPECT_EQ(target.calls[0].value, row.value) << toUtf8(row.declaration);
        EXPECT_EQ(target.calls[0].state, Hover) << toUtf8(row.declaration);
    }
}

TEST(PropertyTable, EveryPropertyTakesTheVendorPrefix) {
    for (const RowCase& row : kRows) {
        RecordingStyleTarget target;
        applyStyleText(target, Normal, ZString(u"-c-") + row.declaration);
        EXPECT_EQ(target.at(row.id), row.value) << toUtf8(row.declaration);
    }
}

TEST(PropertyTable, UnknownPropertiesAreIgnored) {
    StrictMock<MockStyleTarget> target;
    applyStyleText(target, Normal,
                   u"max-width:90%; font:12px arial; text-indent:4px; -c-:1; c-color:red; "
                   u"colour:red; width ; :5; -webkit-color:red; x-c-width:1");
}

TEST(InstallerPageStyle, BodyStyleFillsTheNormalMap) {
    const RecordingStyleTarget body =
        applied(u"width:100%; -c-background-gradient: #FFF #EEE vertical; text-align:center; "
                u"color:#333; vertical-align-content:middle; padding:5px");
    EXPECT_EQ(body.keys(),
              (std::vector<PropertyId>{P::Color, P::Width, P::VerticalAlignContent, P::TextAlign,
                                       P::Padding, P::GradientEnabled, P::GradientColor1,
                                       P::GradientColor2, P::GradientMode}));
    EXPECT_EQ(body.at(P::Width), percent(100));
    EXPECT_EQ(body.at(P::GradientEnabled), StyleValue::boolean(true));
    EXPECT_EQ(body.at(P::GradientColor1), StyleValue::color(0x00FFFFFF));
    EXPECT_EQ(body.at(P::GradientColor2), StyleValue::color(0x00EEEEEE));
    EXPECT_EQ(body.at(P::GradientMode), StyleValue::integer(1));
    EXPECT_EQ(body.at(P::TextAlign), StyleValue::integer(2));
    EXPECT_EQ(body.at(P::Color), StyleValue::color(0x00333333));
    EXPECT_EQ(body.at(P::VerticalAlignContent), StyleValue::integer(2));
    EXPECT_EQ(body.at(P::Padding), StyleValue::integer(5));
    EXPECT_TRUE(body.keys(Hover).empty());
}

TEST(InstallerPageStyle, UnknownPropertyBesideAKnownOne) {
    const RecordingStyleTarget target = applied(u"max-width:90%; margin-top:20px");
    EXPECT_EQ(target.keys(), std::vector<PropertyId>{P::MarginTop});
    EXPECT_EQ(target.at(P::MarginTop), StyleValue::integer(20));
    EXPECT_EQ(applied(u"margin-bottom:0").at(P::MarginBottom), StyleValue::integer(0));
}

TEST(ColorProperty, NamesAndCaseOfTheDeclaration) {
    EXPECT_EQ(applied(u"COLOR: RED").at(P::Color), StyleValue::color(0x000000FF));
    EXPECT_EQ(applied(u"color:red").at(P::Color), StyleValue::color(0x000000FF));
}

TEST(ColorProperty, UnreadableColourReplacesTheEarlierOne) {
    EXPECT_EQ(applied(u"color:red; color: foo").at(P::Color), StyleValue::color(kTransparent));
}

TEST(FontSize, LengthsAndFixedKeywords) {
    EXPECT_EQ(applied(u"font-size:12px").at(P::FontSize), StyleValue::integer(12));
    EXPECT_EQ(applied(u"font-size:120%").at(P::FontSize), percent(120));
    EXPECT_EQ(applied(u"font-size:xx-small").at(P::FontSize), StyleValue::integer(6));
    EXPECT_EQ(applied(u"font-size:medium").at(P::FontSize), StyleValue::integer(12));
    EXPECT_EQ(applied(u"font-size:XX-Large").at(P::FontSize), StyleValue::integer(18));
    EXPECT_EQ(applied(u"font-size:huge").at(P::FontSize), StyleValue::integer(0));
}

TEST(FontSize, RelativeWordsStepFromTheCurrentSize) {
    RecordingStyleTarget inherits15;
    inherits15.inheritedFontSize = 15;
    applyStyleText(inherits15, Normal, u"font-size:larger");
    EXPECT_EQ(inherits15.at(P::FontSize), StyleValue::integer(17));
    // Without a size anywhere the current size is 13.
    EXPECT_EQ(applied(u"font-size:larger").at(P::FontSize), StyleValue::integer(15));
    EXPECT_EQ(applied(u"font-size:smaller").at(P::FontSize), StyleValue::integer(11));
    // Each step reads the size the previous declaration stored.
    EXPECT_EQ(applied(u"font-size:20px; font-size:larger; font-size:larger").at(P::FontSize),
              StyleValue::integer(24));
    EXPECT_EQ(applied(u"font-size:10.5; font-size:smaller").at(P::FontSize),
              StyleValue::integer(8));
}

TEST(FontSize, HoverStepsFromTheSizeOfTheHoverState) {
    RecordingStyleTarget target;
    target.inheritedFontSize = 15;
    applyStyleText(target, Normal, u"font-size:20px");
    applyStyleText(target, Hover, u"font-size:smaller");
    EXPECT_EQ(target.at(P::FontSize, Hover), StyleValue::integer(18));
    EXPECT_EQ(target.at(P::FontSize), StyleValue::integer(20));
}

TEST(FontSize, StepAtTheEdgeOfTheIntRangeSaturates) {
    EXPECT_EQ(applied(u"font-size:2147483647; font-size:larger").at(P::FontSize),
              StyleValue::integer(2147483647));
}

TEST(FontSize, AsksForTheCurrentSizeOnlyForRelativeWords) {
    StrictMock<MockStyleTarget> target;
    EXPECT_CALL(target, setProperty(P::FontSize, StyleValue::integer(12), Hover));
    applyStyleText(target, Hover, u"font-size:12px");

    ::testing::Mock::VerifyAndClearExpectations(&target);
    EXPECT_CALL(target, getProperty(P::FontSize, _, LeftDown))
        .WillOnce([](PropertyId, StyleValue& out, StyleState) {
            out = StyleValue::integer(9);
            return true;
        });
    EXPECT_CALL(target, setProperty(P::FontSize, StyleValue::integer(7), LeftDown));
    applyStyleText(target, LeftDown, u"font-size:smaller");
}

TEST(TextDecoration, SingleWordsOnly) {
    const RecordingStyleTarget target = applied(u"text-decoration:underline; text-decoration:none");
    EXPECT_EQ(target.at(P::Underline), StyleValue::boolean(false));
    EXPECT_EQ(target.at(P::Overline), StyleValue::boolean(false));
    EXPECT_EQ(target.at(P::LineThrough), StyleValue::boolean(false));
    EXPECT_EQ(applied(u"text-decoration:line-through").at(P::LineThrough),
              StyleValue::boolean(true));
    EXPECT_TRUE(applied(u"text-decoration:underline overline").calls.empty());
    EXPECT_TRUE(applied(u"text-decoration:blink").calls.empty());
}

TEST(OnlyOneWordCounts, FontStyleAndWhiteSpace) {
    EXPECT_TRUE(applied(u"font-style:normal").calls.empty());
    EXPECT_TRUE(applied(u"font-style:oblique").calls.empty());
    EXPECT_EQ(applied(u"white-space:nobreak").at(P::NoWrap), StyleValue::boolean(true));
    EXPECT_TRUE(applied(u"white-space:normal").calls.empty());
}

TEST(FontFamily, TakesTheTextBeforeTheFirstComma) {
    EXPECT_EQ(applied(u"font-family:Tahoma, Arial, sans-serif").at(P::FontFamily),
              StyleValue::string(u"tahoma"));
    EXPECT_EQ(applied(u"font-family:'segoe ui' , arial").at(P::FontFamily),
              StyleValue::string(u"'segoe ui' "));
    EXPECT_TRUE(applied(u"font-family:").calls.empty());
}

TEST(KeywordProperties, UnknownWordsStoreTheTablesDefault) {
    EXPECT_EQ(applied(u"text-align:middle").at(P::TextAlign), StyleValue::integer(0));
    EXPECT_EQ(applied(u"vertical-align:sub").at(P::VerticalAlign), StyleValue::integer(0));
    EXPECT_EQ(applied(u"font-weight:550").at(P::FontWeight), StyleValue::integer(400));
    EXPECT_EQ(applied(u"cursor:wait").at(P::Cursor), StyleValue::integer(0));
    EXPECT_EQ(applied(u"position:sticky").at(P::Position), StyleValue::integer(0));
    EXPECT_EQ(applied(u"visibility:collapse").at(P::Visibility), StyleValue::integer(1));
    EXPECT_EQ(applied(u"display:flex").at(P::Display), StyleValue::integer(1));
    EXPECT_EQ(applied(u"background-repeat:round").at(P::BackgroundRepeat), StyleValue::integer(1));
    EXPECT_EQ(applied(u"overflow-y:clip").at(P::OverflowY), StyleValue::integer(1));
}

TEST(KeywordProperties, OverflowSetsBothDirections) {
    const RecordingStyleTarget target = applied(u"overflow:hidden");
    EXPECT_EQ(target.keys(), (std::vector<PropertyId>{P::OverflowX, P::OverflowY}));
    EXPECT_EQ(target.at(P::OverflowX), StyleValue::integer(4));
    EXPECT_EQ(target.at(P::OverflowY), StyleValue::integer(4));
}

TEST(BorderStyle, NoneHiddenAndUnknownWordsChangeNothing) {
    EXPECT_EQ(applied(u"border-style:solid; border-style:none; border-style:hidden; "
                      u"border-style:groove")
                  .at(P::BorderStyle),
              StyleValue::integer(1));
    EXPECT_TRUE(applied(u"border-left-style:none").calls.empty());
}

TEST(BorderShorthand, WidthStyleAndColourInAnyOrder) {
    RecordingStyleTarget target = applied(u"border: 1px solid #ccc");
    EXPECT_EQ(target.at(P::BorderWidth), StyleValue::integer(1));
    EXPECT_EQ(target.at(P::BorderStyle), StyleValue::integer(1));
    EXPECT_EQ(target.at(P::BorderColor), StyleValue::color(0x00CCCCCC));

    target = applied(u"border-top: Red  dashed 3");
    EXPECT_EQ(target.keys(),
              (std::vector<PropertyId>{P::BorderTopStyle, P::BorderTopWidth, P::BorderTopColor}));
    EXPECT_EQ(target.at(P::BorderTopWidth), StyleValue::integer(3));
    EXPECT_EQ(target.at(P::BorderTopStyle), StyleValue::integer(3));
    EXPECT_EQ(target.at(P::BorderTopColor), StyleValue::color(0x000000FF));
}

TEST(BorderShorthand, NoneStoresStyleZeroUnlikeBorderStyle) {
    EXPECT_EQ(applied(u"border: none").at(P::BorderStyle), StyleValue::integer(0));
    EXPECT_EQ(applied(u"border-right: 2px hidden").at(P::BorderRightStyle), StyleValue::integer(0));
    EXPECT_TRUE(applied(u"border-style:none").calls.empty());
}

TEST(BorderShorthand, UnknownTokensAreSkipped) {
    const RecordingStyleTarget target = applied(u"border-left: thin groove -1px transparent");
    EXPECT_EQ(target.keys(), std::vector<PropertyId>{P::BorderLeftColor});
    EXPECT_EQ(target.at(P::BorderLeftColor), StyleValue::color(kTransparent));
    EXPECT_TRUE(applied(u"border:").calls.empty());
}

TEST(BorderShorthand, CalledDirectlyWithAnyKeys) {
    RecordingStyleTarget target;
    applyBorderShorthand(target, RightDown, u"4 #abc dotted", P::BorderBottomWidth,
                         P::BorderBottomStyle, P::BorderBottomColor);
    EXPECT_EQ(target.at(P::BorderBottomWidth, RightDown), StyleValue::integer(4));
    EXPECT_EQ(target.at(P::BorderBottomStyle, RightDown), StyleValue::integer(2));
    EXPECT_EQ(target.at(P::BorderBottomColor, RightDown), StyleValue::color(0x00CCBBAA));
}

TEST(SideColours, WholeBorderColourRemovesThemFromTheNormalMap) {
    RecordingStyleTarget target =
        applied(u"border-left-color:#111; border-top-color:#222; border-right-color:#333; "
                u"border-bottom-color:#444");
    applyStyleText(target, Normal, u"border-color:#f00");
    EXPECT_EQ(target.keys(), std::vector<PropertyId>{P::BorderColor});
    EXPECT_EQ(target.at(P::BorderColor), StyleValue::color(0x000000FF));

    target = applied(u"border-left-color:#111; border-bottom-color:#444");
    applyStyleText(target, Normal, u"border: 1px #0f0");
    EXPECT_EQ(target.keys(), (std::vector<PropertyId>{P::BorderWidth, P::BorderColor}));
}

TEST(SideColours, RemovedFromTheNormalMapAlsoForHover) {
    RecordingStyleTarget target = applied(u"border-top-color:#222");
    applyStyleText(target, Hover, u"border-left-color:#111");
    applyStyleText(target, Hover, u"border-color:#f00");
    EXPECT_TRUE(target.keys().empty());
    EXPECT_EQ(target.keys(Hover), (std::vector<PropertyId>{P::BorderColor, P::BorderLeftColor}));
    EXPECT_EQ(target.at(P::BorderColor, Hover), StyleValue::color(0x000000FF));
}

TEST(SideColours, SideShorthandKeepsTheOtherSides) {
    RecordingStyleTarget target = applied(u"border-top-color:#222");
    applyStyleText(target, Normal, u"border-left: 1px #f00");
    EXPECT_EQ(target.at(P::BorderTopColor), StyleValue::color(0x00222222));
    EXPECT_EQ(target.at(P::BorderLeftColor), StyleValue::color(0x000000FF));
}

TEST(BackgroundImage, AddressBetweenTheParentheses) {
    EXPECT_EQ(applied(u"background-image: url( res:///bg.png )").at(P::BackgroundImage),
              StyleValue::string(u"res:///bg.png"));
    EXPECT_EQ(applied(u"background-image:url(\"a.png\")").at(P::BackgroundImage),
              StyleValue::string(u"\"a.png\""));
    EXPECT_EQ(applied(u"background-image:url x (b.png) (c)").at(P::BackgroundImage),
              StyleValue::string(u"b.png"));
}

TEST(BackgroundImage, NothingWithoutADelimitedAddress) {
    for (const char16_t* declaration :
         {u"background-image:none", u"background-image:a.png", u"background-image:url",
          u"background-image:url(a.png", u"background-image:url()", u"background-image:url(  )",
          u"background-image:url)a.png("})
        EXPECT_TRUE(applied(declaration).calls.empty()) << toUtf8(declaration);
}

TEST(BackgroundPosition, KeywordsAndNumbers) {
    RecordingStyleTarget target = applied(u"background-position: center  10px");
    EXPECT_EQ(target.at(P::BackgroundPositionX), StyleValue::integer(4));
    EXPECT_EQ(target.at(P::BackgroundPositionY), numericPosition(StyleValue::integer(10)));

    target = applied(u"background-position:50% bottom extra");
    EXPECT_EQ(target.at(P::BackgroundPositionX), numericPosition(percent(50)));
    EXPECT_EQ(target.at(P::BackgroundPositionY), StyleValue::integer(3));

    // A sign is no digit: the token is read as a keyword.
    EXPECT_EQ(applied(u"background-position:-5px 1.5").at(P::BackgroundPositionX),
              StyleValue::integer(0));
    EXPECT_EQ(applied(u"background-position:-5px 1.5").at(P::BackgroundPositionY),
              numericPosition(StyleValue::number(1.5)));
}

TEST(BackgroundPosition, MissingSecondTokenIsTopAndEmptyValueIsIgnored) {
    const RecordingStyleTarget target = applied(u"background-position:right");
    EXPECT_EQ(target.at(P::BackgroundPositionX), StyleValue::integer(2));
    EXPECT_EQ(target.at(P::BackgroundPositionY), StyleValue::integer(0));
    EXPECT_TRUE(applied(u"background-position:").calls.empty());
}

TEST(Gradient, DirectionWords) {
    EXPECT_EQ(applied(u"background-gradient:#fff #000 horizontal").at(P::GradientMode),
              StyleValue::integer(0));
    EXPECT_EQ(applied(u"background-gradient:#fff #000 diagonal").at(P::GradientMode),
              StyleValue::integer(2));
    EXPECT_EQ(applied(u"background-gradient:#fff #000 forward-diagonal").at(P::GradientMode),
              StyleValue::integer(2));
    EXPECT_EQ(applied(u"background-gradient:#fff #000 backward-diagonal").at(P::GradientMode),
              StyleValue::integer(3));
    EXPECT_EQ(applied(u"background-gradient:red blue sideways").at(P::GradientMode),
              StyleValue::integer(1));
}

TEST(Gradient, ExactlyThreeSingleBlankSeparatedTokens) {
    for (const char16_t* declaration :
         {u"background-gradient:#fff  #eee vertical", u"background-gradient:#fff #eee",
          u"background-gradient:#fff #eee vertical x", u"background-gradient:#fff\t#eee\tvertical",
          u"background-gradient:"})
        EXPECT_TRUE(applied(declaration).calls.empty()) << toUtf8(declaration);
}

TEST(LaterDeclarations, OverwriteEarlierOnesOfTheSameKeyAndState) {
    RecordingStyleTarget target = applied(u"width:10; width:20%");
    EXPECT_EQ(target.at(P::Width), percent(20));
    applyStyleText(target, Hover, u"width:30");
    EXPECT_EQ(target.at(P::Width), percent(20));
    EXPECT_EQ(target.at(P::Width, Hover), StyleValue::integer(30));
}

} // namespace
