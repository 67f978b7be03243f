#pragma once

#include "xhtml/views/CompositeView.h"
#include "xhtml/views/Layouter.h"

#include <map>
#include <optional>
#include <tuple>

namespace xhtml {

// A length of a width or height property: a percentage of the available size, or pixels at 96
// DPI.
int resolvedLength(const StyleValue& value, int available);

// A view with a box: margins, borders and paddings around its content, a position scheme, and
// the layout caches that let a change deep in the tree relayout only the smallest box whose size
// does not change. Its rectangle is the margin box.
class BoxView : public CompositeView {
public:
    explicit BoxView(ViewContext* context);

    void moveBy(int dx, int dy) override;
    void moveTo(int x, int y) override;
    // Inside the border box.
    bool hitTest(Point point) const override;
    void handleMouse(MouseEvent& event) override;
    void layout(Layouter& layouter) override;
    void handleEvent(ViewEvent& event) override;
    void invalidate() override;
    void requestUpdate() override;

    Rect getContentRect() const { return contentRectOf(rect_); }
    Size getContentSize() const { return getContentRect().size(); }
    void setContentSize(int width, int height);
    // The content size the children need at that outer width.
    Size measure(int width);
    Size measureAt(int width) { return measureIn(width, 0); }
    // The outer size at that width: the children's needs, but at least what the box's own
    // sizes resolve to.
    Size measureIn(int width, int height);
    Size innerSizeOf(Size outer) const;
    Rect contentRectOf(const Rect& outer) const;
    Size outerSizeOf(Size content) const;
    Rect outerRectOf(const Rect& content) const;
    Size resolveSize(int availWidth, int availHeight, int defaultWidth, int defaultHeight) const;
    void layoutInFlow(Layouter& layouter, int defaultWidth, int defaultHeight);
    // Lays the children out over the content rectangle and returns their bounds.
    virtual Rect layoutChildren(const Rect& content, Layouter::Mode mode);
    // Places the box at the rectangle's origin, at least as large as the rectangle, and returns
    // the outer rectangle its children need.
    Rect layoutInRect(const Rect& rect);
    Edges getBorderWidths() const;
    Edges getMargins() const;
    Edges getPaddings() const;
    void invalidateLayoutCache();
    Rect getBorderBox() const;
    void applyPosition();

    bool isLaidOut() const { return laidOut_; }

protected:
    // Lays the box out in the flow around a content size of its own (a control, an image),
    // which the box's own width and height override.
    void layoutAroundContent(Layouter& layouter, Size content);
    // The box marker is what absolute positioning requires of a container.
    bool carriesBoxMarker() const;

private:
    Edges edges(PropertyId shorthand, PropertyId firstSide) const;
    Edges allEdges() const { return getMargins() + getBorderWidths() + getPaddings(); }
    void configure(Layouter& layouter) const;
    // A length property through scale, when the box has it.
    std::optional<int> scaledLength(PropertyId id) const;

    bool relativeApplied_ = false;
    bool laidOut_ = false;
    std::map<std::tuple<int, int, int>, Size> measureCache_;
    std::optional<Rect> lastLayoutRect_;
    std::optional<Rect> lastBounds_;
    // The content rectangle of the last placing flow layout, whose bounds are lastBounds_. With
    // a no-wrap pass the two areas alternate in the one-entry cache above, which without this
    // doubled the work at every level of nested shrink-to-fit boxes.
    std::optional<Rect> lastFlowContent_;
};

} // namespace xhtml
