#include "xhtml/views/Layouter.h"

#include "xhtml/views/View.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace xhtml {

Layouter::Layouter(const Rect& area, Mode mode)
    : area_(area), x_(area.left), y_(area.top), mode_(mode) {}

int Layouter::setTextAlign(int value) {
    return std::exchange(textAlign_, value);
}

int Layouter::setContentAlign(int value) {
    return std::exchange(contentAlign_, value);
}

int Layouter::setItemAlign(int value) {
    return std::exchange(itemAlign_, value);
}

int Layouter::setLineSpacing(int value) {
    return std::exchange(lineSpacing_, std::max(value, 0));
}

bool Layouter::setFlag(int mask, bool on) {
    const bool before = testFlag(mask);
    flags_ = on ? flags_ | mask : flags_ & ~mask;
    return before;
}

void Layouter::endLine() {
    flushPending();
    if (x_ != area_.left)
        lineBreak(0);
}

void Layouter::lineBreak(int minHeight) {
    flushPending();
    newLine(minHeight);
}

bool Layouter::hasContent() const {
    return x_ != area_.left || !pending_.empty();
}

bool Layouter::pendingFits() const {
    return addSaturated(x_, pendingWidth_) < area_.right || x_ <= area_.left;
}

void Layouter::addPending(View* view, Size size) {
    pending_.push_back({view, size.width, size.height, itemAlign_});
    pendingWidth_ = addSaturated(pendingWidth_, size.width);
}

void Layouter::addView(View* view) {
    const Size size = view->getSize();
    const bool space = view->isSpace();
    bool keep = !space || hasContent();
    if (keep && testFlag(NoWrap)) {
        addPending(view, size);
    } else if (keep) {
        flushPending();
        // A space never starts a line and never overflows one.
        if (space && !hasContent()) {
            keep = false;
        } else if (space && addSaturated(x_, size.width) >= area_.right) {
            newLine(0);
            keep = false;
        }
        if (keep) {
            addPending(view, size);
            flushPending();
        }
    }
    parkView(view, !keep);
}

void NormalLayouter::parkView(View* view, bool dropped) {
    if (dropped)
        view->setSize(0, 0);
    const Size size = view->getSize();
    // A size can be INT_MIN, whose negation does not exist.
    view->moveTo(subtractSaturated(0, size.width), subtractSaturated(0, size.height));
}

void NormalLayouter::flushPending() {
    if (pending_.empty())
        return;
    if (!pendingFits())
        newLine(0);
    for (const Item& item : pending_) {
        const Rect rect = Rect::at({x_, y_}, {item.width, item.height});
        placed_.push_back({item.view, rect, item.align});
        x_ = rect.right;
    }
    pending_.clear();
    pendingWidth_ = 0;
}

void NormalLayouter::newLine(int minHeight) {
    const auto line = placed_.begin() + static_cast<std::ptrdiff_t>(lineStart_);
    const int count = placedInLine();
    int lineHeight = 0;
    long long lineWidth = 0;
    for (auto item = line; item != placed_.end(); ++item) {
        lineHeight = std::max(lineHeight, item->rect.height());
        lineWidth += item->rect.width();
    }
    y_ = addSaturated(addSaturated(y_, std::max(lineHeight, minHeight)), lineSpacing_);
    x_ = area_.left;
    if (count >= 2 && itemAlign_ != 1) {
        for (auto item = line; item != placed_.end(); ++item) {
            const int d = subtractSaturated(lineHeight, item->rect.height());
            if (d != 0 && (item->align == 2 || item->align == 3))
                item->rect = item->rect.movedBy(0, item->align == 2 ? d / 2 : d);
        }
    }
    if (textAlign_ != 1 && count > 0 && lineWidth < getWidth()) {
        const int extra = saturated(getWidth() - lineWidth);
        const int shift = textAlign_ == 2 ? extra / 2 : extra;
        for (auto item = line; item != placed_.end(); ++item)
            item->rect = item->rect.movedBy(shift, 0);
    }
    lineStart_ = placed_.size();
}

void NormalLayouter::finish() {
    endLine();
    if (!placed_.empty() && y_ < area_.bottom) {
        const int room = subtractSaturated(area_.bottom, y_);
        const int shift = contentAlign_ == 3 ? room : contentAlign_ == 2 ? room / 2 : 0;
        for (Placed& item : placed_)
            item.rect = item.rect.movedBy(0, shift);
    }
    for (const Placed& item : placed_)
        item.view->moveTo(item.rect.left, item.rect.top);
}

Rect NormalLayouter::getBounds() const {
    // The bounds reach down to the pen, as measuring's do: a line that a break ends without
    // items (and the spacing below the last line) takes room in both.
    Rect bounds{area_.left, area_.top, area_.left, std::max(area_.top, y_)};
    if (placed_.empty())
        return bounds;
    bounds = {INT_MAX, INT_MAX, INT_MIN, bounds.bottom};
    for (const Placed& item : placed_) {
        bounds.left = std::min(bounds.left, item.rect.left);
        bounds.top = std::min(bounds.top, item.rect.top);
        bounds.right = std::max(bounds.right, item.rect.right);
        bounds.bottom = std::max(bounds.bottom, item.rect.bottom);
    }
    return bounds;
}

void CalcSizeLayouter::flushPending() {
    if (pending_.empty())
        return;
    if (!pendingFits())
        newLine(0);
    for (const Item& item : pending_) {
        x_ = addSaturated(x_, item.width);
        lineHeight_ = std::max(lineHeight_, item.height);
    }
    pending_.clear();
    pendingWidth_ = 0;
}

void CalcSizeLayouter::newLine(int minHeight) {
    const int lineWidth = subtractSaturated(x_, area_.left);
    x_ = area_.left;
    y_ = addSaturated(addSaturated(y_, std::max(lineHeight_, minHeight)), lineSpacing_);
    maxLineWidth_ = std::max(maxLineWidth_, lineWidth);
    lineHeight_ = 0;
}

Rect CalcSizeLayouter::getBounds() const {
    return {area_.left, area_.top, addSaturated(area_.left, maxLineWidth_), y_};
}

} // namespace xhtml
