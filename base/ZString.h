#pragma once

#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

// The program's one text type: a growable string of UTF-16 code units with value semantics.
// Positions and counts are clamped everywhere; only getAt reports a bad index.
// Code units are char16_t; on Windows, where wchar_t has the same size, the type also takes
// and hands out wchar_t text so Win32 calls need no casts.
class ZString {
public:
    ZString();
    ZString(const char16_t* text, int count = -1);
    explicit ZString(int capacity);
    ZString(const ZString& other);
    ZString(ZString&& other) noexcept;
    ~ZString();

    ZString& operator=(const ZString& other);
    ZString& operator=(ZString&& other) noexcept;
    ZString& operator=(const char16_t* text);

#ifdef _WIN32
    ZString(const wchar_t* text, int count = -1);
    ZString& operator=(const wchar_t* text);
    const wchar_t* w_str() const;
    wchar_t* wdata();
#endif

    const char16_t* c_str() const;
    // The buffer for a platform call to write into after reserve; setLength then fixes the length.
    char16_t* data();
    int length() const {
        return length_;
    }
    int capacity() const {
        return capacity_;
    }
    bool isEmpty() const {
        return length_ == 0;
    }

    char16_t getAt(int index) const;
    int compare(const ZString& other) const;
    bool equals(const ZString& other) const;
    bool equals(const char16_t* text) const;
    bool equalsIgnoreCase(const ZString& other) const;
    bool equalsIgnoreCase(const char16_t* text) const;
    bool startsWith(const char16_t* text, int count = -1) const;
    bool startsWith(char16_t c) const;
    bool endsWith(char16_t c) const;
    int find(int from, const char16_t* text, int count = -1) const;
    int find(char16_t c, int from = 0) const;
    int rfind(char16_t c) const;
    ZString mid(int start, int end = -1) const;
    // Reads a number as wcstol does with a 32-bit long: leading white space, a sign, with base 0
    // a "0x" prefix for hexadecimal and a leading 0 for octal; it stops at the first unusable
    // unit, clamps to the int range and gives 0 without digits (or for a base outside 2..36).
    int toInt(int base = 0) const;
    // Reads a number as strtod does in the "C" locale (decimal and "0x" hexadecimal forms,
    // "inf", "nan"); the decimal separator is always a point. The locale name is accepted for
    // callers and ignored: the process-wide locale is never touched.
    double toDouble(const char* localeName = "C") const;

    // printf-style formatting: flags - + space 0 #, width and precision (also *), length
    // modifiers h l ll L I64 (ignored: integers keep their full value), conversions d i u x X o
    // c s f F e E g G and %%. "%s" takes a ZString, a std::u16string or a char16_t pointer (on
    // Windows also a wchar_t pointer); a null pointer prints "(null)". Arguments are checked
    // against the pattern at run time: a conversion whose argument is missing or of the wrong
    // kind prints nothing, a directive that is not understood is copied as it stands, and a
    // width or precision above 4096 counts as 4096. Numbers always use a decimal point.
    template <typename... Args> static ZString format(const char16_t* pattern, const Args&... args);

    ZString& append(const ZString& text, int count = -1);
    ZString& append(const char16_t* text, int count = -1);
    ZString& append(char16_t c);
    // The digits as _itow writes them: in base 10 a negative value gets a '-', in other bases
    // the value is taken as unsigned 32 bits; lower-case digits; a base outside 2..36 is clamped.
    ZString& appendNumber(int value, int base = 10);
    ZString& insert(int position, const char16_t* text, int count = -1);
    ZString& replace(int start, int end, const ZString& with);
    ZString& replaceAll(const ZString& find, const ZString& with);
    ZString& replaceFirst(const ZString& find, const ZString& with);
    ZString& replaceLast(const ZString& find, const ZString& with);
    ZString& replaceChars(const char16_t* set, char16_t c);
    ZString& truncate(int n);
    ZString& erase(int start, int end);
    void setLength(int n);
    void reserve(int n);
    // ASCII letters only (toLowerAscii).
    ZString& toLower();
    // Removes 9 to 13 and 32 from both ends.
    ZString& trim();

    friend ZString operator+(const ZString& a, const ZString& b);
    friend ZString operator+(const ZString& a, const char16_t* b);
    bool operator==(const ZString& other) const {
        return equals(other);
    }
    bool operator==(const char16_t* other) const {
        return equals(other);
    }
    bool operator<(const ZString& other) const {
        return compare(other) < 0;
    }

    // One formatting argument as format sees it; an implementation detail of format.
    struct FormatArg {
        enum class Kind { Int, UInt, Double, Text, Char } kind;
        long long i = 0;
        unsigned long long u = 0;
        double d = 0;
        const char16_t* text = nullptr;
        int textLength = 0;
    };

private:
    template <typename T> static FormatArg formatArg(const T& value);
    static ZString formatArgs(const char16_t* pattern, const FormatArg* args, int count);
    bool holds(const char16_t* p) const;
    void terminate() const;

