// The keyboard in a real frame window: Tab through engine-drawn views and native controls, keys
// that reach the document from a control, clicks and the focus, and the focus ring, which shows
// only once the keyboard has navigated, and a button held down by Space (checked by pixels).
#include "tests/xhtml/frame/WindowedFrame.h"
#include "tests/xhtml/views/ViewTesting.h"
#include "window/ScopedWin32.h"
#include "xhtml/frame/PngFile.h"
#include "xhtml/frame/Win32Controls.h"

#include <string>
#include <vector>

using namespace xhtml;

namespace {

// Where the keyboard's messages go: the window with the focus.
void key(UINT message, WPARAM key) {
    SendMessageW(GetFocus(), message, key, message == WM_KEYUP ? 0xC0000001 : 1);
}

void press(WPARAM code) {
    key(WM_KEYDOWN, code);
    key(WM_KEYUP, code);
}

void setShift(bool down) {
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_SHIFT] = down ? 0x80 : 0;
    SetKeyboardState(state);
}

// The client area as the frame paints it, into a bitmap that is also saved as a picture.
class Snapshot {
public:
    Snapshot(FrameView& frame, const char16_t* name) {
        const RECT client = frame.getWindow().getClientRect();
        width_ = client.right;
        BITMAPINFO info{};
        info.bmiHeader = {
            sizeof(BITMAPINFOHEADER), client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        const ScopedMemoryDC dc(nullptr);
        const ScopedBitmap bitmap(
            CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        {
            const ScopedSelectObject selected(dc.get(), bitmap.get());
            frame.renderClient(dc.get(), client);
            GdiFlush();
        }
        const auto* pixels = static_cast<const uint32_t*>(bits);
        pixels_.assign(pixels, pixels + client.right * client.bottom);
        EXPECT_TRUE(savePng(bitmap.get(), ZString(DOXLY_PICTURES u"/") + name + u".png"));
    }

    // The points where the two differ.
    std::vector<Point> differences(const Snapshot& other) const {
        std::vector<Point> out;
        for (size_t i = 0; i < pixels_.size(); ++i) {
            if (pixels_[i] != other.pixels_[i])
                out.push_back({static_cast<int>(i) % width_, static_cast<int>(i) / width_});
        }
        return out;
    }

private:
    int width_ = 0;
    std::vector<uint32_t> pixels_;
};

bool onOutline(const Rect& r, Point p) {
    const bool x = p.x >= r.left && p.x < r.right, y = p.y >= r.top && p.y < r.bottom;
    return (x && (p.y == r.top || p.y == r.bottom - 1)) ||
           (y && (p.x == r.left || p.x == r.right - 1));
}

const char16_t* const kPage =
    u"<div style='padding:20px'><input type='button' id='ok' value='Install'/></div>"
    u"<textarea id='licence' readonly>licence</textarea><input id='name'/>"
    u"<div><input type='radio' name='m' id='express' value='e' checked/>"
    u"<input type='radio' name='m' id='custom' value='c'/></div>"
    u"<div style='padding:20px'><input type='button' id='other' value='Other'/></div>";

TEST(Focus, TabWalksEngineViewsAndNativeControlsAndWrapsKeysFromControlsReachTheDocument) {
    Page page(kPage);
    page.setDefaultButton(u"ok");
    page.scheduleUpdate(true);
    const HWND frame = page.getWindow().getHandle();
    const HWND licence = controlWindow(page.control(u"licence"));
    const HWND name = controlWindow(page.control(u"name"));
    ASSERT_TRUE(licence && name);
    ASSERT_EQ(GetActiveWindow(), frame);
    EXPECT_EQ(page.focusedView(), page.getViewById(u"ok")) << "the default button first";
    EXPECT_EQ(GetFocus(), frame);

    // Where the document's focus is, and the window with the keyboard focus.
    const auto where = [&] {
        const std::string view = toUtf8(page.focusedView()->getId());
        const HWND focus = GetFocus();
        return view + (focus == frame ? "/frame" : focus == licence ? "/licence" : "/name");
    };
    std::string walk;
    for (int i = 0; i < 6; ++i) {
        press(VK_TAB);
        walk += where() + " ";
    }
    EXPECT_EQ(walk,
              "licence/licence name/name express/frame other/frame ok/frame licence/licence ");
    setShift(true);
    press(VK_TAB);
    EXPECT_EQ(where(), "ok/frame") << "Shift+Tab from a control goes back";
    press(VK_TAB);
    EXPECT_EQ(where(), "other/frame") << "around the end backwards";
    setShift(false);

    // Enter in the read-only licence presses the default button; its character never arrives.
    RecordingListener listener(*page.getContext());
    SetFocus(licence);
    EXPECT_EQ(where(), "licence/licence") << "the control's focus is the document's";
    key(WM_KEYDOWN, VK_RETURN);
    key(WM_CHAR, '\r');
    key(WM_KEYUP, VK_RETURN);
    EXPECT_EQ(listener.heard, "LeftDown ButtonClicked Clicked LeftUp");
    listener.heard.clear();

    // A click on the background leaves the focus where it is; one on a button takes it.
    SetFocus(name);
    const auto click = [&](Point at) {
        const LPARAM point = MAKELPARAM(at.x, at.y);
        SendMessageW(frame, WM_MOUSEMOVE, 0, point);
        SendMessageW(frame, WM_LBUTTONDOWN, MK_LBUTTON, point);
        SendMessageW(frame, WM_LBUTTONUP, 0, point);
    };
    click({390, 290});
    EXPECT_EQ(where(), "name/name");
    const Rect custom = page.getViewById(u"custom")->getRect();
    click({custom.left + 2, custom.top + 2});
    EXPECT_EQ(where(), "custom/frame");
    press(VK_LEFT);
    EXPECT_EQ(where(), "express/frame") << "the arrows move within the group";
    EXPECT_TRUE(static_cast<ToggleView*>(page.getViewById(u"express"))->isChecked());

    // Escape without a cancel button closes the window, as a dialog's would.
    MSG message;
    SetFocus(name);
    key(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_TRUE(PeekMessageW(&message, frame, WM_CLOSE, WM_CLOSE, PM_REMOVE));
    page.setCancelButton(u"other");
    listener.heard.clear();
    key(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_FALSE(PeekMessageW(&message, frame, WM_CLOSE, WM_CLOSE, PM_REMOVE));
    EXPECT_EQ(listener.heard, "LeftDown ButtonClicked Clicked LeftUp") << "the cancel button";
}

TEST(Focus, TheRingAroundTheFocusedButtonShowsOnlyOnceTheKeyboardNavigatedSpacePressesIt) {
    Page page(kPage);
    page.setDefaultButton(u"ok");
    page.scheduleUpdate(true);
    ASSERT_EQ(GetFocus(), page.getWindow().getHandle());
    const Snapshot mouseOnly(page, u"focus-hidden");
    // Back and forth: the focus where it was, the ring shown.
    setShift(true);
    press(VK_TAB);
    setShift(false);
    press(VK_TAB);
    EXPECT_EQ(page.focusedView(), page.getViewById(u"ok"));
    const Snapshot keyboard(page, u"focus-ring");
    const Rect ring = focusRingOf(*page.getViewById(u"ok"));
    const std::vector<Point> ringPixels = keyboard.differences(mouseOnly);
    // A dotted outline: every other pixel along each side.
    EXPECT_GE(ringPixels.size(), static_cast<size_t>(ring.width() + ring.height() - 4));
    for (const Point p : ringPixels)
        EXPECT_TRUE(onOutline(ring, p)) << p.x << "," << p.y << " is off the ring";

    // Space shows the button pressed while it is down, inside its face.
    key(WM_KEYDOWN, VK_SPACE);
    const Snapshot pressed(page, u"focus-pressed");
    key(WM_KEYUP, VK_SPACE);
    const Rect face = static_cast<BoxView*>(page.getViewById(u"ok"))->getContentRect();
    const std::vector<Point> pressedPixels = pressed.differences(keyboard);
    EXPECT_FALSE(pressedPixels.empty());
    for (const Point p : pressedPixels)
        EXPECT_TRUE(face.contains(p)) << p.x << "," << p.y << " is off the face";

    // Without the keyboard focus in the window, no ring.
    SetFocus(nullptr);
    EXPECT_TRUE(Snapshot(page, u"focus-elsewhere").differences(mouseOnly).empty());
}

TEST(Focus, AnEditableTextAreaKeepsEnterButNeverSeesTheTabs) {
    Page page(u"<textarea id='notes'></textarea><input type='button' id='ok'/>");
    page.setDefaultButton(u"ok");
    const HWND notes = controlWindow(page.control(u"notes"));
    RecordingListener listener(*page.getContext());
    for (const WPARAM code : {VK_TAB, VK_RETURN}) {
        SetFocus(notes);
        key(WM_KEYDOWN, code);
        SendMessageW(notes, WM_CHAR, code == VK_TAB ? '\t' : '\r', 1);
    }
    EXPECT_EQ(GetFocus(), notes);
    EXPECT_EQ(page.control<TextAreaView>(u"notes").getValue(), ZString(u"\r\n"));
    EXPECT_EQ(listener.heard, "") << "no button pressed";
}

} // namespace
