// The grid of tables, measured with the fixed metrics: a 20-pixel font is 10 pixels a character.
#include "tests/xhtml/views/ViewTesting.h"
#include "xhtml/views/TableViews.h"

#include <string>
#include <vector>

using namespace xhtml;

namespace {

// The cells' rectangles of the table with the id, after a layout of the markup in a body 400
// wide, as "L,T,R,B" in document order.
struct LaidOut {
    std::string table;
    std::vector<std::string> cells;
};

std::string text(const Rect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

class TableLayout : public ViewsTest {
protected:
    LaidOut layOut(const char16_t* markup);
};

LaidOut TableLayout::layOut(const char16_t* markup) {
    const auto root = build(ZString(u"<div style=\"font-size:20px\">") + markup + u"</div>");
    root->setSize(400, 500);
    root->layoutChildren({0, 0, 400, 500}, Layouter::Place);
    ViewEvent finished{ViewEvent::LayoutFinished, root.get()};
    root->handleEvent(finished);
    LaidOut result;
    View* table = root->getViewById(u"t");
    if (!table)
        return result;
    result.table = text(table->getRect());
    // Cells of hidden rows are never placed.
    const auto& grid = static_cast<const TableView&>(*table);
    for (int i = 0; i < grid.rowCount(); ++i) {
        std::vector<CellView*> cells;
        if (!grid.rowAt(i)->isDisplayNone())
            grid.rowAt(i)->collectCells(cells);
        for (const CellView* cell : cells)
            result.cells.push_back(text(cell->getRect()));
    }
    return result;
}

TEST_F(TableLayout, ColumnsShareTheWidthWithinTheirLimits) {
    struct Case {
        const char* what;
        const char16_t* markup;
        std::string table;
        std::vector<std::string> cells;
    };
    const Case cases[] = {
        {"natural widths 100 and 300 share 200 as 25 and 75 percent",
         u"<table id='t' width='200'><tr><td>aaaa aaaaa</td>"
         u"<td>aaaaaaaaa aaaaaaaaa aaaaaaaaaa</td></tr></table>",
         "0,0,200,60",
         {"0,0,50,60", "50,0,200,60"}},
        {"a share below a column's narrowest width is raised to it, the other column pays and the "
         "last pixel goes to the first auto column",
         u"<table id='t' width='200'><tr><td>aaaaaaaaaa</td>"
         u"<td>b b b b b b b b b b b b b b b b b b b b</td></tr></table>",
         "0,0,200,80",
         {"0,0,101,80", "101,0,200,80"}},
        {"an explicit width is paid for by the auto columns a pixel per pass, then the table "
         "stretches them to its width",
         u"<table id='t' width='300'><tr><td>aaaa aaaa</td><td width='150'>b</td>"
         u"<td>cccc cccc</td></tr></table>",
         "0,0,300,40",
         {"0,0,75,40", "75,0,225,40", "225,0,300,40"}},
        {"an auto-width table keeps what the balance leaves, the auto columns at their narrowest",
         u"<div style='width:200px'><table id='t'><tr><td>aaaa aaaa</td><td width='120'>b</td>"
         u"<td>cccc cccc</td></tr></table></div>",
         "0,0,200,40",
         {"0,0,40,40", "40,0,160,40", "160,0,200,40"}},
        {"spacing 4 with three columns adds 16 to the inner width",
         u"<table id='t' cellspacing='4'><tr><td>a</td><td>b</td><td>c</td></tr></table>",
         "0,0,46,28",
         {"4,4,14,24", "18,4,28,24", "32,4,42,24"}},
        {"a hidden row adds no grid row and no height",
         u"<table id='t'><tr><td>a</td></tr><tr style='display:none'><td>gone</td></tr>"
         u"<tr><td>b</td></tr></table>",
         "0,0,10,40",
         {"0,0,10,20", "0,20,10,40"}},
        {"a column span of 0 spans one column",
         u"<table id='t'><tr><td colspan='0'>a</td><td>b</td></tr>"
         u"<tr><td>c</td><td>d</td></tr></table>",
         "0,0,20,40",
         {"0,0,10,20", "10,0,20,20", "0,20,10,40", "10,20,20,40"}},
        {"a cell pushed past the last column by a row span stands after it",
         u"<table id='t'><tr><td rowspan='2'>a</td><td>b</td></tr>"
         u"<tr><td>c</td><td>d</td></tr></table>",
         "0,0,20,40",
         {"0,0,10,40", "10,0,20,20", "10,20,20,40", "20,20,30,40"}},
        {"hostile spans are clamped to the grid",
         u"<table id='t'><tr><td colspan='1000000' rowspan='-5'>x</td></tr></table>",
         "0,0,10,20",
         {"0,0,10,20"}},
        {"a table without rows still takes a line of its own",
         u"x<table id='t' cellspacing='3'></table>y",
         "0,20,3,23",
         {}},
    };
    for (const Case& c : cases) {
        const LaidOut laidOut = layOut(c.markup);
        EXPECT_EQ(laidOut.table, c.table) << c.what;
        EXPECT_EQ(laidOut.cells, c.cells) << c.what;
    }
}

TEST_F(TableLayout, AlignmentAndBordersPlaceTheTable) {
    EXPECT_EQ(layOut(u"<table id='t' align='right'><tr><td>x</td></tr></table>").table,
              "390,0,400,20");
    EXPECT_EQ(layOut(u"<center><table id='t'><tr><td>x</td></tr></table></center>").table,
              "195,0,205,20");
    // Border 1 and cell padding 2 on every side of the table's and the cells' boxes.
    const LaidOut bordered =
        layOut(u"<table id='t' border='1' cellpadding='2'><tr><td>x</td></tr></table>");
    EXPECT_EQ(bordered.table, "0,0,18,28");
    EXPECT_EQ(bordered.cells, std::vector<std::string>{"1,1,17,27"});
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

TEST_F(TableLayout, HugeSizesSaturateAndFinish) {
    const LaidOut laidOut = layOut(
        u"<table id='t' width='2000000000' cellspacing='2000000000'><tr><td width='2147483647'>"
        u"a</td><td style='min-width:2000000000px'>b</td></tr></table>");
    EXPECT_EQ(laidOut.cells.size(), 2u);
}

} // namespace
