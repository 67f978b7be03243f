// wintrust.dll: the check of the downloaded setup's signature.
#include "system/SystemLibrary.h"

#include <softpub.h>
#include <wintrust.h>

namespace {

struct WinTrust {
    HMODULE module = loadSystemLibrary(L"wintrust.dll");
    SYSTEM_FUNCTION(WinVerifyTrust);
    SYSTEM_FUNCTION(WTHelperProvDataFromStateData);
    SYSTEM_FUNCTION(WTHelperGetProvSignerFromChain);
    SYSTEM_FUNCTION(WTHelperGetProvCertFromChain);
};

} // namespace

LONG WINAPI WinVerifyTrust(HWND window, GUID* action, LPVOID data) {
    return callOr(systemLibrary<WinTrust>().WinVerifyTrust, TRUST_E_PROVIDER_UNKNOWN, window,
                  action, data);
}

CRYPT_PROVIDER_DATA* WINAPI WTHelperProvDataFromStateData(HANDLE state) {
    return callOr(systemLibrary<WinTrust>().WTHelperProvDataFromStateData, nullptr, state);
}

CRYPT_PROVIDER_SGNR* WINAPI WTHelperGetProvSignerFromChain(CRYPT_PROVIDER_DATA* provider,
                                                           DWORD signer, BOOL counterSigner,
                                                           DWORD counterSignerIndex) {
    return callOr(systemLibrary<WinTrust>().WTHelperGetProvSignerFromChain, nullptr, provider,
                  signer, counterSigner, counterSignerIndex);
}

CRYPT_PROVIDER_CERT* WINAPI WTHelperGetProvCertFromChain(CRYPT_PROVIDER_SGNR* signer,
                                                         DWORD certificate) {
    return callOr(systemLibrary<WinTrust>().WTHelperGetProvCertFromChain, nullptr, signer,
                  certificate);
}
