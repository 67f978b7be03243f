#include "xhtml/document/ApplyStyle.h"
#include "tests/xhtml/document/StyleTargets.h"
#include "xhtml/document/Colors.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

using namespace xhtml;

namespace {

using P = PropertyId;
const auto integer = &StyleValue::integer;

// What the declarations store in the Normal map of a target without properties of its own.
RecordingStyleTarget applied(const char16_t* text) {
    RecordingStyleTarget target;
    applyStyleText(target, Normal, text);
    return target;
}

// Properties whose key or reading a copy-and-paste slip could get wrong, in the state of the
// application, with and without the vendor prefix; the committed dump cases hold the others.
TEST(ApplyStyle, DeclarationsStoreTheirKeysInTheStateOfTheApplication) {
    for (const char16_t* prefix : {u"", u"-c-"}) {
        ZString text;
        for (const char16_t* declaration :
             {u"min-height:4.5", u"vertical-align-line:text-top", u"text-decoration:overline",
              u"font-size:huge", u"font-weight:550", u"border-right-width:5",
              u"border-left-color:#100", u"border-bottom-style:dotted", u"padding-bottom:5",
              u"margin-right:9", u"bottom:14", u"overflow-x:scroll", u"cell-padding:5",
              u"font-family:Tahoma, Arial", u"background-image:url x (b.png) (c)"})
            text = text + prefix + declaration + u";";
        RecordingStyleTarget target;
        applyStyleText(target, Hover, text);
        EXPECT_EQ(
            target.listing(Hover),
            "CellPadding int 5, FontFamily string tahoma, FontWeight int 400, FontSize int 0, "
            "Overline bool 1, BackgroundImage string b.png, MinHeight double 4.5, "
            "VerticalAlignLine int 1, MarginRight int 9, PaddingBottom int 5, "
            "BorderBottomStyle int 2, BorderRightWidth int 5, BorderLeftColor colour 11, "
            "Bottom int 14, OverflowX int 2")
            << toUtf8(prefix);
        EXPECT_TRUE(target.keys().empty());
    }
    const RecordingStyleTarget other = applied(u"font-weight:600; background-image:url(\"a.png\")");
    EXPECT_EQ(other.listing(), "FontWeight int 600, BackgroundImage string \"a.png\"");
}

TEST(ApplyStyle, DeclarationsInTheirOrder) {
    const std::pair<const char16_t*, const char*> cases[] = {
        {u"color:red; color: foo; width:10; width:20%", "Color colour ff000000, Width int 20 %"},
        {u"text-decoration:underline; text-decoration:none",
         "Overline bool 0, Underline bool 0, LineThrough bool 0"},
        // Without a size anywhere the current size is 13; each step reads the one stored before.
        {u"font-size:smaller", "FontSize int 11"},
        {u"font-size:20px; font-size:larger; font-size:larger", "FontSize int 24"},
        {u"font-size:10.5; font-size:smaller", "FontSize int 8"},
        {u"font-size:2147483647; font-size:larger", "FontSize int 2147483647"},
        // The shorthands store "none" and "hidden" as style 0, border-style ignores them.
        {u"border-style:solid; border-style:none; border-style:groove", "BorderStyle int 1"},
        {u"border: none", "BorderStyle int 0"},
        {u"border-right: 2px hidden", "BorderRightStyle int 0, BorderRightWidth int 2"},
        {u"border-left: thin groove -1px transparent", "BorderLeftColor colour ff000000"},
        // The whole border colour removes the side colours; a side's shorthand keeps the others.
        {u"border-left-color:#111; border-top-color:#222; border-right-color:#333; "
         u"border-bottom-color:#444; border: 1px #0f0",
         "BorderWidth int 1, BorderColor colour ff00"},
        {u"border-top-color:#222; border-left: 1px #f00",
         "BorderLeftWidth int 1, BorderLeftColor colour ff, BorderTopColor colour 222222"},
        // A sign is no digit: the token is read as a keyword; a missing second token is the top.
        {u"background-position:-5px 1.5 extra",
         "BackgroundPositionX int 0, BackgroundPositionY double 1.5 #"},
        {u"background-position:right", "BackgroundPositionX int 2, BackgroundPositionY int 0"},
    };
    for (const auto& [text, listing] : cases)
        EXPECT_EQ(applied(text).listing(), listing) << toUtf8(text);
    for (const auto& [word, mode] : {std::pair{u"horizontal", 0},
                                     {u"diagonal", 2},
                                     {u"forward-diagonal", 2},
                                     {u"backward-diagonal", 3},
                                     {u"sideways", 1}})
        EXPECT_EQ(
            applied((ZString(u"background-gradient:red #000 ") + word).c_str()).at(P::GradientMode),
            integer(mode))
            << toUtf8(word);
}

TEST(ApplyStyle, UnknownPropertiesAndUnreadableValuesStoreNothing) {
    for (const char16_t* text :
         {u"max-width:90%; font:12px arial; -c-:1; c-color:red; width ; :5; x-c-width:1",
          u"text-decoration:underline overline", u"text-decoration:blink", u"font-style:normal",
          u"font-style:oblique", u"white-space:normal", u"border-left-style:none",
          u"border-style:hidden", u"border:", u"border-left: thin groove -1px",
          u"background-image:none", u"background-image:a.png", u"background-image:url(a.png",
          u"background-image:url(  )", u"background-image:url)a.png(", u"background-position:",
          u"background-gradient:#fff #eee", u"background-gradient:#fff #eee vertical x",
          u"background-gradient:#fff\t#eee\tvertical"})
        EXPECT_TRUE(applied(text).keys().empty()) << toUtf8(text);
}

TEST(ApplyStyle, OtherStatesStartFromTheirOwnOrNormalsValues) {
    RecordingStyleTarget target;
    target.inheritedFontSize = 15;
    applyStyleText(target, Normal, u"font-size:larger");
    EXPECT_EQ(target.at(P::FontSize), integer(17));
    applyStyleText(target, Normal, u"font-size:20px; border-top-color:#222; width:10");
    applyStyleText(target, Hover, u"font-size:smaller; width:30; border-left-color:#111");
    // The whole colour set for Hover removes the side colours of the Normal map too.
    applyStyleText(target, Hover, u"border-color:#f00");
    EXPECT_EQ(target.listing(), "FontSize int 20, Width int 10");
    EXPECT_EQ(
        target.listing(Hover),
        "FontSize int 18, Width int 30, BorderColor colour ff, BorderLeftColor colour 111111");
}

} // namespace
