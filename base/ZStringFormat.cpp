#include "base/ZString.h"

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Arg = ZString::FormatArg;

// Caps explicit widths and precisions, so no pattern can demand gigabytes.
const int maxWidth = 4096;

bool isInteger(const Arg* arg) {
    return arg && arg->kind != Arg::Kind::Double && arg->kind != Arg::Kind::Text;
}

// One directive of a pattern: "%", flags, width, precision, length, conversion.
struct Directive {
    std::string flags;
    int width = -1;
    int precision = -1;
    char16_t conversion = 0;
    bool argumentsFit = true; // false when a '*' found no integer argument
};

class Formatter {
public:
    Formatter(const Arg* args, int count) : args_(args), count_(count) {}

    ZString run(const char16_t* pattern) {
        const char16_t* p = pattern;
        while (*p) {
            if (*p != u'%') {
                out_ += *p++;
                continue;
            }
            const char16_t* start = p;
            Directive directive;
            p = parse(p + 1, directive);
            if (!directive.conversion) {
                out_.append(start, p);
                continue;
            }
            const Arg* arg = directive.conversion == u'%' ? nullptr : next();
            if (directive.argumentsFit)
                convert(directive, arg);
        }
        return ZString(out_.data(), static_cast<int>(out_.size()));
    }

private:
    const Arg* next() { return index_ < count_ ? &args_[index_++] : nullptr; }

    // Reads a directive after its '%'; returns where the pattern continues. A directive that is
    // not understood keeps conversion 0 and ends before the unit that broke it off, or after it
    // when that unit is a conversion letter nobody supports.
    const char16_t* parse(const char16_t* p, Directive& d) {
        for (; *p && std::u16string_view(u"-+ 0#").find(*p) != std::u16string_view::npos; ++p)
            d.flags += static_cast<char>(*p);
        if (*p == u'*') {
            ++p;
            const Arg* arg = next();
            d.argumentsFit = isInteger(arg);
            if (d.argumentsFit) {
                if (arg->i < 0)
                    d.flags += '-'; // a negative width left-justifies
                d.width =
                    std::abs(static_cast<int>(std::clamp<long long>(arg->i, -maxWidth, maxWidth)));
            }
        } else {
            p = number(p, d.width);
        }
        if (*p == u'.') {
            ++p;
            if (*p == u'*') {
                ++p;
                const Arg* arg = next();
                d.argumentsFit = d.argumentsFit && isInteger(arg);
                if (isInteger(arg) && arg->i >= 0)
                    d.precision = static_cast<int>(std::min<long long>(arg->i, maxWidth));
            } else {
                d.precision = 0;
                p = number(p, d.precision);
            }
        }
        if (p[0] == u'I' && ((p[1] == u'6' && p[2] == u'4') || (p[1] == u'3' && p[2] == u'2')))
            p += 3;
        while (*p == u'h' || *p == u'l' || *p == u'L')
            ++p;
        if (*p && std::u16string_view(u"diuxXocsfFeEgG%").find(*p) != std::u16string_view::npos)
            d.conversion = *p++;
        else if (*p && ((*p >= u'a' && *p <= u'z') || (*p >= u'A' && *p <= u'Z')))
            ++p;
        return p;
    }

    static const char16_t* number(const char16_t* p, int& value) {
        for (; *p >= u'0' && *p <= u'9'; ++p)
            value = std::min(std::max(value, 0) * 10 + (*p - u'0'), maxWidth);
        return p;
    }

    void convert(const Directive& d, const Arg* arg) {
        switch (d.conversion) {
        case u'%':
            out_ += u'%';
            return;
        case u'c':
            if (isInteger(arg)) {
                const char16_t c = static_cast<char16_t>(arg->u);
                pad(d, &c, 1);
            }
            return;
        case u's':
            if (arg && arg->kind == Arg::Kind::Text)
                text(d, *arg);
            return;
        case u'd':
        case u'i':
            if (isInteger(arg))
                narrow(d, "ll", arg->i);
            return;
        case u'u':
        case u'x':
        case u'X':
        case u'o':
            if (isInteger(arg))
                narrow(d, "ll", arg->u);
            return;
        default: // f F e E g G
            if (arg && arg->kind == Arg::Kind::Double)
                narrow(d, "", arg->d);
            return;
        }
    }

    void text(const Directive& d, const Arg& arg) {
        const char16_t* s = arg.text ? arg.text : u"(null)";
        const int limit = d.precision >= 0 ? d.precision : INT32_MAX;
        int length = 0;
        if (arg.text && arg.textLength >= 0) {
            length = std::min(arg.textLength, limit);
        } else {
            // A precision may end the text before any NUL.
            while (length < limit && s[length])
                ++length;
        }
        pad(d, s, length);
    }

    void pad(const Directive& d, const char16_t* s, int length) {
        const int fill = std::max(d.width - length, 0);
        const bool left = d.flags.find('-') != std::string::npos;
        if (!left)
            out_.append(fill, u' ');
        out_.append(s, length);
        if (left)
            out_.append(fill, u' ');
    }

    // Lets snprintf lay out a number; width and precision are capped, so the text is short.
    template <typename T> void narrow(const Directive& d, const char* length, T value) {
        std::string format = "%";
        for (const char flag : d.flags) {
            // '#' means nothing to decimal integers; snprintf may not be given it there.
            if (flag != '#' ||
                std::u16string_view(u"diu").find(d.conversion) == std::u16string_view::npos)
                format += flag;
        }
        if (d.width >= 0)
            format += std::to_string(d.width);
        if (d.precision >= 0) {
            format += '.';
            format += std::to_string(d.precision);
        }
        format += length;
        format += static_cast<char>(d.conversion);
        const int size = std::snprintf(nullptr, 0, format.c_str(), value);
        if (size <= 0)
            return;
        std::vector<char> buffer(size + 1);
        std::snprintf(buffer.data(), buffer.size(), format.c_str(), value);
        std::string_view point = std::localeconv()->decimal_point;
        for (int i = 0; i < size; ++i) {
            if (!point.empty() && point != "." &&
                std::string_view(&buffer[i], size - i).starts_with(point)) {
                out_ += u'.';
                i += static_cast<int>(point.size()) - 1;
            } else {
                out_ += static_cast<char16_t>(static_cast<unsigned char>(buffer[i]));
            }
        }
    }

    const Arg* args_;
    int count_;
    int index_ = 0;
    std::u16string out_;
};

} // namespace

ZString ZString::formatArgs(const char16_t* pattern, const FormatArg* args, int count) {
    if (!pattern)
        return ZString();
    return Formatter(args, count).run(pattern);
}
