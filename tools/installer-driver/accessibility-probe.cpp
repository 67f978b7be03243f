// accessibility-probe: the running installer's page as a screen reader in another program sees it,
// through the window's accessible object (MSAA), for the installer driver (installer_driver.py).
//   tree          one line for the page's client object, then one per child, in order:
//                 ROLE "NAME" [STATES] at X,Y WxH, and ` action "ACTION"` when it has one; places
//                 are relative to the window's client area. A child that is a window's object is
//                 shown as `window CLASS: ` and the line of that window's client object.
//   do NAME       the default action of the first child named NAME; prints "done"
//   events MS     for MS milliseconds, one line per event of the page's client object: focus,
//                 state, name or reorder, then the line of the child it concerns (of the client
//                 for reorder)
// Exits with 1 when there is no installer window or the asked child is not there.

#include <windows.h>
// After the declarations they rely on.
#include <oleacc.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

HWND installer() {
    return FindWindowW(L"XhtmlFrameView", L"Doxly Creator Installer");
}

std::wstring text(BSTR value) {
    std::wstring out = value ? value : L"";
    SysFreeString(value);
    // Long texts (a licence) are shown by their beginning.
    if (out.size() > 160)
        out = out.substr(0, 157) + L"...";
    for (wchar_t& c : out) {
        if (c == L'\r' || c == L'\n')
            c = L' ';
    }
    return out;
}

VARIANT childId(long id) {
    VARIANT child;
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

// ROLE "NAME" [STATES] at X,Y WxH action "ACTION"
std::wstring describe(IAccessible& object, long id) {
    const VARIANT child = childId(id);
    wchar_t buffer[128];
    std::wstring line;
    VARIANT value;
    value.vt = VT_EMPTY;
    object.get_accRole(child, &value);
    if (value.vt == VT_I4 && GetRoleTextW(static_cast<DWORD>(value.lVal), buffer, 128) > 0)
        line += buffer;
    else
        line += L"?";
    BSTR name = nullptr;
    object.get_accName(child, &name);
    line += L" \"" + text(name) + L"\" [";
    value.vt = VT_EMPTY;
    object.get_accState(child, &value);
    const DWORD states = value.vt == VT_I4 ? static_cast<DWORD>(value.lVal) : 0;
    for (DWORD bit = 1; bit; bit <<= 1) {
        if ((states & bit) && GetStateTextW(bit, buffer, 128) > 0)
            line += std::wstring(line.back() == L'[' ? L"" : L", ") + buffer;
    }
    long x = 0, y = 0, width = 0, height = 0;
    object.accLocation(&x, &y, &width, &height, child);
    POINT origin{0, 0};
    ClientToScreen(installer(), &origin);
    std::swprintf(buffer, 128, L"] at %ld,%ld %ldx%ld", x - origin.x, y - origin.y, width, height);
    line += buffer;
    BSTR action = nullptr;
    if (object.get_accDefaultAction(child, &action) == S_OK && action)
        line += L" action \"" + text(action) + L"\"";
    return line;
}

// A child that is an object: the window it stands for, and that window's client object.
std::wstring describeObject(IDispatch& dispatch) {
    IAccessible* object = nullptr;
    dispatch.QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&object));
    HWND window = nullptr;
    if (object)
        WindowFromAccessibleObject(object, &window);
    std::wstring line = L"window ";
    wchar_t name[64] = L"?";
    if (window)
        GetClassNameW(window, name, 64);
    line += name;
    line += L": ";
    IAccessible* client = nullptr;
    if (window && SUCCEEDED(AccessibleObjectFromWindow(window, OBJID_CLIENT, IID_IAccessible,
                                                       reinterpret_cast<void**>(&client)))) {
        line += describe(*client, CHILDID_SELF);
        client->Release();
    } else {
        line += L"?";
    }
    if (object)
        object->Release();
    return line;
}

IAccessible* clientObject() {
    const HWND window = installer();
    IAccessible* client = nullptr;
    if (window)
        AccessibleObjectFromWindow(window, OBJID_CLIENT, IID_IAccessible,
                                   reinterpret_cast<void**>(&client));
    return client;
}

// Calls `each` with every child as its id (0 for an object) and line; stops when it says so.
template <typename Each> void forEachChild(IAccessible& client, Each each) {
    long count = 0;
    client.get_accChildCount(&count);
    VARIANT children[64];
    long got = 0;
    AccessibleChildren(&client, 0, count < 64 ? count : 64, children, &got);
    bool going = true;
    for (long i = 0; i < got; ++i) {
        if (going && children[i].vt == VT_I4)
            going = each(children[i].lVal, describe(client, children[i].lVal));
        else if (going && children[i].vt == VT_DISPATCH)
            going = each(0L, describeObject(*children[i].pdispVal));
        VariantClear(&children[i]);
    }
}

int tree() {
    IAccessible* client = clientObject();
    if (!client)
        return 1;
    std::printf("%ls\n", describe(*client, CHILDID_SELF).c_str());
    forEachChild(*client, [](long, const std::wstring& line) {
        std::printf("%ls\n", line.c_str());
        return true;
    });
    client->Release();
    return 0;
}

int act(const wchar_t* name) {
    IAccessible* client = clientObject();
    if (!client)
        return 1;
    long target = 0;
    forEachChild(*client, [&](long id, const std::wstring&) {
        BSTR childName = nullptr;
        if (id && client->get_accName(childId(id), &childName) == S_OK && childName &&
            std::wcscmp(childName, name) == 0)
            target = id;
        SysFreeString(childName);
        return target == 0;
    });
    const HRESULT result = target ? client->accDoDefaultAction(childId(target)) : E_INVALIDARG;
    client->Release();
    if (FAILED(result)) {
        std::printf("failed 0x%08lx\n", static_cast<unsigned long>(result));
        return 1;
    }
    std::puts("done");
    return 0;
}

void CALLBACK heard(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                    DWORD) {
    if (window != installer() || object != OBJID_CLIENT)
        return;
    const char* name = event == EVENT_OBJECT_FOCUS         ? "focus"
                       : event == EVENT_OBJECT_STATECHANGE ? "state"
                       : event == EVENT_OBJECT_NAMECHANGE  ? "name"
                       : event == EVENT_OBJECT_REORDER     ? "reorder"
                                                           : nullptr;
    if (!name)
        return;
    IAccessible* source = nullptr;
    VARIANT id;
    id.vt = VT_EMPTY;
    std::wstring line = L"?";
    if (SUCCEEDED(AccessibleObjectFromEvent(window, object, child, &source, &id)) && source) {
        line = describe(*source, id.vt == VT_I4 ? id.lVal : CHILDID_SELF);
        source->Release();
    }
    std::printf("%s %ls\n", name, line.c_str());
    std::fflush(stdout);
}

int events(int milliseconds) {
    if (!installer())
        return 1;
    const HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_REORDER, EVENT_OBJECT_NAMECHANGE,
                                               nullptr, heard, 0, 0, WINEVENT_OUTOFCONTEXT);
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
    std::puts("listening");
    std::fflush(stdout);
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }
    UnhookWinEvent(hook);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int result = 2;
    if (argc == 2 && std::wcscmp(argv[1], L"tree") == 0)
        result = tree();
    else if (argc == 3 && std::wcscmp(argv[1], L"do") == 0)
        result = act(argv[2]);
    else if (argc == 3 && std::wcscmp(argv[1], L"events") == 0)
        result = events(_wtoi(argv[2]));
    else
        std::fputs("usage: accessibility-probe tree | do NAME | events MILLISECONDS\n", stderr);
    CoUninitialize();
    return result;
}
