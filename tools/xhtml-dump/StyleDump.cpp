// The mode "style": the Normal map that a declaration list leaves on an element without
// properties of its own.

#include "tools/xhtml-dump/DumpModes.h"
#include "tools/xhtml-dump/DumpText.h"
#include "xhtml/document/ApplyStyle.h"
#include "xhtml/document/StyleMaps.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

using namespace xhtml;

namespace {

// An element whose surroundings give it a font size, if any, and nothing else.
class DumpTarget : public IStyleTarget {
public:
    explicit DumpTarget(std::optional<int> inheritedFontSize)
        : inheritedFontSize_(inheritedFontSize) {}

    void setProperty(PropertyId id, const StyleValue& value, StyleState state) override {
        maps_.set(id, value, state);
    }

    bool getProperty(PropertyId id, StyleValue& out, StyleState state) const override {
        if (const StyleValue* own = maps_.findWithFallback(id, state)) {
            out = *own;
            return true;
        }
        if (id != PropertyId::FontSize || !inheritedFontSize_)
            return false;
        out = StyleValue::integer(*inheritedFontSize_);
        return true;
    }

    const StyleValue* findInStyleMap(PropertyId id, StyleState state) const override {
        return maps_.find(id, state);
    }

    const StyleMaps::Map& normalMap() const { return *maps_.map(Normal); }

private:
    StyleMaps maps_;
    std::optional<int> inheritedFontSize_;
};

std::string formatted(const char* pattern, auto value) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

// "kind value", then " %" for a percentage and " #" for a numeric background position.
std::string describe(const StyleValue& value) {
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

bool readInt(const char* text, int& out) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || errno == ERANGE || value < INT_MIN || value > INT_MAX)
        return false;
    out = static_cast<int>(value);
    return true;
}

} // namespace

int dumpStyle(int argc, char** argv) {
    const char* path = nullptr;
    std::optional<int> fontSize;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--font-size") == 0) {
            int size = 0;
            if (fontSize || i + 1 == argc || !readInt(argv[++i], size))
                return kBadArguments;
            fontSize = size;
        } else if (!path) {
            path = argv[i];
        } else {
            return kBadArguments;
        }
    }
    ZString text;
    if (!path || !readUtf8File(path, text))
        return kBadArguments;
    DumpTarget target(fontSize);
    applyStyleText(target, Normal, text);
    for (const auto& [id, value] : target.normalMap())
        std::printf("%s %s\n", propertyName(id), describe(value).c_str());
    return 0;
}
