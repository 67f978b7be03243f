#pragma once

#include "base/ZString.h"
#include "xhtml/document/IStyleTarget.h"
#include "xhtml/document/StyleMaps.h"
#include "xhtml/views/Geometry.h"
#include "xhtml/views/ViewEvent.h"

#include <functional>
#include <memory>
#include <vector>

namespace xhtml {

class Layouter;
class StyleAnimation;
class ViewContext;
struct Font;

// Receives the view timers of the process-wide registry.
class TimerTarget {
public:
    virtual ~TimerTarget() = default;
    virtual void onTimer(unsigned id) = 0;
};

// What a screen reader must be told of a view: it took the focus, its state (checked) or its name
// (a caption, a text) changed, or parts of the page appeared or went.
enum class AccessibleChange { Focus, State, Name, Structure };

// Called by the platform's timer with the id it fired: finds the first registered target of that
// id and hands it the timer.
void dispatchViewTimer(unsigned id);

// The base of every element of a rendered page: per-state style maps, a rectangle in document
// coordinates, the interaction flags and the lookups page code uses. Views own their children,
// never their parent or their context.
class View : public TimerTarget, public IStyleTarget {
public:
    enum Flags : uint32_t {
        Hovered = 1,
        LeftPressed = 2,
        RightPressed = 4,
        // Set only while onLeftButtonUp runs for a press that began on this view.
        LeftClick = 8,
        RightClick = 16,
        // Set by the document while the view has its keyboard focus.
        Focused = 32,
    };

    explicit View(ViewContext* context);
    View(const View&) = delete;
    View& operator=(const View&) = delete;
    ~View() override;

    void onTimer(unsigned id) override;

    // A replacement view of another class in this view's place; null when this view cannot
    // become one.
    virtual View* convertTo(ViewKind kind);
    // The font of the current state, from the process-wide cache.
    const Font& getFont() const;
    View* getRootView();
    // Nearest ancestor-or-self that is a frame; a nested frame stops the walk unless only the
    // outermost is wanted.
    View* getFrame(bool outermostOnly);
    virtual bool isContainer() const { return false; }
    virtual bool isSpace() const { return false; }
    // Takes the keyboard focus: a click gives it, Tab stops at it.
    virtual bool isFocusable() const { return false; }
    // Hooks of views that host native controls; handles are the platform's, passed through.
    virtual bool ownsWindow(const void* /*window*/) const { return false; }
    virtual bool allowsTooltip() const { return true; }
    virtual void onCommand(const void* /*window*/, int /*code*/) {}
    virtual void onNotify(const void* /*window*/, const void* /*header*/) {}

    virtual void moveTo(int x, int y);
    void setSize(int width, int height);
    void setSize(Size size) { setSize(size.width, size.height); }
    virtual void moveBy(int dx, int dy);
    virtual bool hitTest(Point point) const;
    bool intersects(const Rect& r) const { return rect_.meets(r); }
    const Rect& getRect() const { return rect_; }
    Size getSize() const { return rect_.size(); }
    Point getPosition() const { return {rect_.left, rect_.top}; }

    bool isDisplayed() const;
    virtual void layout(Layouter& layouter);
    virtual void handleEvent(ViewEvent& event);

    void setShown(bool show, bool byVisibility);
    void setHidden(bool hide) { setShown(!hide, false); }
    bool isVisible() const;
    bool isVisibleInTree() const;
    bool isDisplayNone() const;
    virtual StyleState getState() const;
    const StyleMaps::Map* getStyleMap(StyleState state) const;

    virtual void onPropertyChanged(View* view, PropertyId id, StyleState state);
    // Stores without notification; an empty value erases.
    void setProperty(PropertyId id, const StyleValue& value, StyleState state = Normal) override;
    bool getOwnProperty(PropertyId id, StyleValue& out, StyleState state = Current) const;
    // The own property of the current state as an integer, or the fallback when it is unset.
    int getOwnInteger(PropertyId id, int fallback) const;
    // The state's map, falling back to Normal; never the ancestors.
    const StyleValue* findOwnProperty(PropertyId id, StyleState state = Current) const;
    bool hasOwnProperty(PropertyId id, StyleState state = Current) const;
    bool hasProperty(PropertyId id, StyleState state = Current) const;
    // With inheritance: own, else each ancestor's for the same state argument.
    bool getProperty(PropertyId id, StyleValue& out, StyleState state = Current) const override;
    const StyleValue* findProperty(PropertyId id, StyleState state = Current) const;
    const StyleValue* findInStyleMap(PropertyId id, StyleState state) const override;
    // Stores and notifies, unless nothing changes.
    void changeProperty(PropertyId id, const StyleValue& value, StyleState state = Normal);
    void copyProperties(const PropertyId* ids, int count, View& target, StyleState state) const;
    void removeProperty(PropertyId id, StyleState state = Normal);
    ZString getId() const;
    bool isDisabled() const;
    void setDisabled(bool disabled, double opacity);

