#pragma once

#include "tests/base/ZStringPrinter.h"
#include "xhtml/document/IStyleTarget.h"
#include "xhtml/document/StyleMaps.h"

#include <ostream>
#include <sstream>
#include <string>

namespace xhtml {

// A value as "int 12 %", "colour ff0000", "string arial".
inline void PrintTo(const StyleValue& value, std::ostream* os) {
    const char* const kinds[] = {"empty", "string", "bool", "int", "double", "colour"};
    *os << kinds[static_cast<int>(value.kind())] << ' ';
    if (value.kind() == StyleValue::Kind::String)
        *os << toUtf8(value.stringValue());
    else if (value.kind() == StyleValue::Kind::Color)
        *os << std::hex << value.colorValue() << std::dec;
    else if (value.kind() == StyleValue::Kind::Int)
        *os << value.intValue();
    else
        *os << value.toDouble();
    *os << (value.hasFlag(StyleValue::kPercent) ? " %" : "")
        << (value.hasFlag(StyleValue::kNumericPosition) ? " #" : "");
}

inline StyleValue percent(int value) {
    StyleValue length = StyleValue::integer(value);
    length.addFlag(StyleValue::kPercent);
    return length;
}

// Keeps per-state maps as a view does: a state falls back to Normal.
class RecordingStyleTarget : public IStyleTarget {
public:
    void setProperty(PropertyId id, const StyleValue& value, StyleState state) override {
        maps.set(id, value, state);
    }
    bool getProperty(PropertyId id, StyleValue& out, StyleState state) const override {
        const StyleValue* own = maps.findWithFallback(id, state);
        if (own)
            out = *own;
        return own != nullptr;
    }
    const StyleValue* findInStyleMap(PropertyId id, StyleState state) const override {
        return maps.find(id, state);
    }

    // The state's map in key order as "Key value, ...", each value as PrintTo writes it.
    std::string listing(StyleState state = Normal) const {
        std::ostringstream out;
        for (const auto& [id, value] : *maps.map(state)) {
            out << (out.tellp() > 0 ? ", " : "") << propertyName(id) << ' ';
            PrintTo(value, &out);
        }
        return out.str();
    }

    StyleMaps maps;
};

} // namespace xhtml
