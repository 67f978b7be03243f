#include "base/ZString.h"

bool isWideSpace(char16_t c) {
    return (c >= 9 && c <= 13) || c == 32 || c == 0x85 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A && c != 0x2007) || c == 0x2028 || c == 0x2029 ||
           c == 0x205F || c == 0x3000;
}

char16_t toLowerAscii(char16_t c) {
    return c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c;
}

int digitValue(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'z')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'Z')
        return c - u'A' + 10;
    return 36;
}

const char16_t* skipSpaces(const char16_t* text) {
    while (text && isWideSpace(*text))
        ++text;
    return text;
}

void split(std::vector<ZString>& out, const ZString& text, const ZString& separator, bool keepEmpty,
           bool trim) {
    int start = 0;
    // Ending right after a separator gives no trailing empty part.
    while (start < text.length()) {
        // An empty separator would match everywhere without advancing: the text is one part.
        const int at =
            separator.isEmpty() ? -1 : text.find(start, separator.c_str(), separator.length());
        ZString part = text.mid(start, at < 0 ? text.length() : at);
        if (keepEmpty || !part.isEmpty()) {
            if (trim)
                part.trim();
            out.push_back(std::move(part));
        }
        if (at < 0)
            break;
        start = at + separator.length();
    }
}

void splitLines(std::vector<ZString>& out, const ZString& text, bool trim, bool keepEmpty) {
    int start = 0;
    for (int i = 0; i < text.length(); ++i) {
        if (text.getAt(i) != u'\n' && i != text.length() - 1)
            continue;
        ZString line = text.mid(start, i + 1);
        start = i + 1;
        if (trim)
            line.trim();
        if (keepEmpty || !ZString(line).trim().isEmpty())
            out.push_back(std::move(line));
    }
}
