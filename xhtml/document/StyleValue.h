#pragma once

#include "base/ZString.h"

#include <cstdint>

namespace xhtml {

// The tagged value stored under a property key: a type word (kind in the low four bits, flags
// above) and a payload. An empty value means "not set".
class StyleValue {
public:
    enum class Kind : uint32_t { Empty = 0, String = 1, Bool = 2, Int = 3, Double = 4, Color = 5 };
    // The number is a percentage of the reference size.
    static constexpr uint32_t kPercent = 16;
    // A background position given as a number rather than a keyword.
    static constexpr uint32_t kNumericPosition = 32;

    StyleValue() = default;
    StyleValue(const StyleValue& other);
    StyleValue(StyleValue&& other) noexcept;
    StyleValue& operator=(const StyleValue& other);
    StyleValue& operator=(StyleValue&& other) noexcept;
    ~StyleValue();

    static StyleValue string(const ZString& text);
    static StyleValue boolean(bool value);
    static StyleValue integer(int32_t value);
    static StyleValue number(double value);
    // A colour laid out like a COLORREF with a transparency byte on top (0 opaque).
    static StyleValue color(uint32_t value);

    Kind kind() const { return static_cast<Kind>(type_ & 0xF); }
    bool isEmpty() const { return kind() == Kind::Empty; }
    uint32_t flags() const { return type_ & ~0xFu; }
    bool hasFlag(uint32_t flag) const { return (type_ & flag) != 0; }
    void addFlag(uint32_t flag) { type_ |= flag & ~0xFu; }

    // The payload when the value is of that kind; otherwise empty text, false or 0.
    ZString stringValue() const;
    bool boolValue() const;
    int32_t intValue() const;
    double doubleValue() const;
    uint32_t colorValue() const;

    // Lengths as views read them. Throws std::invalid_argument for a kind that cannot be stored.
    double toDouble() const;

    bool operator==(const StyleValue& other) const;
    bool operator!=(const StyleValue& other) const { return !(*this == other); }

private:
    explicit StyleValue(Kind kind) : type_(static_cast<uint32_t>(kind)) {}
    void clear();

    uint32_t type_ = 0;
    union {
        ZString* text;
        bool flag;
        int32_t integer;
        double real;
        uint32_t color;
    } payload_{nullptr};
};

} // namespace xhtml
