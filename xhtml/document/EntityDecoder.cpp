#include "xhtml/document/EntityDecoder.h"

#include "xhtml/document/NamedCharacterReferences.h"

#include <algorithm>
#include <string_view>

namespace xhtml {

namespace {

constexpr long long kMaxCodePoint = 0x10FFFF;

// Reads a number as the C runtime's wcstol does: leading white space, a sign, in base 16 an
// optional "0x", then the digits of the base. Returns the position after the digits, or `p` when
// there are none. Magnitudes beyond the last code point are held at kMaxCodePoint + 1, which is
// all the caller needs to know about them and keeps both builds' long sizes out of the result.
const char16_t* readNumber(const char16_t* p, int base, long long& value) {
    const char16_t* q = p;
    while (isWideSpace(*q))
        ++q;
    const bool negative = *q == u'-';
    if (*q == u'-' || *q == u'+')
        ++q;
    if (base == 16 && q[0] == u'0' && (q[1] == u'x' || q[1] == u'X') && digitValue(q[2]) < 16)
        q += 2;
    const char16_t* digits = q;
    value = 0;
    for (; digitValue(*q) < base; ++q)
        value = std::min(value * base + digitValue(*q), kMaxCodePoint + 1);
    if (q == digits)
        return p;
    if (negative)
        value = -value;
    return q;
}

bool appendNamedReference(ZString& out, std::u16string_view reference) {
    const auto& table = namedCharacterReferences;
    const auto found = std::find_if(table.begin(), table.end(), [&](const auto& entry) {
        return reference == entry.reference;
    });
    if (found == table.end())
        return false;
    out.append(found->code);
    return true;
}

// Code points above 0xFFFF become a surrogate pair; negative numbers and numbers beyond the last
// code point are not characters and stay as written.
bool appendNumericReference(ZString& out, std::u16string_view reference) {
    const auto length = reference.size();
    int base = 10;
    int from = 2;
    std::size_t minLength = 4;
    if (reference[2] == u'x' || reference[2] == u'X') {
        base = 16, from = 3, minLength = 5;
    } else if (reference[2] == u'0' && (reference[3] == u'x' || reference[3] == u'X')) {
        base = 16, from = 4, minLength = 6;
    } else if (reference[2] == u'0') {
        base = 8, from = 2, minLength = 5;
    }
    if (length < minLength)
        return false;
    long long value = 0;
    const char16_t* end = readNumber(reference.data() + from, base, value);
    if (end != reference.data() + length - 1 || value < 0 || value > kMaxCodePoint)
        return false;
    if (value > 0xFFFF) {
        value -= 0x10000;
        out.append(char16_t(0xD800 + (value >> 10)));
        out.append(char16_t(0xDC00 + (value & 0x3FF)));
    } else {
        out.append(char16_t(value));
    }
    return true;
}

} // namespace

void decodeEntities(ZString& text) {
    if (text.find(u'&') < 0)
        return;
    const char16_t* units = text.c_str();
    const int length = text.length();
    ZString out(length);
    int i = 0;
    while (i < length) {
        if (units[i] != u'&') {
            int next = text.find(u'&', i);
            if (next < 0)
                next = length;
            out.append(units + i, next - i);
            i = next;
            continue;
        }
        int end = i + 1;
        while (end < length && units[end] != u';' && units[end] != u'&')
            ++end;
        if (end == length || units[end] == u'&') {
            out.append(units + i, end - i);
            i = end;
            continue;
        }
        // A reference is "&" through ";", ending at a ";" by construction.
        const std::u16string_view reference(units + i, end + 1 - i);
        const bool decoded = reference[1] == u'#' ? appendNumericReference(out, reference)
                                                  : appendNamedReference(out, reference);
        if (!decoded)
            out.append(reference.data(), int(reference.size()));
        i = end + 1;
    }
    text = std::move(out);
}

} // namespace xhtml
