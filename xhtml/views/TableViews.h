#pragma once

#include "xhtml/views/BoxView.h"

#include <vector>

namespace xhtml {

class CellView;

// Rows hold only cells and have no geometry of their own.
class RowView : public CompositeView {
public:
    explicit RowView(ViewContext* context);
    // Takes cells only; the caller keeps anything else.
    void appendChild(View* view) override;
    void collectCells(std::vector<CellView*>& out) const;
};

class CellView : public BoxView {
public:
    explicit CellView(ViewContext* context);
};

// The engine's grid: every cell is measured at its narrowest and widest, the table's width is
// shared out over the columns by the cells' natural widths within their minimum and explicit
// widths, rows likewise, and the table takes a line of its own aligned by its alignment.
class TableView : public BoxView {
public:
    explicit TableView(ViewContext* context);
    // Takes rows only; the caller keeps anything else.
    void appendChild(View* view) override;
    // A table always relayouts as a whole, in its parent.
    void requestUpdate() override;
    void layout(Layouter& layouter) override;
    int rowCount() const { return childCount(); }
    RowView* rowAt(int index) const { return static_cast<RowView*>(childAt(index)); }
};

} // namespace xhtml
