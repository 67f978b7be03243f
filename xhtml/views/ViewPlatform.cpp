#include "xhtml/views/ViewPlatform.h"

#include "xhtml/views/FixedMetricsPlatform.h"

namespace xhtml {

namespace {

ViewPlatform* installed = nullptr;

ViewPlatform& fixedMetrics() {
    static FixedMetricsPlatform platform;
    return platform;
}

} // namespace

ViewPlatform& viewPlatform() {
    return installed ? *installed : fixedMetrics();
}

void setViewPlatform(ViewPlatform* platform) {
    installed = platform;
}

} // namespace xhtml
