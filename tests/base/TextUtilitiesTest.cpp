#include "tests/base/ZStringPrinter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<ZString> parts(const char16_t* text, const char16_t* separator, bool keepEmpty,
                           bool trim) {
    std::vector<ZString> out;
    split(out, ZString(text), ZString(separator), keepEmpty, trim);
    return out;
}

std::vector<ZString> lines(const char16_t* text, bool trim, bool keepEmpty) {
    std::vector<ZString> out;
    splitLines(out, ZString(text), trim, keepEmpty);
    return out;
}

using List = std::vector<ZString>;

} // namespace

TEST(TextWhiteSpace, IsWideSpaceLeavesNoBreakSpacesAlone) {
    for (char16_t c : {9, 10, 11, 12, 13, 32, 0x85, 0x1680, 0x2000, 0x2006, 0x2008, 0x200A, 0x2028,
                       0x2029, 0x205F, 0x3000})
        EXPECT_TRUE(isWideSpace(c)) << int(c);
    for (char16_t c : {0, 8, 14, 31, 33, 0xA0, 0x2007, 0x202F, 0x200B, 0x180E, 0xFEFF, 0x1FFF})
        EXPECT_FALSE(isWideSpace(c)) << int(c);
}

TEST(TextWhiteSpace, SkipSpacesStopsAtTheFirstOtherUnit) {
    const char16_t* text = u" \t\u3000x y";
    EXPECT_EQ(skipSpaces(text), text + 3);
    const char16_t* blank = u"  \n";
    EXPECT_EQ(skipSpaces(blank), blank + 3);
    const char16_t* nbsp = u"\u00A0x";
    EXPECT_EQ(skipSpaces(nbsp), nbsp);
    EXPECT_EQ(skipSpaces(nullptr), nullptr);
}

TEST(TextLetterCase, ToLowerAsciiFoldsOnlyAToZ) {
    EXPECT_EQ(toLowerAscii(u'A'), u'a');
    EXPECT_EQ(toLowerAscii(u'Z'), u'z');
    EXPECT_EQ(toLowerAscii(u'a'), u'a');
    EXPECT_EQ(toLowerAscii(u'@'), u'@');
    EXPECT_EQ(toLowerAscii(u'['), u'[');
    EXPECT_EQ(toLowerAscii(u'\u00C0'), u'\u00C0');
    EXPECT_EQ(toLowerAscii(u'\uFF21'), u'\uFF21');
}

TEST(TextDigits, DigitValueCoversBase36AndNothingElse) {
    EXPECT_EQ(digitValue(u'0'), 0);
    EXPECT_EQ(digitValue(u'9'), 9);
    EXPECT_EQ(digitValue(u'a'), 10);
    EXPECT_EQ(digitValue(u'F'), 15);
    EXPECT_EQ(digitValue(u'z'), 35);
    EXPECT_EQ(digitValue(u'Z'), 35);
    // Neighbours of the ranges, and digits of other scripts, are no digits.
    for (char16_t c : {u'/', u':', u'@', u'[', u'`', u'{', u'\u0660', u'\uFF10', u'\0'})
        EXPECT_EQ(digitValue(c), 36) << static_cast<int>(c);
}

TEST(TextSplit, EmptyPartsAreKeptOnlyOnRequest) {
    EXPECT_EQ(parts(u"a,,b", u",", false, false), (List{u"a", u"b"}));
    EXPECT_EQ(parts(u"a,,b", u",", true, false), (List{u"a", u"", u"b"}));
    EXPECT_EQ(parts(u",a", u",", true, false), (List{u"", u"a"}));
    EXPECT_EQ(parts(u"a,", u",", true, false), (List{u"a"})); // no trailing empty part
    EXPECT_EQ(parts(u",", u",", true, false), (List{u""}));
    EXPECT_TRUE(parts(u"", u",", true, true).empty());
}

TEST(TextSplit, TrimmingHappensAfterTheEmptinessTest) {
    EXPECT_EQ(parts(u"a, ,b", u",", false, true), (List{u"a", u"", u"b"}));
    EXPECT_EQ(parts(u" a , b ", u",", false, true), (List{u"a", u"b"}));
    EXPECT_EQ(parts(u" a , b ", u",", false, false), (List{u" a ", u" b "}));
    EXPECT_EQ(parts(u"a,,b", u",", true, true), (List{u"a", u"", u"b"}));
}

TEST(TextSplit, SeparatorsOfSeveralUnitsAndNone) {
    EXPECT_EQ(parts(u"a::b:c::", u"::", true, false), (List{u"a", u"b:c"}));
    EXPECT_EQ(parts(u"abc", u";", false, false), (List{u"abc"}));
    EXPECT_EQ(parts(u"a b", u"", false, false), (List{u"a b"}));
    std::vector<ZString> out{ZString(u"before")};
    split(out, ZString(u"x;y"), ZString(u";"), false, false);
    EXPECT_EQ(out, (List{u"before", u"x", u"y"}));
}

TEST(TextSplitLines, TrimmedLinesWithoutEmptyOnes) {
    EXPECT_EQ(lines(u"one\r\n\r\ntwo\r\n", true, false), (List{u"one", u"two"}));
    EXPECT_EQ(lines(u"one\r\n  \r\ntwo", true, true), (List{u"one", u"", u"two"}));
}

