#include "xhtml/document/Keywords.h"

namespace xhtml {

namespace {

constexpr Keyword kTextAlign[] = {{u"center", 2}, {u"left", 1}, {u"right", 3}, {u"justify", 4}};
constexpr Keyword kVerticalAlign[] = {
    {u"top", 1}, {u"middle", 2}, {u"bottom", 3}, {u"baseline", 3}, {u"text-top", 1}};
constexpr Keyword kBorderStyle[] = {
    {u"none", 0}, {u"hidden", 0}, {u"dotted", 2}, {u"dashed", 3}, {u"solid", 1}};
constexpr Keyword kFontSize[] = {{u"xx-small", 6},  {u"x-small", 8},  {u"small", 10},
                                 {u"medium", 12},   {u"large", 14},   {u"x-large", 16},
                                 {u"xx-large", 18}, {u"smaller", -2}, {u"larger", 2}};
constexpr Keyword kFontWeight[] = {
    {u"normal", 400}, {u"bold", 700}, {u"bolder", 800}, {u"lighter", 300}, {u"100", 100},
    {u"200", 200},    {u"300", 300},  {u"400", 400},    {u"500", 500},     {u"600", 600},
    {u"700", 700},    {u"800", 800},  {u"900", 900}};
constexpr Keyword kCursor[] = {{u"auto", 0}, {u"default", 0}, {u"pointer", 1}};
constexpr Keyword kPosition[] = {{u"static", 0}, {u"fixed", 2}, {u"relative", 1}, {u"absolute", 3}};
constexpr Keyword kVisibility[] = {{u"hidden", 0}, {u"visible", 1}};
constexpr Keyword kDisplay[] = {{u"none", 0}, {u"block", 2}, {u"inline-block", 3}, {u"inline", 4}};
constexpr Keyword kOverflow[] = {{u"auto", 1}, {u"hidden", 4}, {u"scroll", 2}, {u"visible", 3}};
constexpr Keyword kBackgroundRepeat[] = {
    {u"no-repeat", 0}, {u"repeat", 1}, {u"repeat-x", 2}, {u"repeat-y", 3}};
constexpr Keyword kBackgroundPosition[] = {
    {u"left", 0}, {u"top", 1}, {u"right", 2}, {u"bottom", 3}, {u"center", 4}};

const Keyword* find(const KeywordTable& table, const ZString& text) {
    ZString word = text;
    word.toLower();
    for (const Keyword& entry : table.entries) {
        if (word.equals(entry.word))
            return &entry;
    }
    return nullptr;
}

} // namespace

const KeywordTable textAlignKeywords{kTextAlign, 0};
const KeywordTable verticalAlignKeywords{kVerticalAlign, 0};
const KeywordTable borderStyleKeywords{kBorderStyle, 0};
const KeywordTable fontSizeKeywords{kFontSize, 0};
const KeywordTable fontWeightKeywords{kFontWeight, 400};
const KeywordTable cursorKeywords{kCursor, 0};
const KeywordTable positionKeywords{kPosition, 0};
const KeywordTable visibilityKeywords{kVisibility, 1};
const KeywordTable displayKeywords{kDisplay, 1};
const KeywordTable overflowKeywords{kOverflow, 1};
const KeywordTable backgroundRepeatKeywords{kBackgroundRepeat, 1};
const KeywordTable backgroundPositionKeywords{kBackgroundPosition, 0};

int lookupKeyword(const KeywordTable& table, const ZString& text) {
    const Keyword* entry = find(table, text);
    return entry ? entry->code : table.notListed;
}

bool hasKeyword(const KeywordTable& table, const ZString& text) {
    return find(table, text) != nullptr;
}

} // namespace xhtml
