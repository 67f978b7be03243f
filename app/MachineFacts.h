#pragma once

#include "app/DownloadSource.h"

// What this machine reports about itself, gathered with the Win32 calls (Windows only).

MachineFacts currentMachineFacts();

// The setup program's address for this machine on the build's download server; empty when the
// machine is not supported.
ZString chooseDownloadUrl();

// An existing folder for temporary files without a trailing separator; "." when none is found.
ZString tempFolder();
