// Selects and file inputs with their native controls and dialogs, in a real frame window under
// the test display, driven by the messages a user's actions make.
#include "tests/xhtml/frame/ControlPage.h"
#include "xhtml/frame/Win32Controls.h"
#include "xhtml/views/SelectView.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <string>

using namespace xhtml;

namespace {

SelectView& selectOf(Page& page, const char16_t* id) {
    return dynamic_cast<SelectView&>(page.control(id));
}

std::string className(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

LONG_PTR styleOf(HWND window) {
    return GetWindowLongPtrW(window, GWL_STYLE);
}

// The control's window in the frame's client coordinates, as a box of the document.
Rect placedRect(HWND control, HWND frame) {
    RECT placed;
    GetWindowRect(control, &placed);
    MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&placed), 2);
    return {placed.left, placed.top, placed.right, placed.bottom};
}

// The values of the selected options, as the select reports them.
std::string selectedValues(const SelectView& select) {
    std::string out;
    for (const SelectView::Option& option : select.getSelectedOptions())
        out += toUtf8(option.value) + ' ';
    return out;
}

// What the application hears: the selects whose selection changed, and presses on other views.
struct Ears : EventListener {
    void onSelectionChanged(View* view) override { changes += toUtf8(view->getId()) + ' '; }
    void onLeftButtonDown(View* view) override {
        if (view->getKind() != SelectKind)
            ++presses;
    }
    std::string changes;
    int presses = 0;
};

TEST(SelectControls, EachKindGetsItsControlAndTheBoxTakesTheControlsOwnSize) {
    Page page(u"<select id='drop'><option value='a'>Apple</option><option>Banana</option></select>"
              u"<select id='edit' combo='combo'><option>Red</option></select>"
              u"<select id='rows' size='3'><option>North</option><option>East</option></select>"
              u"<select id='many' size='3' multiple='multiple'><option>Mon</option></select>"
              u"<select id='checks' multiple='multiple'><option>A</option></select>"
              u"<select id='wide' size='2' style='width:50%'><option>W</option></select>");
    const HWND frame = page.getWindow().getHandle();
    const struct {
        const char16_t* id;
        const char* className;
        LONG_PTR mask;
        LONG_PTR bits;
    } kinds[] = {
        {u"drop", "ComboBox", 3, CBS_DROPDOWNLIST},
        {u"edit", "ComboBox", 3, CBS_DROPDOWN},
        {u"rows", "ListBox", LBS_MULTIPLESEL | LBS_NOTIFY, LBS_NOTIFY},
        {u"many", "ListBox", LBS_MULTIPLESEL, LBS_MULTIPLESEL},
        {u"checks", "Button", BS_TYPEMASK, BS_SPLITBUTTON},
    };
    for (const auto& kind : kinds) {
        const HWND window = controlWindow(page.control(kind.id));
        ASSERT_NE(window, nullptr) << toUtf8(kind.id);
        EXPECT_EQ(className(window), kind.className) << toUtf8(kind.id);
        EXPECT_EQ(styleOf(window) & kind.mask, kind.bits) << toUtf8(kind.id);
        // A control rounds its size to its font's lines; the box follows, so nothing overlaps.
        EXPECT_EQ(placedRect(window, frame), page.control(kind.id).getContentRect())
            << toUtf8(kind.id);
    }
    // A box sized by a percentage keeps following the space it is given.
    const HWND wide = controlWindow(page.control(u"wide"));
    EXPECT_EQ(placedRect(wide, frame).width(), page.control(u"wide").getContentRect().width());
    const int before = placedRect(wide, frame).width();
    page.getWindow().setClientSize(600, 300, false);
    pump(300);
    EXPECT_GT(placedRect(wide, frame).width(), before + 50);
    EXPECT_EQ(placedRect(wide, frame).width(), page.control(u"wide").getContentRect().width());
}

TEST(SelectControls, ADropDownShowsTheOptionItReportsAndKeepsTheUsersChoice) {
    Page page(u"<select id='s'><option value='a'>Apple</option><option value='b'>Banana</option>"
              u"<option value='c'>Cherry</option></select>");
    SelectView& select = selectOf(page, u"s");
    const HWND combo = controlWindow(select);
    const auto shown = [&] { return SendMessageW(combo, CB_GETCURSEL, 0, 0); };
    EXPECT_EQ(select.getValue(), ZString(u"a")) << "nothing selected: the first visible option";
    EXPECT_EQ(shown(), 0);
    select.selectValue(u"c", false);
    EXPECT_EQ(shown(), 2);
    select.setOptionsHidden(u"c", true);
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(select.optionAt(2).item, -1);
    EXPECT_EQ(select.getValue(), ZString(u"a")) << "the selected option hidden";
    EXPECT_EQ(shown(), 0);
    // What the user picks is the value at once; the records learn it when the items are rebuilt.
    SendMessageW(combo, CB_SETCURSEL, 1, 0);
    EXPECT_EQ(select.getValue(), ZString(u"b"));
    EXPECT_FALSE(select.optionAt(1).selected);
    select.setOptionsHidden(u"c", false);
    EXPECT_TRUE(select.optionAt(1).selected);
    EXPECT_FALSE(select.optionAt(2).selected);
    EXPECT_EQ(select.getValue(), ZString(u"b"));
    EXPECT_EQ(shown(), 1);
}

