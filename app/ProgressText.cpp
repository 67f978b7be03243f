#include "app/ProgressText.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int32_t Mebibyte = 0x100000;

ZString formatAmount(int32_t amount, const char16_t* mebiUnit, const char16_t* kibiUnit) {
    if (amount < 0)
        return u"?";
    if (amount >= Mebibyte)
        return ZString::format(u"%.2f %s", amount / 1024.0 / 1024.0, mebiUnit);
    return ZString::format(u"%.2f %s", amount / 1024.0, kibiUnit);
}

} // namespace

ZString formatSize(int32_t bytes) {
    return formatAmount(bytes, u"Mb", u"Kb");
}

ZString formatSpeed(int32_t bytesPerSecond) {
    return formatAmount(bytesPerSecond, u"Mb/s", u"Kb/s");
}

ZString progressStatus(int32_t received, int32_t total, int32_t bytesPerSecond) {
    return ZString::format(u"%s / %s / %s", formatSize(received), formatSize(total),
                           formatSpeed(bytesPerSecond));
}

int progressPercent(int32_t received, int32_t total) {
    if (total <= 0)
        return 0;
    // More than announced fills the bar; it never overflows the conversion.
    return static_cast<int>(std::clamp(received * 100.0 / total, 0.0, 100.0));
}

int32_t TransferRate::sample(uint32_t nowMilliseconds, int32_t received) {
    if (bytes_ > received) {
        tick_ = 0;
        bytes_ = 0;
    }
    double rate = 0.0;
    if (tick_ != 0 && bytes_ > 0) {
        // Unsigned, so a tick count that wrapped around still gives the elapsed time.
        const uint32_t elapsed = nowMilliseconds - tick_;
        rate = elapsed == 0 ? -1.0 : std::max(0.0, (received - bytes_) * 1000.0 / elapsed);
    }
    tick_ = nowMilliseconds;
    bytes_ = received;
    return static_cast<int32_t>(std::min(rate, double{std::numeric_limits<int32_t>::max()}));
}
