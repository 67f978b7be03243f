#include "app/Localisation.h"

#include <vector>

namespace {

ZString trimmed(ZString text) {
    text.trim();
    return text;
}

} // namespace

void parseTranslations(TextTable& table, const ZString& text, const ZString& language) {
    const ZString prefix = language + u".";
    const ZString english = u"en.";
    std::vector<ZString> lines;
    splitLines(lines, text, true, false);
    for (const ZString& line : lines) {
        int keyStart;
        if (line.startsWith(prefix.c_str(), prefix.length()))
            keyStart = prefix.length();
        else if (line.startsWith(english.c_str(), english.length()))
            keyStart = english.length();
        else
            continue;
        const int equals = line.find(u'=');
        if (equals < 0)
            continue;
        const ZString key = trimmed(line.mid(keyStart, equals));
        if (key.isEmpty())
            continue;
        const ZString lineLanguage = trimmed(line.mid(0, line.find(u'.')));
        auto [entry, added] = table.try_emplace(key);
        if (added || lineLanguage == language)
            entry->second = trimmed(line.mid(equals + 1));
    }
}

ZString translate(TextTable& table, const ZString& key) {
    return table[key];
}

ZString substitutePlaceholders(const ZString& text, const ZString& prefix, const TextTable& table,
                               TextFilter filter) {
    int position = text.find(0, prefix.c_str(), prefix.length());
    if (position < 0)
        return text;
    ZString out(text.length());
    int copied = 0;
    for (;;) {
        const int keyStart = position + prefix.length();
        const int close = text.find(u'}', keyStart);
        if (close < 0)
            break;
        out.append(text.c_str() + copied, position - copied);
        const auto entry = table.find(text.mid(keyStart, close));
        if (entry != table.end())
            out.append(filter(entry->second));
        else
            out.append(text.c_str() + position, close + 1 - position);
        copied = close + 1;
        position = text.find(copied, prefix.c_str(), prefix.length());
        if (position < 0)
            break;
    }
    if (copied == 0)
        return text;
    out.append(text.c_str() + copied, text.length() - copied);
    return out;
}

ZString substitutePagePlaceholders(const ZString& text, const TextTable& table) {
    ZString out = substitutePlaceholders(text, u"{lang/", table, keepText);
    out = substitutePlaceholders(out, u"{lang-esq/", table, escapeSingleQuotes);
    out = substitutePlaceholders(out, u"{lang-edq/", table, escapeDoubleQuotes);
    return substitutePlaceholders(out, u"{lang-hsc/", table, escapeHtml);
}

ZString keepText(const ZString& text) {
    return text;
}

ZString escapeSingleQuotes(const ZString& text) {
    return ZString(text).replaceAll(u"'", u"\\'");
}

ZString escapeDoubleQuotes(const ZString& text) {
    return ZString(text).replaceAll(u"\"", u"\\\"");
}

ZString escapeHtml(const ZString& text) {
    // "&" first, so the ampersands of the later references stay as they are.
    return ZString(text)
        .replaceAll(u"&", u"&amp;")
        .replaceAll(u"'", u"&apos;")
        .replaceAll(u"\"", u"&quot;")
        .replaceAll(u"<", u"&lt;")
        .replaceAll(u">", u"&gt;");
}
