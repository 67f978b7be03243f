#include "xhtml/views/Dpi.h"

#include "xhtml/views/Geometry.h"
#include "xhtml/views/ViewPlatform.h"

namespace xhtml {

namespace {
int processDpi = 0;
}

int dpi() {
    if (processDpi <= 0)
        processDpi = viewPlatform().screenDpi();
    return processDpi;
}

void setDpi(int value) {
    processDpi = value;
}

int scale(int value) {
    return saturated(static_cast<long long>(dpi()) * value / 96);
}

double scaleDouble(double value) {
    return dpi() * value / 96.0;
}

double dpiFactor() {
    return dpi() / 96.0;
}

} // namespace xhtml
