#include "xhtml/frame/Win32Selects.h"

#include "xhtml/frame/Win32Controls.h"
#include "xhtml/views/ViewPlatform.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>

namespace xhtml {

namespace {

// An item index a list message answered; its errors are negative.
int itemOf(LRESULT answer) {
    return answer < 0 ? -1 : static_cast<int>(answer);
}

// A hosted control whose items are the options of a select.
class SelectControl : public Win32Control, public NativeList {
public:
    SelectControl(SelectView& view, HWND window)
        : Win32Control(view, window, true), select_(view) {}

    NativeList* list() override { return this; }
    void setRedraw(bool on) override {
        itemWindow().setRedraw(on);
        if (on)
            itemWindow().invalidate();
    }
    void onNotify(const void*, const void*) override {}
    bool allowsTooltip() const override { return true; }

protected:
    // The window that holds the items.
    virtual BaseWindow& itemWindow() { return window(); }
    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return window().sendMessage(message, wParam, lParam);
    }

    SelectView& select_;
};

class ComboBoxSelect final : public SelectControl {
public:
    using SelectControl::SelectControl;

    void clearItems() override { send(CB_RESETCONTENT); }
    int addItem(const ZString& label) override {
        return itemOf(send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label.w_str())));
    }
    void selectItem(int item) override { send(CB_SETCURSEL, static_cast<WPARAM>(item)); }
    bool isItemSelected(int item) const override { return send(CB_GETCURSEL) == item; }
    void onCommand(const void*, int code) override {
        if (code == CBN_SELCHANGE)
            select_.selectionChanged();
    }
    bool allowsTooltip() const override { return send(CB_GETDROPPEDSTATE) == 0; }
};

class ListBoxSelect final : public SelectControl {
public:
    ListBoxSelect(SelectView& view, HWND window)
        : SelectControl(view, window), multiple_(view.isMultiple()) {}

    void clearItems() override { send(LB_RESETCONTENT); }
    int addItem(const ZString& label) override {
        return itemOf(send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label.w_str())));
    }
    void selectItem(int item) override {
        if (multiple_)
            send(LB_SETSEL, TRUE, item);
        else
            send(LB_SETCURSEL, static_cast<WPARAM>(item));
    }
    bool isItemSelected(int item) const override {
        return send(LB_GETSEL, static_cast<WPARAM>(item)) > 0;
    }
    // A choice made in a list box is reported as one made in a combo box is.
    void onCommand(const void*, int code) override {
        if (code == LBN_SELCHANGE)
            select_.selectionChanged();
    }

private:
    const bool multiple_;
};

// When a list of check boxes last opened or closed, whichever drop-down it was: the click on a
// face that closes its open list must not open it again.
std::optional<ULONGLONG> lastToggle;
constexpr ULONGLONG kToggleGuardMs = 250;

// A mouse button going down, in a client area or not.
bool isPress(const MSG& message) {
    switch (message.message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
        return true;
    default:
        return false;
    }
}

// A multiple drop-down: a split button whose caption lists the checked labels, and a pop-up
// list of check boxes under it, which runs a message loop of its own while it is open. The
// pop-up never becomes active and the page stays enabled: presses on a disabled window, or on
// an inactive owner of the active pop-up, reach no loop, so nothing would close the list. The
// press that closes the list is kept from the page instead.
class CheckedDropDown final : public SelectControl {
public:
    CheckedDropDown(SelectView& view, HWND face, HWND parent);
    ~CheckedDropDown() override { *alive_ = false; }

    void setFont(const Font& font) override {
        SelectControl::setFont(font);
        list_.sendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font.handle), FALSE);
    }
    bool ownsWindow(const void* window) const override {
        return SelectControl::ownsWindow(window) || (window && window == list_.getHandle());
    }
    void clearItems() override {
        list_.sendMessage(LVM_DELETEALLITEMS);
        updateCaption();
    }
    int addItem(const ZString& label) override {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = itemCount();
        item.pszText = const_cast<wchar_t*>(label.w_str());
        return itemOf(list_.sendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    }
    void selectItem(int item) override {
        LVITEMW state{};
        state.stateMask = LVIS_STATEIMAGEMASK;
        state.state = INDEXTOSTATEIMAGEMASK(2);
        list_.sendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(item),
                          reinterpret_cast<LPARAM>(&state));
    }
    bool isItemSelected(int item) const override {
        const LRESULT state =
            list_.sendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_STATEIMAGEMASK);
        return (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
    }
    void onCommand(const void* window, int code) override {
        if (code == BN_CLICKED && window == handle())
            toggle();
    }
    void onNotify(const void* window, const void* header) override {
        if (window == handle() && static_cast<const NMHDR*>(header)->code == BCN_DROPDOWN)
            toggle();
    }
    bool allowsTooltip() const override { return !popup_.isVisible(); }

protected:
    BaseWindow& itemWindow() override { return list_; }

private:
    // The pop-up hears the list's notifications.
    class Popup : public BaseWindow {
    public:
        explicit Popup(CheckedDropDown& owner) : owner_(owner) {}

    protected:
        LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
            if (message == WM_NOTIFY &&
                reinterpret_cast<const NMHDR*>(lParam)->code == LVN_ITEMCHANGED)
                owner_.updateCaption();
            if (message == WM_MOUSEACTIVATE)
                return MA_NOACTIVATE;
            return defaultProc(message, wParam, lParam);
        }

    private:
        CheckedDropDown& owner_;
    };

    int itemCount() const { return static_cast<int>(list_.sendMessage(LVM_GETITEMCOUNT)); }
    void toggle();
    // Under the face, as wide as it, up to ten rows high.
    void placePopup();
    void open();
    void updateCaption();

    Popup popup_{*this};
    BaseWindow list_;
    // False once the control is gone, for an open list's loop that outlives it.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

