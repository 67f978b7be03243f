// Building views from markup: the view of each element, blanks between elements, and the
// properties elements and their attributes store.
#include "tests/xhtml/views/ViewTesting.h"

using namespace xhtml;
using P = PropertyId;

namespace {

using Building = ViewsTest;

TEST_F(Building, ElementsBecomeTheirViewsWithBlanksOnlyWhereAReaderSeesThem) {
    const struct {
        const char16_t* markup;
        const char* views;
    } cases[] = {
        {u"<b>x</b> <i>y</i>", "InlineView[TextView\"x\"] InlineView[TextView\"y\"]"},
        {u"<b>x</b> <img src=\"a.png\"/>", "InlineView[TextView\"x\"] WordView\" \" ImageView"},
        {u"x <img src=\"a.png\"/>", "TextView\"x \" ImageView"},
        {u"x<img src=\"a.png\"/>", "TextView\"x\" ImageView"},
        {u"<input/> <b>x</b> <i>y</i>",
         "EditView WordView\" \" InlineView[TextView\"x\"] WordView\" \" "
         "InlineView[TextView\"y\"]"},
        {u"<div>a </div> <div> b</div>", "BlockView[TextView\"a \"] BlockView[TextView\" b\"]"},
        {u"a<br/> b", "TextView\"a\" BreakView TextView\" b\""},
        {u"<strong>x</strong><form><p>y</p></form>",
         "CompositeView[TextView\"x\"] CompositeView[ParagraphView[TextView\"y\"]]"},
        {u"<style>b { }</style><textarea>t<b>x</b></textarea>", "TextAreaView"},
        {u"<center><hr/><nobr>x</nobr></center>", "CenterView[HRView InlineView[TextView\"x\"]]"},
        {u"<table><tr><td>x</td></tr></table>", "TableView[RowView[CellView[TextView\"x\"]]]"},
        {u"<a><u>x</u><small/><big/><font/><sub/><sup/><strike/><span/></a>",
         "LinkView[InlineView[TextView\"x\"] InlineView InlineView InlineView InlineView "
         "InlineView InlineView InlineView]"},
        {u"<input type=\"file\"/><input type=\"hidden\"/><input type=\"Button\"/>"
         u"<select><option>o</option></select><object/>",
         "FileChooseView[EditView ButtonView] HiddenInputView EditView SelectView ObjectView"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(outline(*build(c.markup)), c.views) << toUtf8(c.markup);
}

TEST_F(Building, ElementsAndTheirAttributesStoreTheirProperties) {
    const StyleValue none;
    const StyleValue yes = StyleValue::boolean(true);
    const auto integer = [](int value) { return StyleValue::integer(value); };
    const auto string = [](const char16_t* text) { return StyleValue::string(text); };
    const struct {
        const char16_t* markup;
        PropertyId id;
        StyleValue value;
        StyleState state = Normal;
    } cases[] = {
        {u"<font id=\"v\" size=\"+2\">x</font>", P::FontSize, integer(15)},
        {u"<font id=\"v\" size=\"2\">x</font>", P::FontSize, integer(2)},
        {u"<font id=\"v\" size=\"-3\">x</font>", P::FontSize, integer(10)},
        {u"<div style=\"font-size:20px\"><big id=\"v\">x</big></div>", P::FontSize, integer(15)},
        {u"<img id=\"v\" width=\"010\" height=\"0x20\"/>", P::Width, integer(8)},
        {u"<img id=\"v\" width=\"010\" height=\"0x20\"/>", P::Height, integer(32)},
        {u"<input id=\"v\" type=\"password\" name=\"p\"/>", P::Password, yes},
        {u"<input id=\"v\" type=\"password\" name=\"p\"/>", P::InputType, string(u"text")},
        {u"<input id=\"v\" type=\"password\" name=\"p\"/>", P::Name, string(u"p")},
        {u"<input id=\"v\" type=\"radio\"/>", P::Checked, StyleValue::boolean(false)},
        {u"<table border=\"1\"><tr><td id=\"v\">a</td></tr></table>", P::BorderLeftColor,
         StyleValue::color(0x646464)},
        {u"<table border=\"1\"><tr><td id=\"v\">a</td></tr></table>", P::BorderBottomColor,
         StyleValue::color(0xC8C8C8)},
        {u"<table><tr><td id=\"v\">a</td></tr></table>", P::BorderWidth, none},
        {u"<table cellpadding=\"3\"><tr><td id=\"v\">a</td></tr></table>", P::Padding, integer(3)},
        {u"<p id=\"v\" style=\"margin-top:0\">x</p>", P::MarginTop, integer(0)},
        {u"<a id=\"v\" href=\"h\">x</a>", P::Color, StyleValue::color(0x800000)},
        {u"<object id=\"v\" width=\"90%\" height=\"-5\"></object>", P::Width, percent(90)},
        {u"<object id=\"v\" width=\"90%\" height=\"-5\"></object>", P::Height, none},
        {u"<hr id=\"v\" width=\"-\"/>", P::Width, integer(2)},
        {u"<div id=\"v\" disabled=\"TRUE\"></div>", P::Disabled, yes},
        {u"<span id=\"v\" style=\"width:5\" mostyle=\"width:6\">x</span>", P::Width, integer(6),
         Hover},
        {u"<style>#v { width:7 }</style><div id=\"v\"></div>", P::Width, integer(7)},
        {u"<textarea id=\"v\" readonly>a &amp; b</textarea>", P::Value, string(u"a &amp; b")},
    };
    for (const auto& c : cases) {
        const auto root = build(c.markup);
        const View* view = root->getViewById(u"v");
        ASSERT_NE(view, nullptr) << toUtf8(c.markup);
        EXPECT_EQ(own(*view, c.id, c.state), c.value)
            << toUtf8(c.markup) << ' ' << propertyName(c.id);
    }
}

} // namespace
