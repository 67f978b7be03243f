#pragma once

#include "xhtml/views/View.h"

#include <vector>

namespace xhtml {

// A view with an ordered list of owned children.
class CompositeView : public View {
public:
    explicit CompositeView(ViewContext* context);
    // Deletes the children in list order.
    ~CompositeView() override;

    // Kinds 5 (inline), 9 (box), 12 (block) and 26 (nested frame): a new view of that class with
    // this view's maps and children takes this view's place in the parent, which deletes this view.
    View* convertTo(ViewKind kind) override;
    bool isContainer() const override { return true; }
    // Carries every descendant along, so words and inline groups follow their box.
    void moveBy(int dx, int dy) override;
    void layout(Layouter& layouter) override;
    void handleEvent(ViewEvent& event) override;
    void onPropertyChanged(View* view, PropertyId id, StyleState state) override;
    void handleMouse(MouseEvent& event) override;
    void collectViews(std::vector<View*>& out, const std::function<bool(View&)>& match) override;
    void invalidate() override;

    // Null is ignored.
    virtual void appendChild(View* view);
    void adoptChildren(CompositeView& other);
    // The index is clamped to the list.
    void insertChild(View* view, int index);
    void removeAllChildren();
    // Deletes the child; false when it is not a child of this view.
    bool removeChild(View* view);
    int childCount() const { return static_cast<int>(children_.size()); }
    // No bounds check: callers keep the index below childCount().
    View* childAt(int index) const { return children_[static_cast<size_t>(index)]; }
    const std::vector<View*>& getChildren() const { return children_; }
    void dispatchMouse(MouseEvent& event);
    // One text child holding the text, or none for an empty text.
    void setText(const ZString& text);
    // Replaces the children with the views built from the markup.
    void setMarkup(const ZString& markup);
    void setShownByClass(const ZString& className, bool hide);

protected:
    // The composite walk: every displayed child feeds the layouter, under the view's own
    // white-space setting.
    void layoutChildViews(Layouter& layouter);

private:
    std::vector<View*> children_;
};

// Nested frames need a window system: the layer that has one provides them. Without a factory a
// box with scrolling overflow stays a box.
using NestedFrameFactory = CompositeView* (*)(ViewContext* context);
void setNestedFrameFactory(NestedFrameFactory factory);

} // namespace xhtml
