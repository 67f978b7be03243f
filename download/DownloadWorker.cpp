#include "download/DownloadWorker.h"

#include "app/MachineFacts.h"

#include <shlwapi.h>
#include <wininet.h>

#include <memory>
#include <stdexcept>
#include <vector>

namespace {

constexpr DWORD ChunkSize = 8192;

// A failed step of the transfer; the worker publishes its code.
class DownloadFailure : public std::runtime_error {
public:
    DownloadFailure(DownloadError code, const char* text) : std::runtime_error(text), code_(code) {}
    DownloadError code() const { return code_; }

private:
    DownloadError code_;
};

struct InternetHandleCloser {
    void operator()(HINTERNET handle) const { InternetCloseHandle(handle); }
};
using InternetHandle = std::unique_ptr<void, InternetHandleCloser>;

struct FileCloser {
    void operator()(HANDLE file) const { CloseHandle(file); }
};
using FileHandle = std::unique_ptr<void, FileCloser>;

// A numeric header of the response; 0 when the query fails or the header is missing.
DWORD queryNumber(HINTERNET request, DWORD query) {
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (!HttpQueryInfoW(request, query | HTTP_QUERY_FLAG_NUMBER, &value, &size, nullptr))
        return 0;
    return value;
}

// Streams the response for `url` into `target`; `received` counts the bytes written so far.
// Returns after the whole body or a stop request and throws DownloadFailure otherwise.
void transfer(DownloadState& state, const ZString& url, const ZString& target, int32_t& received) {
    DWORD connection = 0;
    if (!InternetGetConnectedState(&connection, 0))
        throw DownloadFailure(DownloadNotConnected, "InternetGetConnectedState failed");
    const InternetHandle internet(
        InternetOpenW(L"Doxly", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!internet)
        throw DownloadFailure(DownloadOpenFailed, "InternetOpen failed");
    const InternetHandle request(
        InternetOpenUrlW(internet.get(), url.w_str(), L"Connection: close", static_cast<DWORD>(-1),
                         INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0));
    if (!request)
        throw DownloadFailure(DownloadOpenUrlFailed, "InternetOpenUrl failed");
    if (queryNumber(request.get(), HTTP_QUERY_STATUS_CODE) != 200)
        throw DownloadFailure(DownloadBadStatus, "HttpQueryInfo status code failed");
    const auto total = static_cast<int32_t>(queryNumber(request.get(), HTTP_QUERY_CONTENT_LENGTH));
    {
        DownloadLock hold(state);
        state.total = total;
    }

    const HANDLE created = CreateFileW(target.w_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (created == INVALID_HANDLE_VALUE)
        throw DownloadFailure(DownloadCreateFileFailed, "CreateFile failed");
    const FileHandle file(created);

    std::vector<char> buffer(ChunkSize);
    while (!state.stop) {
        DWORD read = 0;
        if (!InternetReadFile(request.get(), buffer.data(), ChunkSize, &read))
            throw DownloadFailure(DownloadReadFailed, "InternetReadFile failed");
        if (read == 0) {
            // A cut connection also reads as the end of the body.
            if (received == 0 || (total > 0 && received < total))
                throw DownloadFailure(DownloadIncomplete, "Download incomplete");
            return;
        }
        DWORD written = 0;
        if (!WriteFile(file.get(), buffer.data(), read, &written, nullptr))
            throw DownloadFailure(DownloadWriteFailed, "WriteFile failed");
        received += static_cast<int32_t>(read);
        DownloadLock hold(state);
        state.received = received;
    }
}

} // namespace

DWORD WINAPI downloadWorker(void* parameter) {
    DownloadState& state = *static_cast<DownloadState*>(parameter);
    ZString url;
    {
        DownloadLock hold(state);
        url = state.url;
    }
    // A file left by an earlier attempt must never pass for this one's result.
    const ZString target = joinPath(tempFolder(), targetFileName(), u'\\');
    if (!target.isEmpty() && PathFileExistsW(target.w_str()))
        DeleteFileW(target.w_str());

    DownloadError error = DownloadOk;
    int32_t received = 0;
    try {
        transfer(state, url, target, received);
    } catch (const DownloadFailure& failure) {
        error = failure.code();
    }

    // Held from here until the page has checked and started it. A program cannot be started
    // while a handle may write to it, so the writer's handle is closed before this one opens.
    HANDLE held = INVALID_HANDLE_VALUE;
    if (error == DownloadOk && received != 0) {
        held = CreateFileW(target.w_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_TEMPORARY, nullptr);
        if (held == INVALID_HANDLE_VALUE)
            error = DownloadCreateFileFailed;
    }

    DownloadLock hold(state);
    state.error = error;
    state.running = false;
    if (held != INVALID_HANDLE_VALUE && !state.stop) {
        state.resultPath = target;
        state.resultFile = held;
    } else if (held != INVALID_HANDLE_VALUE) {
        CloseHandle(held);
    }
    return 0;
}

bool startDownload(DownloadState& state, const ZString& url) {
    {
        DownloadLock hold(state);
        if (state.running)
            return false;
        state.error = DownloadOk;
        state.stop = false;
        state.running = true;
        state.url = url;
        state.total = 0;
        state.received = 0;
        state.releaseResult();
    }
    DWORD threadId = 0;
    const HANDLE thread = CreateThread(nullptr, 0, downloadWorker, &state, 0, &threadId);
    if (!thread) {
        // Without this the page would wait forever for a worker that never ran.
        DownloadLock hold(state);
        state.running = false;
        state.error = DownloadThreadFailed;
        return false;
    }
    CloseHandle(thread);
    return true;
}
