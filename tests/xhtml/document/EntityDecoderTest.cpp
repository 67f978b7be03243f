// The committed xhtml-dump entities case holds the common references besides these.
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

TEST(EntityDecoder, DecodesEachReferenceOnceAndLeavesTheRestAsWritten) {
    const struct {
        std::u16string text, expected;
    } cases[] = {
        {u"&&amp; &amp&amp;", u"&& &amp&"},
        {u"&Agrave;&yuml;&OElig;&fnof;", u"\u00C0\u00FF\u0152\u0192"},
        // Numbers are read as the runtime reads them: a leading zero means octal.
        {u"&#X41;&#0x41;&#x0x41;&#+65;&# 65;&#\t66;", u"AAAAAB"},
        {u"&#00;&#-0;", std::u16string(2, u'\0')},
        // Up to the last code point a surrogate pair; beyond it the reference stays.
        {u"&#xFFFF;&#1114111;", u"\uFFFF\U0010FFFF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decoded(c.text), text(c.expected)) << toUtf8(c.text.c_str());
    for (const char16_t* written :
         {u"x&", u"", u"&amp ;", u"&apos;&alpha;&ensp;", u"&#08;", u"&#x;", u"&#0x;", u"&#0;",
          u"&#65 ;", u"&#6a;", u"&#x-41;", u"&# ;", u"&#x0x;", u"&#xg;", u"&#1.5;", u"&#1114112;",
          u"&#99999999999999999999999;", u"&#x7FFFFFFF;", u"&#4294967361;"})
        EXPECT_EQ(decoded(written), written) << toUtf8(written);
}

} // namespace
