#include "base/ZString.h"

#include <cstring>

namespace {

const char16_t replacement = 0xFFFD;

// The range the second byte of a sequence must lie in, by its lead byte; the ranges exclude
// overlong forms, encoded surrogates and code points above U+10FFFF.
struct Lead {
    int length;
    unsigned char low, high;
};

Lead lead(unsigned char b) {
    if (b >= 0xC2 && b <= 0xDF)
        return {2, 0x80, 0xBF};
    if (b == 0xE0)
        return {3, 0xA0, 0xBF};
    if (b == 0xED)
        return {3, 0x80, 0x9F};
    if (b >= 0xE1 && b <= 0xEF)
        return {3, 0x80, 0xBF};
    if (b == 0xF0)
        return {4, 0x90, 0xBF};
    if (b >= 0xF1 && b <= 0xF3)
        return {4, 0x80, 0xBF};
    if (b == 0xF4)
        return {4, 0x80, 0x8F};
    return {0, 0, 0};
}

void appendCodePoint(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
        out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

std::u16string fromUtf8(const char* bytes, int count) {
    std::u16string out;
    if (!bytes)
        return out;
    const bool toNul = count < 0;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes);
    const auto* const end = p + (toNul ? std::strlen(bytes) : static_cast<size_t>(count));
    while (p < end) {
        const unsigned char b = *p;
        if (b < 0x80) {
            out += static_cast<char16_t>(b);
            ++p;
            continue;
        }
        const Lead l = lead(b);
        if (l.length == 0 || p + 1 == end || p[1] < l.low || p[1] > l.high) {
            // A stray or impossible byte, or a lead whose second byte is wrong: only it is lost.
            out += replacement;
            ++p;
            continue;
        }
        char32_t c = b & (0xFF >> (l.length + 1));
        int taken = 1;
        for (; taken < l.length && p + taken < end && (p[taken] & 0xC0) == 0x80; ++taken)
            c = (c << 6) | (p[taken] & 0x3F);
        if (taken < l.length)
            out += replacement; // a truncated sequence: its bytes so far become one U+FFFD
        else
            appendCodePoint(out, c);
        p += taken;
    }
    return out;
}

std::string toUtf8(const ZString& text) {
    std::string out;
    const char16_t* s = text.c_str();
    for (int i = 0; i < text.length(); ++i) {
        const char16_t c = s[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.length() && s[i + 1] >= 0xDC00 &&
            s[i + 1] <= 0xDFFF) {
            appendUtf8(out, 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00));
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            appendUtf8(out, replacement);
        } else {
            appendUtf8(out, c);
        }
    }
    return out;
}
