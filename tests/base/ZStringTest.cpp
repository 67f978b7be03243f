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
    EXPECT_TRUE(ZString().equals(null));
    EXPECT_FALSE(ZString(u"a").equals(null));
    EXPECT_EQ(ZString(u"ab").insert(1, null) + null, u"ab");
    EXPECT_EQ(ZString(u"abc").replaceChars(null, u'_'), u"abc");
    ZString source(u"abc");
    const ZString moved(std::move(source));
    EXPECT_EQ(moved, u"abc");
    EXPECT_EQ(source.append(u"x"), u"x");
}

// Each of these once read the buffer it had just freed.
TEST(ZString, OwnTextAsSourceSurvivesReallocation) {
    ZString s(u"keep me");
    const ZString& alias = s;
    s = alias;
    s = s.c_str() + 5;
    EXPECT_EQ(s, u"me");
    s = u"0123456789";
    s.append(s);
    s.append(s.c_str() + 15, 5);
    EXPECT_EQ(s, u"0123456789012345678956789");
    s.insert(0, s.c_str() + 20, 5);
    EXPECT_EQ(s, u"567890123456789012345678956789");
    ZString r(u"abc");
    r.replace(1, 2, r);
    EXPECT_EQ(r, u"aabcc");
    r = u"ab";
    r.replaceAll(r, ZString(u"<ab>"));
    EXPECT_EQ(r, u"<ab>");
}

TEST(ZString, ComparisonsAreUnsignedAndFoldOnlyAsciiLetters) {
    for (int bad : {-1, 2, INT_MIN})
        EXPECT_THROW(ZString(u"ab").getAt(bad), std::range_error) << bad;
    EXPECT_EQ(ZString(u"ab").compare(u"abc"), -1);
    EXPECT_EQ(ZString(u"\xFFFF").compare(u"a"), 1);
    const ZString withNul(u"a\0b", 3);
    EXPECT_FALSE(withNul.equals(ZString(u"a\0c", 3)));
    EXPECT_TRUE(ZString(u"Hello World").equalsIgnoreCase(u"hELLO wORLD"));
    EXPECT_FALSE(ZString(u"\u00C4").equalsIgnoreCase(u"\u00E4"));
    EXPECT_FALSE(ZString(u"[").equalsIgnoreCase(u"{"));
}

TEST(ZString, PositionsAndCountsAreClamped) {
    const ZString s(u"abcdef");
    EXPECT_FALSE(s.startsWith(u"pre", 7));
    EXPECT_EQ(s.find(9, u"x", 0), 6);
    EXPECT_EQ(s.find(-4, u"bc"), 1);
    EXPECT_EQ(s.find(0, u"bcx", 2), 1);
    EXPECT_EQ(s.mid(4, 2), u"");
    EXPECT_EQ(s.mid(-3, 2), u"ab");
    EXPECT_EQ(ZString(u"bc").insert(-9, u"a"), u"abc");
    EXPECT_EQ(ZString(u"ab").insert(99, u"cdef", 1), u"abc");
    EXPECT_EQ(ZString(s).replace(4, 100, ZString(u"!")), u"abcd!");
    EXPECT_EQ(ZString(s).replace(-2, 1, ZString(u"_")), u"_bcdef");
    EXPECT_EQ(ZString(s).erase(-5, 2), u"cdef");
    ZString written;
    written.reserve(8);
    written.setLength(1000);
    EXPECT_EQ(written.length(), written.capacity());
    EXPECT_EQ(written.c_str()[written.length()], 0);
}

TEST(ZString, ReplaceNeverSearchesInsertedTextAndTrimKeepsOtherSpaces) {
    EXPECT_EQ(ZString(u"aXa").replaceAll(ZString(u"a"), ZString(u"aa")), u"aaXaa");
    EXPECT_EQ(ZString(u"aaaa").replaceAll(ZString(u"aa"), ZString(u"a")), u"aa");
    EXPECT_EQ(ZString(u"aaa").replaceLast(ZString(u"aa"), ZString(u"b")), u"ab");
    EXPECT_EQ(ZString(u"a.b.c").replaceFirst(ZString(u"."), ZString(u"::")), u"a::b.c");
    EXPECT_EQ(ZString(u"abc").replaceAll(ZString(), ZString(u"x")), u"abc");
    // Trimming removes only ASCII white space.
    EXPECT_EQ(ZString(u"\n \u00A0a b\u3000\t\v\f\r\n").trim(), u"\u00A0a b\u3000");
}

TEST(ZStringNumbers, ToIntReadsAsWcstolWithA32BitLong) {
    // clang-format off
    const std::pair<const char16_t*, int> cases[] = {
        {u"0x1F", 31}, {u"010", 8}, {u"09", 0}, {u"12px", 12}, {u"0x", 0}, {u"0xg", 0},
        {u"- 5", 0}, {u"--5", 0}, {u"-0x10", -16}, {u" \t\n\v\f\r-42", -42},
        // U+3000 and U+2028 are white space, the no-break spaces are not.
        {u"\u3000\u20285", 5}, {u"\u00A05", 0}, {u"\u20075", 0},
        {u"2147483648", INT32_MAX}, {u"99999999999999999999999", INT32_MAX},
        {u"-2147483649", INT32_MIN}, {u"0xFFFFFFFF", INT32_MAX}};
    // clang-format on
    for (const auto& [text, value] : cases)
        EXPECT_EQ(ZString(text).toInt(), value) << toUtf8(text);
    EXPECT_EQ(ZString(u"0x1f").toInt(16), 31);
    EXPECT_EQ(ZString(u"zZ").toInt(36), 35 * 36 + 35);
    EXPECT_EQ(ZString(u"1012").toInt(2), 5);
    EXPECT_EQ(ZString(u"10").toInt(37), 0);
}

