#include "tools/xhtml-dump/DumpText.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
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

namespace {

std::string formatted(const char* pattern, auto value) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

} // namespace

std::string describe(const xhtml::StyleValue& value) {
    using xhtml::StyleValue;
    std::string line;
    switch (value.kind()) {
    case StyleValue::Kind::String:
        line = "string " + quoted(value.stringValue());
        break;
    case StyleValue::Kind::Bool:
        line = value.boolValue() ? "bool true" : "bool false";
        break;
    case StyleValue::Kind::Int:
        line = formatted("int %d", value.intValue());
        break;
    case StyleValue::Kind::Double:
        line = formatted("double %g", value.doubleValue());
        break;
    case StyleValue::Kind::Color:
        line = formatted("colour 0x%08X", static_cast<unsigned>(value.colorValue()));
        break;
    case StyleValue::Kind::Empty:
        line = "empty";
        break;
    }
    if (value.hasFlag(StyleValue::kPercent))
        line += " %";
    if (value.hasFlag(StyleValue::kNumericPosition))
        line += " #";
    return line;
}

bool readIntArgument(const char* text, int& out) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || errno == ERANGE || value < INT_MIN || value > INT_MAX)
        return false;
    out = static_cast<int>(value);
    return true;
}
