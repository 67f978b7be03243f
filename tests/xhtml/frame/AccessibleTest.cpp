// The frame's page as a screen reader asks for it through the window (MSAA), in a real frame
// window under the test display: children, roles, names, states, places, default actions that
// click as a user does, calls on children and frames that have gone, and the announced changes.
#include "tests/xhtml/frame/WindowedFrame.h"
#include "tests/xhtml/views/ViewTesting.h"
#include "xhtml/frame/Win32Controls.h"

#include <oleacc.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace xhtml;

namespace {

// The client object of the frame's window, as a reader in another program gets it.
IAccessible* clientOf(FrameView& frame) {
    void* object = nullptr;
    EXPECT_EQ(AccessibleObjectFromWindow(frame.getWindow().getHandle(), OBJID_CLIENT,
                                         __uuidof(IAccessible), &object),
              S_OK);
    return static_cast<IAccessible*>(object);
}

VARIANT childId(long id) {
    VARIANT child;
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

// The name as "name", or the result when there is none.
std::string nameOf(IAccessible& object, long id) {
    BSTR name = nullptr;
    const HRESULT result = object.get_accName(childId(id), &name);
    if (result != S_OK)
        return "result " + std::to_string(result);
    std::string out = toUtf8(ZString(name));
    SysFreeString(name);
    return out;
}

long numberOf(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*), IAccessible& object,
              long id) {
    VARIANT value;
    value.vt = VT_EMPTY;
    EXPECT_EQ((object.*get)(childId(id), &value), S_OK);
    EXPECT_EQ(value.vt, VT_I4);
    return value.lVal;
}

// The children as AccessibleChildren lists them: ids of simple children, 0 for an object.
std::vector<long> childrenOf(IAccessible& object, std::vector<IDispatch*>& objects) {
    IEnumVARIANT* children = nullptr;
    EXPECT_EQ(object.QueryInterface(__uuidof(IEnumVARIANT), reinterpret_cast<void**>(&children)),
              S_OK);
    std::vector<long> ids;
    if (!children)
        return ids;
    children->Reset();
    VARIANT got[16];
    ULONG count = 0;
    EXPECT_EQ(children->Next(16, got, &count), S_FALSE);
    for (ULONG i = 0; i < count; ++i) {
        ids.push_back(got[i].vt == VT_I4 ? got[i].lVal : 0);
        if (got[i].vt == VT_DISPATCH)
            objects.push_back(got[i].pdispVal);
    }
    children->Release();
    return ids;
}

TEST(Accessible, TheWindowsClientObjectListsThePageWithRolesNamesStatesAndPlaces) {
    Page page(u"<p>Hello <b>world</b></p><input id='c' type='checkbox' checked/> Remember me"
              u"<div><input id='b' type='button' value='Go'/></div>"
              u"<textarea id='t'>x</textarea>");
    IAccessible* client = clientOf(page);
    ASSERT_TRUE(client);
    EXPECT_EQ(numberOf(&IAccessible::get_accRole, *client, CHILDID_SELF), ROLE_SYSTEM_CLIENT);
    EXPECT_EQ(nameOf(*client, CHILDID_SELF), "test");
    long count = 0;
    EXPECT_EQ(client->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 4);

    std::vector<IDispatch*> objects;
    const std::vector<long> ids = childrenOf(*client, objects);
    const View& check = *page.getViewById(u"c");
    const View& button = *page.getViewById(u"b");
    ASSERT_EQ(ids.size(), 4u);
    EXPECT_EQ(ids[1], check.serial());
    EXPECT_EQ(ids[2], button.serial());
    EXPECT_EQ(ids[3], 0) << "the text area as its window's object";
    ASSERT_EQ(objects.size(), 1u);
    // Its own window describes it; which window, the object's window interface tells.
    IOleWindow* area = nullptr;
    objects[0]->QueryInterface(__uuidof(IOleWindow), reinterpret_cast<void**>(&area));
    objects[0]->Release();
    ASSERT_TRUE(area);
    HWND areaWindow = nullptr;
    EXPECT_EQ(area->GetWindow(&areaWindow), S_OK);
    EXPECT_EQ(areaWindow, controlWindow(page.control(u"t")));
    area->Release();

    const struct {
        long id;
        long role;
        const char* name;
        long states;
        const char* action;
    } expected[] = {
        {ids[0], ROLE_SYSTEM_STATICTEXT, "Hello world", STATE_SYSTEM_READONLY, nullptr},
        {ids[1], ROLE_SYSTEM_CHECKBUTTON, "Remember me",
         STATE_SYSTEM_CHECKED | STATE_SYSTEM_FOCUSABLE, "Uncheck"},
        {ids[2], ROLE_SYSTEM_PUSHBUTTON, "Go", STATE_SYSTEM_FOCUSABLE, "Press"},
    };
    for (const auto& e : expected) {
        EXPECT_EQ(numberOf(&IAccessible::get_accRole, *client, e.id), e.role) << e.name;
        EXPECT_EQ(nameOf(*client, e.id), e.name);
        EXPECT_EQ(numberOf(&IAccessible::get_accState, *client, e.id), e.states) << e.name;
        BSTR action = nullptr;
        EXPECT_EQ(client->get_accDefaultAction(childId(e.id), &action), e.action ? S_OK : S_FALSE);
        EXPECT_EQ(action ? toUtf8(ZString(action)) : std::string("-"), e.action ? e.action : "-");
        SysFreeString(action);
    }

    // The button on the screen, where the pointer finds it.
    POINT origin{0, 0};
    ClientToScreen(page.getWindow().getHandle(), &origin);
    const Rect& r = button.getRect();
    long left, top, width, height;
    EXPECT_EQ(client->accLocation(&left, &top, &width, &height, childId(ids[2])), S_OK);
    EXPECT_EQ((Rect{left, top, left + width, top + height}), r.movedBy(origin.x, origin.y));
    EXPECT_EQ(client->accLocation(&left, &top, &width, &height, childId(CHILDID_SELF)), S_OK);
    EXPECT_EQ((Rect{left, top, left + width, top + height}),
              (Rect{origin.x, origin.y, origin.x + 400, origin.y + 300}));
    VARIANT hit;
    EXPECT_EQ(client->accHitTest(origin.x + r.left + 2, origin.y + r.top + 2, &hit), S_OK);
    EXPECT_TRUE(hit.vt == VT_I4 && hit.lVal == ids[2]);
    EXPECT_EQ(client->accHitTest(origin.x + 399, origin.y + 299, &hit), S_OK);
    EXPECT_TRUE(hit.vt == VT_I4 && hit.lVal == CHILDID_SELF) << "the page itself";
    EXPECT_EQ(client->accHitTest(origin.x - 1, origin.y, &hit), S_FALSE);

    VARIANT next;
    EXPECT_EQ(client->accNavigate(NAVDIR_FIRSTCHILD, childId(CHILDID_SELF), &next), S_OK);
    EXPECT_TRUE(next.vt == VT_I4 && next.lVal == ids[0]);
    EXPECT_EQ(client->accNavigate(NAVDIR_NEXT, childId(ids[1]), &next), S_OK);
    EXPECT_TRUE(next.vt == VT_I4 && next.lVal == ids[2]);
    EXPECT_EQ(client->accNavigate(NAVDIR_PREVIOUS, childId(ids[0]), &next), S_FALSE);
    EXPECT_EQ(client->accNavigate(NAVDIR_LASTCHILD, childId(CHILDID_SELF), &next), S_OK);
    EXPECT_EQ(next.vt, VT_DISPATCH);
    next.pdispVal->Release();
    client->Release();
}

TEST(Accessible, ADefaultActionClicksAsAUserWouldAfterTheReadersCallHasReturned) {
    Page page(u"<input id='c' type='checkbox'/>C<input id='r' type='radio' name='g' value='1'/>R"
              u"<input id='b' type='button' value='Go'/><p>text <a id='l' href='x'>a link</a></p>");
    RecordingListener listener(*page.getContext());
    IAccessible* client = clientOf(page);
    ASSERT_TRUE(client);
    const auto press = [&](const char16_t* id) {
        return client->accDoDefaultAction(childId(page.getViewById(id)->serial()));
    };
    EXPECT_EQ(press(u"c"), S_OK);
    EXPECT_EQ(listener.changes, "") << "not while the reader waits";
    pump(100);
    EXPECT_EQ(listener.changes, "Check:true");
    EXPECT_EQ(press(u"r"), S_OK);
    EXPECT_EQ(press(u"b"), S_OK);
    EXPECT_EQ(press(u"l"), S_OK);
    listener.heard.clear();
    pump(100);
    EXPECT_EQ(listener.changes, "Check:true Radio:1");
    for (const char* heard : {"ButtonClicked", "LinkClicked"})
        EXPECT_NE(listener.heard.find(heard), std::string::npos) << listener.heard;
    EXPECT_FALSE(page.getViewById(u"b")->isHovered()) << "the pointer is elsewhere";

    EXPECT_EQ(client->get_accChildCount(nullptr), E_POINTER);
    std::vector<IDispatch*> objects;
    const std::vector<long> ids = childrenOf(*client, objects);
    ASSERT_EQ(ids.size(), 5u);
    EXPECT_EQ(client->accDoDefaultAction(childId(ids[3])), DISP_E_MEMBERNOTFOUND) << "a text";
    page.getViewById(u"b")->setDisabled(true, 1.0);
    EXPECT_EQ(press(u"b"), DISP_E_MEMBERNOTFOUND);
    client->Release();
}

TEST(Accessible, CallsOnChildrenOrFramesThatHaveGoneFailAndTouchNothing) {
    auto page = std::make_unique<Page>(u"<div id='d'><input id='b' type='button' value='Go'/>"
                                       u"</div><p id='p'>words</p>");
    RecordingListener listener(*page->getContext());
    IAccessible* client = clientOf(*page);
    ASSERT_TRUE(client);
    const long button = page->getViewById(u"b")->serial();
    const long text = page->getViewById(u"p")->serial();
    EXPECT_EQ(nameOf(*client, button), "Go");

    // Pressed, and gone before the click could run.
    EXPECT_EQ(client->accDoDefaultAction(childId(button)), S_OK);
    static_cast<CompositeView*>(page->getViewById(u"d"))->setMarkup(u"<b>new</b>");
    pump(100);
    EXPECT_EQ(listener.heard, "");
    for (long gone : {button, 12345678L, -3L}) {
        EXPECT_EQ(nameOf(*client, gone), "result " + std::to_string(E_INVALIDARG)) << gone;
        EXPECT_EQ(client->accDoDefaultAction(childId(gone)), E_INVALIDARG);
        long left, top, width, height;
        EXPECT_EQ(client->accLocation(&left, &top, &width, &height, childId(gone)), E_INVALIDARG);
    }
    VARIANT notAnId;
    notAnId.vt = VT_BSTR;
    notAnId.bstrVal = nullptr;
    BSTR name = nullptr;
    EXPECT_EQ(client->get_accName(notAnId, &name), E_INVALIDARG);
    EXPECT_EQ(client->get_accName(childId(text), nullptr), E_POINTER);
    EXPECT_EQ(nameOf(*client, text), "words") << "what stays keeps its id";

    // The frame goes; the reader still holds its object.
    page.reset();
    long count = 0;
    EXPECT_EQ(client->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(nameOf(*client, CHILDID_SELF), "result " + std::to_string(CO_E_OBJNOTCONNECTED));
    EXPECT_EQ(client->accDoDefaultAction(childId(text)), CO_E_OBJNOTCONNECTED);
    VARIANT focus;
    EXPECT_EQ(client->get_accFocus(&focus), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(client->accHitTest(0, 0, &focus), CO_E_OBJNOTCONNECTED);
    IEnumVARIANT* children = nullptr;
    ASSERT_EQ(client->QueryInterface(__uuidof(IEnumVARIANT), reinterpret_cast<void**>(&children)),
              S_OK);
    EXPECT_EQ(children->Reset(), CO_E_OBJNOTCONNECTED);
    ULONG fetched = 7;
    EXPECT_EQ(children->Next(1, &focus, &fetched), CO_E_OBJNOTCONNECTED);
    children->Release();
    EXPECT_EQ(client->Release(), 0u) << "the last reference frees the object";
}

// The events of the frame's client object that a listening reader receives, as "event:id".
std::string heardEvents;
HWND heardWindow = nullptr;

void CALLBACK hearEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                        DWORD) {
    if (window != heardWindow || object != OBJID_CLIENT)
        return;
    const char* name = event == EVENT_OBJECT_STATECHANGE  ? "state"
                       : event == EVENT_OBJECT_NAMECHANGE ? "name"
                       : event == EVENT_OBJECT_REORDER    ? "reorder"
                       : event == EVENT_OBJECT_FOCUS      ? "focus"
                                                          : "other";
    heardEvents += heardEvents.empty() ? "" : " ";
    heardEvents += name;
    heardEvents += ':';
    heardEvents += std::to_string(child);
}

TEST(Accessible, ChecksCaptionsTextsAndShownPartsAreAnnouncedToListeningReaders) {
    Page page(u"<input id='c' type='checkbox'/>C<input id='b' type='button' value='Go'/>"
              u"<div id='s'>1 of 2</div><div id='h' style='display:none'>x</div>");
    heardWindow = page.getWindow().getHandle();
    const HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_REORDER, EVENT_OBJECT_NAMECHANGE,
                                               nullptr, hearEvent, 0, 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_TRUE(hook);
    auto& check = static_cast<ToggleView&>(*page.getViewById(u"c"));
    auto& button = static_cast<ButtonView&>(*page.getViewById(u"b"));
    auto& status = static_cast<CompositeView&>(*page.getViewById(u"s"));
    auto& hidden = static_cast<CompositeView&>(*page.getViewById(u"h"));
    const std::string c = std::to_string(check.serial());
    const std::string b = std::to_string(button.serial());
    const std::string s = std::to_string(status.serial());
    const struct {
        const char* what;
        std::function<void()> act;
        std::string heard;
    } steps[] = {
        {"checked", [&] { check.setChecked(true, true); }, "state:" + c},
        {"a caption", [&] { button.setValue(u"Stop"); }, "name:" + b},
        {"a status", [&] { status.setText(u"2 of 2"); }, "name:" + s},
        {"a text where none is shown", [&] { hidden.setText(u"y"); }, ""},
        {"a part shown", [&] { hidden.setHidden(false); }, "reorder:0"},
        {"a text gone", [&] { status.setText(u""); }, "reorder:0"},
        {"the focus on nothing", [&] { page.accessibleChange(AccessibleChange::Focus, page); },
         "focus:0"},
        {"the focus on the button", [&] { page.accessibleChange(AccessibleChange::Focus, button); },
         "focus:" + b},
    };
    for (const auto& step : steps) {
        heardEvents.clear();
        step.act();
        // Past the layout pass that tells of new parts.
        pump(250);
        EXPECT_EQ(heardEvents, step.heard) << step.what;
    }
    UnhookWinEvent(hook);
}

} // namespace
