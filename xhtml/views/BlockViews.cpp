#include "xhtml/views/BlockViews.h"

#include "xhtml/views/Dpi.h"

namespace xhtml {

BlockView::BlockView(ViewContext* context) : BoxView(context) {
    setKind(BlockKind);
}

void BlockView::layout(Layouter& layouter) {
    // 1 when unset: block. 2 block, 3 inline-block, 4 inline.
    const int display = getOwnInteger(PropertyId::Display, 1);
    const bool block = display == 1 || display == 2;
    if (block)
        layouter.endLine();
    layoutInFlow(layouter, display == 3 ? 0 : layouter.getWidth(), 0);
    if (block)
        layouter.endLine();
}

BodyView::BodyView(ViewContext* context) : BlockView(context) {
    setKind(BodyKind);
}

CenterView::CenterView(ViewContext* context) : BlockView(context) {
    setKind(CenterKind);
}

ParagraphView::ParagraphView(ViewContext* context) : BlockView(context) {
    setKind(ParagraphKind);
    setProperty(PropertyId::MarginTop, StyleValue::integer(10));
    setProperty(PropertyId::MarginBottom, StyleValue::integer(10));
}

HRView::HRView(ViewContext* context) : BlockView(context) {
    setKind(HRKind);
}

void HRView::layout(Layouter& layouter) {
    const int previous = layouter.setTextAlign(getOwnInteger(PropertyId::TextAlign, 2));
    layouter.endLine();
    layoutInFlow(layouter, layouter.getWidth(), 0);
    layouter.lineBreak(scale(5));
    layouter.setTextAlign(previous);
}

} // namespace xhtml
