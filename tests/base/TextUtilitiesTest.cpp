#include "tests/base/ZStringPrinter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using List = std::vector<ZString>;

List parts(const char16_t* text, const char16_t* separator, bool keepEmpty, bool trim) {
    List out;
    split(out, ZString(text), ZString(separator), keepEmpty, trim);
    return out;
}

List lines(const char16_t* text, bool trim, bool keepEmpty) {
    List out;
    splitLines(out, ZString(text), trim, keepEmpty);
    return out;
}

} // namespace

TEST(TextSplit, EmptyPartsAreKeptOnlyOnRequestAndTestedBeforeTrimming) {
    EXPECT_EQ(parts(u"a,,b", u",", false, false), (List{u"a", u"b"}));
    EXPECT_EQ(parts(u",a,", u",", true, false), (List{u"", u"a"}));
    EXPECT_EQ(parts(u"a, ,b", u",", false, true), (List{u"a", u"", u"b"}));
    EXPECT_EQ(parts(u"a::b:c::", u"::", true, false), (List{u"a", u"b:c"}));
    EXPECT_TRUE(parts(u"", u",", true, true).empty());
    // An empty separator once looped forever.
    EXPECT_EQ(parts(u"a b", u"", false, false), (List{u"a b"}));
}

TEST(TextSplit, LinesKeepTheirEndsUnlessTrimmed) {
    EXPECT_EQ(lines(u"one\r\n\r\ntwo\r\n", true, false), (List{u"one", u"two"}));
    EXPECT_EQ(lines(u"one\r\n  \r\ntwo", true, true), (List{u"one", u"", u"two"}));
    EXPECT_EQ(lines(u"one\r\n\r\ntwo", false, true), (List{u"one\r\n", u"\r\n", u"two"}));
    EXPECT_EQ(lines(u"a\n\n", false, true), (List{u"a\n", u"\n"}));
    EXPECT_TRUE(lines(u"\n", false, false).empty());
}

TEST(TextUtf8, EachMaximalIllFormedSequenceBecomesOneReplacement) {
    EXPECT_EQ(fromUtf8("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF", -1),
              u"\u00E9\u20AC\U0001F600\U0010FFFF");
    EXPECT_EQ(fromUtf8("a\0b", 3), std::u16string(u"a\0b", 3));
    // Stray continuations, bytes that never occur, overlong forms, encoded surrogates and
    // values above U+10FFFF: the lead alone is lost, then each continuation.
    EXPECT_EQ(fromUtf8("a\x80\xC0\xF5\xFF", -1), u"a\uFFFD\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(fromUtf8("\xE0\x80\xAF", -1), u"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(fromUtf8("\xED\xA0\x80", -1), u"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(fromUtf8("\xF4\x90\x80\x80", -1), u"\uFFFD\uFFFD\uFFFD\uFFFD");
    // A truncated sequence is one replacement, also at the end of the count.
    EXPECT_EQ(fromUtf8("\xE2\x82x", -1), u"\uFFFDx");
    EXPECT_EQ(fromUtf8("\xF0\x9F\x98\x80", 3), u"\uFFFD");
    EXPECT_EQ(fromUtf8("\xE1\x80\xE2\x82\xAC", -1), u"\uFFFD\u20AC");
}

TEST(TextUtf8, ToUtf8RoundTripsAndReplacesLoneSurrogates) {
    const char* text = "x\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
    EXPECT_EQ(toUtf8(ZString(fromUtf8(text, -1).c_str())), text);
    EXPECT_EQ(toUtf8(ZString(u"\xD800x\xDBFF")), "\xEF\xBF\xBDx\xEF\xBF\xBD");
}

TEST(TextByteBuffer, RawBytesGrowthAndItsOwnBytesAsSource) {
    ByteBuffer buffer;
    buffer.append("a\0b", 3);
    buffer.append("cd\0ef", -1);
    buffer.append(nullptr, 4);
    EXPECT_EQ(buffer.length(), 5);
    for (int i = 0; i < 6; ++i)
        buffer.append(buffer.data(), buffer.length());
    EXPECT_EQ(buffer.length(), 5 * 64);
    EXPECT_EQ(buffer.text()[buffer.length()], 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer.data()) + 315, 5),
              std::string("a\0bcd", 5));
}
