#include "xhtml/document/Lengths.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace xhtml {

namespace {

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// The digits after "0x", as far as they go, saturating at INT_MAX.
int32_t readHex(const char16_t* p) {
    int64_t value = 0;
    for (; digitValue(*p) < 16; ++p)
        value = std::min<int64_t>(value * 16 + digitValue(*p), INT_MAX);
    return static_cast<int32_t>(value);
}

// The number of units the decimal number at the start of the text takes: sign, digits, point,
// digits, and an exponent only when digits follow the "e"; 0 without a digit. Words such as "inf"
// or "nan" and hexadecimal forms are no numbers here.
int decimalLength(const char16_t* text) {
    const char16_t* p = text;
    if (*p == u'+' || *p == u'-')
        ++p;
    const char16_t* const digits = p;
    while (isDigit(*p))
        ++p;
    bool anyDigit = p != digits;
    if (*p == u'.') {
        const char16_t* const fraction = ++p;
        while (isDigit(*p))
            ++p;
        anyDigit = anyDigit || p != fraction;
    }
    if (!anyDigit)
        return 0;
    const bool hasE = *p == u'e' || *p == u'E';
    const bool signedExponent = hasE && (p[1] == u'+' || p[1] == u'-');
    if (hasE && isDigit(p[signedExponent ? 2 : 1])) {
        p += signedExponent ? 2 : 1;
        while (isDigit(*p))
            ++p;
    }
    return static_cast<int>(p - text);
}

} // namespace

int32_t clampToInt(double value) {
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int32_t>(value);
}

StyleValue parseLength(const ZString& text) {
    ZString trimmed = text;
    trimmed.trim();
    StyleValue result;
    const int length = decimalLength(trimmed.c_str());
    if (trimmed.startsWith(u"0x", 2)) {
        result = StyleValue::integer(readHex(trimmed.c_str() + 2));
    } else if (length == 0) {
        result = StyleValue::integer(0);
    } else {
        const double value = trimmed.mid(0, length).toDouble();
        if (std::isfinite(value) && value != std::trunc(value))
            result = StyleValue::number(value);
        else
            result = StyleValue::integer(clampToInt(value));
    }
    if (trimmed.endsWith(u'%'))
        result.addFlag(StyleValue::kPercent);
    return result;
}

} // namespace xhtml
