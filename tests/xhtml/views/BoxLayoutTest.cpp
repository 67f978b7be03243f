// The box model, positioning, the line layouter, the layout caches and update requests, the
// balance of table columns and geometry at the edge of the int range. Text is measured with the
// fixed metrics: a 20-pixel font is 10 pixels a character.
#include "tests/xhtml/views/ViewTesting.h"
#include "xhtml/document/ApplyStyle.h"
#include "xhtml/views/TableViews.h"

#include <climits>
#include <sstream>
#include <string>

using namespace xhtml;
using P = PropertyId;

namespace {

using BoxModel = ViewsTest;
using Positioning = ViewsTest;
using Lines = ViewsTest;
using LayoutCaches = ViewsTest;
using TableLayout = ViewsTest;
using Overflow = ViewsTest;

std::string sides(const Edges& e) {
    std::ostringstream out;
    out << e.left << ' ' << e.top << ' ' << e.right << ' ' << e.bottom;
    return out.str();
}

TEST_F(BoxModel, EdgesTakeTheShorthandThenEachSideAndPercentagesAsPixels) {
    BoxView box(&context);
    applyStyleText(box, Normal,
                   u"margin-left:1; margin:5; border-width:2; border-bottom-width:0; "
                   u"padding-top:3%");
    box.setSize(100, 50);
    EXPECT_EQ(sides(box.getMargins()), "1 5 5 5");
    EXPECT_EQ(sides(box.getBorderWidths()), "2 2 2 0");
    EXPECT_EQ(sides(box.getPaddings()), "0 3 0 0");
    EXPECT_EQ(box.getContentRect(), (Rect{3, 10, 93, 45}));
    // Around a content box: left 1 + 2, top 5 + 2 + 3, right 5 + 2, bottom 5.
    EXPECT_EQ(box.outerRectOf({20, 30, 40, 35}), (Rect{17, 20, 47, 40}));
    EXPECT_EQ(box.outerSizeOf({20, 5}), (Size{30, 20}));
}

TEST_F(BoxModel, ABlockFillsItsAreaUnlessInlineAndMinimumsRaiseItsSize) {
    const std::pair<const char16_t*, Size> cases[] = {
        {u"", {301, 7}},
        {u"display:block", {301, 7}},
        {u"display:inline-block", {4, 7}},
        {u"width:10.9", {10, 7}},
        {u"height:2; min-height:10%", {301, 4}},
        {u"width:80; min-width:20", {80, 7}},
    };
    for (const auto& [style, size] : cases) {
        BlockView box(&context);
        applyStyleText(box, Normal, style);
        EXPECT_EQ(box.resolveSize(301, 41, 4, 7), size) << toUtf8(style);
    }
}

TEST_F(BoxModel, AClippedAxisKeepsItsSizeTheOtherGrowsToTheContent) {
    // The text is 20 characters of 6 pixels, 13 high.
    const std::pair<const char16_t*, Size> cases[] = {
        {u"overflow-x:hidden", {40, 13}},
        {u"overflow-y:hidden", {120, 5}},
    };
    for (const auto& [overflow, size] : cases) {
        const auto root = layOut(ZString(u"<div id='d' style='width:40px; height:5px; ") +
                                 overflow + u"'><nobr>no wrap at all in it</nobr></div>");
        EXPECT_EQ(root->getViewById(u"d")->getSize(), size) << toUtf8(overflow);
    }
}

TEST_F(Positioning, ARelativeBoxIsOffsetOncePerPlacementAndHoldsTheAbsoluteBoxesInIt) {
    BlockView root(&context);
    auto* box = new BlockView(&context);
    root.appendChild(box);
    applyStyleText(*box, Normal,
                   u"width:20; height:10; position:relative; left:4; top:6; right:50");
    auto* corner = new BlockView(&context);
    box->appendChild(corner);
    applyStyleText(*corner, Normal, u"width:5; height:5; position:absolute; right:0; bottom:0");
    for (int pass = 0; pass < 2; ++pass) {
        root.invalidateLayoutCache();
        root.layoutInRect({0, 0, 100, 100});
        for (int event = 0; event < 2; ++event) {
            ViewEvent finished{ViewEvent::LayoutFinished, &root};
            root.handleEvent(finished);
        }
        EXPECT_EQ(box->getRect(), (Rect{4, 6, 24, 16})) << pass;
        EXPECT_EQ(corner->getRect(), (Rect{19, 11, 24, 16})) << pass;
    }
}

// The flow dump case shows wrapping, alignment and breaks; this pins two mended faults of the
// layouter itself and the spacing between lines.
TEST_F(Lines, BlanksAtTheEdgesOfALineTakeNoRoomSpacingIsNeverNegativeBoundsReachTheLastBreak) {
    WordView opening(&context, u" "), edge(&context, u" ");
    View wide(&context), wrapped(&context);
    opening.setSize(5, 10);
    wide.setSize(95, 10);
    edge.setSize(5, 10);
    wrapped.setSize(10, 10);
    // Measured first: placing sizes the dropped blanks.
    CalcSizeLayouter measuring({0, 0, 100, 100});
    NormalLayouter placing({0, 0, 100, 100});
    for (Layouter* layouter : std::initializer_list<Layouter*>{&measuring, &placing}) {
        layouter->setLineSpacing(4);
        for (View* view : std::initializer_list<View*>{&opening, &wide, &edge, &wrapped})
            layouter->addView(view);
        layouter->setLineSpacing(-3);
        layouter->lineBreak(15);
        layouter->finish();
    }
    EXPECT_EQ(opening.getSize(), Size{});
    EXPECT_EQ(edge.getSize(), Size{});
    EXPECT_EQ(wide.getRect(), (Rect{0, 0, 95, 10}));
    EXPECT_EQ(wrapped.getRect(), (Rect{0, 14, 10, 24}));
    EXPECT_EQ(placing.getBounds(), (Rect{0, 0, 95, 29}));
    EXPECT_EQ(measuring.getBounds(), placing.getBounds());
}

TEST_F(Lines, EachLineIsAsTallAsItsOwnItemsWhenMeasuredAsWhenPlaced) {
    View tall(&context), low(&context);
    tall.setSize(10, 50);
    low.setSize(10, 5);
    CalcSizeLayouter measuring({0, 0, 100, 100});
    NormalLayouter placing({0, 0, 100, 100});
    for (Layouter* layouter : std::initializer_list<Layouter*>{&measuring, &placing}) {
        layouter->addView(&tall);
        layouter->lineBreak(15);
        layouter->addView(&low);
        layouter->finish();
    }
    EXPECT_EQ(measuring.getBounds(), (Rect{0, 0, 10, 55}));
    EXPECT_EQ(placing.getBounds(), (Rect{0, 0, 10, 55}));
}

TEST_F(Lines, ABlockTakesLinesOfItsOwnANoWrapRunEndsWithItsElement) {
    // The top of each word of the texts, in order.
    const auto tops = [](View& root) {
        std::vector<View*> words;
        root.collectViewsByKind(words, WordKind);
        std::string out;
        for (const View* word : words) {
            if (!word->isSpace())
                out += std::to_string(word->getRect().top) + ' ';
        }
        return out;
    };
    for (const char16_t* display : {u"", u"display:block; "}) {
        const auto root = layOut(ZString(u"a<div style='") + display + u"width:50px'>b</div>c");
        EXPECT_EQ(tops(*root), "0 13 26 ") << toUtf8(display);
    }
    // Six pixels a character: the words after the no-wrap run wrap at 100.
    const auto root = layOut(u"<div id='d' style='width:100px'><span style='white-space:nowrap'>"
                             u"aa bb</span> cccccccc dddddddd eeeeeeee</div>");
    EXPECT_EQ(tops(*root), "0 0 0 13 26 ");
    EXPECT_EQ(root->getViewById(u"d")->getSize(), (Size{100, 39}));
}

// A child that takes a fixed size and counts the layouts that visit it.
class CountedItem : public View {
public:
    using View::View;
    void layout(Layouter& layouter) override {
        ++visits;
        setSize(30, 10);
        layouter.addView(this);
    }

