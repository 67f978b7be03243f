#pragma once

#include "xhtml/views/CompositeView.h"

namespace xhtml {

// Groups inline content; its own vertical-align applies to the items it adds to the line.
class InlineView : public CompositeView {
public:
    explicit InlineView(ViewContext* context);
    void layout(Layouter& layouter) override;
    // An inline group has no rectangle of its own: it is where its visible children are.
    bool hitTest(Point point) const override;
};

// Running text as words: one WordView per word and one per collapsed run of white space.
// Words receive no mouse records and take the text's state.
class TextView : public InlineView {
public:
    TextView(ViewContext* context, const ZString& text);
    bool isContainer() const override { return false; }
    void handleEvent(ViewEvent&) override {}
    void handleMouse(MouseEvent& event) override { View::handleMouse(event); }
    const ZString& getText() const { return text_; }

private:
    ZString text_;
};

// An inline group whose left-clicks are reported as link clicks; its target is its Href.
class LinkView : public InlineView {
public:
    explicit LinkView(ViewContext* context);
    bool isFocusable() const override { return true; }
};

// Ends the line with a line at least minLineHeight pixels tall (not DPI-scaled).
class BreakView : public View {
public:
    explicit BreakView(ViewContext* context, int minLineHeight = 15);
    void layout(Layouter& layouter) override;

private:
    int minLineHeight_;
};

} // namespace xhtml
