#include "tools/xhtml-dump/DumpText.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

std::string escaped(const ZString& text) {
    std::string out;
    out.reserve(text.length());
    const char16_t* units = text.c_str();
    for (int i = 0; i < text.length(); ++i) {
        const char16_t c = units[i];
        switch (c) {
        case u'\\':
            out += "\\\\";
            break;
        case u'"':
            out += "\\\"";
            break;
        case u'\n':
            out += "\\n";
            break;
        case u'\r':
            out += "\\r";
            break;
        case u'\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20 || c > 0x7E) {
                char escape[7];
                std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(c));
                out += escape;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out;
}

std::string quoted(const ZString& text) {
    return '"' + escaped(text) + '"';
}

ZString argumentText(const char* argument) {
    const std::u16string text = fromUtf8(argument, static_cast<int>(std::strlen(argument)));
    return ZString(text.c_str(), static_cast<int>(text.size()));
}

bool readUtf8File(const char* path, ZString& text) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "xhtml-dump: cannot read %s\n", path);
        return false;
    }
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    const std::u16string utf16 = fromUtf8(bytes.data(), static_cast<int>(bytes.size()));
    text = ZString(utf16.data(), static_cast<int>(utf16.size()));
    return true;
}