CheckedDropDown::CheckedDropDown(SelectView& view, HWND face, HWND parent)
    : SelectControl(view, face) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    if (!popup_.create(WS_EX_CLIENTEDGE | WS_EX_NOACTIVATE, L"Static", L"", WS_POPUP | WS_BORDER, 0,
                       0, 0, 0, parent, nullptr, instance))
        return;
    if (!list_.create(0, WC_LISTVIEWW, L"",
                      WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | LVS_REPORT |
                          LVS_SHOWSELALWAYS | LVS_NOCOLUMNHEADER,
                      0, 0, 0, 0, popup_.getHandle(), nullptr, instance))
        return;
    list_.sendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                      LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_AUTOSIZECOLUMNS |
                          LVS_EX_AUTOCHECKSELECT);
    // Its width follows the pop-up's when it opens.
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT;
    column.pszText = const_cast<wchar_t*>(L"Name");
    list_.sendMessage(LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
}

void CheckedDropDown::toggle() {
    const ULONGLONG now = GetTickCount64();
    if (lastToggle && now - *lastToggle < kToggleGuardMs)
        return;
    lastToggle = now;
    if (popup_.isVisible())
        popup_.show(false);
    else
        open();
}

void CheckedDropDown::placePopup() {
    const RECT face = window().getWindowRect();
    RECT item{};
    item.left = LVIR_BOUNDS;
    const int rowHeight = list_.sendMessage(LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item))
                              ? item.bottom - item.top
                              : face.bottom - face.top;
    RECT outer{0, 0, face.right - face.left, std::min(itemCount(), 10) * rowHeight};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(popup_.getLong(GWL_STYLE)), FALSE,
                       static_cast<DWORD>(popup_.getLong(GWL_EXSTYLE)));
    popup_.move(face.left, face.bottom, face.right - face.left, outer.bottom - outer.top);
    const RECT inside = popup_.getClientRect();
    list_.move(0, 0, inside.right, inside.bottom);
    // One column as wide as the list: no sideways scrolling.
    list_.sendMessage(LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE_USEHEADER);
}

void CheckedDropDown::open() {
    if (!list_.getHandle())
        return;
    const HWND face = handle();
    const HWND page = window().getParent();
    placePopup();
    SetWindowPos(popup_.getHandle(), HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    const HWND foreground = GetForegroundWindow();
    const std::shared_ptr<bool> alive = alive_;
    MSG message;
    while (*alive && popup_.isVisible()) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            // The loop that runs the program has to see the quit message too.
            if (got == 0)
                PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        const HWND target = message.hwnd;
        if (isPress(message) && target != face && target != list_.getHandle() &&
            target != popup_.getHandle() && !popup_.isCursorInWindow()) {
            popup_.show(false);
            // The press that closes the list is not one on the page.
            if (page && (target == page || IsChild(page, target)))
                continue;
        }
        // Activation is sent, never posted: the loop has to look for it.
        if (GetForegroundWindow() != foreground)
            popup_.show(false);
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (*alive) {
        popup_.show(false);
        lastToggle = GetTickCount64();
    }
}

void CheckedDropDown::updateCaption() {
    ZString caption;
    const int count = itemCount();
    for (int item = 0; item < count; ++item) {
        if (!isItemSelected(item))
            continue;
        wchar_t label[1024] = {};
        LVITEMW text{};
        text.pszText = label;
        text.cchTextMax = 1024;
        list_.sendMessage(LVM_GETITEMTEXTW, static_cast<WPARAM>(item),
                          reinterpret_cast<LPARAM>(&text));
        if (!caption.isEmpty())
            caption.append(u", ");
        caption.append(ZString(label));
    }
    window().setText(caption);
}

} // namespace

std::unique_ptr<NativeControl> createSelectControl(SelectView& view, HWND parent) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    const auto make = [&](DWORD exStyle, const wchar_t* className, DWORD style) {
        return CreateWindowExW(exStyle, className, L"", WS_CHILD | style, 0, 0, 0, 0, parent,
                               nullptr, instance, nullptr);
    };
    if (view.showsCheckBoxes()) {
        const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&classes);
        const HWND face =
            make(0, L"Button", WS_VISIBLE | BS_FLAT | BS_LEFT | BS_VCENTER | BS_SPLITBUTTON);
        return face ? std::make_unique<CheckedDropDown>(view, face, parent) : nullptr;
    }
    if (view.isListBox()) {
        const HWND box = make(WS_EX_CLIENTEDGE, L"ListBox",
                              WS_VISIBLE | WS_VSCROLL | LBS_HASSTRINGS | LBS_NOTIFY |
                                  (view.isMultiple() ? LBS_MULTIPLESEL : 0));
        return box ? std::make_unique<ListBoxSelect>(view, box) : nullptr;
    }
    const HWND combo =
        make(WS_EX_CLIENTEDGE, L"ComboBox",
             WS_VSCROLL | CBS_HASSTRINGS | (view.isEditable() ? CBS_DROPDOWN : CBS_DROPDOWNLIST));
    return combo ? std::make_unique<ComboBoxSelect>(view, combo) : nullptr;
}

} // namespace xhtml
