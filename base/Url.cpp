#include "base/Url.h"

#include "base/Raise.h"

#include <stdexcept>
#include <string_view>

namespace {

// The index of the first unit at or after from that is one of the set, or the length.
int findFirstOf(const ZString& text, int from, std::u16string_view set) {
    const char16_t* units = text.c_str();
    for (int i = from; i < text.length(); ++i) {
        if (set.find(units[i]) != std::u16string_view::npos)
            return i;
    }
    return text.length();
}

bool unitIs(const ZString& text, int index, char16_t c) {
    return index < text.length() && text.c_str()[index] == c;
}

bool isDigits(const ZString& text) {
    for (int i = 0; i < text.length(); ++i) {
        if (text.c_str()[i] < u'0' || text.c_str()[i] > u'9')
            return false;
    }
    return true;
}

int defaultPort(const ZString& scheme) {
    ZString lower = scheme;
    lower.toLower();
    if (lower == u"http")
        return 80;
    if (lower == u"https")
        return 443;
    if (lower == u"ftp")
        return 21;
    return -1;
}

} // namespace

Url::Url(const ZString& text) {
    if (!read(text))
        raise<std::invalid_argument>("Port in Url invalid");
}

std::optional<Url> Url::parse(const ZString& text) {
    Url url;
    if (!url.read(text))
        return std::nullopt;
    return url;
}

bool Url::read(const ZString& input) {
    ZString text = input;
    text.trim();
    int pos = 0;

    const int schemeEnd = text.find(0, u"://");
    if (schemeEnd > 0) {
        scheme = text.mid(0, schemeEnd);
        pos = schemeEnd + 3;

        // Only an "@" inside the authority ends a user information: "res:///img/logo@2x.png"
        // is a path, not a user "img/logo" at a host "2x.png".
        const int authorityEnd = findFirstOf(text, pos, u"/?&#");
        const int at = text.find(u'@', pos);
        if (at >= 0 && at < authorityEnd) {
            int colon = text.find(u':', pos);
            if (colon < 0 || colon > at)
                colon = at;
            user = text.mid(pos, colon);
            if (colon != at)
                password = text.mid(colon + 1, at);
            pos = at + 1;
        }

        const int hostEnd = findFirstOf(text, pos, u":/?&#");
        host = text.mid(pos, hostEnd);
        pos = hostEnd;
    }

    if (unitIs(text, pos, u':')) {
        const int portEnd = findFirstOf(text, pos + 1, u"/?&#");
        const ZString digits = text.mid(pos + 1, portEnd);
        if (digits.isEmpty() || digits.length() > 5 || !isDigits(digits))
            return false;
        // Decimal even with leading zeros: ":080" is port 80, not an octal 64.
        port = digits.toInt(10);
        pos = portEnd;
    } else {
        port = defaultPort(scheme);
    }

    const int pathEnd = findFirstOf(text, pos, u"?&#");
    path = text.mid(pos, pathEnd);
    pos = pathEnd;

    if (unitIs(text, pos, u'?') || unitIs(text, pos, u'&')) {
        const int queryEnd = findFirstOf(text, pos + 1, u"#");
        query = text.mid(pos + 1, queryEnd);
        pos = queryEnd;
    }
    if (unitIs(text, pos, u'#'))
        fragment = text.mid(pos + 1);
    return true;
}

Url::Url(const Url& base, const Url& relative)
    : Url(relative.scheme.isEmpty() && relative.host.isEmpty() ? base : relative) {
    if (!relative.scheme.isEmpty() || !relative.host.isEmpty())
        return;
    if (relative.path.startsWith(u'/')) {
        path = relative.path;
    } else {
        const ZString directory =
            relative.path.isEmpty() ? base.path : base.path.mid(0, base.path.rfind(u'/') + 1);
        path = joinPaths(directory, relative.path, true);
    }
    query = relative.query;
    fragment = relative.fragment;
}

ZString Url::toString() const {
    ZString out = scheme;
    if (!scheme.isEmpty())
        out.append(u"://");
    if (!user.isEmpty()) {
        out.append(user);
        if (!password.isEmpty()) {
            out.append(u':');
            out.append(password);
        }
        out.append(u'@');
    }
    if (!host.isEmpty()) {
        out.append(host);
        const bool defaultForScheme =
            (scheme == u"https" && port == 443) || (scheme == u"http" && port == 80);
        if (port != -1 && !defaultForScheme) {
            out.append(u':');
            out.appendNumber(port);
        }
    } else if (!out.isEmpty() && !path.isEmpty()) {
        // The empty host of "res:///name" still needs its own "/".
        out.append(u'/');
    }
    out = joinPaths(out, path, false);
    if (!query.isEmpty()) {
        out.append(u'?');
        out.append(query);
    }
    if (!fragment.isEmpty()) {
        out.append(u'#');
        out.append(fragment);
    }
    return out;
}

ZString Url::pathWithoutLeadingSlashes() const {
    int start = 0;
    while (unitIs(path, start, u'/'))
        ++start;
    return path.mid(start);
}

ZString Url::joinPaths(const ZString& basePath, const ZString& relativePath, bool resolveDots) {
    ZString base = basePath;
    base.trim();
    ZString relative = relativePath;
    relative.trim();
    if (base.isEmpty())
        return relative;
    if (relative.isEmpty())
        return base;

    if (resolveDots) {
        int start = 0;
        int levelsUp = 0;
        for (;;) {
            if (unitIs(relative, start, u'.') && unitIs(relative, start + 1, u'/')) {
                start += 2;
            } else if (unitIs(relative, start, u'/')) {
                start += 1;
            } else if (unitIs(relative, start, u'.') && unitIs(relative, start + 1, u'.') &&
                       (start + 2 == relative.length() || unitIs(relative, start + 2, u'/'))) {
                // Only a whole ".." segment goes up; "..x.png" is a file name.
                start += 2;
                ++levelsUp;
            } else {
                break;
            }
        }
        relative = relative.mid(start);
        if (levelsUp > 0 && base.endsWith(u'/'))
            base.truncate(base.length() - 1);
        for (; levelsUp > 0; --levelsUp) {
            const int slash = base.rfind(u'/');
            if (slash < 0)
                break;
            base.truncate(slash);
        }
    }

    if (!base.isEmpty() && !relative.isEmpty()) {
        const bool baseSlash = base.endsWith(u'/');
        const bool relativeSlash = relative.startsWith(u'/');
        if (baseSlash && relativeSlash)
            base.truncate(base.length() - 1);
        else if (!baseSlash && !relativeSlash)
            base.append(u'/');
    }
    return base + relative;
}
