#include "xhtml/document/Lengths.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <string>

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

// The decimal number at the start of the text: sign, digits, point, digits, and an exponent only
// when digits follow the "e". Words such as "inf" or "nan" are no numbers here.
struct DecimalNumber {
    std::string text;
    // Decimal position of the first significant digit; decides between overflow and underflow.
    int64_t magnitude = 0;
};

bool scanDecimal(const char16_t* p, DecimalNumber& out) {
    std::string& s = out.text;
    if (*p == u'+' || *p == u'-')
        s += static_cast<char>(*p++);
    int64_t integerDigits = 0;
    int64_t leadingFractionZeros = 0;
    bool significant = false;
    bool anyDigit = false;
    for (; isDigit(*p); ++p) {
        s += static_cast<char>(*p);
        anyDigit = true;
        significant = significant || *p != u'0';
        integerDigits += significant;
    }
    if (*p == u'.') {
        s += '.';
        for (++p; isDigit(*p); ++p) {
            s += static_cast<char>(*p);
            anyDigit = true;
            leadingFractionZeros += !significant && *p == u'0';
            significant = significant || *p != u'0';
        }
    }
    if (!anyDigit)
        return false;
    int64_t exponent = 0;
    const bool hasE = *p == u'e' || *p == u'E';
    const bool signedExponent = hasE && (p[1] == u'+' || p[1] == u'-');
    if (hasE && isDigit(p[signedExponent ? 2 : 1])) {
        s += 'e';
        ++p;
        const bool negative = *p == u'-';
        if (signedExponent)
            s += static_cast<char>(*p++);
        for (; isDigit(*p); ++p) {
            s += static_cast<char>(*p);
            exponent = std::min<int64_t>(exponent * 10 + (*p - u'0'), INT_MAX);
        }
        if (negative)
            exponent = -exponent;
    }
    out.magnitude = (integerDigits > 0 ? integerDigits : -leadingFractionZeros) + exponent;
    return true;
}

double toDouble(const DecimalNumber& number) {
    const char* first = number.text.data();
    const char* last = first + number.text.size();
    if (*first == '+')
        ++first; // from_chars takes no plus sign
    double value = 0;
    const auto result = std::from_chars(first, last, value);
    if (result.ec == std::errc::result_out_of_range) {
        const bool negative = *first == '-';
        value = number.magnitude > 0 ? (negative ? -HUGE_VAL : HUGE_VAL) : 0.0;
    }
    return value;
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
    DecimalNumber number;
    if (trimmed.startsWith(u"0x", 2)) {
        result = StyleValue::integer(readHex(trimmed.c_str() + 2));
    } else if (!scanDecimal(trimmed.c_str(), number)) {
        result = StyleValue::integer(0);
    } else {
        const double value = toDouble(number);
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
