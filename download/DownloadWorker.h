#pragma once

#include "download/DownloadState.h"

// Thread procedure: fetches the record's url into the temporary folder, publishing the progress
// after every chunk and the result at the end. A transient failure leads to another attempt
// after a pause, which continues the file when the server allows it (AttemptPlan.h); the result
// is published when an attempt has succeeded, failed for good or been the last. Returns 0 in
// every case.
DWORD WINAPI downloadWorker(void* state);

// Resets the record for `url` and starts a worker on it; the thread is never joined. Returns
// false without touching the record while a worker still runs, and false with the record idle
// and DownloadThreadFailed published when no thread could be started.
bool startDownload(DownloadState& state, const ZString& url);
