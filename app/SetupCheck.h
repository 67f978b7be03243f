#pragma once

#include "base/ZString.h"

#include <windows.h>

// What a downloaded setup must be before it is started: a cut file, a proxy's error page, a
// tampered file or someone else's program never is.
enum class SetupVerdict { Trusted, NotAProgram, NotSigned, OtherPublisher };

// Checks the open `file` at `path`, in this order: a Windows program (MZ, a PE header inside the
// file, a machine Windows runs on, an executable image that is not a DLL), a valid Authenticode
// signature, and a signer whose certificate names `publisher` as its common name. Reads through
// the handle, so what is checked is what the holder of the handle starts.
SetupVerdict checkSetup(HANDLE file, const ZString& path, const ZString& publisher);

// The first of those checks alone.
bool isWindowsProgram(HANDLE file);
