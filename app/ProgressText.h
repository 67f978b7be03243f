#pragma once

#include "base/ZString.h"

#include <cstdint>

// The figures of the page's status line, platform-free so the host build checks them too.

// "3.50 Mb" from 1 MiB up, "512.00 Kb" below, "?" for a negative count.
ZString formatSize(int32_t bytes);
// The same thresholds for a rate: "Mb/s", "Kb/s", "?".
ZString formatSpeed(int32_t bytesPerSecond);
// "received / total / rate", e.g. "3.50 Mb / 10.00 Mb / 512.00 Kb/s".
ZString progressStatus(int32_t received, int32_t total, int32_t bytesPerSecond);
// The progress bar's position out of 100; 0 while the size is not known.
int progressPercent(int32_t received, int32_t total);

// The rate of the interval between two progress updates, not an average: the page polls every
// 100 ms, so this is what the transfer does now.
class TransferRate {
public:
    // Bytes per second since the previous sample. 0 for the first sample, after the count went
    // down (a new attempt) and while nothing was counted yet; -1 when no time has passed.
    int32_t sample(uint32_t nowMilliseconds, int32_t received);

private:
    uint32_t tick_ = 0; // 0: no sample yet
    int32_t bytes_ = 0;
};
