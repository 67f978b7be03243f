#pragma once

#include "base/ZString.h"

#include <map>

// The page's texts by key, from the resource "i18n.txt", whose lines read
// "language.key = text"; keys are ordered by plain UTF-16 code-unit comparison.
using TextTable = std::map<ZString, ZString>;

// What a placeholder does to its text before it goes into the markup.
using TextFilter = ZString (*)(const ZString& text);

// Fills the table from the text of "i18n.txt" for the user language. Lines of that language
// always win (the last one of them for a key); English lines fill only the keys still missing
// (the first one for a key), so a language without lines reads English.
void parseTranslations(TextTable& table, const ZString& text, const ZString& language);

// The text of the key; a missing key is added with an empty text.
ZString translate(TextTable& table, const ZString& key);

// Replaces every "<prefix>key}" whose key is in the table by the filtered text; unknown keys
// stay as written. A first placeholder without its "}" leaves the whole text unchanged.
ZString substitutePlaceholders(const ZString& text, const ZString& prefix, const TextTable& table,
                               TextFilter filter);

// The page's four passes in their order: "{lang/" as is, "{lang-esq/" with escapeSingleQuotes,
// "{lang-edq/" with escapeDoubleQuotes, "{lang-hsc/" with escapeHtml.
ZString substitutePagePlaceholders(const ZString& text, const TextTable& table);

ZString keepText(const ZString& text);
// ' -> \'
ZString escapeSingleQuotes(const ZString& text);
// " -> \"
ZString escapeDoubleQuotes(const ZString& text);
// & ' " < > as entity references.
ZString escapeHtml(const ZString& text);

#ifdef _WIN32
// The user's ISO 639 language name in lower case ("de", "fil"), "en" when it cannot be read.
ZString userLanguage();
// Fills the table from the program's "i18n.txt" for userLanguage; empty without the resource.
void loadTranslations(TextTable& table);
#endif
