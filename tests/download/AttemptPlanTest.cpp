#include "download/AttemptPlan.h"

#include "tests/base/ZStringPrinter.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

// "first-last/total" or "none".
std::string range(const char16_t* text) {
    const std::optional<ContentRange> parsed = parseContentRange(text);
    if (!parsed)
        return "none";
    return std::to_string(parsed->first) + "-" + std::to_string(parsed->last) + "/" +
           std::to_string(parsed->total);
}

TEST(AttemptPlan, PausesDoubleUpToEightUnitsAndShortRetryAfterReplacesThem) {
    const DownloadTiming timing{1000, 30000};
    EXPECT_EQ(pauseAfter(1, timing, 0, u""), 1000);
    EXPECT_EQ(pauseAfter(2, timing, 500, u""), 2000);
    EXPECT_EQ(pauseAfter(3, timing, 0, u""), 4000);
    EXPECT_EQ(pauseAfter(4, timing, 0, u""), 8000);
    EXPECT_EQ(pauseAfter(9, timing, 0, u""), 8000);
    EXPECT_EQ(pauseAfter(2, DownloadTiming{20, 500}, 0, u""), 40) << "tests shorten the unit";

    EXPECT_EQ(pauseAfter(1, timing, 503, u"7"), 7000);
    EXPECT_EQ(pauseAfter(4, timing, 429, u" 30 "), 30000);
    EXPECT_EQ(pauseAfter(3, timing, 503, u"0"), 0);
    // Too long, a date, on another status or past int64: the pause of the schedule.
    EXPECT_EQ(pauseAfter(3, timing, 503, u"31"), 4000);
    EXPECT_EQ(pauseAfter(1, timing, 503, u"Wed, 21 Oct 2026 07:28:00 GMT"), 1000);
    EXPECT_EQ(pauseAfter(1, timing, 500, u"3"), 1000);
    EXPECT_EQ(pauseAfter(1, timing, 429, u"99999999999999999999999"), 1000);
    EXPECT_EQ(pauseAfter(1, timing, 429, u"4294967298"), 1000) << "wrapped to 2 in 32 bits";
    EXPECT_EQ(pauseAfter(1, timing, 429, u"-3"), 1000);
}

TEST(AttemptPlan, OnlyTimeoutsThrottlingAndServerErrorsAreWorthAnotherAttempt) {
    for (const int32_t status : {408, 429, 500, 502, 503, 504, 599})
        EXPECT_TRUE(isTransientStatus(status)) << status;
    for (const int32_t status : {0, 200, 206, 301, 400, 403, 404, 407, 410, 416, 499, 600})
        EXPECT_FALSE(isTransientStatus(status)) << status;
}

TEST(AttemptPlan, ContentRangesAreReadStrictly) {
    EXPECT_EQ(range(u"bytes 100-199/200"), "100-199/200");
    EXPECT_EQ(range(u" Bytes  0-0/1 "), "0-0/1");
    EXPECT_EQ(range(u"bytes 5-9/*"), "5-9/-1");
    EXPECT_EQ(range(u"bytes 0-4294967296/9223372036854775807"), "0-4294967296/9223372036854775807");
    for (const char16_t* bad :
         {u"", u"bytes", u"bytes */200", u"bytes 10-9/200", u"bytes 0-200/200", u"bytes 0-1/",
          u"bytes 0-1/2x", u"bytes -1-5/9", u"bytes 0--5/9", u"bytes0-1/2", u"items 0-1/2",
          u"bytes 0-1/9223372036854775808", u"bytes 1-2/*x", u"bytes 1-2/3/4"})
        EXPECT_EQ(range(bad), "none") << toUtf8(bad);
}

TEST(AttemptPlan, OnlyARangeFromTheOffsetToTheEndOfTheSameFileContinuesIt) {
    EXPECT_EQ(continuedTotal(u"bytes 400-999/1000", 400, 1000), 1000);
    EXPECT_EQ(continuedTotal(u"bytes 400-999/1000", 400, 0), 1000) << "no size announced before";
    EXPECT_EQ(continuedTotal(u"bytes 0-999/1000", 400, 1000), std::nullopt);
    EXPECT_EQ(continuedTotal(u"bytes 401-999/1000", 400, 1000), std::nullopt);
    EXPECT_EQ(continuedTotal(u"bytes 400-998/1000", 400, 1000), std::nullopt);
    EXPECT_EQ(continuedTotal(u"bytes 400-1099/1100", 400, 1000), std::nullopt) << "another file";
    EXPECT_EQ(continuedTotal(u"bytes 400-999/*", 400, 1000), std::nullopt);
    EXPECT_EQ(continuedTotal(u"bytes 400-4294967295/4294967296", 400, 0), std::nullopt);
    EXPECT_EQ(continuedTotal(u"", 400, 1000), std::nullopt);
}

TEST(AttemptPlan, TheNextRequestNamesAStrongValidatorOfAResponseThatTakesRanges) {
    EXPECT_EQ(resumeValidator(u"bytes", u"\"v1\"", u"Tue, 01 Dec 2026 10:00:00 GMT"), u"\"v1\"");
    EXPECT_EQ(resumeValidator(u"none, Bytes", u"", u"Tue, 01 Dec 2026 10:00:00 GMT"),
              u"Tue, 01 Dec 2026 10:00:00 GMT");
    EXPECT_EQ(resumeValidator(u"bytes", u"W/\"v1\"", u"Tue, 01 Dec 2026 10:00:00 GMT"),
              u"Tue, 01 Dec 2026 10:00:00 GMT")
        << "a weak tag never matches in If-Range";
    EXPECT_EQ(resumeValidator(u"bytes", u"W/\"v1\"", u""), u"");
    EXPECT_EQ(resumeValidator(u"bytes", u"v1", u""), u"") << "not a quoted tag";
    EXPECT_EQ(resumeValidator(u"none", u"\"v1\"", u""), u"");
    EXPECT_EQ(resumeValidator(u"", u"\"v1\"", u""), u"");
    EXPECT_EQ(resumeValidator(u"bytesx", u"\"v1\"", u""), u"");
    // Server text with a line break would add a header of its own to the next request.
    EXPECT_EQ(resumeValidator(u"bytes", u"\"a\r\nX: 1\"", u"Tue, 01 Dec 2026 10:00:00 GMT"),
              u"Tue, 01 Dec 2026 10:00:00 GMT");
    EXPECT_EQ(resumeValidator(u"bytes", u"", u"Tue\n"), u"Tue") << "trimmed, as headers are";
    EXPECT_EQ(resumeValidator(u"bytes", u"", u"Tue\nX: 1"), u"");

    EXPECT_EQ(requestHeaders(0, u"\"v1\""), u"Connection: close");
    EXPECT_EQ(requestHeaders(400, u""), u"Connection: close");
    EXPECT_EQ(requestHeaders(400, u"\"v1\""),
              u"Connection: close\r\nRange: bytes=400-\r\nIf-Range: \"v1\"");
}

} // namespace
