#include "xhtml/views/BoxView.h"

#include "xhtml/views/Dpi.h"

#include <algorithm>
#include <climits>

namespace xhtml {

namespace {

enum Position { Static = 0, Relative = 1, Fixed = 2, Absolute = 3 };

PropertyId side(PropertyId first, int offset) {
    return static_cast<PropertyId>(static_cast<int>(first) + offset);
}

} // namespace

int resolvedLength(const StyleValue& value, int available) {
    const double number = value.toDouble();
    return value.hasFlag(StyleValue::kPercent) ? saturated(number * available / 100)
                                               : saturated(number * dpiFactor());
}

BoxView::BoxView(ViewContext* context) : CompositeView(context) {
    setKind(BoxKind);
    setProperty(PropertyId::BoxMarker, StyleValue::boolean(true));
}

bool BoxView::carriesBoxMarker() const {
    return findInStyleMap(PropertyId::BoxMarker, Normal) != nullptr;
}

void BoxView::moveBy(int dx, int dy) {
    if (dx == 0 && dy == 0)
        return;
    CompositeView::moveBy(dx, dy);
    // The caches describe the children, which moved along.
    if (lastLayoutRect_)
        lastLayoutRect_ = lastLayoutRect_->movedBy(dx, dy);
    if (lastBounds_)
        lastBounds_ = lastBounds_->movedBy(dx, dy);
    if (lastFlowContent_)
        lastFlowContent_ = lastFlowContent_->movedBy(dx, dy);
}

void BoxView::moveTo(int x, int y) {
    if (x != rect_.left || y != rect_.top)
        moveBy(subtractSaturated(x, rect_.left), subtractSaturated(y, rect_.top));
    relativeApplied_ = false;
}

bool BoxView::hitTest(Point point) const {
    return getBorderBox().contains(point);
}

void BoxView::handleMouse(MouseEvent& event) {
    if (!rect_.contains(event.point) && !isHovered())
        return;
    CompositeView::handleMouse(event);
}

void BoxView::layout(Layouter& layouter) {
    layoutInFlow(layouter, 0, 0);
}

void BoxView::handleEvent(ViewEvent& event) {
    if (event.type == ViewEvent::ContentChanged) {
        // auto, scroll or hidden make a scrolling frame; visible does not.
        const auto scrolls = [this](PropertyId id) {
            const int code = getOwnInteger(id, 0);
            return code == 1 || code == 2 || code == 4;
        };
        if (scrolls(PropertyId::OverflowX) || scrolls(PropertyId::OverflowY)) {
            // The replacement deletes this box; nothing of it may be touched afterwards.
            if (View* frame = convertTo(IFrameKind)) {
                frame->handleEvent(event);
                return;
            }
        }
    } else if (event.type == ViewEvent::LayoutFinished) {
        laidOut_ = true;
        applyPosition();
    } else if (event.type == ViewEvent::Scrolled) {
        applyPosition();
    }
    CompositeView::handleEvent(event);
}

void BoxView::invalidate() {
    View::invalidate();
}

void BoxView::requestUpdate() {
    // A box that was never laid out cannot relayout itself; its parent's flow has to.
    if (!laidOut_) {
        View::requestUpdate();
        return;
    }
    // The children go back into the area the flow gave them: where content made the box grow,
    // its content rectangle is larger, and percentages and alignment would resolve against it.
    const Rect area = lastLayoutRect_.value_or(getContentRect());
    invalidateLayoutCache();
    if (measureAt(getSize().width) != getSize()) {
        View::requestUpdate();
        return;
    }
    layoutChildren(area, Layouter::Place);
    ViewEvent finished{ViewEvent::LayoutFinished, this};
    handleEvent(finished);
    invalidate();
}

void BoxView::setContentSize(int width, int height) {
    setSize(outerSizeOf({width, height}));
}

Size BoxView::measure(int width) {
    return layoutChildren(contentRectOf({0, 0, width, 0}), Layouter::Measure).size();
}

Size BoxView::measureIn(int width, int height) {
    const Size resolved = resolveSize(width, height, 0, 0);
    const Size needed = outerSizeOf(measure(width));
    return {std::max(needed.width, resolved.width), std::max(needed.height, resolved.height)};
}

Size BoxView::innerSizeOf(Size outer) const {
    const Edges e = allEdges();
    return {subtractSaturated(outer.width, e.horizontal()),
            subtractSaturated(outer.height, e.vertical())};
}

Rect BoxView::contentRectOf(const Rect& outer) const {
    const Edges e = allEdges();
    return {addSaturated(outer.left, e.left), addSaturated(outer.top, e.top),
            subtractSaturated(outer.right, e.right), subtractSaturated(outer.bottom, e.bottom)};
}

Size BoxView::outerSizeOf(Size content) const {
    const Edges e = allEdges();
    return {addSaturated(content.width, e.horizontal()),
            addSaturated(content.height, e.vertical())};
}

Rect BoxView::outerRectOf(const Rect& content) const {
    const Edges e = allEdges();
    return {subtractSaturated(content.left, e.left), subtractSaturated(content.top, e.top),
            addSaturated(content.right, e.right), addSaturated(content.bottom, e.bottom)};
}

Size BoxView::resolveSize(int availWidth, int availHeight, int defaultWidth,
                          int defaultHeight) const {
    Size size{defaultWidth, defaultHeight};
    const int displayCode = getOwnInteger(PropertyId::Display, 1);
    if (displayCode == 2 || (getKind() == BlockKind && displayCode == 1))
        size.width = availWidth;
    if (const StyleValue* width = findOwnProperty(PropertyId::Width))
        size.width = resolvedLength(*width, availWidth);
    if (const StyleValue* height = findOwnProperty(PropertyId::Height))
        size.height = resolvedLength(*height, availHeight);
    if (const StyleValue* minWidth = findOwnProperty(PropertyId::MinWidth))
        size.width = std::max(size.width, resolvedLength(*minWidth, availWidth));
    if (const StyleValue* minHeight = findOwnProperty(PropertyId::MinHeight))
        size.height = std::max(size.height, resolvedLength(*minHeight, availHeight));
    return size;
}

void BoxView::layoutInFlow(Layouter& layouter, int defaultWidth, int defaultHeight) {
    const Size size =
        resolveSize(layouter.getWidth(), layouter.getHeight(), defaultWidth, defaultHeight);
    const Rect content = contentRectOf(Rect::at(getPosition(), size));
    const bool place = layouter.getMode() == Layouter::Place;
    Rect bounds;
    if (place && lastFlowContent_ == content && lastBounds_) {
        bounds = *lastBounds_;
    } else {
        bounds = layoutChildren(content, layouter.getMode());
        // A no-wrap line wider than the box keeps its own width. The height stays the box's:
        // the first pass's bounds are as tall as the narrow lines were, and content aligned in
        // them would sit where a relayout of the box never puts it. Children that need no width
        // gain nothing from a second pass, and neither do children at the edge of the int range,
        // where the wider box cannot be expressed: there the pass would differ from the first at
        // every layout and, level by level, double the work of nested boxes.
        const long long widenedRight = static_cast<long long>(content.left) + bounds.width();
        if (bounds.width() > std::max(content.width(), 0) && bounds.right < INT_MAX &&
            widenedRight < INT_MAX)
            bounds = layoutChildren(
                {content.left, content.top, static_cast<int>(widenedRight), content.bottom},
                layouter.getMode());
        if (place)
            lastFlowContent_ = content;
    }
    const Rect needed = outerRectOf(bounds);
    const auto clips = [this](PropertyId id) { return getOwnInteger(id, 0) != 0; };
    setSize(clips(PropertyId::OverflowX) ? size.width : std::max(size.width, needed.width()),
            clips(PropertyId::OverflowY) ? size.height : std::max(size.height, needed.height()));
    const int scheme = getOwnInteger(PropertyId::Position, Static);
    if (scheme != Fixed && scheme != Absolute)
        layouter.addView(this);
}

void BoxView::layoutAroundContent(Layouter& layouter, Size content) {
    const Size outer = outerSizeOf(content);
    layoutInFlow(layouter, outer.width, outer.height);
}

void BoxView::configure(Layouter& layouter) const {
    StyleValue value;
    if (getProperty(PropertyId::TextAlign, value))
        layouter.setTextAlign(integerOf(value));
    if (getOwnProperty(PropertyId::VerticalAlignLine, value))
        layouter.setItemAlign(integerOf(value));
    if (getOwnProperty(PropertyId::VerticalAlignContent, value))
        layouter.setContentAlign(integerOf(value));
    if (getOwnProperty(PropertyId::LineSpacing, value))
        layouter.setLineSpacing(scale(integerOf(value)));
}

Rect BoxView::layoutChildren(const Rect& content, Layouter::Mode mode) {
    if (mode == Layouter::Place && lastLayoutRect_ == content && lastBounds_)
        return *lastBounds_;
    if (childCount() == 0)
        return {content.left, content.top, content.left, content.top};
    const std::tuple<int, int, int> key{getState(), content.width(), content.height()};
    if (mode == Layouter::Measure) {
        if (const auto cached = measureCache_.find(key); cached != measureCache_.end())
            return Rect::at({content.left, content.top}, cached->second);
    }
    lastFlowContent_.reset();
    std::unique_ptr<Layouter> layouter;
    if (mode == Layouter::Place)
        layouter = std::make_unique<NormalLayouter>(content);
    else
        layouter = std::make_unique<CalcSizeLayouter>(content);
    configure(*layouter);
    layoutChildViews(*layouter);
    layouter->finish();
    const Rect bounds = layouter->getBounds();
    if (mode == Layouter::Place) {
        lastLayoutRect_ = content;
        lastBounds_ = bounds;
    } else {
        // Measuring resized the descendants: the next real layout has to visit them again.
        lastLayoutRect_.reset();
        lastBounds_.reset();
        measureCache_.emplace(key, bounds.size());
    }
    return bounds;
}

Rect BoxView::layoutInRect(const Rect& rect) {
    // The box moves first: the children are then placed where they stay.
    moveTo(rect.left, rect.top);
    const Rect needed = outerRectOf(layoutChildren(contentRectOf(rect), Layouter::Place));
    setSize(std::max(needed.width(), rect.width()), std::max(needed.height(), rect.height()));
    return needed;
}

Edges BoxView::edges(PropertyId shorthand, PropertyId firstSide) const {
    Edges result;
    int* const sides[] = {&result.left, &result.top, &result.right, &result.bottom};
    if (const StyleValue* all = findOwnProperty(shorthand)) {
        for (int* s : sides)
            *s = scale(integerOf(*all));
    }
    for (int i = 0; i < 4; ++i) {
        if (const StyleValue* value = findOwnProperty(side(firstSide, i)))
            *sides[i] = scale(integerOf(*value));
    }
    return result;
}

Edges BoxView::getBorderWidths() const {
    return edges(PropertyId::BorderWidth, PropertyId::BorderLeftWidth);
}

Edges BoxView::getMargins() const {
    return edges(PropertyId::Margin, PropertyId::MarginLeft);
}

Edges BoxView::getPaddings() const {
    return edges(PropertyId::Padding, PropertyId::PaddingLeft);
}

void BoxView::invalidateLayoutCache() {
    measureCache_.clear();
    lastLayoutRect_.reset();
    lastBounds_.reset();
    lastFlowContent_.reset();
    laidOut_ = false;
}

Rect BoxView::getBorderBox() const {
    const Edges m = getMargins();
    return {addSaturated(rect_.left, m.left), addSaturated(rect_.top, m.top),
            subtractSaturated(rect_.right, m.right), subtractSaturated(rect_.bottom, m.bottom)};
}

std::optional<int> BoxView::scaledLength(PropertyId id) const {
    const StyleValue* value = findOwnProperty(id);
    return value ? std::optional<int>(scale(integerOf(*value))) : std::nullopt;
}

void BoxView::applyPosition() {
    const int scheme = getOwnInteger(PropertyId::Position, Static);
    const auto left = scaledLength(PropertyId::Left);
    const auto top = scaledLength(PropertyId::Top);
    if (scheme == Relative) {
        if (!relativeApplied_) {
            moveBy(left.value_or(0), top.value_or(0));
            relativeApplied_ = true;
        }
        return;
    }
    if (scheme != Absolute && scheme != Fixed)
        return;
    Rect area;
    Point shift;
    if (scheme == Absolute) {
        View* container = getParent();
        while (container && container->getParent() &&
               container->getOwnInteger(PropertyId::Position, Static) == Static)
            container = container->getParent();
        const auto* box = dynamic_cast<const BoxView*>(container);
        if (!box || !box->carriesBoxMarker())
            return;
        area = box->getContentRect();
    } else {
        View* frame = getFrame(false);
        if (!frame)
            return;
        area = frame->getClientRect();
        shift = frame->getScrollPosition();
    }
    const Size size = getSize();
    int x = area.left;
    int y = area.top;
    if (const auto right = scaledLength(PropertyId::Right))
        x = saturated(static_cast<long long>(area.right) - size.width - *right);
    if (const auto bottom = scaledLength(PropertyId::Bottom))
        y = saturated(static_cast<long long>(area.bottom) - size.height - *bottom);
    if (left)
        x = addSaturated(x, *left);
    if (top)
        y = addSaturated(y, *top);
    moveTo(addSaturated(x, shift.x), addSaturated(y, shift.y));
}

} // namespace xhtml
