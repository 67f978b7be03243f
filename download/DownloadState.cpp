#include "download/DownloadState.h"

DownloadState::DownloadState() {
    InitializeCriticalSection(&lock);
}

DownloadState::~DownloadState() {
    DeleteCriticalSection(&lock);
}

DownloadSnapshot DownloadState::snapshot() {
    DownloadLock hold(*this);
    return {running, error, total, received, resultPath};
}
