// Reads server header values as the download worker does: the first line as Retry-After and
// Content-Range, the first three as Accept-Ranges, ETag and Last-Modified. A range read must be
// ordered, and no server text may add a header line of its own to the next request.
#include "download/AttemptPlan.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

int lineBreaks(const ZString& text) {
    int count = 0;
    for (int i = 0; i < text.length(); ++i)
        count += text.getAt(i) == u'\n';
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::u16string input = fromUtf8(reinterpret_cast<const char*>(data), int(size));
    std::vector<ZString> lines;
    size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        const size_t end = std::min(input.find(u'\n', start), input.size());
        lines.emplace_back(input.c_str() + std::min(start, input.size()),
                           int(end - std::min(start, input.size())));
        start = end + 1;
    }

    pauseAfter(1, DownloadTiming(), 503, lines[0]);
    if (const std::optional<ContentRange> range = parseContentRange(lines[0])) {
        if (range->first > range->last || (range->total >= 0 && range->last >= range->total))
            std::abort();
        const std::optional<int32_t> total =
            continuedTotal(lines[0], static_cast<int32_t>(range->first), 0);
        if (total && (*total != range->total || range->last + 1 != range->total))
            std::abort();
    }
    const ZString validator = resumeValidator(lines[0], lines[1], lines[2]);
    if (lineBreaks(requestHeaders(1, validator)) != (validator.isEmpty() ? 0 : 2))
        std::abort();
    return 0;
}
