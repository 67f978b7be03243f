#include "download/DownloadState.h"

#include <utility>

DownloadState::DownloadState() : stopped(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    InitializeCriticalSection(&lock);
}

DownloadState::~DownloadState() {
    releaseResult();
    CloseHandle(stopped);
    DeleteCriticalSection(&lock);
}

void DownloadState::requestStop() {
    stop = true;
    SetEvent(stopped);
}

DownloadSnapshot DownloadState::snapshot() {
    DownloadLock hold(*this);
    return {running, error, total, received, attempts, resultPath};
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
