#include "xhtml/views/TableViews.h"

namespace xhtml {

TableView::TableView(ViewContext* context) : BoxView(context) {
    setKind(TableKind);
}

RowView::RowView(ViewContext* context) : CompositeView(context) {
    setKind(RowKind);
}

CellView::CellView(ViewContext* context) : BoxView(context) {
    setKind(CellKind);
}

} // namespace xhtml
