#pragma once

#include "xhtml/views/BoxView.h"

namespace xhtml {

// A box on a line of its own, as wide as the area unless its width says otherwise.
class BlockView : public BoxView {
public:
    explicit BlockView(ViewContext* context);
    void layout(Layouter& layouter) override;
};

class BodyView : public BlockView {
public:
    explicit BodyView(ViewContext* context);
};

class CenterView : public BlockView {
public:
    explicit CenterView(ViewContext* context);
};

// Paragraphs and headings: a block with a margin of 10 above and below.
class ParagraphView : public BlockView {
public:
    explicit ParagraphView(ViewContext* context);
};

// A horizontal rule: a block centred unless aligned otherwise, on a line at least 5 high.
class HRView : public BlockView {
public:
    explicit HRView(ViewContext* context);
    bool isContainer() const override { return false; }
    void layout(Layouter& layouter) override;
};

} // namespace xhtml
