// The committed xhtml-dump style cases hold the installer page's body style and most properties.
#include "xhtml/document/ApplyStyle.h"
#include "tests/xhtml/document/StyleTargets.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

using namespace xhtml;

namespace {

// The Normal map the declarations leave in a target without properties of its own.
std::string applied(const ZString& text) {
    View target(nullptr);
    applyStyleText(target, Normal, text);
    return listing(target);
}

// Properties whose key or reading a copy-and-paste slip could get wrong, with and without the
// vendor prefix, in the state of the application.
TEST(ApplyStyle, DeclarationsStoreTheirKeysInTheStateOfTheApplication) {
    View target(nullptr);
    applyStyleText(target, Hover,
                   u"min-height:4.5; -c-vertical-align-line:text-top; text-decoration:overline; "
                   u"-c-font-size:huge; font-weight:550; -c-border-right-width:5; "
                   u"border-left-color:#100; -c-border-bottom-style:dotted; padding-bottom:5; "
                   u"-c-margin-right:9; bottom:14; -c-overflow-x:scroll; cell-padding:5; "
                   u"-c-font-family:Tahoma, Arial; background-image:url x (b.png) (c)");
    EXPECT_EQ(listing(target, Hover),
              "CellPadding int 5, FontFamily string tahoma, FontWeight int 400, FontSize int 0, "
              "Overline bool 1, BackgroundImage string b.png, MinHeight double 4.5, "
              "VerticalAlignLine int 1, MarginRight int 9, PaddingBottom int 5, "
              "BorderBottomStyle int 2, BorderRightWidth int 5, BorderLeftColor colour 11, "
              "Bottom int 14, OverflowX int 2");
    EXPECT_EQ(listing(target), "");
}

TEST(ApplyStyle, DeclarationsInTheirOrder) {
    const std::pair<const char16_t*, const char*> cases[] = {
        {u"text-decoration:underline; text-decoration:none",
         "Overline bool 0, Underline bool 0, LineThrough bool 0"},
        // Each font-size step reads the size stored before; beyond the int range it saturates.
        {u"font-size:20px; font-size:larger; font-size:larger", "FontSize int 24"},
        {u"font-size:10.5; font-size:smaller", "FontSize int 8"},
        {u"font-size:2147483647; font-size:larger", "FontSize int 2147483647"},
        // The shorthands store "none" and "hidden" as style 0.
        {u"border: none; border-right: 2px hidden",
         "BorderStyle int 0, BorderRightStyle int 0, BorderRightWidth int 2"},
        {u"border-left: thin groove -1px transparent", "BorderLeftColor colour ff000000"},
        // A side's shorthand keeps the other sides' colours.
        {u"border-top-color:#222; border-left: 1px #f00",
         "BorderLeftWidth int 1, BorderLeftColor colour ff, BorderTopColor colour 222222"},
        // A sign is no digit: the token is read as a keyword; a missing second token is the top.
        {u"background-position:-5px 1.5 extra",
         "BackgroundPositionX int 0, BackgroundPositionY double 1.5 #"},
        {u"background-position:right", "BackgroundPositionX int 2, BackgroundPositionY int 0"},
        {u"background-gradient:red #000 backward-diagonal",
         "GradientEnabled bool 1, GradientColor1 colour ff, GradientColor2 colour 0, "
         "GradientMode int 3"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(applied(text), expected) << toUtf8(text);
}

TEST(ApplyStyle, UnknownPropertiesAndUnreadableValuesStoreNothing) {
    for (const char16_t* text :
         {u"max-width:90%; font:12px arial; -c-:1; c-color:red; width ; :5; x-c-width:1",
          u"text-decoration:underline overline", u"font-style:normal", u"white-space:normal",
          u"border-left-style:none", u"border-style:hidden", u"border:",
          u"border-left: thin groove -1px", u"background-image:a.png",
          u"background-image:url(a.png", u"background-image:url(  )", u"background-position:",
          u"background-gradient:#fff #eee", u"background-gradient:#fff #eee vertical x",
          u"background-gradient:#fff\t#eee\tvertical"})
        EXPECT_EQ(applied(text), "") << toUtf8(text);
}

TEST(ApplyStyle, OtherStatesStartFromTheirOwnOrNormalsValues) {
    View target(nullptr);
    applyStyleText(target, Normal, u"font-size:20px; border-top-color:#222; width:10");
    applyStyleText(target, Hover, u"font-size:smaller; width:30; border-left-color:#111");
    // The whole colour set for Hover removes the side colours of the Normal map too.
    applyStyleText(target, Hover, u"border-color:#f00");
    EXPECT_EQ(listing(target), "FontSize int 20, Width int 10");
    EXPECT_EQ(
        listing(target, Hover),
        "FontSize int 18, Width int 30, BorderColor colour ff, BorderLeftColor colour 111111");
}

} // namespace
