#pragma once

#include "app/DownloadSource.h"

// What this machine reports about itself, gathered with the Win32 calls (Windows only).

MachineFacts currentMachineFacts();

// An existing folder for temporary files without a trailing separator; "." when none is found.
ZString tempFolder();
