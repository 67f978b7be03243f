// oleaut32.dll: the strings the accessible object hands to screen readers. Only a reader needs
// it, so it stays out of the start.
#include "system/SystemLibrary.h"

#include <oleauto.h>

namespace {

struct OleAutomation {
    HMODULE module = loadSystemLibrary(L"oleaut32.dll");
    SYSTEM_FUNCTION(SysAllocStringLen);
};

} // namespace

BSTR WINAPI SysAllocStringLen(const OLECHAR* text, UINT length) {
    return callOr(systemLibrary<OleAutomation>().SysAllocStringLen, BSTR{}, text, length);
}
