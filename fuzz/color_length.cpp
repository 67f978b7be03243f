// Reads the input as a colour and as a length and checks them against what the forms promise:
// hex digits read back exactly, numbers made only of digits read back exactly, and every result
// is one of the values a style can hold.
#include "fuzz/StyleFuzzTarget.h"
#include "xhtml/document/Colors.h"
#include "xhtml/document/Lengths.h"

#include <cmath>
#include <cstdint>
#include <string>

using namespace xhtml;

namespace {

void checkColor(const ZString& text) {
    const uint32_t color = parseColor(text);
    if (const NamedColor* named = findNamedColor(text)) {
        check(color == named->value);
        return;
    }
    if (!text.startsWith(u'#') ||
        (text.length() != 7 && text.length() != 9 && text.length() != 4 && text.length() != 5)) {
        check(color == kTransparent);
        return;
    }
    if (text.length() == 4 || text.length() == 7)
        check(color >> 24 == 0);
    bool allHex = true;
    for (int i = 1; i < text.length(); ++i)
        allHex = allHex && digitValue(text.getAt(i)) < 16;
    if (allHex && text.length() == 7) {
        uint32_t expected = 0;
        for (int i = 0; i < 3; ++i) {
            const int byte =
                digitValue(text.getAt(1 + 2 * i)) * 16 + digitValue(text.getAt(2 + 2 * i));
            expected |= static_cast<uint32_t>(byte) << (8 * i);
        }
        check(color == expected);
    }
}

bool onlyDigits(const ZString& text, int maxCount) {
    if (text.isEmpty() || text.length() > maxCount)
        return false;
    for (int i = 0; i < text.length(); ++i) {
        if (text.getAt(i) < u'0' || text.getAt(i) > u'9')
            return false;
    }
    return true;
}

void checkLength(const ZString& text) {
    const StyleValue length = parseLength(text);
    ZString trimmed = text;
    trimmed.trim();
    check(length.hasFlag(StyleValue::kPercent) == trimmed.endsWith(u'%'));
    check((length.flags() & ~StyleValue::kPercent) == 0);
    if (length.kind() == StyleValue::Kind::Double) {
        const double value = length.doubleValue();
        check(std::isfinite(value) && value != std::trunc(value));
    } else {
        check(length.kind() == StyleValue::Kind::Int);
    }
    if (onlyDigits(trimmed, 9))
        check(length == StyleValue::integer(std::stoi(toUtf8(trimmed))));
    const StyleValue copy = length;
    check(copy == length && copy.toDouble() == length.toDouble());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::u16string utf16 =
        fromUtf8(reinterpret_cast<const char*>(data), static_cast<int>(size));
    const ZString text(utf16.data(), static_cast<int>(utf16.size()));
    checkColor(text);
    checkLength(text);
    const StyleValue string = StyleValue::string(text);
    check(StyleValue(string) == string);
    return 0;
}
