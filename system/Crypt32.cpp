// crypt32.dll: the name on the certificate of the downloaded setup's signer.
#include "system/SystemLibrary.h"

#include <wincrypt.h>

namespace {

struct Crypt32 {
    HMODULE module = loadSystemLibrary(L"crypt32.dll");
    SYSTEM_FUNCTION(CertGetNameStringW);
};

} // namespace

DWORD WINAPI CertGetNameStringW(PCCERT_CONTEXT certificate, DWORD type, DWORD flags,
                                void* typeParameter, LPWSTR name, DWORD size) {
    static const Crypt32 library;
    if (library.CertGetNameStringW)
        return library.CertGetNameStringW(certificate, type, flags, typeParameter, name, size);
    // As the function answers without a name: the empty one.
    if (name && size > 0)
        name[0] = L'\0';
    return 1;
}
