#include "download/DownloadWorker.h"

#include "app/MachineFacts.h"

#include <wininet.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

namespace {

constexpr DWORD ChunkSize = 8192;

// A failed attempt. The worker publishes its code when no attempt is left; a transient one
// leaves the next attempt to try again.
struct Failure {
    DownloadError code;
    bool transient;
    int32_t status = 0;
    ZString retryAfter{};
};
// Nothing when the step succeeded.
using Outcome = std::optional<Failure>;

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

// A header of the response as text; empty when it is missing.
ZString queryText(HINTERNET request, DWORD query) {
    ZString value;
    DWORD size = 0;
    HttpQueryInfoW(request, query, nullptr, &size, nullptr);
    if (size == 0 || GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return value;
    value.reserve(static_cast<int>(size / sizeof(wchar_t)) + 1);
    if (!HttpQueryInfoW(request, query, value.wdata(), &size, nullptr))
        return ZString();
    value.setLength(static_cast<int>(size / sizeof(wchar_t)));
    return value;
}

// Why a request found no answer: the network may well be back in a moment, but an address or a
// certificate that is wrong stays wrong.
bool isTransientConnectError(DWORD error) {
    switch (error) {
    case ERROR_INTERNET_TIMEOUT:
    case ERROR_INTERNET_NAME_NOT_RESOLVED:
    case ERROR_INTERNET_CANNOT_CONNECT:
    case ERROR_INTERNET_CONNECTION_ABORTED:
    case ERROR_INTERNET_CONNECTION_RESET:
    case ERROR_INTERNET_DISCONNECTED:
    case ERROR_HTTP_INVALID_SERVER_RESPONSE:
        return true;
    default:
        return false;
    }
}

// What a connection and its request need of an address.
struct Address {
    ZString host;
    INTERNET_PORT port = 0;
    ZString path;
    bool secure = false;
};

// Nothing for an address that is not http or https: no attempt mends it.
std::optional<Address> crack(const ZString& url) {
    URL_COMPONENTSW parts{};
    parts.dwStructSize = sizeof(parts);
    parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = 1;
    if (!InternetCrackUrlW(url.w_str(), 0, 0, &parts) ||
        (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS))
        return std::nullopt;
    return Address{ZString(parts.lpszHostName, static_cast<int>(parts.dwHostNameLength)),
                   parts.nPort,
                   ZString(parts.lpszUrlPath, static_cast<int>(parts.dwUrlPathLength)) +
                       ZString(parts.lpszExtraInfo, static_cast<int>(parts.dwExtraInfoLength)),
                   parts.nScheme == INTERNET_SCHEME_HTTPS};
}

// The file of one download, gathered over its attempts: an attempt continues where the last
// stopped when the server lets it, or starts over.
class Transfer {
public:
    Transfer(DownloadState& state, const Address& address, ZString target,
             const DownloadTiming& timing)
        : state_(state), address_(address), target_(std::move(target)), timing_(timing) {}

    // One request, until the whole body or a stop request.
    Outcome attempt();
    int32_t received() const { return received_; }

private:
    Outcome receive(HINTERNET request, bool ranged);
    Outcome begin(HINTERNET request);
    void publish();

    DownloadState& state_;
    const Address address_;
    const ZString target_;
    const DownloadTiming timing_;
    FileHandle file_;
    int32_t received_ = 0;
    int32_t total_ = 0;
    // Names the content of the file to the server; empty when the next request starts over.
    ZString validator_;
    std::vector<char> buffer_ = std::vector<char>(ChunkSize);
};

Outcome Transfer::attempt() {
    DWORD connected = 0;
    if (!InternetGetConnectedState(&connected, 0))
        return Failure{DownloadNotConnected, true};
    const InternetHandle internet(
        InternetOpenW(L"Doxly", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!internet)
        return Failure{DownloadOpenFailed, false};
    // A server that goes silent fails the attempt instead of holding it for WinINet's defaults.
    // Connections take the connect timeout of their session, requests the receive timeout of
    // their connection.
    DWORD stall = static_cast<DWORD>(timing_.stallTimeoutMs);
    InternetSetOptionW(internet.get(), INTERNET_OPTION_CONNECT_TIMEOUT, &stall, sizeof(stall));
    const InternetHandle server(InternetConnectW(internet.get(), address_.host.w_str(),
                                                 address_.port, nullptr, nullptr,
                                                 INTERNET_SERVICE_HTTP, 0, 0));
    if (!server)
        return Failure{DownloadOpenUrlFailed, false};
    InternetSetOptionW(server.get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &stall, sizeof(stall));

    const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                        (address_.secure ? INTERNET_FLAG_SECURE : 0);
    const InternetHandle request(HttpOpenRequestW(server.get(), nullptr, address_.path.w_str(),
                                                  nullptr, nullptr, nullptr, flags, 0));
    const bool ranged = received_ > 0 && !validator_.isEmpty();
    if (!request || !HttpSendRequestW(request.get(), requestHeaders(received_, validator_).w_str(),
                                      static_cast<DWORD>(-1), nullptr, 0))
        return Failure{DownloadOpenUrlFailed, isTransientConnectError(GetLastError())};
    return receive(request.get(), ranged);
}

Outcome Transfer::receive(HINTERNET request, bool ranged) {
    const auto status = static_cast<int32_t>(queryNumber(request, HTTP_QUERY_STATUS_CODE));
    if (status == 200) {
        if (Outcome failure = begin(request))
            return failure;
    } else if (status == 206 && ranged) {
        const std::optional<int32_t> total =
            continuedTotal(queryText(request, HTTP_QUERY_CONTENT_RANGE), received_, total_);
        if (!total) {
            validator_ = ZString();
            return Failure{DownloadBadStatus, true};
        }
        total_ = *total;
        publish();
    } else {
        // An answer to a range other than the two above gets one more try from the start.
        const bool transient = isTransientStatus(status);
        if (!transient)
            validator_ = ZString();
        return Failure{DownloadBadStatus, transient || ranged, status,
                       queryText(request, HTTP_QUERY_RETRY_AFTER)};
    }

    while (!state_.stop) {
        DWORD read = 0;
        if (!InternetReadFile(request, buffer_.data(), ChunkSize, &read))
            return Failure{DownloadReadFailed, true};
        if (read == 0) {
            // A cut connection also reads as the end of the body.
            if (total_ > 0 && received_ < total_)
                return Failure{DownloadIncomplete, true};
            if (received_ == 0)
                return Failure{DownloadIncomplete, false};
            return std::nullopt;
        }
        DWORD written = 0;
        if (!WriteFile(file_.get(), buffer_.data(), read, &written, nullptr))
            return Failure{DownloadWriteFailed, false};
        received_ += static_cast<int32_t>(read);
        publish();
    }
    return std::nullopt;
}

// A whole body follows: the file starts over, and the response says whether a next request
// may continue it.
Outcome Transfer::begin(HINTERNET request) {
    validator_ = resumeValidator(queryText(request, HTTP_QUERY_ACCEPT_RANGES),
                                 queryText(request, HTTP_QUERY_ETAG),
                                 queryText(request, HTTP_QUERY_LAST_MODIFIED));
    total_ = static_cast<int32_t>(queryNumber(request, HTTP_QUERY_CONTENT_LENGTH));
    received_ = 0;
    publish();
    if (file_) {
        if (SetFilePointer(file_.get(), 0, nullptr, FILE_BEGIN) != 0 || !SetEndOfFile(file_.get()))
            return Failure{DownloadWriteFailed, false};
        return std::nullopt;
    }
    const HANDLE created = CreateFileW(target_.w_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (created == INVALID_HANDLE_VALUE)
        return Failure{DownloadCreateFileFailed, false};
    file_.reset(created);
    return std::nullopt;
}

void Transfer::publish() {
    DownloadLock hold(state_);
    state_.total = total_;
    state_.received = received_;
}

// Runs attempts until one succeeds, one fails for good, the page stops the download or no
// attempt is left; returns the code of the last.
DownloadError runAttempts(DownloadState& state, Transfer& transfer, const DownloadTiming& timing) {
    int32_t furthest = 0;
    for (int attempt = 1, failures = 0; !state.stop; ++attempt) {
        {
            DownloadLock hold(state);
            state.attempts = attempt;
        }
        const Outcome failure = transfer.attempt();
        if (!failure)
            return DownloadOk;
        failures = transfer.received() > furthest ? 1 : failures + 1;
        furthest = std::max(furthest, transfer.received());
        if (!failure->transient || failures == MaxAttempts)
            return failure->code;
        const auto pause =
            static_cast<DWORD>(pauseAfter(failures, timing, failure->status, failure->retryAfter));
        if (WaitForSingleObject(state.stopped, pause) == WAIT_OBJECT_0)
            return DownloadOk;
    }
    return DownloadOk;
}

} // namespace

DWORD WINAPI downloadWorker(void* parameter) {
    DownloadState& state = *static_cast<DownloadState*>(parameter);
    ZString url;
    DownloadTiming timing;
    {
        DownloadLock hold(state);
        url = state.url;
        timing = state.timing;
    }
    // A file left by an earlier press must never pass for this one's result.
    const ZString target = joinPath(tempFolder(), targetFileName(), u'\\');
    if (!target.isEmpty())
        DeleteFileW(target.w_str());

    DownloadError error = DownloadOpenUrlFailed;
    int32_t received = 0;
    if (const std::optional<Address> address = crack(url)) {
        Transfer transfer(state, *address, target, timing);
        error = runAttempts(state, transfer, timing);
        received = transfer.received();
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
        ResetEvent(state.stopped);
        state.running = true;
        state.url = url;
        state.total = 0;
        state.received = 0;
        state.attempts = 0;
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
