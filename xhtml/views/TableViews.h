#pragma once

#include "xhtml/views/BoxView.h"

namespace xhtml {

// A table, its rows and cells take part in the tree; until they have a grid of their own they
// lay out as plain boxes.
class TableView : public BoxView {
public:
    explicit TableView(ViewContext* context);
};

class RowView : public CompositeView {
public:
    explicit RowView(ViewContext* context);
};

class CellView : public BoxView {
public:
    explicit CellView(ViewContext* context);
};

} // namespace xhtml