TEST(ZStringNumbers, ToDoubleReadsAsStrtodInTheCLocale) {
    // clang-format off
    const std::pair<const char16_t*, double> cases[] = {
        {u"  -2.5e3x", -2500.0}, {u"+.5", 0.5}, {u"1e+", 1.0}, {u"1,5", 1.0}, {u"0x1p3", 8.0},
        {u"-0X.8", -0.5}, {u"0xg", 0.0}, {u"\u00A01", 0.0}, {u"\u20001", 1.0}, {u"", 0.0},
        {u"-", 0.0}, {u".", 0.0}, {u"+-1", 0.0}, {u"e5", 0.0}, {u"-Infinity", -HUGE_VAL},
        {u"1e400", HUGE_VAL}, {u"1e-400", 0.0}, {u"0.0000000001e315", 1e305},
        {u"100000000000e-330", 1e-319}, {u"0x1p2000", HUGE_VAL},
        {u"0.5e99999999999999999999", HUGE_VAL}};
    // clang-format on
    for (const auto& [text, value] : cases)
        EXPECT_EQ(ZString(text).toDouble(), value) << toUtf8(text);
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

TEST(ZStringNumbers, AppendNumberWritesAsItow) {
    EXPECT_EQ(ZString(u"n=").appendNumber(INT32_MIN), u"n=-2147483648");
    EXPECT_EQ(ZString().appendNumber(-8, 8), u"37777777770");
    EXPECT_EQ(ZString().appendNumber(5, 1).appendNumber(35, 99), u"101z");
}

TEST(ZStringFormat, ConversionsAsPrintfWritesThem) {
    EXPECT_EQ(ZString::format(u"[%5d][%-5d][%05d][%+d][% d]", 42, 42, -42, 42, 42),
              u"[   42][42   ][-0042][+42][ 42]");
    EXPECT_EQ(ZString::format(u"%.3d|%6.3d|%.0d|%#x|%#o|%X", 7, -7, 0, 255, 8, 255),
              u"007|  -007||0xff|010|FF");
    // Integers keep their own width.
    EXPECT_EQ(ZString::format(u"%x|%u|%x|%d", -1, -1, -1LL, 4294967295u),
              u"ffffffff|4294967295|ffffffffffffffff|-1");
    EXPECT_EQ(ZString::format(u"%8.3f|%-8.1f|%.2E|%#g|%08.2f|%.0f", -3.14159, 2.0, 12345.0, 1.0,
                              -1.5, 0.5),
              u"  -3.142|2.0     |1.23E+04|1.00000|-0001.50|0");
    EXPECT_EQ(ZString::format(u"%s %s %s|%5.1s|%.3s", ZString(u"zed"), std::u16string(u"std"),
                              u"ptr", u"abc", static_cast<const char16_t*>(nullptr)),
              u"zed std ptr|    a|(nu");
    EXPECT_EQ(ZString::format(u"[%*d][%.*f][%*.*s]", -5, 42, 2, 3.14159, 6, 3, u"abcdef"),
              u"[42   ][3.14][   abc]");
}

TEST(ZStringFormat, BadArgumentsAndDirectivesNeverReadWhatIsNotThere) {
    EXPECT_EQ(ZString::format(u"a%db%sc"), u"abc");
    EXPECT_EQ(ZString::format(u"[%s][%d][%f][%c]", 5, u"text", 7, 2.5), u"[][][][]");
    // A '*' without an integer spoils its conversion, which still uses up its argument.
    EXPECT_EQ(ZString::format(u"[%*d][%d]", u"x", 1, 2), u"[][2]");
    EXPECT_EQ(ZString::format(nullptr, 1), u"");
    EXPECT_EQ(ZString::format(u"100%%|%n|%p|%!d|%5|%", 1, 2, 3), u"100%|%n|%p|%!d|%5|%");
}

TEST(ZStringFormat, HugeWidthsAndLongStringsStayBounded) {
    const std::u16string longText(100000, u'x');
    EXPECT_EQ(ZString::format(u"<%s>", longText).length(), 100002);
    EXPECT_EQ(ZString::format(u"%99999999999d", 1).length(), 4096);
    EXPECT_EQ(ZString::format(u"%*s", INT_MIN, u"a").length(), 4096);
    EXPECT_EQ(ZString::format(u"%.5000f", 1e300).length(), 301 + 1 + 4096);
    EXPECT_EQ(ZString::format(u"%-4000s|%4000s", longText, longText).length(), 200001);
}

#ifdef _WIN32
TEST(ZString, TakesAndGivesWideText) {
    ZString s(L"other");
    s.wdata()[0] = L'O';
    EXPECT_EQ(std::wstring(s.w_str()), L"Other");
    EXPECT_EQ(ZString::format(u"%s|%c", L"w", L'c'), u"w|c");
}
#endif
