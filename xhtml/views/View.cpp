#include "xhtml/views/View.h"

#include "xhtml/views/CompositeView.h"
#include "xhtml/views/StyleAnimation.h"
#include "xhtml/views/ViewContext.h"
#include "xhtml/views/ViewPlatform.h"

#include <algorithm>
#include <utility>

namespace xhtml {

namespace {

// Timers of all views of the process, in the order they were armed.
std::vector<std::pair<TimerTarget*, unsigned>>& timerRegistry() {
    static std::vector<std::pair<TimerTarget*, unsigned>> registry;
    return registry;
}

bool isWordOf(const ZString& list, const ZString& name) {
    std::vector<ZString> words;
    split(words, list, u" ", false, false);
    return std::any_of(words.begin(), words.end(),
                       [&](const ZString& word) { return word.equals(name); });
}

} // namespace

void dispatchViewTimer(unsigned id) {
    for (const auto& [target, timer] : timerRegistry()) {
        if (timer == id) {
            target->onTimer(id);
            return;
        }
    }
}

int integerOf(const StyleValue& value) {
    switch (value.kind()) {
    case StyleValue::Kind::String:
        return value.stringValue().toInt();
    case StyleValue::Kind::Bool:
        return value.boolValue() ? 1 : 0;
    case StyleValue::Kind::Int:
        return value.intValue();
    case StyleValue::Kind::Double:
        return saturated(value.doubleValue());
    default:
        return 0;
    }
}

const char* viewKindName(ViewKind kind) {
    switch (kind) {
    case BreakKind:
        return "BreakView";
    case WordKind:
        return "WordView";
    case ImageKind:
        return "ImageView";
    case CompositeKind:
        return "CompositeView";
    case InlineKind:
        return "InlineView";
    case TextKind:
        return "TextView";
    case ParagraphKind:
        return "ParagraphView";
    case CenterKind:
        return "CenterView";
    case BoxKind:
        return "BoxView";
    case HRKind:
        return "HRView";
    case BlockKind:
        return "BlockView";
    case LinkKind:
        return "LinkView";
    case ControlKind:
        return "ControlView";
    case ButtonKind:
        return "ButtonView";
    case TableKind:
        return "TableView";
    case CellKind:
        return "CellView";
    case RowKind:
        return "RowView";
    case CheckKind:
        return "CheckView";
    case TextAreaKind:
        return "TextAreaView";
    case EditKind:
        return "EditView";
    case RadioKind:
        return "RadioView";
    case SelectKind:
        return "SelectView";
    case ObjectKind:
        return "ObjectView";
    case FrameKind:
        return "FrameView";
    case IFrameKind:
        return "IFrameView";
    case FileChooseKind:
        return "FileChooseView";
    case HiddenInputKind:
        return "HiddenInputView";
    case BodyKind:
        return "BodyView";
    }
    return "View";
}

View::View(ViewContext* context) : context_(context) {
    static int32_t last = 0;
    serial_ = last = last == INT32_MAX ? 1 : last + 1;
}

View::~View() {
    if (hasFocus() && context_)
        context_->setFocus(nullptr);
    animation_.reset();
    auto& registry = timerRegistry();
    for (size_t i = registry.size(); i-- > 0;) {
        if (registry[i].first == this) {
            viewPlatform().killTimer(registry[i].second);
            registry.erase(registry.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
}

void View::onTimer(unsigned id) {
    if (animation_ && animation_->pendingTimer() == id)
        animation_->onTimer(id);
}

View* View::convertTo(ViewKind) {
    return nullptr;
}

View* View::getRootView() {
    View* view = this;
    while (view->parent_)
        view = view->parent_;
    return view;
}

View* View::getFrame(bool outermostOnly) {
    for (View* view = this; view; view = view->parent_) {
        if (view->kind_ == FrameKind || (!outermostOnly && view->kind_ == IFrameKind))
            return view;
    }
    return nullptr;
}

void View::moveTo(int x, int y) {
    rect_ = Rect::at({x, y}, getSize());
}

void View::setSize(int width, int height) {
    rect_.right = addSaturated(rect_.left, width);
    rect_.bottom = addSaturated(rect_.top, height);
}

void View::moveBy(int dx, int dy) {
    if (dx != 0 || dy != 0)
        rect_ = rect_.movedBy(dx, dy);
}

bool View::hitTest(Point point) const {
    return rect_.contains(point);
}

bool View::isDisplayed() const {
    return getOwnInteger(PropertyId::Display, 1) != 0;
}

void View::layout(Layouter&) {}

void View::handleEvent(ViewEvent& event) {
    if (event.type != ViewEvent::LayoutFinished || !findInStyleMap(PropertyId::Title, Normal))
        return;
    if (View* frame = getFrame(false))
        frame->registerTooltip(this);
}

void View::setShown(bool show, bool byVisibility) {
    if (show) {
        changeProperty(PropertyId::Display, StyleValue::integer(1));
        changeProperty(PropertyId::Visibility, StyleValue::integer(1));
    } else if (byVisibility) {
        changeProperty(PropertyId::Visibility, StyleValue::integer(0));
    } else {
        changeProperty(PropertyId::Display, StyleValue::integer(0));
    }
}

bool View::isVisible() const {
    return getOwnInteger(PropertyId::Visibility, 1) != 0 && isDisplayed();
}

bool View::isVisibleInTree() const {
    for (const View* view = this; view; view = view->parent_) {
        if (!view->isVisible())
            return false;
    }
    return true;
}

bool View::isDisplayNone() const {
    return !isDisplayed();
}

StyleState View::getState() const {
    if (flags_ & LeftPressed)
        return LeftDown;
    if (flags_ & RightPressed)
        return RightDown;
    return (flags_ & Hovered) ? Hover : Normal;
}

const StyleMaps::Map* View::getStyleMap(StyleState state) const {
    return maps_.map(stateOf(state));
}

void View::onPropertyChanged(View* view, PropertyId id, StyleState) {
    if (view != this)
        return;
    if (id == PropertyId::Display || id == PropertyId::Visibility)
        announce(AccessibleChange::Structure);
    // Showing or hiding a view changes its parent's flow, which a local relayout of the view
    // itself would never see.
    if (id == PropertyId::Display && parent_)
        parent_->requestUpdate();
    else
        requestUpdate();
}

void View::setProperty(PropertyId id, const StyleValue& value, StyleState state) {
    maps_.set(id, value, stateOf(state));
}

bool View::getOwnProperty(PropertyId id, StyleValue& out, StyleState state) const {
    const StyleValue* value = findOwnProperty(id, state);
    if (value)
        out = *value;
    return value != nullptr;
}

int View::getOwnInteger(PropertyId id, int fallback) const {
    const StyleValue* value = findOwnProperty(id);
    return value ? integerOf(*value) : fallback;
}

const StyleValue* View::findOwnProperty(PropertyId id, StyleState state) const {
    return maps_.findWithFallback(id, stateOf(state));
}

bool View::hasOwnProperty(PropertyId id, StyleState state) const {
    return findOwnProperty(id, state) != nullptr;
}

bool View::hasProperty(PropertyId id, StyleState state) const {
    return findProperty(id, state) != nullptr;
}

bool View::getProperty(PropertyId id, StyleValue& out, StyleState state) const {
    const StyleValue* value = findProperty(id, state);
    if (value)
        out = *value;
    return value != nullptr;
}

const StyleValue* View::findProperty(PropertyId id, StyleState state) const {
    for (const View* view = this; view; view = view->parent_) {
        if (const StyleValue* value = view->findOwnProperty(id, state))
            return value;
    }
    return nullptr;
}

const StyleValue* View::findInStyleMap(PropertyId id, StyleState state) const {
    return maps_.find(id, stateOf(state));
}

void View::changeProperty(PropertyId id, const StyleValue& value, StyleState state) {
    state = stateOf(state);
    const StyleValue* stored = maps_.find(id, state);
    if (stored ? *stored == value : value.isEmpty())
        return;
    maps_.set(id, value, state);
    onPropertyChanged(this, id, state);
}

void View::copyProperties(const PropertyId* ids, int count, View& target, StyleState state) const {
    for (int i = 0; i < count; ++i) {
        if (const StyleValue* value = findOwnProperty(ids[i], state))
            target.setProperty(ids[i], *value, state);
    }
}

void View::removeProperty(PropertyId id, StyleState state) {
    maps_.set(id, StyleValue(), stateOf(state));
}

ZString View::getId() const {
    const StyleValue* id = findInStyleMap(PropertyId::Id, Normal);
    return id ? id->stringValue() : ZString();
}

bool View::isDisabled() const {
    const StyleValue* disabled = findInStyleMap(PropertyId::Disabled, Normal);
    return disabled && disabled->boolValue();
}

void View::setDisabled(bool disabled, double opacity) {
    changeProperty(PropertyId::Disabled, StyleValue::boolean(disabled));
    changeProperty(PropertyId::Opacity, StyleValue::number(opacity));
}

void View::onMouseMove(const MouseEvent&) {}

void View::onMouseEnter() {
    if (!maps_.map(Hover)->empty())
        requestUpdate();
}

void View::onMouseLeave() {
    if (!maps_.map(Hover)->empty())
        requestUpdate();
}

void View::notifyButton(bool left, bool down) {
    if (!maps_.map(left ? LeftDown : RightDown)->empty())
        requestUpdate();
    if (!context_)
        return;
    if (left)
        down ? context_->onLeftButtonDown(this) : context_->onLeftButtonUp(this);
    else
        down ? context_->onRightButtonDown(this) : context_->onRightButtonUp(this);
}

void View::onLeftButtonDown() {
    notifyButton(true, true);
}

void View::onLeftButtonUp() {
    notifyButton(true, false);
}

void View::onRightButtonDown() {
    notifyButton(false, true);
}

void View::onRightButtonUp() {
    notifyButton(false, false);
}

void View::leave() {
    flags_ &= ~(Hovered | LeftPressed | RightPressed);
    onMouseLeave();
}

void View::pressByKey() {
    flags_ |= LeftPressed;
    onLeftButtonDown();
    invalidate();
}

void View::releaseByKey(bool click) {
    if (!(flags_ & LeftPressed))
        return;
    flags_ &= ~LeftPressed;
    if (click) {
        flags_ |= LeftClick;
        onLeftButtonUp();
        flags_ &= ~LeftClick;
    }
    invalidate();
}

void View::handleMouse(MouseEvent& event) {
    if (!isVisible() || (isDisabled() && !isHovered()))
        return;
    if (event.flags & MouseEvent::LeftWindow) {
        if (isHovered())
            leave();
        return;
    }
    if (!hitTest(event.point)) {
        if (isHovered())
            leave();
        return;
    }
    if (const StyleValue* cursor = findOwnProperty(PropertyId::Cursor); cursor && context_)
        context_->setCursor(integerOf(*cursor));
    if (!isHovered()) {
        // The first record over a view only enters it.
        flags_ |= Hovered;
        onMouseEnter();
        return;
    }
    if (event.flags & MouseEvent::LeftDown) {
        flags_ |= LeftPressed;
        onLeftButtonDown();
    } else if (event.flags & MouseEvent::LeftUp) {
        if (flags_ & LeftPressed)
            flags_ = (flags_ & ~LeftPressed) | LeftClick;
        onLeftButtonUp();
        flags_ &= ~LeftClick;
    } else if (event.flags & MouseEvent::RightDown) {
        flags_ |= RightPressed;
        onRightButtonDown();
    } else if (event.flags & MouseEvent::RightUp) {
        if (flags_ & RightPressed)
            flags_ = (flags_ & ~RightPressed) | RightClick;
        onRightButtonUp();
        flags_ &= ~RightClick;
    } else {
        onMouseMove(event);
    }
}

bool View::hasClass(const ZString& name) const {
    const StyleValue* list = findOwnProperty(PropertyId::Class);
    return list && isWordOf(list->stringValue(), name);
}

bool View::hasHideId(const ZString& name) const {
    const StyleValue* list = findOwnProperty(PropertyId::HideId);
    return list && isWordOf(list->stringValue(), name);
}

void View::collectViews(std::vector<View*>& out, const std::function<bool(View&)>& match) {
    if (match(*this))
        out.push_back(this);
}

namespace {

View* firstOf(View& root, const std::function<bool(View&)>& match) {
    std::vector<View*> found;
    root.collectViews(found, match);
    return found.empty() ? nullptr : found.front();
}

// The own property equals the value; the value is made once, not once per view.
std::function<bool(View&)> hasValue(PropertyId id, StyleValue wanted) {
    return [id, wanted = std::move(wanted)](View& view) {
        const StyleValue* own = view.findOwnProperty(id);
        return own && *own == wanted;
    };
}

} // namespace

View* View::getViewById(const ZString& id) {
    return firstOf(*this, hasValue(PropertyId::Id, StyleValue::string(id)));
}

void View::collectViewsById(std::vector<View*>& out, const ZString& id) {
    collectViews(out, hasValue(PropertyId::Id, StyleValue::string(id)));
}

View* View::getViewByName(const ZString& name) {
    return firstOf(*this, hasValue(PropertyId::Name, StyleValue::string(name)));
}

void View::collectViewsByName(std::vector<View*>& out, const ZString& name) {
    collectViews(out, hasValue(PropertyId::Name, StyleValue::string(name)));
}

View* View::getViewByClass(const ZString& name) {
    return firstOf(*this, [&](View& view) { return view.hasClass(name); });
}

void View::collectViewsByClass(std::vector<View*>& out, const ZString& name) {
    collectViews(out, [&](View& view) { return view.hasClass(name); });
}

View* View::getViewByHideId(const ZString& name) {
    return firstOf(*this, [&](View& view) { return view.hasHideId(name); });
}

void View::collectViewsByHideId(std::vector<View*>& out, const ZString& name) {
    collectViews(out, [&](View& view) { return view.hasHideId(name); });
}

void View::collectViewsByKind(std::vector<View*>& out, ViewKind kind) {
    collectViews(out, [kind](View& view) { return view.getKind() == kind; });
}

void View::collectViewsWithValue(std::vector<View*>& out, PropertyId id, const StyleValue& value) {
    collectViews(out, hasValue(id, value));
}

void View::collectViewsWithProperty(std::vector<View*>& out, PropertyId id,
                                    const StyleValue* valueOrNull) {
    collectViews(out, [&](View& view) {
        const StyleValue* own = view.findOwnProperty(id);
        return own && (!valueOrNull || *own == *valueOrNull);
    });
}

void View::invalidate() {
    if (View* frame = getFrame(false))
        frame->invalidateRect(rect_);
}

void View::announce(AccessibleChange change) {
    if (View* frame = getFrame(false))
        frame->accessibleChange(change, *this);
}

void View::requestUpdate() {
    if (parent_)
        parent_->requestUpdate();
}

unsigned View::setTimer(int milliseconds, unsigned id) {
    auto& registry = timerRegistry();
    const auto mine = [&](const auto& entry) { return entry.first == this && entry.second == id; };
    if (id != 0 && std::any_of(registry.begin(), registry.end(), mine))
        return viewPlatform().setTimer(id, milliseconds);
    const unsigned timer = viewPlatform().setTimer(0, milliseconds);
    if (timer != 0)
        registry.emplace_back(this, timer);
    return timer;
}

void View::killTimer(unsigned id) {
    auto& registry = timerRegistry();
    const auto entry =
        std::find(registry.begin(), registry.end(), std::pair<TimerTarget*, unsigned>(this, id));
    if (entry == registry.end())
        return;
    viewPlatform().killTimer(id);
    registry.erase(entry);
}

void View::setAnimation(StyleAnimation* animation) {
    animation_.reset(animation);
    if (animation)
        animation->start(this);
}

void View::destroy() {
    if (!parent_)
        delete this;
    else if (auto* composite = dynamic_cast<CompositeView*>(parent_))
        composite->removeChild(this);
}

} // namespace xhtml
