// Feeds arbitrary bytes through the text utilities: the UTF-8 conversion, the number readers
// (checked against the C library's strtol and strtod on ASCII text, the process staying in the
// "C" locale), split and splitLines (checked by reassembling their parts), format with the text
// as pattern, and the clamping editors with positions taken from the input.
#include "base/ZString.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

void checkUtf8(const char* bytes, int count, const std::u16string& wide) {
    require(wide.size() <= static_cast<size_t>(count));
    // The conversion never produces a lone surrogate, so the way back and forth is lossless.
    const std::string narrow = toUtf8(ZString(wide.data(), static_cast<int>(wide.size())));
    require(fromUtf8(narrow.data(), static_cast<int>(narrow.size())) == wide);
    const std::string terminated(bytes, count);
    require(fromUtf8(terminated.c_str(), -1) ==
            fromUtf8(terminated.c_str(), static_cast<int>(std::strlen(terminated.c_str()))));
}

bool isAscii(const ZString& text) {
    return std::all_of(text.c_str(), text.c_str() + text.length(),
                       [](char16_t c) { return c < 0x80; });
}

void checkNumbers(const ZString& text) {
    for (int base : {0, 2, 8, 10, 16, 36, 1, 37})
        text.toInt(base);
    const double value = text.toDouble();
    if (!isAscii(text))
        return;
    std::string narrow;
    for (int i = 0; i < text.length(); ++i)
        narrow += static_cast<char>(text.c_str()[i]);
    for (int base : {0, 10, 16}) {
        const long long expected = std::strtoll(narrow.c_str(), nullptr, base);
        require(text.toInt(base) == std::clamp<long long>(expected, INT32_MIN, INT32_MAX));
    }
    const double expected = std::strtod(narrow.c_str(), nullptr);
    require(value == expected || (std::isnan(value) && std::isnan(expected)));
}

ZString joined(const std::vector<ZString>& parts, const ZString& separator) {
    ZString all;
    for (size_t i = 0; i < parts.size(); ++i)
        all.append(i ? separator : ZString()).append(parts[i]);
    return all;
}

void checkSplit(const ZString& input) {
    // The first one or two units are the separator, the rest the text.
    const int separatorLength = input.length() > 0 && input.getAt(0) < 0x40 ? 1 : 2;
    const ZString separator = input.mid(0, separatorLength);
    const ZString text = input.mid(separatorLength);
    std::vector<ZString> all, kept, trimmed, both;
    split(all, text, separator, true, false);
    split(kept, text, separator, false, false);
    split(trimmed, text, separator, true, true);
    split(both, text, separator, false, true);
    const ZString again = joined(all, separator);
    require(separator.isEmpty() || again == text || again + separator == text);
    // Emptiness is judged before trimming.
    std::vector<ZString> expectKept, expectTrimmed, expectBoth;
    for (const ZString& part : all) {
        const ZString trim = ZString(part).trim();
        expectTrimmed.push_back(trim);
        if (!part.isEmpty()) {
            expectKept.push_back(part);
            expectBoth.push_back(trim);
        }
    }
    require(kept == expectKept && trimmed == expectTrimmed && both == expectBoth);
}

void checkSplitLines(const ZString& text) {
    std::vector<ZString> all, kept, trimmed, both;
    splitLines(all, text, false, true);
    splitLines(kept, text, false, false);
    splitLines(trimmed, text, true, true);
    splitLines(both, text, true, false);
    require(joined(all, ZString()) == text);
    std::vector<ZString> expectKept, expectTrimmed, expectBoth;
    for (const ZString& line : all) {
        const ZString trim = ZString(line).trim();
        expectTrimmed.push_back(trim);
        if (!trim.isEmpty()) {
            expectKept.push_back(line);
            expectBoth.push_back(trim);
        }
    }
    require(kept == expectKept && trimmed == expectTrimmed && both == expectBoth);
}

void checkFormat(const ZString& text) {
    // A short pattern keeps each run fast: widths are capped, but many of them still add up.
    const ZString pattern = text.mid(0, 48);
    const ZString result =
        ZString::format(pattern.c_str(), 42, -7LL, 3.25, text, u'x', nullptr, 5u, -1e300);
    require(result.capacity() == result.length());
    if (pattern.find(u'%') < 0 && pattern.find(u'\0') < 0)
        require(result == pattern);
}

void checkEdits(const ZString& text, const uint8_t* data, size_t size) {
    auto position = [&](size_t i) { return i < size ? static_cast<int8_t>(data[i]) : 0; };
    ZString s(text);
    // A pointer carries no length: the count must stay within the text.
    s.insert(position(0), text.c_str(), std::min(position(1), text.length()));
    s.erase(position(2), position(3));
    s.replace(position(4), position(5), text.mid(position(6), position(7)));
    s.replaceAll(text.mid(0, 1), ZString(u"<>"));
    s.replaceLast(text.mid(1, 3), text);
    s.truncate(position(8) * 4);
    s.setLength(position(9));
    s.append(s, position(10));
    require(s.length() >= 0 && s.length() <= s.capacity() && s.c_str()[s.length()] == 0);
    require(s.find(position(11), text.c_str(), std::min(position(12), text.length())) <=
            s.length());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    const int count = static_cast<int>(std::min<size_t>(size, 1 << 16));
    const std::u16string wide = fromUtf8(bytes, count);
    checkUtf8(bytes, count, wide);
    const ZString text(wide.data(), static_cast<int>(wide.size()));
    checkNumbers(text);
    checkSplit(text);
    checkSplitLines(text);
    checkFormat(text);
    checkEdits(text, data, size);
    return 0;
}
