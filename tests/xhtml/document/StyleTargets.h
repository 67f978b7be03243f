#pragma once

#include "tests/base/ZStringPrinter.h"
#include "xhtml/document/IStyleTarget.h"
#include "xhtml/document/StyleMaps.h"

#include <gmock/gmock.h>

#include <cstdio>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace xhtml {

// Readable values in failure messages: int 12 %, colour 0x00333333, string "a".
inline std::string describe(const StyleValue& value) {
    char text[64] = "empty";
    switch (value.kind()) {
    case StyleValue::Kind::String:
        return "string \"" + toUtf8(value.stringValue()) + '"';
    case StyleValue::Kind::Bool:
        std::snprintf(text, sizeof text, "bool %s", value.boolValue() ? "true" : "false");
        break;
    case StyleValue::Kind::Int:
        std::snprintf(text, sizeof text, "int %d", value.intValue());
        break;
    case StyleValue::Kind::Double:
        std::snprintf(text, sizeof text, "double %g", value.doubleValue());
        break;
    case StyleValue::Kind::Color:
        std::snprintf(text, sizeof text, "colour 0x%08X", value.colorValue());
        break;
    default:
        break;
    }
    std::string out = text;
    if (value.hasFlag(StyleValue::kPercent))
        out += " %";
    if (value.hasFlag(StyleValue::kNumericPosition))
        out += " #";
    return out;
}

inline void PrintTo(const StyleValue& value, std::ostream* os) {
    *os << describe(value);
}

inline void PrintTo(PropertyId id, std::ostream* os) {
    *os << propertyName(id);
}

inline StyleValue percent(int value) {
    StyleValue length = StyleValue::integer(value);
    length.addFlag(StyleValue::kPercent);
    return length;
}

// Keeps what is stored in per-state maps, as a view does (a state falls back to Normal), and logs
// every call so tests can check what was stored, in which state and in which order. The font
// size a view would inherit from its ancestors can be given.
class RecordingStyleTarget : public IStyleTarget {
public:
    struct Call {
        PropertyId id;
        StyleValue value;
        StyleState state;
    };

    void setProperty(PropertyId id, const StyleValue& value, StyleState state) override {
        calls.push_back({id, value, state});
        maps.set(id, value, state);
    }

    bool getProperty(PropertyId id, StyleValue& out, StyleState state) const override {
        if (const StyleValue* own = maps.findWithFallback(id, state)) {
            out = *own;
            return true;
        }
        if (id == PropertyId::FontSize && inheritedFontSize) {
            out = StyleValue::integer(*inheritedFontSize);
            return true;
        }
        return false;
    }

    const StyleValue* findInStyleMap(PropertyId id, StyleState state) const override {
        return maps.find(id, state);
    }

    // What the map of the state holds for the key; empty when nothing.
    StyleValue at(PropertyId id, StyleState state = Normal) const {
        const StyleValue* value = maps.find(id, state);
        return value ? *value : StyleValue();
    }

    // The keys of the state's map, in increasing order.
    std::vector<PropertyId> keys(StyleState state = Normal) const {
        std::vector<PropertyId> out;
        for (const auto& entry : *maps.map(state))
            out.push_back(entry.first);
        return out;
    }

    StyleMaps maps;
    std::vector<Call> calls;
    std::optional<int> inheritedFontSize;
};

// For tests that must see exactly the calls they expect and fail on any other.
class MockStyleTarget : public IStyleTarget {
public:
    MOCK_METHOD(void, setProperty, (PropertyId, const StyleValue&, StyleState), (override));
    MOCK_METHOD(bool, getProperty, (PropertyId, StyleValue&, StyleState), (const, override));
    MOCK_METHOD(const StyleValue*, findInStyleMap, (PropertyId, StyleState), (const, override));
};

} // namespace xhtml
