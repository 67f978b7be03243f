#include "base/ZString.h"

#include "base/Raise.h"

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <stdexcept>

namespace {

int unitCount(const char16_t* text) {
    return static_cast<int>(std::char_traits<char16_t>::length(text));
}

char16_t* allocateUnits(int capacity) {
    return static_cast<char16_t*>(
        std::malloc((static_cast<size_t>(capacity) + 1) * sizeof(char16_t)));
}

bool isTrimSpace(char16_t c) {
    return (c >= 9 && c <= 13) || c == 32;
}

bool isHexDigit(char16_t c) {
    return digitValue(c) < 16;
}

// Numbers start after leading white space and one optional sign; true when that sign is a minus.
bool skipSpacesAndSign(const char16_t*& p, const char16_t* end) {
    while (p < end && isWideSpace(*p))
        ++p;
    const bool negative = p < end && *p == u'-';
    if (p < end && (*p == u'-' || *p == u'+'))
        ++p;
    return negative;
}

} // namespace

ZString::ZString() : data_(allocateUnits(0)), length_(0), capacity_(0) {
    data_[0] = 0;
}

ZString::ZString(const char16_t* text, int count) {
    if (!text)
        count = 0;
    else if (count < 0)
        count = unitCount(text);
    data_ = allocateUnits(count);
    length_ = count;
    capacity_ = count;
    if (count > 0)
        std::memcpy(data_, text, count * sizeof(char16_t));
    data_[count] = 0;
}

ZString::ZString(int capacity) : length_(0), capacity_(std::max(capacity, 0)) {
    data_ = allocateUnits(capacity_);
    data_[0] = 0;
}

ZString::ZString(const ZString& other) : ZString(other.data_, other.length_) {}

ZString::ZString(ZString&& other) noexcept
    : data_(other.data_), length_(other.length_), capacity_(other.capacity_) {
    other.data_ = nullptr;
    other.length_ = 0;
    other.capacity_ = 0;
}

ZString::~ZString() {
    std::free(data_);
}

ZString& ZString::operator=(const ZString& other) {
    if (this != &other) {
        length_ = 0;
        append(other);
    }
    return *this;
}

ZString& ZString::operator=(ZString&& other) noexcept {
    if (this != &other) {
        std::free(data_);
        data_ = other.data_;
        length_ = other.length_;
        capacity_ = other.capacity_;
        other.data_ = nullptr;
        other.length_ = 0;
        other.capacity_ = 0;
    }
    return *this;
}

ZString& ZString::operator=(const char16_t* text) {
    if (holds(text)) {
        // The text lies inside this buffer: take a copy before overwriting it.
        return *this = ZString(text);
    }
    length_ = 0;
    reserve(0);
    terminate();
    return append(text);
}

#ifdef _WIN32
static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows text is UTF-16");

ZString::ZString(const wchar_t* text, int count)
    : ZString(reinterpret_cast<const char16_t*>(text), count) {}

ZString& ZString::operator=(const wchar_t* text) {
    return *this = reinterpret_cast<const char16_t*>(text);
}

const wchar_t* ZString::w_str() const {
    return reinterpret_cast<const wchar_t*>(c_str());
}

wchar_t* ZString::wdata() {
    return reinterpret_cast<wchar_t*>(data());
}
#endif

bool ZString::holds(const char16_t* p) const {
    return data_ && std::less_equal<const char16_t*>()(data_, p) &&
           std::less_equal<const char16_t*>()(p, data_ + capacity_);
}

void ZString::terminate() const {
    if (data_)
        data_[length_] = 0;
}

const char16_t* ZString::c_str() const {
    if (!data_)
        return u"";
    terminate();
    return data_;
}

char16_t* ZString::data() {
    if (!data_)
        reserve(0);
    return data_;
}

char16_t ZString::getAt(int index) const {
    if (index < 0 || index >= length_)
        raise<std::range_error>("ZString::getAt(int): Index out of range");
    return data_[index];
}

int ZString::compare(const ZString& other) const {
    const int common = std::min(length_, other.length_);
    for (int i = 0; i < common; ++i) {
        if (data_[i] != other.data_[i])
            return data_[i] < other.data_[i] ? -1 : 1;
    }
    return length_ == other.length_ ? 0 : (length_ < other.length_ ? -1 : 1);
}

bool ZString::equals(const ZString& other) const {
    return length_ == other.length_ &&
           (length_ == 0 || std::memcmp(data_, other.data_, length_ * sizeof(char16_t)) == 0);
}

bool ZString::equals(const char16_t* text) const {
    if (!text)
        return length_ == 0;
    for (int i = 0; i < length_; ++i) {
        if (text[i] == 0 || text[i] != data_[i])
            return false;
    }
    return text[length_] == 0;
}

