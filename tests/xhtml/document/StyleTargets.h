#pragma once

#include "tests/base/ZStringPrinter.h"
#include "xhtml/document/IStyleTarget.h"
#include "xhtml/document/StyleMaps.h"

#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

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

inline void PrintTo(PropertyId id, std::ostream* os) {
    *os << propertyName(id);
}

inline StyleValue percent(int value) {
    StyleValue length = StyleValue::integer(value);
    length.addFlag(StyleValue::kPercent);
    return length;
}

// Keeps per-state maps as a view does (a state falls back to Normal); the font size a view
// would inherit from its ancestors can be given.
class RecordingStyleTarget : public IStyleTarget {
public:
    void setProperty(PropertyId id, const StyleValue& value, StyleState state) override {
        maps.set(id, value, state);
    }
    bool getProperty(PropertyId id, StyleValue& out, StyleState state) const override {
        if (const StyleValue* own = maps.findWithFallback(id, state))
            out = *own;
        else if (id == PropertyId::FontSize && inheritedFontSize)
            out = StyleValue::integer(*inheritedFontSize);
        else
            return false;
        return true;
    }
    const StyleValue* findInStyleMap(PropertyId id, StyleState state) const override {
        return maps.find(id, state);
    }

    // What the map of the state holds for the key; empty when nothing.
    StyleValue at(PropertyId id, StyleState state = Normal) const {
        const StyleValue* value = maps.find(id, state);
        return value ? *value : StyleValue();
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
    // The keys of the state's map, in increasing order.
    std::vector<PropertyId> keys(StyleState state = Normal) const {
        std::vector<PropertyId> out;
        for (const auto& entry : *maps.map(state))
            out.push_back(entry.first);
        return out;
    }

    StyleMaps maps;
    std::optional<int> inheritedFontSize;
};

} // namespace xhtml
