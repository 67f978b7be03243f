#include "xhtml/frame/FrameAccessible.h"

#include "xhtml/frame/FrameView.h"
#include "xhtml/views/AccessibleTree.h"

#include <algorithm>
#include <optional>

namespace xhtml {

static_assert(WindowRole == ROLE_SYSTEM_WINDOW && LinkRole == ROLE_SYSTEM_LINK &&
              GraphicRole == ROLE_SYSTEM_GRAPHIC && StaticTextRole == ROLE_SYSTEM_STATICTEXT &&
              PushButtonRole == ROLE_SYSTEM_PUSHBUTTON &&
              CheckButtonRole == ROLE_SYSTEM_CHECKBUTTON &&
              RadioButtonRole == ROLE_SYSTEM_RADIOBUTTON);
static_assert(UnavailableState == STATE_SYSTEM_UNAVAILABLE &&
              FocusedState == STATE_SYSTEM_FOCUSED && CheckedState == STATE_SYSTEM_CHECKED &&
              ReadOnlyState == STATE_SYSTEM_READONLY && FocusableState == STATE_SYSTEM_FOCUSABLE &&
              LinkedState == STATE_SYSTEM_LINKED);

namespace {

// The window of a native control or a nested frame.
HWND windowOf(HWND frameWindow, const AccessibleItem& item) {
    if (item.view->getKind() == IFrameKind)
        return static_cast<FrameView*>(item.view)->getWindow().getHandle();
    for (HWND child = GetWindow(frameWindow, GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (item.view->ownsWindow(child))
            return child;
    }
    return nullptr;
}

// A simple child by its id, a native control as its window's object; nothing for null.
HRESULT answerChild(HWND frameWindow, const AccessibleItem* item, VARIANT* out) {
    out->vt = VT_EMPTY;
    if (!item)
        return S_FALSE;
    if (item->role == WindowRole) {
        const HWND window = windowOf(frameWindow, *item);
        void* object = nullptr;
        if (window && SUCCEEDED(AccessibleObjectFromWindow(window, OBJID_WINDOW,
                                                           __uuidof(IDispatch), &object))) {
            out->vt = VT_DISPATCH;
            out->pdispVal = static_cast<IDispatch*>(object);
            return S_OK;
        }
    }
    out->vt = VT_I4;
    out->lVal = item->id;
    return S_OK;
}

HRESULT answerText(const ZString& text, BSTR* out) {
    if (text.isEmpty())
        return S_FALSE;
    *out = SysAllocStringLen(text.w_str(), static_cast<UINT>(text.length()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT answerNumber(long value, VARIANT* out) {
    out->vt = VT_I4;
    out->lVal = value;
    return S_OK;
}

} // namespace

// One question about the page as it is now.
class FrameAccessible::Call {
public:
    explicit Call(FrameView* frame) : frame_(frame) {
        if (frame)
            tree_.emplace(frame->accessibleTree());
    }
    // S_OK when there is somewhere to answer and the frame is still there.
    HRESULT check(const void* out) const {
        return !out ? E_POINTER : frame_ ? S_OK : CO_E_OBJNOTCONNECTED;
    }
    // As check, and the child id names the client itself (item() null) or one of its items.
    HRESULT resolve(const VARIANT& child, const void* out) {
        if (const HRESULT failed = check(out); failed != S_OK)
            return failed;
        if (child.vt != VT_I4)
            return E_INVALIDARG;
        if (child.lVal == CHILDID_SELF)
            return S_OK;
        item_ = tree_->find(child.lVal);
        return item_ ? S_OK : E_INVALIDARG;
    }
    const AccessibleItem* item() const { return item_; }
    const AccessibleTree& tree() const { return *tree_; }
    const std::vector<AccessibleItem>& items() const { return tree_->items(); }
    HWND window() const { return frame_->getWindow().getHandle(); }

private:
    FrameView* frame_;
    std::optional<AccessibleTree> tree_;
    const AccessibleItem* item_ = nullptr;
};

HRESULT FrameAccessible::QueryInterface(REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
        *object = static_cast<IAccessible*>(this);
    } else if (iid == __uuidof(IEnumVARIANT)) {
        *object = static_cast<IEnumVARIANT*>(this);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG FrameAccessible::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG FrameAccessible::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

HRESULT FrameAccessible::GetTypeInfoCount(UINT* count) {
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT FrameAccessible::get_accParent(IDispatch** parent) {
    if (!parent)
        return E_POINTER;
    *parent = nullptr;
    if (!frame_)
        return CO_E_OBJNOTCONNECTED;
    void* object = nullptr;
    const HRESULT result = AccessibleObjectFromWindow(frame_->getWindow().getHandle(), OBJID_WINDOW,
                                                      __uuidof(IDispatch), &object);
    *parent = static_cast<IDispatch*>(object);
    return result;
}

HRESULT FrameAccessible::get_accChildCount(long* count) {
    Call call(frame_);
    if (const HRESULT failed = call.check(count); failed != S_OK)
        return failed;
    *count = static_cast<long>(call.items().size());
    return S_OK;
}

HRESULT FrameAccessible::get_accChild(VARIANT child, IDispatch** object) {
    Call call(frame_);
    if (const HRESULT failed = call.resolve(child, object); failed != S_OK)
        return failed;
    *object = nullptr;
    if (!call.item())
        return E_INVALIDARG;
    VARIANT answer;
    answerChild(call.window(), call.item(), &answer);
    if (answer.vt != VT_DISPATCH)
        return S_FALSE;
    *object = answer.pdispVal;
    return S_OK;
}

HRESULT FrameAccessible::get_accName(VARIANT child, BSTR* name) {
    Call call(frame_);
    if (const HRESULT failed = call.resolve(child, name); failed != S_OK)
        return failed;
    *name = nullptr;
    return answerText(call.item() ? call.item()->name : frame_->getWindow().getText(), name);
}

HRESULT FrameAccessible::noText(const VARIANT& child, BSTR* text) {
    Call call(frame_);
    if (const HRESULT failed = call.resolve(child, text); failed != S_OK)
        return failed;
    *text = nullptr;
    return S_FALSE;
}

HRESULT FrameAccessible::get_accValue(VARIANT child, BSTR* value) {
    return noText(child, value);
}

HRESULT FrameAccessible::get_accDescription(VARIANT child, BSTR* description) {
    return noText(child, description);
}

HRESULT FrameAccessible::get_accHelp(VARIANT child, BSTR* help) {
    return noText(child, help);
}

HRESULT FrameAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    return noText(child, shortcut);
}

HRESULT FrameAccessible::get_accHelpTopic(BSTR* file, VARIANT child, long* topic) {
    if (!topic)
        return E_POINTER;
    *topic = -1;
    return noText(child, file);
}

HRESULT FrameAccessible::get_accRole(VARIANT child, VARIANT* role) {
    Call call(frame_);
    if (const HRESULT failed = call.resolve(child, role); failed != S_OK)
        return failed;
    return answerNumber(call.item() ? call.item()->role : ROLE_SYSTEM_CLIENT, role);
}

HRESULT FrameAccessible::get_accState(VARIANT child, VARIANT* state) {
    Call call(frame_);
    if (const HRESULT failed = call.resolve(child, state); failed != S_OK)
        return failed;
    if (call.item())
        return answerNumber(static_cast<long>(call.item()->states), state);
    return answerNumber(
        STATE_SYSTEM_FOCUSABLE | (GetFocus() == call.window() ? STATE_SYSTEM_FOCUSED : 0), state);
}

HRESULT FrameAccessible::get_accFocus(VARIANT* child) {
    Call call(frame_);
    if (const HRESULT failed = call.check(child); failed != S_OK)
        return failed;
    child->vt = VT_EMPTY;
    const HWND window = call.window();
    const HWND focus = GetFocus();
    if (focus == window) {
        for (const AccessibleItem& item : call.items()) {
            if (item.states & FocusedState)
                return answerChild(window, &item, child);
        }
        return answerNumber(CHILDID_SELF, child);
    }
    if (!focus || !IsChild(window, focus))
        return S_FALSE;
    for (const AccessibleItem& item : call.items()) {
        if (item.role != WindowRole)
            continue;
        const HWND control = windowOf(window, item);
        if (control && (control == focus || IsChild(control, focus)))
            return answerChild(window, &item, child);
    }
    return S_FALSE;
}

HRESULT FrameAccessible::get_accSelection(VARIANT* children) {
    if (!children)
        return E_POINTER;
    children->vt = VT_EMPTY;
    return frame_ ? S_FALSE : CO_E_OBJNOTCONNECTED;
}

HRESULT FrameAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
    Call call(frame_);
    if (const HRESULT failed = call.resolve(child, action); failed != S_OK)
        return failed;
    *action = nullptr;
    const char16_t* name = call.item() ? AccessibleTree::defaultAction(*call.item()) : nullptr;
    return answerText(name ? ZString(name) : ZString(), action);
}

HRESULT FrameAccessible::accSelect(long, VARIANT child) {
    Call call(frame_);
    const HRESULT failed = call.resolve(child, &child);
    return failed != S_OK ? failed : DISP_E_MEMBERNOTFOUND;
}

HRESULT FrameAccessible::accLocation(long* left, long* top, long* width, long* height,
                                     VARIANT child) {
    Call call(frame_);
    if (!top || !width || !height)
        return E_POINTER;
    if (const HRESULT failed = call.resolve(child, left); failed != S_OK)
        return failed;
    // The client's own place is the client area.
    RECT area;
    GetClientRect(call.window(), &area);
    if (const AccessibleItem* item = call.item()) {
        const Point scroll = frame_->getScrollPosition();
        const Rect r = item->rect.movedBy(-scroll.x, -scroll.y);
        area = {r.left, r.top, r.right, r.bottom};
    }
    MapWindowPoints(call.window(), nullptr, reinterpret_cast<POINT*>(&area), 2);
    *left = area.left;
    *top = area.top;
    *width = area.right - area.left;
    *height = area.bottom - area.top;
    return S_OK;
}

HRESULT FrameAccessible::accNavigate(long direction, VARIANT start, VARIANT* end) {
    Call call(frame_);
    if (const HRESULT failed = call.resolve(start, end); failed != S_OK)
        return failed;
    end->vt = VT_EMPTY;
    const auto& items = call.items();
    if (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD) {
        if (call.item())
            return E_INVALIDARG;
        if (items.empty())
            return S_FALSE;
        return answerChild(call.window(),
                           direction == NAVDIR_FIRSTCHILD ? &items.front() : &items.back(), end);
    }
    if (direction != NAVDIR_NEXT && direction != NAVDIR_PREVIOUS)
        return DISP_E_MEMBERNOTFOUND;
    // The client's own siblings are its window's to tell.
    if (!call.item())
        return S_FALSE;
    const size_t at = static_cast<size_t>(call.item() - items.data());
    if (direction == NAVDIR_NEXT ? at + 1 >= items.size() : at == 0)
        return S_FALSE;
    return answerChild(call.window(), &items[direction == NAVDIR_NEXT ? at + 1 : at - 1], end);
}

HRESULT FrameAccessible::accHitTest(long x, long y, VARIANT* child) {
    Call call(frame_);
    if (const HRESULT failed = call.check(child); failed != S_OK)
        return failed;
    child->vt = VT_EMPTY;
    POINT point{x, y};
    ScreenToClient(call.window(), &point);
    if (!frame_->getClientRect().contains({point.x, point.y}))
        return S_FALSE;
    const Point scroll = frame_->getScrollPosition();
    if (const AccessibleItem* item = call.tree().itemAt({point.x + scroll.x, point.y + scroll.y}))
        return answerChild(call.window(), item, child);
    return answerNumber(CHILDID_SELF, child);
}

HRESULT FrameAccessible::accDoDefaultAction(VARIANT child) {
    Call call(frame_);
    if (const HRESULT failed = call.resolve(child, &child); failed != S_OK)
        return failed;
    const AccessibleItem* item = call.item();
    if (!item || !AccessibleTree::defaultAction(*item) || (item->states & UnavailableState))
        return DISP_E_MEMBERNOTFOUND;
    // The reader's call returns first: what the click starts may take long or close the window.
    return PostMessageW(call.window(), kAccessibleActionMessage, 0, item->id) ? S_OK : E_FAIL;
}

HRESULT FrameAccessible::Next(ULONG count, VARIANT* children, ULONG* fetched) {
    Call call(frame_);
    if (const HRESULT failed = call.check(children); failed != S_OK)
        return failed;
    const auto& items = call.items();
    ULONG done = 0;
    for (; done < count && next_ < items.size(); ++done, ++next_)
        answerChild(call.window(), &items[next_], &children[done]);
    if (fetched)
        *fetched = done;
    return done == count ? S_OK : S_FALSE;
}

HRESULT FrameAccessible::Skip(ULONG count) {
    Call call(frame_);
    if (const HRESULT failed = call.check(&count); failed != S_OK)
        return failed;
    const size_t left = call.items().size() - std::min<size_t>(next_, call.items().size());
    next_ += static_cast<ULONG>(std::min<size_t>(count, left));
    return count <= left ? S_OK : S_FALSE;
}

HRESULT FrameAccessible::Reset() {
    next_ = 0;
    return frame_ ? S_OK : CO_E_OBJNOTCONNECTED;
}

namespace {

bool isWithin(const View& view, const View& ancestor) {
    for (const View* v = &view; v; v = v->getParent()) {
        if (v == &ancestor)
            return true;
    }
    return false;
}

} // namespace

bool announceAccessibleChange(FrameView& frame, AccessibleChange change, const View& view) {
    const DWORD event = change == AccessibleChange::Focus   ? EVENT_OBJECT_FOCUS
                        : change == AccessibleChange::State ? EVENT_OBJECT_STATECHANGE
                                                            : EVENT_OBJECT_NAMECHANGE;
    const HWND window = frame.getWindow().getHandle();
    if (!window || !IsWinEventHookInstalled(event))
        return false;
    const AccessibleTree tree = frame.accessibleTree();
    bool told = false;
    // A name is that of the texts below the view; focus and state are the view's own. Native
    // controls tell of themselves.
    for (const AccessibleItem& item : tree.items()) {
        const bool concerned =
            change == AccessibleChange::Name ? isWithin(*item.view, view) : item.view == &view;
        if (concerned && item.role != WindowRole) {
            NotifyWinEvent(event, window, OBJID_CLIENT, item.id);
            told = true;
        }
    }
    if (told || change == AccessibleChange::State)
        return false;
    if (change == AccessibleChange::Name)
        return view.isVisibleInTree();
    // The focus on nothing that is read out is the page's.
    NotifyWinEvent(event, window, OBJID_CLIENT, CHILDID_SELF);
    return false;
}

} // namespace xhtml
