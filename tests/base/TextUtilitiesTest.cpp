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

TEST(TextSplit, EmptyPartsAreKeptOnRequestTestedBeforeTrimmingAndLinesKeepTheirEnds) {
    EXPECT_EQ(parts(u"a,,b", u",", false, false), (List{u"a", u"b"}));
    EXPECT_EQ(parts(u",a,", u",", true, false), (List{u"", u"a"}));
    EXPECT_EQ(parts(u"a, ,b", u",", false, true), (List{u"a", u"", u"b"}));
    EXPECT_EQ(parts(u"a::b:c::", u"::", true, false), (List{u"a", u"b:c"}));
    // An empty separator once looped forever.
    EXPECT_EQ(parts(u"a b", u"", false, false), (List{u"a b"}));
    EXPECT_EQ(lines(u"one\r\n\r\ntwo\r\n", true, false), (List{u"one", u"two"}));
    EXPECT_EQ(lines(u"one\r\n  \r\ntwo", true, true), (List{u"one", u"", u"two"}));
    EXPECT_EQ(lines(u"a\r\n\n", false, true), (List{u"a\r\n", u"\n"}));
    EXPECT_TRUE(lines(u"\n", false, false).empty());
}

TEST(TextUtf8, RoundTripsAndEachMaximalIllFormedSequenceBecomesOneReplacement) {
    // Stray continuations, bytes that never occur, overlong forms, encoded surrogates and
    // values above U+10FFFF: the lead alone is lost, then each continuation.
    EXPECT_EQ(fromUtf8("a\x80\xC0\xF5\xFF", -1), u"a\uFFFD\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(fromUtf8("\xE0\x80\xAF", -1), u"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(fromUtf8("\xED\xA0\x80", -1), u"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(fromUtf8("\xF4\x90\x80\x80", -1), u"\uFFFD\uFFFD\uFFFD\uFFFD");
    // A truncated sequence is one replacement, also at the end of the count.
    EXPECT_EQ(fromUtf8("\xE2\x82x", -1), u"\uFFFDx");
    EXPECT_EQ(fromUtf8("\xF0\x9F\x98\x80", 3), u"\uFFFD");
    const char* text = "x\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF";
    const std::u16string decoded = fromUtf8(text, -1);
    EXPECT_EQ(decoded, u"x\u00E9\u20AC\U0001F600\U0010FFFF");
    EXPECT_EQ(toUtf8(ZString(decoded.c_str())), text);
    EXPECT_EQ(toUtf8(ZString(u"\xD800x\xDBFF")), "\xEF\xBF\xBDx\xEF\xBF\xBD");
}

TEST(TextByteBuffer, RawBytesGrowthAndItsOwnBytesAsSource) {
    ByteBuffer buffer;
    buffer.append("a\0b", 3);
    buffer.append("cd\0ef", -1);
    buffer.append(nullptr, 4);
    std::string expected("a\0bcd", 5);
    for (int i = 0; i < 6; ++i) {
        buffer.append(buffer.data(), buffer.length());
        expected += expected;
    }
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer.data()), buffer.length()), expected);
    EXPECT_EQ(buffer.text()[buffer.length()], 0);
}
