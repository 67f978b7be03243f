#include "xhtml/views/TableViews.h"

#include "xhtml/views/Dpi.h"

#include <algorithm>
#include <numeric>
#include <optional>

namespace xhtml {

namespace {

using Sizes = std::vector<int>;

// The working record of one cell during one layout pass.
struct Cell {
    CellView* view = nullptr;
    int column = 0;
    int row = 0;
    int colspan = 1;
    int rowspan = 1;
    int explicitWidth = -1;
    int explicitHeight = -1;
    int minWidth = 0;
    int minHeight = 0;
    Size narrow;
    int wide = 0;
    int width = 0;
    int height = 0;
};

// A width or height: a percentage of the reference, else pixels at 96 DPI.
std::optional<int> lengthOf(const View& view, PropertyId id, int reference) {
    const StyleValue* value = view.findOwnProperty(id);
    if (!value)
        return std::nullopt;
    const double number = value->toDouble();
    return value->hasFlag(StyleValue::kPercent) ? saturated(number * reference / 100)
                                                : saturated(number * dpiFactor());
}

// A span below 1 counts as 1; one beyond the grid reaches only to its end, which also keeps
// the column bookkeeping of hostile spans small.
int spanOf(const View& view, PropertyId id, int limit) {
    return std::clamp(view.getOwnInteger(id, 1), 1, std::max(limit, 1));
}

long long sumOver(const Sizes& sizes, int first, int count) {
    const int end = std::min(static_cast<int>(sizes.size()), first + count);
    long long sum = 0;
    for (int i = first; i < end; ++i)
        sum += sizes[static_cast<size_t>(i)];
    return sum;
}

// Hands out `extra` pixels one at a time to the free entries, in passes, stopping exactly when
// it is used up. Done per pass in bulk, so a huge amount costs no more than a small one.
void handOut(Sizes& sizes, const std::vector<bool>& fixed, long long extra) {
    const long long free = std::count(fixed.begin(), fixed.end(), false);
    if (extra <= 0 || free == 0)
        return;
    long long remainder = extra % free;
    for (size_t i = 0; i < sizes.size(); ++i) {
        if (fixed[i])
            continue;
        const long long share = extra / free + (remainder-- > 0 ? 1 : 0);
        sizes[i] = saturated(sizes[i] + share);
    }
}

// Columns settle an explicit or minimum width: what one column takes, the others give back one
// pixel per pass (never below their minimum), and what it frees they share one pixel per pass.
// A pass always runs to its end. Whole runs of passes are applied at once, each run ending when
// a column reaches its minimum, so hostile widths cannot make this loop for long.
void balance(Sizes& widths, const Sizes& minimum, const std::vector<bool>& fixed, long long diff) {
    while (diff > 0) {
        long long givers = 0;
        long long room = -1;
        for (size_t j = 0; j < widths.size(); ++j) {
            if (fixed[j] || widths[j] <= minimum[j])
                continue;
            ++givers;
            const long long excess = static_cast<long long>(widths[j]) - minimum[j];
            room = room < 0 ? excess : std::min(room, excess);
        }
        if (givers == 0)
            return;
        const long long passes = std::min(room, (diff + givers - 1) / givers);
        for (size_t j = 0; j < widths.size(); ++j) {
            if (!fixed[j] && widths[j] > minimum[j])
                widths[j] = saturated(widths[j] - passes);
        }
        diff -= passes * givers;
    }
    if (diff < 0) {
        const long long takers = std::count(fixed.begin(), fixed.end(), false);
        if (takers == 0)
            return;
        const long long passes = (-diff + takers - 1) / takers;
        for (size_t j = 0; j < widths.size(); ++j) {
            if (!fixed[j])
                widths[j] = saturated(widths[j] + passes);
        }
    }
}

// Offsets of columns or rows from the table's content edge.
Sizes offsets(const Sizes& sizes, int spacing) {
    Sizes result(sizes.size());
    long long at = spacing;
    for (size_t i = 0; i < sizes.size(); ++i) {
        result[i] = saturated(at);
        at += static_cast<long long>(sizes[i]) + spacing;
    }
    return result;
}

// Column of every cell: a cell stands right of the cells of earlier rows whose row spans reach
// down into its row. Only rows that still reach down are looked at, which keeps ordinary tables
// linear in their number of rows.
void assignColumns(std::vector<std::vector<Cell*>>& grid) {
    std::vector<int> reaching;
    for (int r = 0; r < static_cast<int>(grid.size()); ++r) {
        std::erase_if(reaching, [&](int r2) {
            return std::none_of(grid[static_cast<size_t>(r2)].begin(),
                                grid[static_cast<size_t>(r2)].end(),
                                [&](const Cell* c) { return r2 + c->rowspan > r; });
        });
        long long pos = 0, used = 0, prevSkip = 0;
        for (Cell* cell : grid[static_cast<size_t>(r)]) {
            long long skip = 0;
            for (int r2 : reaching) {
                long long acc = skip;
                for (const Cell* above : grid[static_cast<size_t>(r2)]) {
                    if (acc > used + skip)
                        break;
                    if (r2 + above->rowspan > r)
                        skip += above->colspan;
                    acc += above->colspan;
                }
            }
            cell->column = saturated(pos + skip - prevSkip);
            cell->row = r;
            pos += cell->colspan + skip - prevSkip;
            prevSkip = skip;
            used += cell->colspan;
        }
        reaching.push_back(r);
    }
}

} // namespace

RowView::RowView(ViewContext* context) : CompositeView(context) {
    setKind(RowKind);
}

void RowView::appendChild(View* view) {
    if (view && view->getKind() == CellKind)
        CompositeView::appendChild(view);
}

void RowView::collectCells(std::vector<CellView*>& out) const {
    for (View* child : getChildren()) {
        if (child->getKind() == CellKind)
            out.push_back(static_cast<CellView*>(child));
    }
}

CellView::CellView(ViewContext* context) : BoxView(context) {
    setKind(CellKind);
}

TableView::TableView(ViewContext* context) : BoxView(context) {
    setKind(TableKind);
}

void TableView::appendChild(View* view) {
    if (view && view->getKind() == RowKind)
        BoxView::appendChild(view);
}

void TableView::requestUpdate() {
    invalidateLayoutCache();
    View::requestUpdate();
}

void TableView::layout(Layouter& layouter) {
    layouter.lineBreak(0);
    const int availWidth = layouter.getWidth();
    const int availHeight = layouter.getHeight();
    const std::optional<int> givenWidth = lengthOf(*this, PropertyId::Width, availWidth);
    const std::optional<int> givenHeight = lengthOf(*this, PropertyId::Height, availHeight);
    const int explicitInnerWidth = givenWidth ? innerSizeOf({*givenWidth, 0}).width : -1;
    const int explicitInnerHeight = givenHeight ? innerSizeOf({0, *givenHeight}).height : -1;
    const std::optional<int> minWidth = lengthOf(*this, PropertyId::MinWidth, availWidth);
    const std::optional<int> minHeight = lengthOf(*this, PropertyId::MinHeight, availHeight);
    const int minInnerWidth = minWidth ? innerSizeOf({*minWidth, 0}).width : 0;
    const int minInnerHeight = minHeight ? innerSizeOf({0, *minHeight}).height : 0;
    const int tableWidth = std::max(givenWidth.value_or(availWidth), minWidth.value_or(0));
    const int tableHeight = givenHeight.value_or(-1);
    const int innerWidth = innerSizeOf({tableWidth, 0}).width;
    const StyleValue* spacingValue = findOwnProperty(PropertyId::CellSpacing);
    const int spacing =
        spacingValue && integerOf(*spacingValue) >= 0 ? scale(integerOf(*spacingValue)) : 0;
    StyleValue alignValue;
    int align = 1;
    if (getOwnProperty(PropertyId::TableAlign, alignValue) ||
        (getParent() && getParent()->getProperty(PropertyId::TextAlign, alignValue)))
        align = integerOf(alignValue);

    // The grid: visible rows and their cells.
    std::vector<std::vector<CellView*>> rowsOfViews;
    for (int i = 0; i < rowCount(); ++i) {
        if (rowAt(i)->isDisplayNone())
            continue;
        rowAt(i)->collectCells(rowsOfViews.emplace_back());
    }
    const int rows = static_cast<int>(rowsOfViews.size());
    int cols = 0;
    for (const auto& row : rowsOfViews)
        cols = std::max(cols, static_cast<int>(row.size()));
    std::vector<Cell> cells;
    for (const auto& row : rowsOfViews) {
        for (CellView* view : row) {
            Cell& cell = cells.emplace_back();
            cell.view = view;
            cell.colspan = spanOf(*view, PropertyId::ColSpan, cols);
            cell.rowspan = spanOf(*view, PropertyId::RowSpan, rows);
        }
    }
    std::vector<std::vector<Cell*>> grid(static_cast<size_t>(rows));
    for (size_t r = 0, next = 0; r < rowsOfViews.size(); ++r) {
        for (size_t i = 0; i < rowsOfViews[r].size(); ++i)
            grid[r].push_back(&cells[next++]);
    }
    assignColumns(grid);

    // Widths.
    Sizes explicitColumn(static_cast<size_t>(cols), -1), explicitRow(static_cast<size_t>(rows), -1);
    Sizes columnMin(static_cast<size_t>(cols), 0), columnMax(static_cast<size_t>(cols), 0);
    for (Cell& cell : cells) {
        CellView& view = *cell.view;
        cell.explicitWidth = lengthOf(view, PropertyId::Width, tableWidth).value_or(-1);
        if (const StyleValue* height = view.findOwnProperty(PropertyId::Height))
            cell.explicitHeight = givenHeight ? *lengthOf(view, PropertyId::Height, tableHeight)
                                              : scale(integerOf(*height));
        cell.minWidth = std::max(0, lengthOf(view, PropertyId::MinWidth, tableWidth).value_or(0));
        cell.minHeight =
            std::max(0, lengthOf(view, PropertyId::MinHeight, tableHeight).value_or(0));
        cell.narrow = view.measureAt(0);
        if (cell.minWidth > cell.narrow.width)
            cell.narrow = view.measureAt(cell.minWidth);
        cell.narrow.width = std::max(cell.narrow.width, cell.minWidth);
        cell.narrow.height = std::max(cell.narrow.height, cell.minHeight);
        cell.wide = view.measureAt(10000).width;
        if (cell.colspan == 1 && cell.column < cols) {
            const auto c = static_cast<size_t>(cell.column);
            explicitColumn[c] = std::max(explicitColumn[c], cell.explicitWidth);
            columnMin[c] = std::max(columnMin[c], cell.narrow.width);
            columnMax[c] = std::max(columnMax[c], cell.wide);
        }
        if (cell.rowspan == 1)
            explicitRow[static_cast<size_t>(cell.row)] =
                std::max(explicitRow[static_cast<size_t>(cell.row)], cell.explicitHeight);
    }
    const long long sumMax = std::accumulate(columnMax.begin(), columnMax.end(), 0LL);
    const long long availColumns = innerWidth - (cols + 1LL) * spacing;
    Sizes columnWidth(static_cast<size_t>(cols), 0);
    for (size_t c = 0; c < columnWidth.size(); ++c) {
        const float share =
            sumMax == 0 ? 0.0f
                        : static_cast<float>(columnMax[c]) * 100.0f / static_cast<float>(sumMax);
        columnWidth[c] = std::min(columnMax[c], saturated(static_cast<double>(availColumns) *
                                                          static_cast<double>(share) / 100));
    }
    std::vector<bool> fixedColumn(static_cast<size_t>(cols));
    for (size_t c = 0; c < columnWidth.size(); ++c)
        fixedColumn[c] = explicitColumn[c] >= 0;
    for (size_t c = 0; c < columnWidth.size(); ++c) {
        if (!fixedColumn[c] && columnWidth[c] >= columnMin[c])
            continue;
        const int wanted = std::max(columnMin[c], explicitColumn[c]);
        const long long diff = static_cast<long long>(wanted) - columnWidth[c];
        columnWidth[c] = wanted;
        // The column itself now stands at its minimum or is fixed, so it neither gives nor takes.
        balance(columnWidth, columnMin, fixedColumn, diff);
    }
    const long long totalWidth = (cols + 1LL) * spacing + sumOver(columnWidth, 0, cols);
    handOut(columnWidth, fixedColumn, std::max(minInnerWidth, explicitInnerWidth) - totalWidth);
    for (Cell& cell : cells) {
        cell.width = saturated((cell.colspan - 1LL) * spacing +
                               sumOver(columnWidth, cell.column, cell.colspan));
        // Past the last column there is no width to take; the cell keeps its narrowest.
        if (cell.column >= cols)
            cell.width = std::max(cell.width, cell.narrow.width);
    }

    // Heights.
    Sizes rowHeight(static_cast<size_t>(rows), 0);
    for (Cell& cell : cells) {
        cell.height = std::max(cell.view->measureAt(cell.width).height, cell.minHeight);
        if (cell.rowspan == 1) {
            int& height = rowHeight[static_cast<size_t>(cell.row)];
            height = std::max(height, cell.height);
        }
    }
    std::vector<bool> fixedRow(static_cast<size_t>(rows));
    for (size_t r = 0; r < rowHeight.size(); ++r) {
        rowHeight[r] = std::max(rowHeight[r], explicitRow[r]);
        fixedRow[r] = explicitRow[r] >= 0;
    }
    const long long totalHeight = (rows + 1LL) * spacing + sumOver(rowHeight, 0, rows);
    handOut(rowHeight, fixedRow, std::max(minInnerHeight, explicitInnerHeight) - totalHeight);
    for (Cell& cell : cells)
        cell.height =
            saturated((cell.rowspan - 1LL) * spacing + sumOver(rowHeight, cell.row, cell.rowspan));

    // Placement.
    const Sizes columnX = offsets(columnWidth, spacing);
    const Sizes rowY = offsets(rowHeight, spacing);
    const long long tableInnerWidth = (cols + 1LL) * spacing + sumOver(columnWidth, 0, cols);
    const long long tableInnerHeight = (rows + 1LL) * spacing + sumOver(rowHeight, 0, rows);
    const Rect content = getContentRect();
    for (Cell& cell : cells) {
        cell.view->setSize(cell.width, cell.height);
        cell.view->layoutChildren(cell.view->getContentRect(), layouter.getMode());
        // A cell pushed past the last column by row spans stands after it.
        const int x = cell.column < cols ? columnX[static_cast<size_t>(cell.column)]
                                         : saturated(tableInnerWidth);
        cell.view->moveTo(addSaturated(content.left, x),
                          addSaturated(content.top, rowY[static_cast<size_t>(cell.row)]));
    }
    setSize(outerSizeOf({saturated(tableInnerWidth), saturated(tableInnerHeight)}));
    const int previous = layouter.setTextAlign(align);
    layouter.addView(this);
    layouter.lineBreak(0);
    layouter.setTextAlign(previous);
}

} // namespace xhtml
