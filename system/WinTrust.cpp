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

const WinTrust& winTrust() {
    static const WinTrust library;
    return library;
}

} // namespace

LONG WINAPI WinVerifyTrust(HWND window, GUID* action, LPVOID data) {
    const auto verify = winTrust().WinVerifyTrust;
    return verify ? verify(window, action, data) : TRUST_E_PROVIDER_UNKNOWN;
}

CRYPT_PROVIDER_DATA* WINAPI WTHelperProvDataFromStateData(HANDLE state) {
    const auto provider = winTrust().WTHelperProvDataFromStateData;
    return provider ? provider(state) : nullptr;
}

CRYPT_PROVIDER_SGNR* WINAPI WTHelperGetProvSignerFromChain(CRYPT_PROVIDER_DATA* provider,
                                                           DWORD signer, BOOL counterSigner,
                                                           DWORD counterSignerIndex) {
    const auto get = winTrust().WTHelperGetProvSignerFromChain;
    return get ? get(provider, signer, counterSigner, counterSignerIndex) : nullptr;
}

CRYPT_PROVIDER_CERT* WINAPI WTHelperGetProvCertFromChain(CRYPT_PROVIDER_SGNR* signer,
                                                         DWORD certificate) {
    const auto get = winTrust().WTHelperGetProvCertFromChain;
    return get ? get(signer, certificate) : nullptr;
}
