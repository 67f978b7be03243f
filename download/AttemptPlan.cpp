#include "download/AttemptPlan.h"

#include <limits>
#include <vector>

namespace {

constexpr int32_t MaxRetryAfterSeconds = 30;

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// Reads the digits at `at`, moving past them; nothing without digits or beyond int64.
std::optional<int64_t> readNumber(const ZString& text, int& at) {
    const int start = at;
    int64_t value = 0;
    for (; at < text.length() && isDigit(text.getAt(at)); ++at) {
        const int digit = text.getAt(at) - u'0';
        if (value > (std::numeric_limits<int64_t>::max() - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    if (at == start)
        return std::nullopt;
    return value;
}

bool skip(const ZString& text, int& at, char16_t c) {
    if (at >= text.length() || text.getAt(at) != c)
        return false;
    ++at;
    return true;
}

// Server text goes into the next request's headers: a line break would start a header of its own.
bool fitsInHeader(const ZString& text) {
    for (int i = 0; i < text.length(); ++i) {
        if (text.getAt(i) < u' ' || text.getAt(i) == 0x7F)
            return false;
    }
    return true;
}

bool acceptsByteRanges(const ZString& acceptRanges) {
    std::vector<ZString> units;
    split(units, acceptRanges, u",", false, true);
    for (const ZString& unit : units) {
        if (unit.equalsIgnoreCase(u"bytes"))
            return true;
    }
    return false;
}

} // namespace

bool isTransientStatus(int32_t status) {
    return status == 408 || status == 429 || (status >= 500 && status <= 599);
}

int32_t pauseAfter(int failures, const DownloadTiming& timing, int32_t status,
                   const ZString& retryAfter) {
    if (status == 503 || status == 429) {
        const std::optional<int64_t> seconds = parseRetryAfter(retryAfter);
        if (seconds && *seconds <= MaxRetryAfterSeconds)
            return static_cast<int32_t>(*seconds) * 1000;
    }
    const int doublings = failures < 1 ? 0 : failures > 4 ? 3 : failures - 1;
    return timing.pauseUnitMs << doublings;
}

std::optional<int64_t> parseRetryAfter(const ZString& text) {
    const ZString value = ZString(text).trim();
    int at = 0;
    const std::optional<int64_t> seconds = readNumber(value, at);
    return at == value.length() ? seconds : std::nullopt;
}

std::optional<ContentRange> parseContentRange(const ZString& text) {
    const ZString value = ZString(text).trim();
    if (value.length() < 6 || !value.mid(0, 5).equalsIgnoreCase(u"bytes") ||
        !isWideSpace(value.getAt(5)))
        return std::nullopt;
    int at = 6;
    while (at < value.length() && isWideSpace(value.getAt(at)))
        ++at;
    const std::optional<int64_t> first = readNumber(value, at);
    if (!first || !skip(value, at, u'-'))
        return std::nullopt;
    const std::optional<int64_t> last = readNumber(value, at);
    if (!last || !skip(value, at, u'/') || *last < *first)
        return std::nullopt;
    if (skip(value, at, u'*'))
        return at == value.length() ? std::optional(ContentRange{*first, *last, -1}) : std::nullopt;
    const std::optional<int64_t> total = readNumber(value, at);
    if (!total || at != value.length() || *last >= *total)
        return std::nullopt;
    return ContentRange{*first, *last, *total};
}

ZString resumeValidator(const ZString& acceptRanges, const ZString& etag,
                        const ZString& lastModified) {
    if (!acceptsByteRanges(acceptRanges))
        return ZString();
    // If-Range compares strongly: a weak tag would never let the server continue.
    const ZString tag = ZString(etag).trim();
    if (tag.length() >= 2 && tag.startsWith(u'"') && tag.endsWith(u'"') && fitsInHeader(tag))
        return tag;
    const ZString date = ZString(lastModified).trim();
    return fitsInHeader(date) ? date : ZString();
}

ZString requestHeaders(int32_t offset, const ZString& validator) {
    ZString headers = u"Connection: close";
    if (offset > 0 && !validator.isEmpty())
        headers.append(ZString::format(u"\r\nRange: bytes=%d-\r\nIf-Range: %s", offset, validator));
    return headers;
}

std::optional<int32_t> continuedTotal(const ZString& contentRange, int32_t offset,
                                      int32_t knownTotal) {
    const std::optional<ContentRange> range = parseContentRange(contentRange);
    if (!range || range->first != offset || range->last + 1 != range->total ||
        range->total > std::numeric_limits<int32_t>::max() ||
        (knownTotal > 0 && range->total != knownTotal))
        return std::nullopt;
    return static_cast<int32_t>(range->total);
}
