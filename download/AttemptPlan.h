#pragma once

#include "base/ZString.h"

#include <cstdint>
#include <optional>

// What one press of Install does when the network lets it down: how many attempts, how long to
// wait between them, and what the next request asks for so that it continues the file.

// Failed attempts in a row after which the worker gives up. An attempt that got the file further
// than any before it starts the count again, so a long download survives many breaks.
constexpr int MaxAttempts = 5;

// The waits of the worker; tests shorten them.
struct DownloadTiming {
    // The pause after the first failure; each further one doubles it.
    int32_t pauseUnitMs = 1000;
    // An attempt that receives nothing for this long has failed.
    int32_t stallTimeoutMs = 30000;
};

// A status that another attempt may see answered: 408, 429 and 5xx.
bool isTransientStatus(int32_t status);

// Milliseconds to wait after the `failures`-th failure in a row (1-based): 1, 2, 4, 8 pause
// units. A Retry-After of up to 30 seconds on a 503 or 429 answer replaces that pause.
int32_t pauseAfter(int failures, const DownloadTiming& timing, int32_t status,
                   const ZString& retryAfter);

// The seconds of a Retry-After header in its delta form; nothing for a date, unreadable text or
// a number beyond int64.
std::optional<int64_t> parseRetryAfter(const ZString& text);

// A Content-Range header "bytes FIRST-LAST/TOTAL"; total is -1 for "*".
struct ContentRange {
    int64_t first;
    int64_t last;
    int64_t total;
};
std::optional<ContentRange> parseContentRange(const ZString& text);

// The validator that lets a next request continue the body of this response: its strong ETag,
// else its Last-Modified, when it accepts byte ranges; empty when the next one must start over.
ZString resumeValidator(const ZString& acceptRanges, const ZString& etag,
                        const ZString& lastModified);

// The request's extra headers: "Connection: close", and when there is a validator and bytes to
// keep, the Range from `offset` on with the If-Range that names the validator.
ZString requestHeaders(int32_t offset, const ZString& validator);

// The size of the whole file when a 206 answer with this Content-Range continues a file that
// holds `offset` bytes; `knownTotal` is the size announced before (0 when none was).
std::optional<int32_t> continuedTotal(const ZString& contentRange, int32_t offset,
                                      int32_t knownTotal);