bool ZString::equalsIgnoreCase(const ZString& other) const {
    if (length_ != other.length_)
        return false;
    for (int i = 0; i < length_; ++i) {
        if (toLowerAscii(data_[i]) != toLowerAscii(other.data_[i]))
            return false;
    }
    return true;
}

bool ZString::equalsIgnoreCase(const char16_t* text) const {
    if (!text)
        return length_ == 0;
    for (int i = 0; i < length_; ++i) {
        if (text[i] == 0 || toLowerAscii(text[i]) != toLowerAscii(data_[i]))
            return false;
    }
    return text[length_] == 0;
}

bool ZString::startsWith(const char16_t* text, int count) const {
    if (!text)
        return true;
    if (count < 0)
        count = unitCount(text);
    if (count > length_)
        return false;
    return count < 1 || std::memcmp(data_, text, count * sizeof(char16_t)) == 0;
}

bool ZString::startsWith(char16_t c) const {
    return length_ > 0 && data_[0] == c;
}

bool ZString::endsWith(char16_t c) const {
    return length_ > 0 && data_[length_ - 1] == c;
}

int ZString::find(int from, const char16_t* text, int count) const {
    from = std::clamp(from, 0, length_);
    if (!text)
        return -1;
    if (count < 0)
        count = unitCount(text);
    if (count == 0)
        return from;
    for (int i = from; i <= length_ - count; ++i) {
        if (std::memcmp(data_ + i, text, count * sizeof(char16_t)) == 0)
            return i;
    }
    return -1;
}

int ZString::find(char16_t c, int from) const {
    for (int i = std::max(from, 0); i < length_; ++i) {
        if (data_[i] == c)
            return i;
    }
    return -1;
}

int ZString::rfind(char16_t c) const {
    for (int i = length_ - 1; i >= 0; --i) {
        if (data_[i] == c)
            return i;
    }
    return -1;
}

ZString ZString::mid(int start, int end) const {
    start = std::max(start, 0);
    if (end < 0 || end > length_)
        end = length_;
    if (start >= end)
        return ZString();
    return ZString(data_ + start, end - start);
}

int ZString::toInt(int base) const {
    if (base < 0 || base == 1 || base > 36)
        return 0;
    const char16_t* p = data_;
    const char16_t* const end = data_ + length_;
    const bool negative = skipSpacesAndSign(p, end);
    const bool hexPrefix =
        p + 2 < end && p[0] == u'0' && (p[1] == u'x' || p[1] == u'X') && isHexDigit(p[2]);
    if ((base == 0 || base == 16) && hexPrefix) {
        base = 16;
        p += 2;
    } else if (base == 0) {
        base = p < end && *p == u'0' ? 8 : 10;
    }
    // The magnitude saturates just past the int range, which is enough to clamp either sign.
    const long long limit = 2147483648LL + 1;
    long long magnitude = 0;
    for (; p < end && digitValue(*p) < base; ++p)
        magnitude = std::min(magnitude * base + digitValue(*p), limit);
    if (negative)
        return static_cast<int>(std::max(-magnitude, -2147483648LL));
    return static_cast<int>(std::min(magnitude, 2147483647LL));
}

double ZString::toDouble(const char*) const {
    const char16_t* p = data_;
    const char16_t* const end = data_ + length_;
    while (p < end && isWideSpace(*p))
        ++p;
    // strtod finds the longest number at the start of a narrow copy, which ends at the first
    // unit that cannot belong to a number. It reads the separator of the process's numeric
    // locale: the point becomes that separator, so that numbers read the same whatever locale a
    // caller chose.
    const char point = *std::localeconv()->decimal_point;
    std::string narrow;
    for (; p < end; ++p) {
        const bool usable = (*p >= u'0' && *p <= u'9') || (*p >= u'a' && *p <= u'z') ||
                            (*p >= u'A' && *p <= u'Z') || *p == u'.' || *p == u'+' || *p == u'-' ||
                            *p == u'(' || *p == u')' || *p == u'_';
        if (!usable)
            break;
        narrow += *p == u'.' ? point : static_cast<char>(*p);
    }
    return std::strtod(narrow.c_str(), nullptr);
}

ZString& ZString::append(const ZString& text, int count) {
    if (count < 0 || count > text.length_)
        count = text.length_;
    return append(text.c_str(), count);
}

ZString& ZString::append(const char16_t* text, int count) {
    if (!text)
        return *this;
    if (count < 0)
        count = unitCount(text);
    if (length_ + count > capacity_ && holds(text)) {
        // Growing frees the buffer the text lies in.
        const ZString copy(text, count);
        return append(copy.data_, count);
    }
    reserve(length_ + count);
    std::memmove(data_ + length_, text, count * sizeof(char16_t));
    length_ += count;
    terminate();
    return *this;
}

ZString& ZString::append(char16_t c) {
    return append(&c, 1);
}

