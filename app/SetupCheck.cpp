#include "app/SetupCheck.h"

#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>

namespace {

// Reads exactly `size` bytes at `offset`; false when the file is shorter.
bool readAt(HANDLE file, uint32_t offset, void* bytes, DWORD size) {
    OVERLAPPED at{};
    at.Offset = offset;
    DWORD read = 0;
    return ReadFile(file, bytes, size, &read, &at) && read == size;
}

// Verifies the file's signature and gives the common name of its signer's certificate, empty
// when the signature is missing or invalid. Never waits on the network: revocation is not
// checked and URLs are answered from the cache only.
ZString signerName(HANDLE file, const ZString& path) {
    WINTRUST_FILE_INFO subject{sizeof subject, path.w_str(), file, nullptr};
    WINTRUST_DATA data{};
    data.cbStruct = sizeof data;
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = WTD_REVOKE_NONE;
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &subject;
    data.dwStateAction = WTD_STATEACTION_VERIFY;
    data.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL;
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    const auto noUser = static_cast<HWND>(INVALID_HANDLE_VALUE);

    ZString name;
    if (WinVerifyTrust(noUser, &action, &data) == ERROR_SUCCESS) {
        CRYPT_PROVIDER_SGNR* signer = WTHelperGetProvSignerFromChain(
            WTHelperProvDataFromStateData(data.hWVTStateData), 0, FALSE, 0);
        const CRYPT_PROVIDER_CERT* certificate =
            signer ? WTHelperGetProvCertFromChain(signer, 0) : nullptr;
        if (certificate && certificate->pCert) {
            wchar_t text[256] = {};
            CertGetNameStringW(certificate->pCert, CERT_NAME_ATTR_TYPE, 0,
                               const_cast<char*>(szOID_COMMON_NAME), text, 256);
            name = text;
        }
    }
    data.dwStateAction = WTD_STATEACTION_CLOSE;
    WinVerifyTrust(noUser, &action, &data);
    return name;
}

} // namespace

bool isWindowsProgram(HANDLE file) {
    LARGE_INTEGER size{};
    IMAGE_DOS_HEADER dos{};
    if (!GetFileSizeEx(file, &size) || !readAt(file, 0, &dos, sizeof dos) ||
        dos.e_magic != IMAGE_DOS_SIGNATURE || dos.e_lfanew < 0)
        return false;
    struct {
        DWORD signature;
        IMAGE_FILE_HEADER file;
    } pe{};
    const auto offset = static_cast<uint32_t>(dos.e_lfanew);
    if (offset + sizeof pe > static_cast<uint64_t>(size.QuadPart) ||
        !readAt(file, offset, &pe, sizeof pe) || pe.signature != IMAGE_NT_SIGNATURE)
        return false;
    const WORD machine = pe.file.Machine;
    return (machine == IMAGE_FILE_MACHINE_I386 || machine == IMAGE_FILE_MACHINE_AMD64 ||
            machine == IMAGE_FILE_MACHINE_ARM64) &&
           (pe.file.Characteristics & IMAGE_FILE_EXECUTABLE_IMAGE) &&
           !(pe.file.Characteristics & IMAGE_FILE_DLL);
}

SetupVerdict checkSetup(HANDLE file, const ZString& path, const ZString& publisher) {
    if (!isWindowsProgram(file))
        return SetupVerdict::NotAProgram;
    const ZString signer = signerName(file, path);
    if (signer.isEmpty())
        return SetupVerdict::NotSigned;
    return signer.equals(publisher) ? SetupVerdict::Trusted : SetupVerdict::OtherPublisher;
}
