#include "xhtml/document/EntityDecoder.h"
#include "tests/base/ZStringPrinter.h"
#include "xhtml/document/NamedCharacterReferences.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace xhtml;

namespace {

ZString decoded(const char16_t* text) {
    ZString out(text);
    decodeEntities(out);
    return out;
}

TEST(EntityDecoder, DecodesOnceFromLeftToRight) {
    EXPECT_EQ(decoded(u"&amp;lt;"), u"&lt;");
    EXPECT_EQ(decoded(u"a&lt;b&gt;c &quot;d&quot;"), u"a<b>c \"d\"");
    EXPECT_EQ(decoded(u"&amp;&amp;"), u"&&");
}

TEST(EntityDecoder, LeavesTextWithoutReferencesAlone) {
    EXPECT_EQ(decoded(u"a & b"), u"a & b");
    EXPECT_EQ(decoded(u"x&"), u"x&");
    EXPECT_EQ(decoded(u"&&amp;"), u"&&");
    EXPECT_EQ(decoded(u"&amp&amp;"), u"&amp&");
    EXPECT_EQ(decoded(u"&;"), u"&;");
    EXPECT_EQ(decoded(u"no references; at all"), u"no references; at all");
    EXPECT_EQ(decoded(u""), u"");
}

TEST(EntityDecoder, NamedReferencesAreCaseSensitive) {
    EXPECT_EQ(decoded(u"&nbsp;"), u"\u00A0");
    EXPECT_EQ(decoded(u"&NBSP;"), u"&NBSP;");
    EXPECT_EQ(decoded(u"&Agrave;&agrave;"), u"\u00C0\u00E0");
    EXPECT_EQ(decoded(u"&foo;"), u"&foo;");
    EXPECT_EQ(decoded(u"&amp ;"), u"&amp ;");
}

TEST(EntityDecoder, TableHoldsLatinOneAndTypographicMarksOnly) {
    EXPECT_EQ(decoded(u"&yuml;&euro;&trade;&hellip;&OElig;&fnof;"),
              u"\u00FF\u20AC\u2122\u2026\u0152\u0192");
    EXPECT_EQ(decoded(u"&apos;&alpha;&rarr;&sum;&ensp;"), u"&apos;&alpha;&rarr;&sum;&ensp;");
}

TEST(EntityDecoder, EveryTableEntryDecodesToItsCode) {
    std::set<std::u16string> references;
    std::set<char16_t> codes;
    for (const auto& entry : namedCharacterReferences) {
        const std::u16string reference(entry.reference);
        EXPECT_EQ(decoded(reference.c_str()), ZString(&entry.code, 1)) << toUtf8(reference.c_str());
        references.insert(reference);
        codes.insert(entry.code);
    }
    EXPECT_EQ(references.size(), 125u);
    EXPECT_EQ(codes.size(), 125u);
    // Every code from no-break space to y with diaeresis has its name.
    for (char16_t code = 0xA0; code <= 0xFF; ++code)
        EXPECT_EQ(codes.count(code), 1u) << int(code);
}

TEST(EntityDecoder, NumericReferencesInEachBase) {
    EXPECT_EQ(decoded(u"&#65;&#x41;&#X41;&#0x41;&#0X41;"), u"AAAAA");
    // A leading zero means octal.
    EXPECT_EQ(decoded(u"&#065;"), u"5");
    EXPECT_EQ(decoded(u"&#08;"), u"&#08;");
    EXPECT_EQ(decoded(u"&#x00e9;&#233;&#0351;"), u"\u00E9\u00E9\u00E9");
}

TEST(EntityDecoder, NumbersAreReadAsTheRuntimeReadsThem) {
    EXPECT_EQ(decoded(u"&#+65;&# 65;&#\t66;"), u"AAB");
    EXPECT_EQ(decoded(u"&#x0x41;"), u"A");
    EXPECT_EQ(decoded(u"&#00;"), ZString(u"\0", 1));
    EXPECT_EQ(decoded(u"&#-0;"), ZString(u"\0", 1));
}

TEST(EntityDecoder, MalformedNumericReferencesStayAsWritten) {
    for (const char16_t* text : {u"&#;", u"&#x;", u"&#X;", u"&#0x;", u"&#0;", u"&#65 ;", u"&#6a;",
                                 u"&#-65;", u"&#x-41;", u"&# ;", u"&#x0x;", u"&#xg;", u"&#1.5;"})
        EXPECT_EQ(decoded(text), text) << toUtf8(text);
}

TEST(EntityDecoder, CodePointsAboveFFFFBecomeSurrogatePairs) {
    EXPECT_EQ(decoded(u"&#xFFFF;"), u"\uFFFF");
    EXPECT_EQ(decoded(u"&#x10000;"), u"\U00010000");
    EXPECT_EQ(decoded(u"&#x1F600;&#128512;"), u"\U0001F600\U0001F600");
    EXPECT_EQ(decoded(u"&#x10FFFF;"), u"\U0010FFFF");
    const ZString pair = decoded(u"&#x1F600;");
    ASSERT_EQ(pair.length(), 2);
    EXPECT_EQ(pair.getAt(0), 0xD83D);
    EXPECT_EQ(pair.getAt(1), 0xDE00);
}

TEST(EntityDecoder, NumbersBeyondTheLastCodePointStayAsWritten) {
    for (const char16_t* text : {u"&#x110000;", u"&#1114112;", u"&#99999999999999999999999;",
                                 u"&#x7FFFFFFF;", u"&#4294967361;"})
        EXPECT_EQ(decoded(text), text) << toUtf8(text);
    EXPECT_EQ(decoded(u"&#1114111;"), u"\U0010FFFF");
}

} // namespace
