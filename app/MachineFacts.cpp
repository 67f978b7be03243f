#include "app/MachineFacts.h"

#include <windows.h>

static_assert(ArchitectureIntel == PROCESSOR_ARCHITECTURE_INTEL);
static_assert(ArchitectureAmd64 == PROCESSOR_ARCHITECTURE_AMD64);
static_assert(ArchitectureArm64 == PROCESSOR_ARCHITECTURE_ARM64);
static_assert(MachineArm64 == IMAGE_FILE_MACHINE_ARM64);

namespace {

using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
using IsWow64Process2Function = BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*);

// Casts a looked-up export to its type; the detour through void* keeps -Wcast-function-type quiet.
template <typename Function> Function exported(const wchar_t* module, const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(module), name)));
}

// RtlGetVersion, unlike GetVersionExW, is not told an older version by the compatibility layer.
bool isWindows10OrLater() {
    static const RtlGetVersionFunction rtlGetVersion =
        exported<RtlGetVersionFunction>(L"ntdll.dll", "RtlGetVersion");
    if (!rtlGetVersion)
        return false;
    OSVERSIONINFOW version = {};
    // The size of this very structure: a larger one would let the call write past it.
    version.dwOSVersionInfoSize = sizeof(version);
    return rtlGetVersion(&version) == 0 && version.dwMajorVersion >= 10;
}

uint16_t nativeMachine() {
    const auto isWow64Process2 = exported<IsWow64Process2Function>(L"kernel32", "IsWow64Process2");
    USHORT processMachine = 0;
    USHORT machine = 0;
    if (!isWow64Process2 || !isWow64Process2(GetCurrentProcess(), &processMachine, &machine))
        return 0;
    return machine;
}

ZString environmentVariable(const wchar_t* name) {
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0)
        return ZString();
    ZString value(static_cast<int>(size));
    const DWORD length = GetEnvironmentVariableW(name, value.wdata(), size);
    value.setLength(length < size ? static_cast<int>(length) : 0);
    return value;
}

ZString expanded(const ZString& text) {
    const DWORD size = ExpandEnvironmentStringsW(text.w_str(), nullptr, 0);
    if (size == 0)
        return text;
    ZString result(static_cast<int>(size));
    const DWORD written = ExpandEnvironmentStringsW(text.w_str(), result.wdata(), size);
    if (written == 0 || written > size)
        return text;
    result.setLength(static_cast<int>(written) - 1);
    return result;
}

// The candidate as a usable folder, or an empty string when it does not exist.
ZString existingFolder(const ZString& candidate) {
    ZString folder = withoutTrailingSeparators(expanded(candidate));
    if (folder.isEmpty() || GetFileAttributesW(folder.w_str()) == INVALID_FILE_ATTRIBUTES)
        return ZString();
    return folder;
}

ZString systemTempPath() {
    const DWORD capacity = 4096;
    ZString path(static_cast<int>(capacity));
    const DWORD length = GetTempPathW(capacity, path.wdata());
    if (length < 1 || length > capacity - 1)
        return ZString();
    path.setLength(static_cast<int>(length));
    return path;
}

} // namespace

MachineFacts currentMachineFacts() {
    SYSTEM_INFO system = {};
    GetNativeSystemInfo(&system);
    MachineFacts facts;
    facts.nativeArchitecture = system.wProcessorArchitecture;
    facts.windows10OrLater = isWindows10OrLater();
    if (facts.windows10OrLater)
        facts.nativeMachine = nativeMachine();
    return facts;
}

ZString tempFolder() {
    const ZString candidates[] = {systemTempPath(), environmentVariable(L"TMP"),
                                  environmentVariable(L"TEMP"), environmentVariable(L"TMPDIR")};
    for (const ZString& candidate : candidates) {
        ZString folder = existingFolder(candidate);
        if (!folder.isEmpty())
            return folder;
    }
    return u".";
}