TEST(SelectControls, SelectionLivesInTheRecordsUntilAControlShowsItThenInTheControl) {
    Page page(u"<select id='s' size='3' multiple='multiple' style='display:none'>"
              u"<option value='1'>One</option><option value='2'>Two</option>"
              u"<option value='3'>Three</option></select>");
    SelectView& select = selectOf(page, u"s");
    ASSERT_FALSE(select.hasControl());
    select.selectValue(u"3", false);
    select.selectValue(u"1", false);
    EXPECT_EQ(selectedValues(select), "1 3 ");
    select.changeProperty(PropertyId::Display, StyleValue::integer(2));
    pump(300);
    const HWND list = controlWindow(select);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(SendMessageW(list, LB_GETSEL, 0, 0), 1);
    EXPECT_EQ(SendMessageW(list, LB_GETSEL, 1, 0), 0);
    EXPECT_EQ(SendMessageW(list, LB_GETSEL, 2, 0), 1);
    SendMessageW(list, LB_SETSEL, FALSE, 0);
    EXPECT_EQ(selectedValues(select), "3 ");
    // Rebuilding the items loses nothing the user chose.
    select.setOptionsHidden(u"2", true);
    EXPECT_FALSE(select.optionAt(0).selected);
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageW(list, LB_GETSEL, 1, 0), 1);
    EXPECT_EQ(selectedValues(select), "3 ");
}

TEST(SelectControls, ACheckedDropDownsFaceListsTheCheckedLabels) {
    Page page(u"<select id='s' multiple='multiple'><option value='a'>A</option>"
              u"<option value='b'>B</option><option value='c'>C</option></select>");
    SelectView& select = selectOf(page, u"s");
    const HWND face = controlWindow(select);
    wchar_t caption[64] = {};
    GetWindowTextW(face, caption, 64);
    EXPECT_EQ(ZString(caption), ZString(u""));
    select.selectValue(u"c", false);
    select.selectValue(u"b", false);
    GetWindowTextW(face, caption, 64);
    EXPECT_EQ(ZString(caption), ZString(u"B, C"));
    EXPECT_EQ(selectedValues(select), "b c ");
}

