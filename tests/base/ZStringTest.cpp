#include "tests/base/ZStringPrinter.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <stdexcept>
#include <string>
#include <utility>

TEST(ZString, NullPointersAndMovedFromStringsAreEmptyText) {
    const char16_t* null = nullptr;
    EXPECT_TRUE(ZString(null, 7).isEmpty());
    EXPECT_FALSE(ZString(u"a").equals(null));
    EXPECT_EQ(ZString(u"ab").insert(1, null) + null, u"ab");
    EXPECT_EQ(ZString(u"abc").replaceChars(null, u'_'), u"abc");
    ZString source(u"abc");
    const ZString moved(std::move(source));
    EXPECT_EQ(source.append(u"x"), u"x");
}

// Each of these once read the buffer it had just freed.
TEST(ZString, OwnTextAsSourceSurvivesReallocation) {
    ZString s(u"keep me");
    s = s.c_str() + 5;
    EXPECT_EQ(s, u"me");
    s = u"0123456789";
    s.append(s);
    s.append(s.c_str() + 15, 5);
    s.insert(0, s.c_str() + 20, 5);
    EXPECT_EQ(s, u"567890123456789012345678956789");
    ZString r(u"abc");
    r.replace(1, 2, r);
    EXPECT_EQ(r, u"aabcc");
}

TEST(ZString, ComparisonsAreUnsignedAndFoldOnlyAsciiLetters) {
#ifndef _WIN32
    // The Windows build has no exceptions: a bad index ends the program there.
    for (int bad : {-1, 2})
        EXPECT_THROW(ZString(u"ab").getAt(bad), std::range_error) << bad;
#endif
    EXPECT_EQ(ZString(u"\xFFFF").compare(u"a"), 1);
    EXPECT_FALSE(ZString(u"a\0b", 3).equals(ZString(u"a\0c", 3)));
    EXPECT_TRUE(ZString(u"Hello").equalsIgnoreCase(u"hELLO"));
    EXPECT_FALSE(ZString(u"\u00C4").equalsIgnoreCase(u"\u00E4"));
    EXPECT_FALSE(ZString(u"[").equalsIgnoreCase(u"{"));
}

TEST(ZString, PositionsAndCountsAreClamped) {
    const ZString s(u"abcdef");
    EXPECT_FALSE(s.startsWith(u"pre", 7));
    EXPECT_EQ(s.find(9, u"x", 0), 6);
    EXPECT_EQ(s.find(-4, u"bc"), 1);
    EXPECT_EQ(s.mid(-3, 2), u"ab");
    EXPECT_EQ(ZString(u"ab").insert(99, u"cdef", 1), u"abc");
    EXPECT_EQ(ZString(s).replace(4, 100, ZString(u"!")), u"abcd!");
    EXPECT_EQ(ZString(s).erase(-5, 2), u"cdef");
    ZString written;
    written.reserve(8);
    written.setLength(1000);
    EXPECT_EQ(written.length(), written.capacity());
    EXPECT_EQ(written.c_str()[written.length()], 0);
}

TEST(ZString, ReplaceNeverSearchesInsertedTextAndTrimKeepsOtherSpaces) {
    EXPECT_EQ(ZString(u"aXa").replaceAll(ZString(u"a"), ZString(u"aa")), u"aaXaa");
    EXPECT_EQ(ZString(u"aaa").replaceLast(ZString(u"aa"), ZString(u"b")), u"ab");
    EXPECT_EQ(ZString(u"abc").replaceAll(ZString(), ZString(u"x")), u"abc");
    EXPECT_EQ(ZString(u"\n \u00A0a b\u3000\t\v\f\r\n").trim(), u"\u00A0a b\u3000");
}

// The fuzz target compares both with the C library; these are the sets and limits chosen here.
TEST(ZStringNumbers, ReadAsWcstolWithA32BitLongAndStrtodInTheCLocale) {
    // U+3000 and U+2028 are white space, the no-break spaces are not.
    EXPECT_EQ(ZString(u" \t\u3000\u2028-0x10").toInt(), -16);
    EXPECT_EQ(ZString(u"\u00A05").toInt(), 0);
    EXPECT_EQ(ZString(u"\u20001.5").toDouble(), 1.5);
    EXPECT_EQ(ZString(u"\u00A01").toDouble(), 0.0);
    for (const char16_t* text : {u"2147483648", u"99999999999999999999999", u"0xFFFFFFFF"})
        EXPECT_EQ(ZString(text).toInt(), INT32_MAX) << toUtf8(text);
    EXPECT_EQ(ZString(u"-2147483649").toInt(), INT32_MIN);
    EXPECT_EQ(ZString(u"zZ2").toInt(36), (35 * 36 + 35) * 36 + 2);
    EXPECT_EQ(ZString(u"10").toInt(37), 0);
    // Digits far beyond a double's precision shift the exponent into and out of range.
    EXPECT_EQ(ZString(u"0.0000000001e315").toDouble(), 1e305);
    EXPECT_EQ(ZString(u"100000000000e-330").toDouble(), 1e-319);
    EXPECT_EQ(ZString(u"0.5e99999999999999999999").toDouble(), HUGE_VAL);
    EXPECT_FALSE(std::signbit(ZString(u"-").toDouble()));
    EXPECT_TRUE(std::isnan(ZString(u"NaN(123)").toDouble()));
}