TEST(TextSplitLines, UntrimmedLinesKeepTheirEnds) {
    EXPECT_EQ(lines(u"one\r\n\r\ntwo", false, false), (List{u"one\r\n", u"two"}));
    EXPECT_EQ(lines(u"one\r\n\r\ntwo", false, true), (List{u"one\r\n", u"\r\n", u"two"}));
    EXPECT_EQ(lines(u"a\n\n", false, true), (List{u"a\n", u"\n"}));
    EXPECT_EQ(lines(u"\n", false, true), (List{u"\n"}));
    EXPECT_TRUE(lines(u"\n", false, false).empty());
    EXPECT_TRUE(lines(u"", true, true).empty());
    EXPECT_EQ(lines(u"x", false, false), (List{u"x"}));
}

TEST(TextUtf8, WellFormedInputIncludingSurrogatePairs) {
    EXPECT_EQ(fromUtf8("abc", -1), u"abc");
    EXPECT_EQ(fromUtf8("abc", 2), u"ab");
    EXPECT_EQ(fromUtf8("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", -1), u"\u00E9\u20AC\U0001F600");
    EXPECT_EQ(fromUtf8("\xF4\x8F\xBF\xBF", 4), u"\U0010FFFF");
    EXPECT_EQ(fromUtf8("\xEF\xBB\xBFx", -1), u"\uFEFFx");
    EXPECT_EQ(fromUtf8("a\0b", 3), std::u16string(u"a\0b", 3));
    EXPECT_EQ(fromUtf8(nullptr, 5), u"");
    EXPECT_EQ(fromUtf8("abc", 0), u"");
    EXPECT_EQ(fromUtf8("", -1), u"");
}

TEST(TextUtf8, EachMaximalIllFormedSequenceBecomesOneReplacement) {
    // Stray continuation bytes and bytes that never occur.
    EXPECT_EQ(fromUtf8("a\x80\xBF"
                       "b",
                       -1),
              u"a\uFFFD\uFFFDb");
    EXPECT_EQ(fromUtf8("\xC0\xC1\xF5\xFF", -1), u"\uFFFD\uFFFD\uFFFD\uFFFD");
    // Overlong forms and encoded surrogates: the lead alone is lost, then each continuation.
    EXPECT_EQ(fromUtf8("\xC0\xAF", -1), u"\uFFFD\uFFFD");
    EXPECT_EQ(fromUtf8("\xE0\x80\xAF", -1), u"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(fromUtf8("\xED\xA0\x80", -1), u"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(fromUtf8("\xF0\x8F\xBF\xBF", -1), u"\uFFFD\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(fromUtf8("\xF4\x90\x80\x80", -1), u"\uFFFD\uFFFD\uFFFD\uFFFD");
    // Truncated sequences: the valid beginning becomes a single replacement.
    EXPECT_EQ(fromUtf8("\xE2\x82x", -1), u"\uFFFDx");
    EXPECT_EQ(fromUtf8("\xF0\x9F\x98", -1), u"\uFFFD");
    EXPECT_EQ(fromUtf8("\xF0\x9F\x98\x80", 3), u"\uFFFD");
    EXPECT_EQ(fromUtf8("\xE1\x80\xE2\x82\xAC", -1), u"\uFFFD\u20AC");
    EXPECT_EQ(fromUtf8("\xC3", 1), u"\uFFFD");
}

TEST(TextUtf8, ToUtf8RoundTripsAndReplacesLoneSurrogates) {
    const char* text = "x\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
    EXPECT_EQ(toUtf8(ZString(fromUtf8(text, -1).c_str())), text);
    EXPECT_EQ(toUtf8(ZString(u"\xD800x\xDC00")), "\xEF\xBF\xBDx\xEF\xBF\xBD");
    EXPECT_EQ(toUtf8(ZString(u"\xDBFF")), "\xEF\xBF\xBD");
    EXPECT_EQ(toUtf8(ZString()), "");
}

TEST(TextByteBuffer, StartsWithSixteenBytesAndGrowsByTheRule) {
    ByteBuffer buffer;
    EXPECT_EQ(buffer.length(), 0);
    EXPECT_STREQ(buffer.text(), "");
    buffer.append("0123456789abcdef", 16);
    EXPECT_EQ(buffer.length(), 16);
    buffer.append("g", -1);
    EXPECT_STREQ(buffer.text(), "0123456789abcdefg");
    const std::string big(100, 'z');
    buffer.append(big.data(), static_cast<int>(big.size()));
    EXPECT_EQ(buffer.length(), 117);
    EXPECT_EQ(std::string(buffer.text()), "0123456789abcdefg" + big);
}

TEST(TextByteBuffer, AppendsRawBytesAndStopsAtNulOnlyWhenAsked) {
    ByteBuffer buffer;
    buffer.append("a\0b", 3);
    EXPECT_EQ(buffer.length(), 3);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer.data()), 3), std::string("a\0b", 3));
    buffer.append("cd\0ef", -1);
    EXPECT_EQ(buffer.length(), 5);
    buffer.append(nullptr, 4);
    buffer.append("zz", 0);
    EXPECT_EQ(buffer.length(), 5);
    EXPECT_EQ(buffer.text()[5], 0);
    // Appending its own bytes across a reallocation.
    for (int i = 0; i < 6; ++i)
        buffer.append(buffer.data(), buffer.length());
    EXPECT_EQ(buffer.length(), 5 * 64);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer.data()) + 315, 5),
              std::string("a\0bcd", 5));
}
