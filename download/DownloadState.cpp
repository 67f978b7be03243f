#include "download/DownloadState.h"

#include <utility>

DownloadState::DownloadState() {
    InitializeCriticalSection(&lock);
}

DownloadState::~DownloadState() {
    releaseResult();
    DeleteCriticalSection(&lock);
}

DownloadSnapshot DownloadState::snapshot() {
    DownloadLock hold(*this);
    return {running, error, total, received, resultPath};
}

HANDLE DownloadState::takeResultFile() {
    DownloadLock hold(*this);
    return std::exchange(resultFile, INVALID_HANDLE_VALUE);
}

void DownloadState::releaseResult() {
    if (resultFile != INVALID_HANDLE_VALUE)
        CloseHandle(std::exchange(resultFile, INVALID_HANDLE_VALUE));
    resultPath = ZString();
}
