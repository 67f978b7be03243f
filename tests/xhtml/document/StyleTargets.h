#pragma once

#include "tests/base/ZStringPrinter.h"
#include "xhtml/views/View.h"

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

// The state's own map of the target in key order as "Key value, ...", each value as PrintTo
// writes it.
inline std::string listing(const View& target, StyleState state = Normal) {
    std::ostringstream out;
    for (const auto& [id, value] : *target.getStyleMap(state)) {
        out << (out.tellp() > 0 ? ", " : "") << propertyName(id) << ' ';
        PrintTo(value, &out);
    }
    return out.str();
}

} // namespace xhtml
