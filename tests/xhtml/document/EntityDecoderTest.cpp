#include "xhtml/document/EntityDecoder.h"
#include "tests/base/ZStringPrinter.h"

#include <gtest/gtest.h>

#include <string>

using namespace xhtml;

namespace {

ZString text(const std::u16string& units) {
    return ZString(units.data(), static_cast<int>(units.size()));
}

ZString decoded(const std::u16string& units) {
    ZString out = text(units);
    decodeEntities(out);
    return out;
}

TEST(EntityDecoder, DecodesEachReferenceOnceFromLeftToRight) {
    const struct {
        std::u16string text, expected;
    } cases[] = {
        {u"&amp;&amp; &&amp; &amp&amp;", u"&& && &amp&"},
        {u"&Agrave;&agrave;&yuml;&euro;&OElig;&fnof;", u"\u00C0\u00E0\u00FF\u20AC\u0152\u0192"},
        // Numbers are read as the runtime reads them: a leading zero means octal.
        {u"&#65;&#X41;&#0x41;&#x0x41;&#065;&#+65;&# 65;&#\t66;", u"AAAA5AAB"},
        {u"&#00;&#-0;", std::u16string(2, u'\0')},
        // Up to the last code point a surrogate pair; beyond it the reference stays.
        {u"&#xFFFF;&#x1F600;&#1114111;", u"\uFFFF\U0001F600\U0010FFFF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decoded(c.text), text(c.expected)) << toUtf8(c.text.c_str());
}

TEST(EntityDecoder, LeavesWhatIsNoKnownReferenceAsWritten) {
    for (const char16_t* text :
         {u"a & b", u"x&", u"&;", u"", u"&NBSP;", u"&amp ;", u"&apos;&alpha;&rarr;&sum;&ensp;",
          u"&#08;", u"&#;", u"&#x;", u"&#0x;", u"&#0;", u"&#65 ;", u"&#6a;"})
        EXPECT_EQ(decoded(text), text) << toUtf8(text);
    for (const char16_t* text :
         {u"&#-65;", u"&#x-41;", u"&# ;", u"&#x0x;", u"&#xg;", u"&#1.5;", u"&#x110000;",
          u"&#1114112;", u"&#99999999999999999999999;", u"&#x7FFFFFFF;", u"&#4294967361;"})
        EXPECT_EQ(decoded(text), text) << toUtf8(text);
}

} // namespace
