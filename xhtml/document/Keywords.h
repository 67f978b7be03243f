#pragma once

#include "base/ZString.h"

#include <span>

namespace xhtml {

struct Keyword {
    const char16_t* word;
    int code;
};

// The words one property accepts, and the code of a word that is not listed.
struct KeywordTable {
    std::span<const Keyword> entries;
    int notListed;
};

extern const KeywordTable textAlignKeywords;
extern const KeywordTable verticalAlignKeywords;
extern const KeywordTable borderStyleKeywords;
extern const KeywordTable fontSizeKeywords;
extern const KeywordTable fontWeightKeywords;
extern const KeywordTable cursorKeywords;
extern const KeywordTable positionKeywords;
extern const KeywordTable visibilityKeywords;
extern const KeywordTable displayKeywords;
extern const KeywordTable overflowKeywords;
extern const KeywordTable backgroundRepeatKeywords;
extern const KeywordTable backgroundPositionKeywords;

// The code of the lower-cased text, or the table's code for words it does not list.
int lookupKeyword(const KeywordTable& table, const ZString& text);
bool hasKeyword(const KeywordTable& table, const ZString& text);

} // namespace xhtml