TEST(SelectControls, TheUsersChoicesInComboAndListBoxesReachTheListener) {
    Page page(u"<select id='drop'><option value='a'>A</option><option value='b'>B</option></select>"
              u"<select id='list' size='3'><option value='x'>X</option>"
              u"<option value='y'>Y</option></select>");
    Ears ears;
    page.getContext()->setListener(&ears);
    SelectView& drop = selectOf(page, u"drop");
    SelectView& list = selectOf(page, u"list");
    drop.selectValue(u"b", false);
    list.selectValue(u"y", false);
    EXPECT_EQ(ears.changes, "") << "what page code sets is no change the user made";
    const HWND combo = controlWindow(drop);
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    // As the combo box announces a choice to its parent.
    SendMessageW(page.getWindow().getHandle(), WM_COMMAND,
                 MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    EXPECT_EQ(ears.changes, "drop ");
    EXPECT_EQ(drop.getValue(), ZString(u"a"));
    const HWND box = controlWindow(list);
    RECT item;
    SendMessageW(box, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    const LPARAM middle = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    SendMessageW(box, WM_LBUTTONUP, 0, middle);
    EXPECT_EQ(ears.changes, "drop list ");
    EXPECT_EQ(list.getValue(), ZString(u"x"));
    page.getContext()->setListener(nullptr);
}

// Watches an open list of check boxes from a timer, which its message loop runs, and closes it
// with a press on the page away from it.
struct PopupWatch {
    HWND popup = nullptr;
    HWND page = nullptr;
    SelectView* select = nullptr;
    const Ears* ears = nullptr;
    int opened = 0;
    bool tooltipWhileOpen = true;
    int pressesWhileOpen = -1;
};
PopupWatch popupWatch;

void CALLBACK pressBesideOpenPopup(HWND, UINT, UINT_PTR, DWORD) {
    if (!IsWindowVisible(popupWatch.popup))
        return;
    ++popupWatch.opened;
    popupWatch.tooltipWhileOpen = popupWatch.select->allowsTooltip();
    popupWatch.pressesWhileOpen = popupWatch.ears->presses;
    PostMessageW(popupWatch.page, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    // A press that failed to close it must not hang the test: the next tick counts again.
    if (popupWatch.opened > 3)
        ShowWindow(popupWatch.popup, SW_HIDE);
}

BOOL CALLBACK findPopup(HWND window, LPARAM owner) {
    if (GetWindow(window, GW_OWNER) != reinterpret_cast<HWND>(owner) ||
        className(window) != "Static")
        return TRUE;
    popupWatch.popup = window;
    return FALSE;
}

TEST(SelectControls, ACheckedDropDownOpensOnItsFaceAndClosesOnAPressElsewhere) {
    Page page(u"<p>x</p><select id='s' multiple='multiple'><option>A</option>"
              u"<option>B</option></select>");
    SelectView& select = selectOf(page, u"s");
    const HWND frame = page.getWindow().getHandle();
    const HWND face = controlWindow(select);
    popupWatch = {};
    EnumThreadWindows(GetCurrentThreadId(), findPopup, reinterpret_cast<LPARAM>(frame));
    ASSERT_NE(popupWatch.popup, nullptr);
    const HWND list = FindWindowExW(popupWatch.popup, nullptr, WC_LISTVIEWW, nullptr);
    EXPECT_TRUE(select.ownsWindow(face));
    EXPECT_TRUE(select.ownsWindow(list));
    EXPECT_FALSE(select.ownsWindow(frame));
    popupWatch.page = frame;
    popupWatch.select = &select;
    RECT placed;
    GetWindowRect(face, &placed);
    SetCursorPos((placed.left + placed.right) / 2, (placed.top + placed.bottom) / 2);
    pump(100);
    EXPECT_TRUE(select.allowsTooltip()) << "closed, and the cursor over it";
    Ears ears;
    page.getContext()->setListener(&ears);
    popupWatch.ears = &ears;
    // The page under the press that will close the list is entered first, so a press there
    // would count.
    SendMessageW(frame, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    SendMessageW(frame, WM_MOUSEMOVE, 0, MAKELPARAM(5, 6));
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, pressBesideOpenPopup);
    SendMessageW(face, BM_CLICK, 0, 0);
    EXPECT_EQ(popupWatch.opened, 1);
    EXPECT_FALSE(IsWindowVisible(popupWatch.popup));
    EXPECT_FALSE(popupWatch.tooltipWhileOpen);
    EXPECT_EQ(ears.presses, popupWatch.pressesWhileOpen)
        << "the press that closed the list is not one on the page";
    // Right after it closed, a click on the face belongs to the same gesture.
    SendMessageW(face, BM_CLICK, 0, 0);
    EXPECT_EQ(popupWatch.opened, 1);
    Sleep(300);
    SendMessageW(face, BM_CLICK, 0, 0);
    EXPECT_EQ(popupWatch.opened, 2);
    KillTimer(nullptr, timer);
    page.getContext()->setListener(nullptr);
}

// Watches for the open-file dialog from a timer, which its message loop runs, notes what it
// proposes and cancels it.
struct DialogWatch {
    int seen = 0;
    std::wstring proposed;
    LRESULT filters = -1;
};
DialogWatch dialogWatch;

BOOL CALLBACK cancelFileDialog(HWND window, LPARAM) {
    if (!IsWindowVisible(window) || className(window) != "#32770")
        return TRUE;
    ++dialogWatch.seen;
    wchar_t name[MAX_PATH] = {};
    SendMessageW(window, CDM_GETSPEC, MAX_PATH, reinterpret_cast<LPARAM>(name));
    dialogWatch.proposed = name;
    dialogWatch.filters = SendDlgItemMessageW(window, cmb1, CB_GETCOUNT, 0, 0);
    PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    return FALSE;
}

void CALLBACK lookForFileDialog(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), cancelFileDialog, 0);
}

TEST(FileInputControls, TheButtonOpensTheDialogAndACancelLeavesTheValue) {
    Page page(u"<input type='file' id='f' filter='Text/*.txt|Logs/*.log' "
              u"value='C:\\docs\\report.txt'/>");
    auto& input = dynamic_cast<FileChooseView&>(*page.getViewById(u"f"));
    const Rect button = input.childAt(1)->getRect();
    const LPARAM middle =
        MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    const HWND frame = page.getWindow().getHandle();
    dialogWatch = {};
    const UINT_PTR timer = SetTimer(nullptr, 0, 200, lookForFileDialog);
    SendMessageW(frame, WM_MOUSEMOVE, 0, middle);
    SendMessageW(frame, WM_MOUSEMOVE, 0, middle);
    SendMessageW(frame, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    SendMessageW(frame, WM_LBUTTONUP, 0, middle);
    KillTimer(nullptr, timer);
    EXPECT_EQ(dialogWatch.seen, 1);
    EXPECT_EQ(dialogWatch.proposed, L"report.txt");
    EXPECT_EQ(dialogWatch.filters, 2);
    EXPECT_EQ(input.getValue(), ZString(u"C:\\docs\\report.txt"));
}

} // namespace
