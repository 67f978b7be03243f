#include "xhtml/document/StyleValue.h"

#include "base/Raise.h"

#include <stdexcept>
#include <utility>

namespace xhtml {

StyleValue::StyleValue(const StyleValue& other) : type_(other.type_), payload_(other.payload_) {
    if (kind() == Kind::String)
        payload_.text = new ZString(*other.payload_.text);
}

StyleValue::StyleValue(StyleValue&& other) noexcept
    : type_(std::exchange(other.type_, 0)), payload_(other.payload_) {
    other.payload_.text = nullptr;
}

StyleValue& StyleValue::operator=(const StyleValue& other) {
    if (this != &other)
        *this = StyleValue(other);
    return *this;
}

StyleValue& StyleValue::operator=(StyleValue&& other) noexcept {
    if (this != &other) {
        clear();
        type_ = std::exchange(other.type_, 0);
        payload_ = other.payload_;
        other.payload_.text = nullptr;
    }
    return *this;
}

StyleValue::~StyleValue() {
    clear();
}

void StyleValue::clear() {
    if (kind() == Kind::String)
        delete payload_.text;
    type_ = 0;
    payload_.text = nullptr;
}

StyleValue StyleValue::string(const ZString& text) {
    StyleValue value(Kind::String);
    value.payload_.text = new ZString(text);
    return value;
}

StyleValue StyleValue::boolean(bool flag) {
    StyleValue value(Kind::Bool);
    value.payload_.flag = flag;
    return value;
}

StyleValue StyleValue::integer(int32_t integer) {
    StyleValue value(Kind::Int);
    value.payload_.integer = integer;
    return value;
}

StyleValue StyleValue::number(double real) {
    StyleValue value(Kind::Double);
    value.payload_.real = real;
    return value;
}

StyleValue StyleValue::color(uint32_t color) {
    StyleValue value(Kind::Color);
    value.payload_.color = color;
    return value;
}

ZString StyleValue::stringValue() const {
    return kind() == Kind::String ? *payload_.text : ZString();
}

bool StyleValue::boolValue() const {
    return kind() == Kind::Bool && payload_.flag;
}

int32_t StyleValue::intValue() const {
    return kind() == Kind::Int ? payload_.integer : 0;
}

double StyleValue::doubleValue() const {
    return kind() == Kind::Double ? payload_.real : 0.0;
}

uint32_t StyleValue::colorValue() const {
    return kind() == Kind::Color ? payload_.color : 0;
}

double StyleValue::toDouble() const {
    switch (kind()) {
    case Kind::Empty:
        return 0.0;
    case Kind::String:
        return payload_.text->toDouble("C");
    case Kind::Bool:
        return payload_.flag ? 1.0 : 0.0;
    case Kind::Int:
        return payload_.integer;
    case Kind::Double:
        return payload_.real;
    case Kind::Color:
        return payload_.color;
    }
    raise<std::invalid_argument>("type not supported for toDouble");
}

bool StyleValue::operator==(const StyleValue& other) const {
    if (type_ != other.type_)
        return false;
    switch (kind()) {
    case Kind::String:
        return payload_.text->equals(*other.payload_.text);
    case Kind::Bool:
        return payload_.flag == other.payload_.flag;
    case Kind::Int:
        return payload_.integer == other.payload_.integer;
    case Kind::Double:
        return payload_.real == other.payload_.real;
    case Kind::Color:
        return payload_.color == other.payload_.color;
    default:
        return true;
    }
}

} // namespace xhtml
