#pragma once

#include "base/ZString.h"

#include <cstdint>

// Processor architecture codes of GetNativeSystemInfo, and the machine code IsWow64Process2
// reports for an ARM64 machine.
enum : int { ArchitectureIntel = 0, ArchitectureAmd64 = 9, ArchitectureArm64 = 12 };
constexpr uint16_t MachineArm64 = 0xAA64;

// What the choice of the setup program depends on, as the system reports it.
struct MachineFacts {
    int nativeArchitecture = -1;
    // RtlGetVersion exists, succeeds and reports major version 10 or later.
    bool windows10OrLater = false;
    // The native machine from IsWow64Process2; 0 when the function is missing or fails.
    uint16_t nativeMachine = 0;
};

// The address of the setup program for such a machine on the download server `host`, or an
// empty string when no build fits it.
ZString downloadUrlFor(const MachineFacts& facts, const ZString& host);

// The name the setup program is saved under, whatever address it came from.
ZString targetFileName();

// Removes every trailing '/' and '\'.
ZString withoutTrailingSeparators(ZString path);

// folder + separator + name, with the separators at the seam reduced to the one given; the name
// unchanged when the folder is empty.
ZString joinPath(const ZString& folder, const ZString& name, char16_t separator);
