#pragma once

#include "base/ZString.h"
#include "download/AttemptPlan.h"

#include <windows.h>

#include <atomic>
#include <cstdint>

// The result of a download attempt. The page tells only zero from non-zero.
enum DownloadError : int32_t {
    DownloadOk = 0, // also after a stop on request
    DownloadNotConnected = 2,
    DownloadOpenFailed = 3,
    DownloadOpenUrlFailed = 4,
    DownloadBadStatus = 5,
    DownloadReadFailed = 6,
    DownloadCreateFileFailed = 7,
    DownloadWriteFailed = 8,
    // The body ended before the announced length, or was empty.
    DownloadIncomplete = 9,
    // No worker thread could be started.
    DownloadThreadFailed = 10,
    // The finished file was not a program signed by the build's publisher and has been deleted.
    DownloadSetupRejected = 11,
};

// A copy of the published fields, taken under the lock.
struct DownloadSnapshot {
    bool running;
    int32_t error;
    int32_t total;
    int32_t received;
    int32_t attempts;
    ZString resultPath;
};

// The record the page and the download worker share. While a worker may run, lock guards every
// field but stop, which is atomic because the worker polls it before each chunk without the lock,
// and stopped, the event that ends a pause between attempts at once.
// The application keeps one for the whole process: a worker that is never joined may still use it.
struct DownloadState {
    DownloadState();
    ~DownloadState();
    DownloadState(const DownloadState&) = delete;
    DownloadState& operator=(const DownloadState&) = delete;

    // Asks the worker to stop before its next read or attempt, and ends a pause between attempts.
    void requestStop();
    DownloadSnapshot snapshot();
    // Hands the finished file's handle to the caller, who closes it.
    HANDLE takeResultFile();
    // Closes the finished file, if any, and forgets it; with the lock held.
    void releaseResult();

    std::atomic<bool> stop{false};
    bool running = false;
    ZString url;
    ZString resultPath;
    // The file at resultPath, open for reading with read sharing only: nothing can write,
    // replace or delete it between its check and its start.
    HANDLE resultFile = INVALID_HANDLE_VALUE;
    int32_t error = DownloadOk;
    int32_t total = 0;
    int32_t received = 0;
    // Requests made for this press of Install so far.
    int32_t attempts = 0;
    // Kept by a new start; the worker reads it once.
    DownloadTiming timing;
    CRITICAL_SECTION lock;
    HANDLE stopped;
};

// Holds a record's lock for its lifetime.
class DownloadLock {
public:
    explicit DownloadLock(DownloadState& state) : lock_(state.lock) {
        EnterCriticalSection(&lock_);
    }
    ~DownloadLock() { LeaveCriticalSection(&lock_); }
    DownloadLock(const DownloadLock&) = delete;
    DownloadLock& operator=(const DownloadLock&) = delete;

private:
    CRITICAL_SECTION& lock_;
};
