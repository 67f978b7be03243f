#include "download/DownloadState.h"

DownloadState::DownloadState() : stopped(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    InitializeCriticalSection(&lock);
}

DownloadState::~DownloadState() {
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
