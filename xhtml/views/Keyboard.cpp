// The document's keyboard focus and the keys it acts on, as a dialog does (HtmlView).
#include "xhtml/views/FormViews.h"
#include "xhtml/views/HtmlView.h"
#include "xhtml/views/ViewContext.h"

#include <algorithm>

namespace xhtml {

namespace {

std::vector<View*> focusableViews(View& root) {
    std::vector<View*> views;
    root.collectViews(views, [](View& view) { return view.isFocusable(); });
    return views;
}

// The radios of the view's group, among the views, that can take the focus, in their order.
std::vector<View*> radioGroupOf(const View& radio, const std::vector<View*>& views) {
    const ZString name = static_cast<const RadioView&>(radio).getName();
    std::vector<View*> group;
    for (View* view : views) {
        if (view->getKind() == RadioKind && canTakeFocus(*view) &&
            static_cast<RadioView*>(view)->getName().equals(name))
            group.push_back(view);
    }
    return group;
}

// A radio group is one stop: its checked radio, else its first.
bool isTabStop(View& view, const std::vector<View*>& views) {
    if (!canTakeFocus(view))
        return false;
    if (view.getKind() != RadioKind)
        return true;
    const std::vector<View*> group = radioGroupOf(view, views);
    const auto checked = std::find_if(group.begin(), group.end(), [](View* radio) {
        return static_cast<RadioView*>(radio)->isChecked();
    });
    return (checked != group.end() ? *checked : group.front()) == &view;
}

bool isEditableTextArea(const View& view) {
    const StyleValue* readOnly = view.findInStyleMap(PropertyId::ReadOnly, Normal);
    return view.getKind() == TextAreaKind && !(readOnly && readOnly->boolValue());
}

void click(View& view) {
    view.pressByKey();
    view.releaseByKey(true);
}

} // namespace

bool canTakeFocus(const View& view) {
    return view.isFocusable() && view.isVisibleInTree() && !view.isDisabled();
}

Rect focusRingOf(const View& view) {
    Rect ring = view.getRect();
    if (const auto* box = dynamic_cast<const BoxView*>(&view)) {
        ring = box->getBorderBox();
    } else {
        // An inline group has no rectangle of its own.
        std::vector<View*> words;
        const_cast<View&>(view).collectViewsByKind(words, WordKind);
        for (size_t i = 0; i < words.size(); ++i) {
            const Rect& r = words[i]->getRect();
            ring = i == 0 ? r
                          : Rect{std::min(ring.left, r.left), std::min(ring.top, r.top),
                                 std::max(ring.right, r.right), std::max(ring.bottom, r.bottom)};
        }
    }
    return {addSaturated(ring.left, -1), addSaturated(ring.top, -1), addSaturated(ring.right, 1),
            addSaturated(ring.bottom, 1)};
}

View* HtmlView::focusedView() const {
    return getContext() ? getContext()->getFocus() : nullptr;
}

void HtmlView::setFocus(View* view) {
    View* old = focusedView();
    if (!getContext() || view == old || (view && !view->isFocusable()))
        return;
    // Each ring is repainted where it was and where it goes.
    const auto repaintRing = [](View& at) {
        if (View* frame = at.getFrame(false))
            frame->invalidateRect(focusRingOf(at));
    };
    if (old) {
        old->releaseByKey(false);
        old->setFocused(false);
        repaintRing(*old);
    }
    getContext()->setFocus(view);
    if (view) {
        view->setFocused(true);
        repaintRing(*view);
    }
    onFocusChanged(view);
}

View* HtmlView::nextFocusStop(bool backwards) {
    const std::vector<View*> views = focusableViews(*this);
    const auto count = static_cast<long long>(views.size());
    const auto focus = std::find(views.begin(), views.end(), focusedView());
    // Without a focus, forwards starts at the first view and backwards at the last.
    long long at = focus != views.end() ? focus - views.begin() : backwards ? count : -1;
    for (long long step = 1; step <= count; ++step) {
        View* view =
            views[static_cast<size_t>(((at + (backwards ? -step : step)) % count + count) % count)];
        if (isTabStop(*view, views))
            return view;
    }
    return nullptr;
}

View* HtmlView::namedButton(const ZString& id) {
    View* view = id.isEmpty() ? nullptr : getViewById(id);
    return view && view->getKind() == ButtonKind && canTakeFocus(*view) ? view : nullptr;
}

void HtmlView::moveInRadioGroup(View& radio, bool backwards) {
    const std::vector<View*> group = radioGroupOf(radio, focusableViews(*this));
    const auto at = std::find(group.begin(), group.end(), &radio) - group.begin();
    const auto count = static_cast<long long>(group.size());
    View* next = group[static_cast<size_t>(((at + (backwards ? -1 : 1)) % count + count) % count)];
    setFocus(next);
    // Checked as a click checks it, with the same notifications.
    click(*next);
}

bool HtmlView::handleKey(const KeyEvent& event) {
    View* focus = focusedView();
    if (focus && !canTakeFocus(*focus))
        focus = nullptr;
    const KeyEvent::Key key = event.key;
    const bool pressable =
        focus && (focus->getKind() == ButtonKind || focus->getKind() == CheckKind ||
                  focus->getKind() == RadioKind);
    if (key == KeyEvent::Space) {
        if (!pressable)
            return false;
        // The pressed look lasts while the key is down; the release is the click.
        if (event.down && !event.repeat)
            focus->pressByKey();
        else if (!event.down)
            focus->releaseByKey(true);
        return true;
    }
    if (!event.down)
        return false;
    switch (key) {
    case KeyEvent::Tab:
        if (View* next = nextFocusStop(event.shift))
            setFocus(next);
        return true;
    case KeyEvent::Enter:
        if (focus && isEditableTextArea(*focus))
            return false;
        // Held down, the key must not press the button again: a second press would cancel.
        if (event.repeat)
            return true;
        if (focus && (focus->getKind() == ButtonKind || focus->getKind() == LinkKind))
            click(*focus);
        else if (View* button = namedButton(defaultButton_))
            click(*button);
        return true;
    case KeyEvent::Escape:
        if (View* button = namedButton(cancelButton_)) {
            if (!event.repeat)
                click(*button);
            return true;
        }
        return false;
    default:
        if (!focus || focus->getKind() != RadioKind)
            return false;
        moveInRadioGroup(*focus, key == KeyEvent::Left || key == KeyEvent::Up);
        return true;
    }
}

void HtmlView::handleEvent(ViewEvent& event) {
    BlockView::handleEvent(event);
    if (event.type != ViewEvent::LayoutFinished || event.origin != this)
        return;
    if (View* focus = focusedView(); focus && canTakeFocus(*focus))
        return;
    if (View* button = namedButton(defaultButton_))
        setFocus(button);
}

} // namespace xhtml