    char16_t* data_;
    int32_t length_;
    int32_t capacity_;
};

template <typename T> ZString::FormatArg ZString::formatArg(const T& value) {
    using D = std::decay_t<T>;
    FormatArg arg;
#ifdef _WIN32
    constexpr bool isWideChar = std::is_same_v<D, wchar_t>;
    constexpr bool isWidePointer = std::is_convertible_v<const T&, const wchar_t*>;
#else
    constexpr bool isWideChar = false;
    constexpr bool isWidePointer = false;
#endif
    if constexpr (std::is_same_v<D, char16_t> || std::is_same_v<D, char> || isWideChar) {
        arg.kind = FormatArg::Kind::Char;
        arg.u = static_cast<char16_t>(value);
        arg.i = static_cast<long long>(arg.u);
    } else if constexpr (std::is_integral_v<D>) {
        // Both readings at the argument's own width, so "%x" of -1 gives ffffffff as printf does.
        using N = std::conditional_t<std::is_same_v<D, bool>, unsigned, D>;
        arg.kind = std::is_signed_v<N> ? FormatArg::Kind::Int : FormatArg::Kind::UInt;
        arg.i = static_cast<std::make_signed_t<N>>(value);
        arg.u = static_cast<std::make_unsigned_t<N>>(value);
    } else if constexpr (std::is_floating_point_v<D>) {
        arg.kind = FormatArg::Kind::Double;
        arg.d = static_cast<double>(value);
    } else if constexpr (std::is_convertible_v<const T&, const char16_t*>) {
        arg.kind = FormatArg::Kind::Text;
        arg.text = value;
        arg.textLength = -1;
    } else if constexpr (isWidePointer) {
        arg.kind = FormatArg::Kind::Text;
        arg.text = reinterpret_cast<const char16_t*>(static_cast<const wchar_t*>(value));
        arg.textLength = -1;
    } else if constexpr (std::is_same_v<D, ZString>) {
        arg.kind = FormatArg::Kind::Text;
        arg.text = value.c_str();
        arg.textLength = value.length();
    } else if constexpr (std::is_same_v<D, std::u16string>) {
        arg.kind = FormatArg::Kind::Text;
        arg.text = value.c_str();
        arg.textLength = static_cast<int>(value.size());
    } else {
        static_assert(sizeof(T) == 0, "ZString::format: unsupported argument type");
    }
    return arg;
}

template <typename... Args> ZString ZString::format(const char16_t* pattern, const Args&... args) {
    // The extra record keeps the array non-empty when there are no arguments.
    const FormatArg packed[] = {formatArg(args)..., FormatArg{}};
    return formatArgs(pattern, packed, static_cast<int>(sizeof...(Args)));
}

// Raw bytes, for example a resource read before it is decoded.
class ByteBuffer {
public:
    ByteBuffer();
    ByteBuffer(const ByteBuffer&) = delete;
    ByteBuffer& operator=(const ByteBuffer&) = delete;
    ~ByteBuffer();

    void append(const void* bytes, int count);
    // The content as NUL-terminated text (a NUL is written at index length).
    const char* text();
    const unsigned char* data() const { return data_; }
    int length() const { return length_; }

private:
    int32_t capacity_;
    int32_t length_;
    unsigned char* data_;
};

// The wide white-space test of the text layers: 9 to 13, 32, 0x85, 0x1680, 0x2000 to 0x2006,
// 0x2008 to 0x200A, 0x2028, 0x2029, 0x205F and 0x3000. The no-break spaces (0xA0, 0x2007,
// 0x202F) are not white space, so a "&nbsp;" in a page survives trimming and word splitting.
bool isWideSpace(char16_t c);
// The letter case of the text layers is that of the "C" locale: only A to Z and a to z.
char16_t toLowerAscii(char16_t c);
// The value of c as a digit in bases up to 36 (0 to 9, then a or A as 10 up to z or Z as 35), or
// 36 for anything else, so digitValue(c) < base tells whether c is a digit of that base.
int digitValue(char16_t c);
const char16_t* skipSpaces(const char16_t* text);
void split(std::vector<ZString>& out, const ZString& text, const ZString& separator, bool keepEmpty,
           bool trim);
void splitLines(std::vector<ZString>& out, const ZString& text, bool trim, bool keepEmpty);
// UTF-8 to UTF-16 as the platform converts it: each maximal ill-formed sequence (overlong
// forms and encoded surrogates included) becomes one U+FFFD. A negative count reads up to the
// terminating NUL; a null pointer or a count of 0 gives the empty string.
std::u16string fromUtf8(const char* bytes, int count);
// UTF-16 to UTF-8, for tools and tests that print text; unpaired surrogates become U+FFFD.
std::string toUtf8(const ZString& text);