// A process that has switched to a locale with a decimal comma still reads and writes a
// point, and the locale stays as the caller set it.
TEST(ZStringNumbers, NumbersIgnoreTheProcessLocale) {
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "German_Germany.1252"}) {
        if (std::setlocale(LC_NUMERIC, name) && *std::localeconv()->decimal_point == ',')
            break;
    }
    const std::string active = std::setlocale(LC_NUMERIC, nullptr);
    if (*std::localeconv()->decimal_point != ',')
        GTEST_SKIP() << "no locale with a decimal comma installed";
    EXPECT_EQ(ZString(u"1.5").toDouble(), 1.5);
    EXPECT_EQ(ZString::format(u"%.2f|%g", 1.5, 0.25), u"1.50|0.25");
    EXPECT_EQ(std::string(std::setlocale(LC_NUMERIC, nullptr)), active);
    std::setlocale(LC_NUMERIC, previous.c_str());
}

TEST(ZStringFormat, ConversionsAsPrintfAndItowWriteThem) {
    EXPECT_EQ(ZString(u"n=").appendNumber(INT32_MIN), u"n=-2147483648");
    EXPECT_EQ(ZString().appendNumber(-8, 8).appendNumber(5, 1).appendNumber(35, 99),
              u"37777777770101z");
    EXPECT_EQ(
        ZString::format(u"[%-5d][%05d][%+d]|%.0d|%#x|%#g|%08.2f", 42, -42, 42, 0, 255, 1.0, -1.5),
        u"[42   ][-0042][+42]||0xff|1.00000|-0001.50");
    // Integers keep their own width.
    EXPECT_EQ(ZString::format(u"%x|%u|%x|%d", -1, -1, -1LL, 4294967295u),
              u"ffffffff|4294967295|ffffffffffffffff|-1");
    EXPECT_EQ(ZString::format(u"%s %s %s|%5.1s|%.3s", ZString(u"zed"), std::u16string(u"std"),
                              u"ptr", u"abc", static_cast<const char16_t*>(nullptr)),
              u"zed std ptr|    a|(nu");
    EXPECT_EQ(ZString::format(u"[%*d][%.*f][%*.*s]", -5, 42, 2, 3.14159, 6, 3, u"abcdef"),
              u"[42   ][3.14][   abc]");
}

TEST(ZStringFormat, NeverReadsWhatIsNotThereAndStaysBounded) {
    EXPECT_EQ(ZString::format(u"a%db%sc"), u"abc");
    EXPECT_EQ(ZString::format(u"[%s][%d][%f][%c]", 5, u"text", 7, 2.5), u"[][][][]");
    // A '*' without an integer spoils its conversion, which still uses up its argument.
    EXPECT_EQ(ZString::format(u"[%*d][%d]", u"x", 1, 2), u"[][2]");
    EXPECT_EQ(ZString::format(u"100%%|%n|%p|%!d|%5|%", 1, 2, 3), u"100%|%n|%p|%!d|%5|%");
    // Widths and precisions are capped; long strings are written whole.
    const std::u16string longText(100000, u'x');
    EXPECT_EQ(ZString::format(u"<%s>", longText).length(), 100002);
    EXPECT_EQ(ZString::format(u"%99999999999d", 1).length(), 4096);
    EXPECT_EQ(ZString::format(u"%*s", INT_MIN, u"a").length(), 4096);
    EXPECT_EQ(ZString::format(u"%.5000f", 1e300).length(), 301 + 1 + 4096);
}

#ifdef _WIN32
TEST(ZString, TakesAndGivesWideText) {
    EXPECT_EQ(std::wstring(ZString(L"wide").w_str()), L"wide");
    EXPECT_EQ(ZString::format(u"%s|%c", L"w", L'c'), u"w|c");
}
#endif