    virtual void onMouseMove(const MouseEvent& event);
    virtual void onMouseEnter();
    virtual void onMouseLeave();
    virtual void onLeftButtonDown();
    virtual void onLeftButtonUp();
    virtual void onRightButtonDown();
    virtual void onRightButtonUp();
    virtual void handleMouse(MouseEvent& event);
    bool isHovered() const { return (flags_ & Hovered) != 0; }
    uint32_t getFlags() const { return flags_; }
    // The keyboard's press and release of the view, as the left button's: a release after a
    // press is a click, with the notifications of one; without `click` the press is dropped.
    void pressByKey();
    void releaseByKey(bool click);
    bool hasFocus() const { return (flags_ & Focused) != 0; }
    // For the document, whose focus a view that goes away takes with it.
    void setFocused(bool focused) { flags_ = focused ? flags_ | Focused : flags_ & ~Focused; }

    bool hasClass(const ZString& name) const;
    bool hasHideId(const ZString& name) const;
    View* getViewById(const ZString& id);
    void collectViewsById(std::vector<View*>& out, const ZString& id);
    View* getViewByName(const ZString& name);
    void collectViewsByName(std::vector<View*>& out, const ZString& name);
    View* getViewByClass(const ZString& name);
    void collectViewsByClass(std::vector<View*>& out, const ZString& name);
    View* getViewByHideId(const ZString& name);
    void collectViewsByHideId(std::vector<View*>& out, const ZString& name);
    void collectViewsByKind(std::vector<View*>& out, ViewKind kind);
    void collectViewsWithValue(std::vector<View*>& out, PropertyId id, const StyleValue& value);
    void collectViewsWithProperty(std::vector<View*>& out, PropertyId id,
                                  const StyleValue* valueOrNull);
    // Pre-order over this view and its descendants.
    virtual void collectViews(std::vector<View*>& out, const std::function<bool(View&)>& match);

    // Asks the frame to repaint this view's rectangle.
    virtual void invalidate();
    virtual void requestUpdate();

    unsigned setTimer(int milliseconds, unsigned id);
    void killTimer(unsigned id);
    void setAnimation(StyleAnimation* animation);
    // Removes this view from its parent, which deletes it; a root deletes itself.
    void destroy();

    // What a frame offers the views below it; a plain view offers nothing.
    virtual void invalidateRect(const Rect&) {}
    virtual void registerTooltip(View*) {}
    virtual Point getScrollPosition() const { return {}; }
    virtual Rect getClientRect() const { return {}; }
    // A record of the frame's own window that a hosted control saw, in document coordinates.
    virtual void handleWindowMouse(MouseEvent& event) { handleMouse(event); }
    virtual void accessibleChange(AccessibleChange, View&) {}
    // Tells the frame above, if any, for the screen reader.
    void announce(AccessibleChange change);
    // A screen reader's name for the view: never 0, and given to no other view of the process
    // until two billion more views have been made.
    int32_t serial() const { return serial_; }

    ViewKind getKind() const { return kind_; }
    View* getParent() const { return parent_; }
    void setParent(View* parent) { parent_ = parent; }
    ViewContext* getContext() const { return context_; }

protected:
    void setKind(ViewKind kind) { kind_ = kind; }
    // For a view that learns of the pointer from elsewhere than its parent's records.
    void setHovered(bool hovered) { flags_ = hovered ? flags_ | Hovered : flags_ & ~Hovered; }
    // Copies the style maps into a replacement of this view.
    void copyStyleMapsTo(View& target) const { target.maps_ = maps_; }
    Rect rect_;

private:
    // The query value Current stands for the view's state.
    StyleState stateOf(StyleState state) const { return state == Current ? getState() : state; }
    void leave();
    void notifyButton(bool left, bool down);

    StyleMaps maps_;
    ViewContext* context_;
    ViewKind kind_ = static_cast<ViewKind>(0);
    View* parent_ = nullptr;
    uint32_t flags_ = 0;
    int32_t serial_;
    std::unique_ptr<StyleAnimation> animation_;
};

// The integer a property holds as a view reads it: a string is parsed, a bool is 0 or 1, a
// double is truncated (and clamped).
int integerOf(const StyleValue& value);

// The class name of the kind ("BlockView"); both the document and the block view are kind 12.
const char* viewKindName(ViewKind kind);

} // namespace xhtml