ZString& ZString::appendNumber(int value, int base) {
    base = std::clamp(base, 2, 36);
    unsigned long long magnitude = static_cast<uint32_t>(value);
    if (base == 10 && value < 0) {
        append(u'-');
        magnitude = static_cast<unsigned long long>(-static_cast<long long>(value));
    }
    char16_t digits[32];
    int n = 0;
    do {
        digits[n++] = u"0123456789abcdefghijklmnopqrstuvwxyz"[magnitude % base];
        magnitude /= base;
    } while (magnitude != 0);
    std::reverse(digits, digits + n);
    return append(digits, n);
}

ZString operator+(const ZString& a, const ZString& b) {
    ZString sum(a.length_ + b.length_);
    sum.append(a).append(b);
    return sum;
}

ZString operator+(const ZString& a, const char16_t* b) {
    const int count = b ? unitCount(b) : 0;
    ZString sum(a.length_ + count);
    sum.append(a).append(b, count);
    return sum;
}

ZString& ZString::insert(int position, const char16_t* text, int count) {
    if (!text)
        return *this;
    if (count < 0)
        count = unitCount(text);
    if (holds(text)) {
        // Moving the tail would move the text too.
        const ZString copy(text, count);
        return insert(position, copy.data_, count);
    }
    position = std::clamp(position, 0, length_);
    reserve(length_ + count);
    std::memmove(data_ + position + count, data_ + position,
                 (length_ - position) * sizeof(char16_t));
    std::memcpy(data_ + position, text, count * sizeof(char16_t));
    length_ += count;
    terminate();
    return *this;
}

ZString& ZString::replace(int start, int end, const ZString& with) {
    if (start >= end)
        return *this;
    if (&with == this) {
        const ZString copy(with);
        return replace(start, end, copy);
    }
    start = std::clamp(start, 0, length_);
    end = std::clamp(end, start, length_);
    erase(start, end);
    return insert(start, with.c_str(), with.length_);
}

ZString& ZString::replaceAll(const ZString& find, const ZString& with) {
    if (find.isEmpty())
        return *this;
    int at = this->find(0, find.data_, find.length_);
    if (at < 0)
        return *this;
    // One pass into a new buffer: the text after each replacement is searched, never the
    // inserted text, and many replacements stay linear.
    ZString result(length_);
    int from = 0;
    for (; at >= 0; at = this->find(from, find.data_, find.length_)) {
        result.append(data_ + from, at - from).append(with);
        from = at + find.length_;
    }
    result.append(data_ + from, length_ - from);
    return *this = std::move(result);
}

ZString& ZString::replaceFirst(const ZString& find, const ZString& with) {
    if (find.isEmpty())
        return *this;
    const int at = this->find(0, find.data_, find.length_);
    return at < 0 ? *this : replace(at, at + find.length_, with);
}

ZString& ZString::replaceLast(const ZString& find, const ZString& with) {
    if (find.isEmpty())
        return *this;
    for (int at = length_ - find.length_; at >= 0; --at) {
        if (std::memcmp(data_ + at, find.data_, find.length_ * sizeof(char16_t)) == 0)
            return replace(at, at + find.length_, with);
    }
    return *this;
}

ZString& ZString::replaceChars(const char16_t* set, char16_t c) {
    if (!set)
        return *this;
    const int setLength = unitCount(set);
    for (int i = 0; i < length_; ++i) {
        if (std::char_traits<char16_t>::find(set, setLength, data_[i]))
            data_[i] = c;
    }
    return *this;
}

ZString& ZString::truncate(int n) {
    if (n < length_) {
        length_ = std::max(n, 0);
        terminate();
    }
    return *this;
}

ZString& ZString::erase(int start, int end) {
    if (start >= end || end < 1 || start >= length_)
        return *this;
    start = std::max(start, 0);
    end = std::min(end, length_);
    std::memmove(data_ + start, data_ + end, (length_ - end) * sizeof(char16_t));
    length_ -= end - start;
    terminate();
    return *this;
}

void ZString::setLength(int n) {
    length_ = std::clamp(n, 0, capacity_);
    terminate();
}

void ZString::reserve(int n) {
    if (n <= capacity_ && data_)
        return;
    const long long grown = std::max({2LL * capacity_, 16LL, static_cast<long long>(n)});
    const int capacity = static_cast<int>(std::min<long long>(grown, INT32_MAX - 1));
    char16_t* buffer = allocateUnits(capacity);
    if (length_ > 0)
        std::memcpy(buffer, data_, length_ * sizeof(char16_t));
    std::free(data_);
    data_ = buffer;
    capacity_ = capacity;
    terminate();
}

ZString& ZString::toLower() {
    for (int i = 0; i < length_; ++i)
        data_[i] = toLowerAscii(data_[i]);
    return *this;
}

ZString& ZString::trim() {
    int end = length_;
    while (end > 0 && isTrimSpace(data_[end - 1]))
        --end;
    int start = 0;
    while (start < end && isTrimSpace(data_[start]))
        ++start;
    truncate(end);
    return erase(0, start);
}
