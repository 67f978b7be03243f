#include "xhtml/views/CompositeView.h"

#include "xhtml/views/BlockViews.h"
#include "xhtml/views/HtmlView.h"
#include "xhtml/views/InlineViews.h"
#include "xhtml/views/Layouter.h"

#include <algorithm>

namespace xhtml {

namespace {
NestedFrameFactory nestedFrameFactory = nullptr;
}

void setNestedFrameFactory(NestedFrameFactory factory) {
    nestedFrameFactory = factory;
}

CompositeView::CompositeView(ViewContext* context) : View(context) {
    setKind(CompositeKind);
}

CompositeView::~CompositeView() {
    removeAllChildren();
}

View* CompositeView::convertTo(ViewKind kind) {
    if (kind == getKind())
        return nullptr;
    CompositeView* replacement = nullptr;
    switch (kind) {
    case InlineKind:
        replacement = new InlineView(getContext());
        break;
    case BoxKind:
        replacement = new BoxView(getContext());
        break;
    case BlockKind:
        replacement = new BlockView(getContext());
        break;
    case IFrameKind:
        replacement = nestedFrameFactory ? nestedFrameFactory(getContext()) : nullptr;
        break;
    default:
        break;
    }
    if (!replacement)
        return nullptr;
    copyStyleMapsTo(*replacement);
    replacement->adoptChildren(*this);
    if (auto* parent = dynamic_cast<CompositeView*>(getParent())) {
        auto& siblings = parent->children_;
        *std::find(siblings.begin(), siblings.end(), this) = replacement;
        replacement->setParent(parent);
        delete this;
    }
    return replacement;
}

void CompositeView::moveBy(int dx, int dy) {
    if (dx == 0 && dy == 0)
        return;
    View::moveBy(dx, dy);
    for (View* child : children_)
        child->moveBy(dx, dy);
}

void CompositeView::layout(Layouter& layouter) {
    layoutChildViews(layouter);
}

void CompositeView::layoutChildViews(Layouter& layouter) {
    const bool noWrap = layouter.testFlag(Layouter::NoWrap);
    if (const StyleValue* own = findOwnProperty(PropertyId::NoWrap); own && own->boolValue())
        layouter.setFlag(Layouter::NoWrap, true);
    for (View* child : children_) {
        if (child->isDisplayed())
            child->layout(layouter);
    }
    layouter.setFlag(Layouter::NoWrap, noWrap);
}

void CompositeView::handleEvent(ViewEvent& event) {
    View::handleEvent(event);
    // A child may replace itself while handling the event (an overflow box becoming a frame),
    // so the walk goes by index.
    for (size_t i = 0; i < children_.size() && !event.handled; ++i)
        children_[i]->handleEvent(event);
}

void CompositeView::onPropertyChanged(View* view, PropertyId id, StyleState state) {
    // The descendants first: a font change must clear their measurements before the update
    // measures this view again.
    for (View* child : children_)
        child->onPropertyChanged(view, id, state);
    View::onPropertyChanged(view, id, state);
}

void CompositeView::handleMouse(MouseEvent& event) {
    if (!isVisible() || (isDisabled() && !isHovered()))
        return;
    if (!(event.flags & MouseEvent::NotToChildren))
        dispatchMouse(event);
    View::handleMouse(event);
}

void CompositeView::collectViews(std::vector<View*>& out, const std::function<bool(View&)>& match) {
    View::collectViews(out, match);
    for (View* child : children_)
        child->collectViews(out, match);
}

void CompositeView::invalidate() {
    for (View* child : children_)
        child->invalidate();
}

void CompositeView::appendChild(View* view) {
    if (!view)
        return;
    children_.push_back(view);
    view->setParent(this);
}

void CompositeView::adoptChildren(CompositeView& other) {
    for (View* child : other.children_)
        appendChild(child);
    other.children_.clear();
}

void CompositeView::insertChild(View* view, int index) {
    if (!view)
        return;
    const int at = std::clamp(index, 0, childCount());
    children_.insert(children_.begin() + at, view);
    view->setParent(this);
}

void CompositeView::removeAllChildren() {
    // Taken out first, so a child's destructor never sees a half-emptied list.
    std::vector<View*> children;
    children.swap(children_);
    for (View* child : children)
        delete child;
}

bool CompositeView::removeChild(View* view) {
    if (!view || view->getParent() != this)
        return false;
    const auto found = std::find(children_.begin(), children_.end(), view);
    if (found == children_.end())
        return false;
    children_.erase(found);
    delete view;
    return true;
}

void CompositeView::dispatchMouse(MouseEvent& event) {
    for (size_t i = 0; i < children_.size(); ++i)
        children_[i]->handleMouse(event);
}

void CompositeView::setText(const ZString& text) {
    if (children_.size() == 1 && children_[0]->getKind() == TextKind &&
        static_cast<TextView*>(children_[0])->getText().equals(text))
        return;
    removeAllChildren();
    if (!text.isEmpty())
        appendChild(new TextView(getContext(), text));
    requestUpdate();
    announce(AccessibleChange::Name);
}

void CompositeView::setMarkup(const ZString& markup) {
    HtmlView built(getContext());
    built.setContent(markup, nullptr);
    removeAllChildren();
    adoptChildren(built);
    requestUpdate();
    announce(AccessibleChange::Structure);
}

void CompositeView::setShownByClass(const ZString& className, bool hide) {
    std::vector<View*> views;
    collectViewsByClass(views, className);
    for (View* view : views)
        view->setShown(!hide, false);
}

} // namespace xhtml