    int visits = 0;
};

TEST_F(LayoutCaches, LayoutsAndMeasurementsAreRepeatedOnlyWhenTheirCacheCannotAnswer) {
    BlockView box(&context);
    auto* item = new CountedItem(&context);
    box.appendChild(item);
    EXPECT_EQ(box.measure(100), (Size{30, 10}));
    box.measure(100);
    EXPECT_EQ(item->visits, 1);
    box.measure(60);
    EXPECT_EQ(item->visits, 2);
    const Rect content{0, 0, 100, 50};
    box.layoutChildren(content, Layouter::Place);
    EXPECT_EQ(box.layoutChildren(content, Layouter::Place), (Rect{0, 0, 30, 10}));
    EXPECT_EQ(item->visits, 3);
    // Moving the box moves its cache along.
    box.moveBy(5, 7);
    EXPECT_EQ(box.layoutChildren(content.movedBy(5, 7), Layouter::Place), (Rect{5, 7, 35, 17}));
    box.measure(60);
    EXPECT_EQ(item->visits, 3);
    // Measuring resizes the children, so the next real layout visits them again.
    box.measure(61);
    box.layoutChildren(content.movedBy(5, 7), Layouter::Place);
    EXPECT_EQ(item->visits, 5);
    // A moved box keeps an invalid cache invalid.
    box.measure(62);
    box.moveBy(1, 1);
    box.layoutChildren({0, 0, 0, 0}, Layouter::Place);
    EXPECT_EQ(item->visits, 7);
    box.invalidateLayoutCache();
    box.measure(100);
    EXPECT_EQ(item->visits, 8);
}

TEST_F(LayoutCaches, NestedBoxesBeyondTheIntRangeDoNotMultiplyTheirPasses) {
    // Each margin takes the content further past the int range and coordinates saturate. Only
    // the innermost box lays the item out a second time, in the width it needs; a second pass at
    // every level would double the work per level.
    for (const char16_t* style : {u"margin-left:2000000000px", u"padding:2000000000px",
                                  u"margin-left:2000000000px; margin-right:5px"}) {
        BlockView root(&context);
        View* parent = &root;
        for (int level = 0; level < 12; ++level) {
            auto* box = new BlockView(&context);
            static_cast<CompositeView*>(parent)->appendChild(box);
            applyStyleText(*box, Normal, style);
            parent = box;
        }
        auto* item = new CountedItem(&context);
        static_cast<CompositeView*>(parent)->appendChild(item);
        root.layoutInRect({0, 0, 800, 500});
        EXPECT_EQ(item->visits, 2) << toUtf8(style);
    }
}

TEST_F(LayoutCaches, AnUpdateRelaysOutTheBoxInPlaceUnlessItsSizeChanges) {
    UpdateProbe parent(&context);
    auto* box = new BlockView(&context);
    parent.appendChild(box);
    applyStyleText(*box, Normal, u"width:100; height:50");
    auto* text = new TextView(&context, u"ab cd");
    box->appendChild(text);
    box->layoutInRect({0, 0, 100, 50});
    ViewEvent finished{ViewEvent::LayoutFinished, box};
    box->handleEvent(finished);
    View* last = text->childAt(2);
    ASSERT_EQ(last->getRect(), (Rect{18, 0, 30, 13}));

    box->changeProperty(P::FontSize, StyleValue::integer(20));
    EXPECT_EQ(last->getRect(), (Rect{30, 0, 50, 20})) << "relaid out with the new font";
    EXPECT_TRUE(box->isLaidOut());
    last->changeProperty(P::FontSize, StyleValue::integer(10));
    EXPECT_EQ(last->getRect(), (Rect{30, 10, 40, 20})) << "a word of its own font";
    EXPECT_EQ(parent.updates, 0);

    text->changeProperty(P::FontSize, StyleValue::integer(60));
    EXPECT_EQ(parent.updates, 1) << "60 pixels of text need a taller box";
}

TEST_F(LayoutCaches, ABoxMovesBeforeItLaysOutItsChildrenAndTheyFollowItsMoves) {
    BlockView box(&context);
    box.setProperty(P::Padding, StyleValue::integer(2));
    box.moveTo(40, 40);
    auto* text = new TextView(&context, u"ab");
    box.appendChild(text);
    EXPECT_EQ(box.layoutInRect({10, 20, 110, 70}), (Rect{10, 20, 26, 37}));
    EXPECT_EQ(box.getRect(), (Rect{10, 20, 110, 70}));
    EXPECT_EQ(text->childAt(0)->getRect(), (Rect{12, 22, 24, 35}));
    box.moveBy(-10, 5);
    EXPECT_EQ(text->childAt(0)->getRect(), (Rect{2, 27, 14, 40}));
}

// The tables dump case shows shares, spacing, hidden rows, spans, borders and alignment; these are
// the balances it leaves out.
TEST_F(TableLayout, ColumnsShareTheWidthWithinTheirLimits) {
    const struct {
        const char* what;
        const char16_t* markup;
        const char* laidOut; // The table's rectangle, then its cells', in a box 400 wide.
    } cases[] = {
        {"a share below a column's narrowest width is raised to it, the other column pays and the "
         "last pixel goes to the first auto column",
         u"<table id='t' width='200'><tr><td>aaaaaaaaaa</td>"
         u"<td>b b b b b b b b b b b b b b b b b b b b</td></tr></table>",
         "(0,0,200,80): (0,0,101,80) (101,0,200,80)"},
        {"an explicit width is paid for by the auto columns a pixel per pass, then the table "
         "stretches them to its width",
         u"<table id='t' width='300'><tr><td>aaaa aaaa</td><td width='150'>b</td>"
         u"<td>cccc cccc</td></tr></table>",
         "(0,0,300,40): (0,0,75,40) (75,0,225,40) (225,0,300,40)"},
        {"an auto-width table keeps what the balance leaves, the auto columns at their narrowest",
         u"<div style='width:200px'><table id='t'><tr><td>aaaa aaaa</td><td width='120'>b</td>"
         u"<td>cccc cccc</td></tr></table></div>",
         "(0,0,200,40): (0,0,40,40) (40,0,160,40) (160,0,200,40)"},
    };
    for (const auto& c : cases) {
        const auto root =
            layOut(ZString(u"<div style=\"width:400px; font-size:20px\">") + c.markup + u"</div>");
        const auto& table = static_cast<const TableView&>(*root->getViewById(u"t"));
        // Built with += only: chains of + on strings trip a false -Wrestrict warning of the
        // MinGW compiler.
        std::string laidOut = testing::PrintToString(table.getRect());
        laidOut += ':';
        for (int i = 0; i < table.rowCount(); ++i) {
            std::vector<CellView*> cells;
            table.rowAt(i)->collectCells(cells);
            for (const CellView* cell : cells) {
                laidOut += ' ';
                laidOut += testing::PrintToString(cell->getRect());
            }
        }
        EXPECT_EQ(laidOut, c.laidOut) << c.what;
    }
}

TEST_F(TableLayout, ACellsPercentageHeightIsOfTheTablesHeight) {
    const auto root = layOut(u"<div style='width:400px'><table height='200' width='400'>"
                             u"<tr><td id='half' height='50%'>a</td></tr><tr><td>b</td></tr>"
                             u"</table></div>");
    EXPECT_EQ(root->getViewById(u"half")->getSize().height, 100);
}

TEST_F(TableLayout, OnlyRowsAndCellsJoinTheGrid) {
    TableView table(&context);
    auto* row = new RowView(&context);
    table.appendChild(row);
    auto* stray = new CellView(&context);
    table.appendChild(stray);
    EXPECT_EQ(table.rowCount(), 1);
    EXPECT_EQ(stray->getParent(), nullptr);
    delete stray;
    auto* cell = new CellView(&context);
    row->appendChild(cell);
    auto* text = new RowView(&context);
    row->appendChild(text);
    EXPECT_EQ(row->childCount(), 1);
    delete text;
    std::vector<CellView*> cells;
    row->collectCells(cells);
    EXPECT_EQ(cells, std::vector<CellView*>{cell});
}

TEST_F(Overflow, HugeLengthsLinesAndTablesSaturateAtTheIntRange) {
    ZString words;
    for (int i = 0; i < 5000; ++i)
        words.append(u"x ");
    const std::pair<ZString, Rect> cases[] = {
        {u"<body><div style=\"width:2000000000px; margin:2000000000px; "
         u"padding-left:2000000000px\">x</div></body>",
         {0, 0, INT_MAX, INT_MAX}},
        {u"<body style=\"font-size:1000000px\"><nobr>" + words + u"</nobr></body>",
         {0, 0, INT_MAX, 1000000}},
        {u"<body><table width=\"2000000000\" cellspacing=\"2000000000\"><tr>"
         u"<td width=\"2147483647\">a</td><td style=\"min-width:2000000000px\">b</td></tr>"
         u"</table></body>",
         {0, 0, INT_MAX, INT_MAX}},
    };
    for (const auto& [markup, body] : cases)
        EXPECT_EQ(layOut(markup)->childAt(0)->getRect(), body);

    // A box made far taller than nothing by its margins, aligned to the bottom of a tall line:
    // the distance to move it down is beyond the int range.
    setDpi(192);
    const auto root = layOut(u"<span style=\"font-size:214px\">x<textarea "
                             u"style=\"margin:-800000000px\"></textarea></span>");
    std::vector<View*> areas;
    root->collectViewsByKind(areas, TextAreaKind);
    ASSERT_EQ(areas.size(), 1u);
    EXPECT_EQ(areas[0]->getRect().top, INT_MAX);
}

} // namespace
