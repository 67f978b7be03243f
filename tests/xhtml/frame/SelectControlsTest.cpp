// Selects and file inputs with their native controls and dialogs, in a real frame window under
// the test display, driven by the messages a user's actions make.
#include "tests/xhtml/frame/WindowedFrame.h"
#include "xhtml/frame/Win32Controls.h"
#include "xhtml/views/SelectView.h"

#include <commdlg.h>
#include <dlgs.h>

#include <string>

using namespace xhtml;

namespace {

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

TEST(SelectControls, ComboListAndCheckedDropDownShowTheSelectionAndReportTheUsersChoice) {
    Page page(u"<select id='drop'><option value='a'>Apple</option><option value='b'>Banana</option>"
              u"<option value='c'>Cherry</option></select>"
              u"<select id='rows' size='3'><option value='x'>X</option>"
              u"<option value='y'>Y</option></select>"
              u"<select id='checks' multiple='multiple'><option value='a'>A</option>"
              u"<option value='b'>B</option><option value='c'>C</option></select>");
    const HWND frame = page.getWindow().getHandle();
    SelectView& drop = page.control<SelectView>(u"drop");
    const HWND combo = controlWindow(drop);
    const auto shown = [&] { return SendMessageW(combo, CB_GETCURSEL, 0, 0); };
    EXPECT_EQ(drop.getValue(), ZString(u"a")) << "nothing selected: the first visible option";
    EXPECT_EQ(shown(), 0);
    drop.selectValue(u"c", false);
    EXPECT_EQ(shown(), 2);
    drop.setOptionsHidden(u"c", true);
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(drop.optionAt(2).item, -1);
    EXPECT_EQ(drop.getValue(), ZString(u"a")) << "the selected option hidden";
    EXPECT_EQ(shown(), 0);
    // What the user picks is the value at once; the records learn it when the items are rebuilt.
    SendMessageW(combo, CB_SETCURSEL, 1, 0);
    EXPECT_EQ(drop.getValue(), ZString(u"b"));
    EXPECT_FALSE(drop.optionAt(1).selected);
    drop.setOptionsHidden(u"c", false);
    EXPECT_TRUE(drop.optionAt(1).selected);
    EXPECT_FALSE(drop.optionAt(2).selected);
    EXPECT_EQ(drop.getValue(), ZString(u"b"));
    EXPECT_EQ(shown(), 1);

    // A checked drop-down's face lists the checked labels.
    SelectView& checks = page.control<SelectView>(u"checks");
    const HWND face = controlWindow(checks);
    wchar_t caption[64] = {};
    GetWindowTextW(face, caption, 64);
    EXPECT_EQ(ZString(caption), ZString(u""));
    checks.selectValue(u"c", false);
    checks.selectValue(u"b", false);
    GetWindowTextW(face, caption, 64);
    EXPECT_EQ(ZString(caption), ZString(u"B, C"));
    EXPECT_EQ(selectedValues(checks), "b c ");

    // The user's choices in combo and list boxes reach the listener; what page code sets does not.
    Ears ears;
    page.getContext()->setListener(&ears);
    SelectView& rows = page.control<SelectView>(u"rows");
    rows.selectValue(u"y", false);
    drop.selectValue(u"c", false);
    EXPECT_EQ(ears.changes, "");
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    // As the combo box announces a choice to its parent.
    SendMessageW(frame, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    EXPECT_EQ(ears.changes, "drop ");
    EXPECT_EQ(drop.getValue(), ZString(u"a"));
    const HWND box = controlWindow(rows);
    RECT item;
    SendMessageW(box, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    const LPARAM middle = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    SendMessageW(box, WM_LBUTTONUP, 0, middle);
    EXPECT_EQ(ears.changes, "drop rows ");
    EXPECT_EQ(rows.getValue(), ZString(u"x"));
    page.getContext()->setListener(nullptr);
}

// The labels of a list box's items, in the control's order, the selected one in brackets.
std::string listItems(HWND box) {
    std::string out;
    const LRESULT count = SendMessageW(box, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t label[32] = {};
        SendMessageW(box, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(label));
        const bool selected = SendMessageW(box, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0;
        out += selected ? "[" : "";
        out += toUtf8(ZString(label));
        out += selected ? "] " : " ";
    }
    return out;
}

TEST(SelectControls, ASortedSelectShowsItsOptionsInOrderAndKeepsTheUsersChoiceWhenSortedAgain) {
    Page page(u"<select id='fruit' sort='sort' size='6'><option value='c'>cherry</option>"
              u"<option value='A'>Apple</option><option value='b'>Banana</option>"
              u"<option value='a'>apple</option></select>");
    SelectView& fruit = page.control<SelectView>(u"fruit");
    const HWND box = controlWindow(fruit);
    ASSERT_NE(box, nullptr);
    // Nothing selected: the first option is the value, and shown chosen.
    EXPECT_EQ(listItems(box), "[Apple] apple Banana cherry ");
    // The user picks an item; a later option joins the order and the pick stays on its option.
    SendMessageW(box, LB_SETCURSEL, 2, 0);
    fruit.addOption(u"avocado", u"v");
    EXPECT_EQ(listItems(box), "Apple apple [Banana] cherry avocado ");
    fruit.sortOptions();
    EXPECT_EQ(listItems(box), "Apple apple avocado [Banana] cherry ");
    EXPECT_EQ(fruit.getValue(), ZString(u"b"));
    EXPECT_EQ(fruit.getOption(3).value, ZString(u"b"));
}

// What a timer saw and did while an open list of check boxes or a file dialog ran its loop.
struct Watch {
    HWND frame = nullptr;
    HWND popup = nullptr;
    const Ears* ears = nullptr;
    int opened = 0;
    int pressesWhileOpen = -1;
    int dialogs = 0;
    std::wstring proposed{};
    LRESULT filters = -1;
};
Watch watch;

// Closes an open list with a press on the page away from it, and cancels an open file dialog
// after noting what it proposes.
void CALLBACK closeWhatIsOpen(HWND, UINT, UINT_PTR, DWORD) {
    if (IsWindowVisible(watch.popup)) {
        ++watch.opened;
        watch.pressesWhileOpen = watch.ears->presses;
        PostMessageW(watch.frame, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        // A press that failed to close it must not hang the test: the next tick counts again.
        if (watch.opened > 3)
            ShowWindow(watch.popup, SW_HIDE);
    }
    const HWND dialog = ownedWindow(watch.frame, L"#32770");
    if (!IsWindowVisible(dialog))
        return;
    ++watch.dialogs;
    wchar_t name[MAX_PATH] = {};
    SendMessageW(dialog, CDM_GETSPEC, MAX_PATH, reinterpret_cast<LPARAM>(name));
    watch.proposed = name;
    watch.filters = SendDlgItemMessageW(dialog, cmb1, CB_GETCOUNT, 0, 0);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

TEST(SelectControls, ThePopUpClosesOnAPressElsewhereAndTheFileDialogOnACancel) {
    Page page(u"<p>x</p><select id='s' multiple='multiple'><option>A</option>"
              u"<option>B</option></select><input type='file' id='f' "
              u"filter='Text/*.txt|Logs/*.log' value='C:\\docs\\report.txt'/>");
    SelectView& select = page.control<SelectView>(u"s");
    const HWND frame = page.getWindow().getHandle();
    const HWND face = controlWindow(select);
    Ears ears;
    watch = {frame, ownedWindow(frame, L"Static"), &ears};
    ASSERT_NE(watch.popup, nullptr);
    page.getContext()->setListener(&ears);
    // The page under the press that will close the list is entered first, so a press there
    // would count.
    SendMessageW(frame, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    SendMessageW(frame, WM_MOUSEMOVE, 0, MAKELPARAM(5, 6));
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, closeWhatIsOpen);
    SendMessageW(face, BM_CLICK, 0, 0);
    EXPECT_EQ(watch.opened, 1);
    EXPECT_FALSE(IsWindowVisible(watch.popup));
    EXPECT_EQ(ears.presses, watch.pressesWhileOpen)
        << "the press that closed the list is not one on the page";

    // The file input's button opens the dialog; a cancel leaves the value.
    auto& input = page.control<FileChooseView>(u"f");
    const Rect button = input.childAt(1)->getRect();
    const LPARAM middle =
        MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    SendMessageW(frame, WM_MOUSEMOVE, 0, middle);
    SendMessageW(frame, WM_MOUSEMOVE, 0, middle);
    SendMessageW(frame, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    SendMessageW(frame, WM_LBUTTONUP, 0, middle);
    KillTimer(nullptr, timer);
    page.getContext()->setListener(nullptr);
    EXPECT_EQ(watch.dialogs, 1);
    EXPECT_EQ(watch.proposed, L"report.txt");
    EXPECT_EQ(watch.filters, 2);
    EXPECT_EQ(input.getValue(), ZString(u"C:\\docs\\report.txt"));
}

} // namespace
