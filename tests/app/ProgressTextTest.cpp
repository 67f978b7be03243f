#include "app/ProgressText.h"
#include "tests/base/ZStringPrinter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

TEST(ProgressText, SizesAndSpeedsSwitchToMebibytesAtOneMebibyte) {
    EXPECT_EQ(toUtf8(formatSize(0xFFFFF)), "1024.00 Kb");
    EXPECT_EQ(toUtf8(formatSize(0x100000)), "1.00 Mb");
    EXPECT_EQ(toUtf8(formatSpeed(0x100000)), "1.00 Mb/s");
    EXPECT_EQ(toUtf8(formatSpeed(-1)), "?");
}

TEST(ProgressText, StatusLineAndBar) {
    TransferRate rate;
    EXPECT_EQ(rate.sample(1000, 3145728), 0);
    const int32_t perSecond = rate.sample(2000, 3670016);
    EXPECT_EQ(perSecond, 524288);
    EXPECT_EQ(toUtf8(progressStatus(3670016, 10485760, perSecond)),
              "3.50 Mb / 10.00 Mb / 512.00 Kb/s");
    EXPECT_EQ(progressPercent(3670016, 10485760), 35);
    EXPECT_EQ(progressPercent(999, 1000), 99);
    // No size announced: the total reads 0 and the bar stays empty.
    EXPECT_EQ(toUtf8(progressStatus(5000, 0, 0)), "4.88 Kb / 0.00 Kb / 0.00 Kb/s");
    EXPECT_EQ(progressPercent(5000, 0), 0);
    // More than announced fills the bar and no more.
    EXPECT_EQ(progressPercent(std::numeric_limits<int32_t>::max(), 1), 100);
}

TEST(ProgressText, RateIsThatOfTheLastInterval) {
    TransferRate rate;
    // Nothing counted yet: the next interval has no start.
    EXPECT_EQ(rate.sample(100, 0), 0);
    EXPECT_EQ(rate.sample(200, 8192), 0);
    EXPECT_EQ(rate.sample(300, 16384), 81920);
    // No time passed: unknown.
    EXPECT_EQ(rate.sample(300, 20000), -1);
    // The count went down: a new attempt starts without a rate.
    EXPECT_EQ(rate.sample(600, 4096), 0);
    EXPECT_EQ(rate.sample(700, 4096 + 1000), 10000);
    // 200 ms later across the wrap of the tick counter.
    rate.sample(0xFFFFFF9Cu, 1000);
    EXPECT_EQ(rate.sample(100, 3000), 10000);
    // A whole 2 GiB in one millisecond is more than an int holds per second.
    EXPECT_EQ(rate.sample(101, std::numeric_limits<int32_t>::max()),
              std::numeric_limits<int32_t>::max());
}
