#pragma once

#include <cstdint>
#include <string>
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
    int length() const { return length_; }
    int capacity() const { return capacity_; }
    bool isEmpty() const { return length_ == 0; }

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
    int toInt(int base = 0) const;
    double toDouble(const char* localeName = "C") const;

    // printf-style formatting; arguments are checked against the pattern at run time, so a
    // mismatched argument list yields text, never a fault. "%s" takes a string.
    template <typename... Args> static ZString format(const char16_t* pattern, const Args&... args);

    ZString& append(const ZString& text, int count = -1);
    ZString& append(const char16_t* text, int count = -1);
    ZString& append(char16_t c);
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
    ZString& toLower();
    ZString& trim();

    friend ZString operator+(const ZString& a, const ZString& b);
    friend ZString operator+(const ZString& a, const char16_t* b);
    bool operator==(const ZString& other) const { return equals(other); }
    bool operator==(const char16_t* other) const { return equals(other); }
    bool operator<(const ZString& other) const { return compare(other) < 0; }

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
    static ZString formatArgs(const char16_t* pattern, const FormatArg* args, int count);

    char16_t* data_;
    int32_t length_;
    int32_t capacity_;
};

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
const char16_t* skipSpaces(const char16_t* text);
void split(std::vector<ZString>& out, const ZString& text, const ZString& separator,
           bool keepEmpty, bool trim);
void splitLines(std::vector<ZString>& out, const ZString& text, bool trim, bool keepEmpty);
// UTF-8 to UTF-16 as the platform converts it: malformed sequences become U+FFFD.
// count -1 reads up to the terminating NUL.
std::u16string fromUtf8(const char* bytes, int count);
// UTF-16 to UTF-8, for tools and tests that print text; unpaired surrogates become U+FFFD.
std::string toUtf8(const ZString& text);
