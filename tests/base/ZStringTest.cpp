#include "tests/base/ZStringPrinter.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <stdexcept>
#include <string>
#include <utility>

TEST(ZStringConstruction, OwnsAnExactBufferAndTreatsNullAndNegativeCountsSoundly) {
    const ZString empty;
    EXPECT_EQ(empty.length(), 0);
    EXPECT_EQ(empty.capacity(), 0);
    EXPECT_EQ(std::u16string(empty.c_str()), u"");

    const ZString whole(u"hello");
    EXPECT_EQ(whole, u"hello");
    EXPECT_EQ(whole.capacity(), 5);
    const ZString part(u"hello", 2);
    EXPECT_EQ(part, u"he");
    EXPECT_EQ(part.capacity(), 2);
    EXPECT_EQ(part.c_str()[2], 0);
    EXPECT_TRUE(ZString(static_cast<const char16_t*>(nullptr)).isEmpty());
    EXPECT_TRUE(ZString(static_cast<const char16_t*>(nullptr), 7).isEmpty());

    const ZString reserved(40);
    EXPECT_TRUE(reserved.isEmpty());
    EXPECT_EQ(reserved.capacity(), 40);
    EXPECT_EQ(ZString(-3).capacity(), 0);
}

TEST(ZStringConstruction, CopiesHaveExactCapacityAndMovesLeaveAnEmptyShell) {
    ZString source(u"abc");
    source.reserve(100);
    const ZString copy(source);
    EXPECT_EQ(copy, u"abc");
    EXPECT_EQ(copy.capacity(), 3);

    ZString moved(std::move(source));
    EXPECT_EQ(moved, u"abc");
    EXPECT_EQ(moved.capacity(), 100);
    EXPECT_EQ(source.length(), 0);
    EXPECT_EQ(source.capacity(), 0);

    // A moved-from string can be assigned to again, from anything.
    source = ZString();
    EXPECT_TRUE(source.isEmpty());
    source.append(u"x");
    EXPECT_EQ(source, u"x");
    ZString other(std::move(moved));
    moved = u"again";
    EXPECT_EQ(moved, u"again");
    ZString third(std::move(other));
    other = copy;
    EXPECT_EQ(other, u"abc");
}

TEST(ZStringAssignment, SelfAndOverlappingAssignmentKeepTheText) {
    ZString s(u"keep me");
    const ZString& alias = s;
    s = alias;
    EXPECT_EQ(s, u"keep me");
    ZString& same = s;
    s = std::move(same);
    EXPECT_EQ(s, u"keep me");
    s = s.c_str() + 5;
    EXPECT_EQ(s, u"me");

    ZString target(u"a much longer text than before");
    target = ZString(u"short");
    EXPECT_EQ(target, u"short");
    target = static_cast<const char16_t*>(nullptr);
    EXPECT_TRUE(target.isEmpty());
}

TEST(ZStringReading, GetAtThrowsRangeErrorOutsideTheText) {
    const ZString s(u"ab");
    EXPECT_EQ(s.getAt(0), u'a');
    EXPECT_EQ(s.getAt(1), u'b');
    for (int bad : {-1, 2, INT_MIN, INT_MAX}) {
        try {
            s.getAt(bad);
            ADD_FAILURE() << "no exception for index " << bad;
        } catch (const std::range_error& e) {
            EXPECT_STREQ(e.what(), "ZString::getAt(int): Index out of range");
        }
    }
}

TEST(ZStringReading, CompareIsUnsignedUnitByUnit) {
    EXPECT_EQ(ZString(u"abc").compare(u"abc"), 0);
    EXPECT_EQ(ZString(u"ab").compare(u"abc"), -1);
    EXPECT_EQ(ZString(u"abc").compare(u"ab"), 1);
    EXPECT_EQ(ZString(u"\xFFFF").compare(u"a"), 1);
    EXPECT_EQ(ZString(u"B").compare(u"a"), -1);
    EXPECT_TRUE(ZString(u"a") < ZString(u"\u00E9"));
}

TEST(ZStringReading, EqualsHandlesNullAndEmbeddedNul) {
    EXPECT_TRUE(ZString().equals(static_cast<const char16_t*>(nullptr)));
    EXPECT_FALSE(ZString(u"a").equals(static_cast<const char16_t*>(nullptr)));
    EXPECT_FALSE(ZString(u"ab").equals(u"abc"));
    EXPECT_FALSE(ZString(u"abc").equals(u"ab"));
    const ZString withNul(u"a\0b", 3);
    EXPECT_FALSE(withNul.equals(u"a"));
    EXPECT_TRUE(withNul.equals(ZString(u"a\0b", 3)));
    EXPECT_FALSE(withNul.equals(ZString(u"a\0c", 3)));
}

TEST(ZStringReading, EqualsIgnoreCaseFoldsOnlyAsciiLetters) {
    EXPECT_TRUE(ZString(u"Hello World").equalsIgnoreCase(u"hELLO wORLD"));
    EXPECT_TRUE(ZString(u"Hello").equalsIgnoreCase(ZString(u"HELLO")));
    EXPECT_FALSE(ZString(u"\u00C4").equalsIgnoreCase(u"\u00E4"));
    EXPECT_FALSE(ZString(u"[").equalsIgnoreCase(u"{"));
    EXPECT_FALSE(ZString(u"abc").equalsIgnoreCase(u"ab"));
    EXPECT_FALSE(ZString(u"ab").equalsIgnoreCase(ZString(u"abc")));
    EXPECT_TRUE(ZString().equalsIgnoreCase(static_cast<const char16_t*>(nullptr)));
}

TEST(ZStringReading, StartsWithAndEndsWith) {
    const ZString s(u"prefix");
    EXPECT_TRUE(s.startsWith(u"pre"));
    EXPECT_TRUE(s.startsWith(u"prefix"));
    EXPECT_FALSE(s.startsWith(u"prefixes"));
    EXPECT_TRUE(s.startsWith(u"preXXX", 3));
    EXPECT_FALSE(s.startsWith(u"pre", 7)); // longer than the string
    EXPECT_TRUE(s.startsWith(u"zzz", 0));
    EXPECT_TRUE(s.startsWith(u'p'));
    EXPECT_TRUE(s.endsWith(u'x'));
    EXPECT_FALSE(s.endsWith(u'p'));
    EXPECT_FALSE(ZString().startsWith(u'\0'));
    EXPECT_FALSE(ZString().endsWith(u'\0'));
}

TEST(ZStringReading, FindClampsAndSearchesLeftToRight) {
    const ZString abc(u"abc");
    EXPECT_EQ(abc.find(0, u"", 0), 0);
    EXPECT_EQ(ZString().find(0, u"", 0), 0);
    EXPECT_EQ(abc.find(5, u"c"), -1);
    EXPECT_EQ(abc.find(5, u"x", 0), 3); // the clamped start
    EXPECT_EQ(abc.find(-4, u"bc"), 1);
    EXPECT_EQ(abc.find(0, static_cast<const char16_t*>(nullptr)), -1);
    EXPECT_EQ(abc.find(0, u"bcd"), -1);
    EXPECT_EQ(abc.find(0, u"bcd", 2), 1);
    EXPECT_EQ(ZString(u"aaa").find(1, u"aa"), 1);

    const ZString text(u"a.b.c");
    EXPECT_EQ(text.find(u'.'), 1);
    EXPECT_EQ(text.find(u'.', 2), 3);
    EXPECT_EQ(text.find(u'.', -10), 1);
    EXPECT_EQ(text.find(u'.', 4), -1);
    EXPECT_EQ(text.rfind(u'.'), 3);
    EXPECT_EQ(text.rfind(u'x'), -1);
    EXPECT_EQ(ZString().rfind(u'x'), -1);
}

TEST(ZStringReading, MidClampsItsRange) {
    const ZString s(u"abcdef");
    EXPECT_EQ(s.mid(2, -1), u"cdef");
    EXPECT_EQ(s.mid(2), u"cdef");
    EXPECT_EQ(s.mid(4, 2), u"");
    EXPECT_EQ(s.mid(-3, 2), u"ab");
    EXPECT_EQ(s.mid(3, 100), u"def");
    EXPECT_EQ(s.mid(6, 100), u"");
    EXPECT_EQ(s.mid(1, 3).capacity(), 2);
}

TEST(ZStringNumbers, ToIntReadsPrefixesAsWcstolDoes) {
    EXPECT_EQ(ZString(u"0x1F").toInt(), 31);
    EXPECT_EQ(ZString(u"0X1f").toInt(), 31);
    EXPECT_EQ(ZString(u"010").toInt(), 8);
    EXPECT_EQ(ZString(u"09").toInt(), 0); // octal stops at the 9
    EXPECT_EQ(ZString(u"12px").toInt(), 12);
    EXPECT_EQ(ZString(u"0x").toInt(), 0);
    EXPECT_EQ(ZString(u"0xg").toInt(), 0);
    EXPECT_EQ(ZString(u"0").toInt(), 0);
    EXPECT_EQ(ZString(u"").toInt(), 0);
    EXPECT_EQ(ZString(u"px").toInt(), 0);
    EXPECT_EQ(ZString(u"- 5").toInt(), 0);
    EXPECT_EQ(ZString(u"--5").toInt(), 0);
    EXPECT_EQ(ZString(u"-0x10").toInt(), -16);
}

TEST(ZStringNumbers, ToIntSkipsWhiteSpaceButNotNoBreakSpace) {
    EXPECT_EQ(ZString(u" \t\n\v\f\r-42").toInt(), -42);
    EXPECT_EQ(ZString(u"  +7 apples").toInt(), 7);
    EXPECT_EQ(ZString(u"\u3000\u20285").toInt(), 5);
    EXPECT_EQ(ZString(u"\u00A05").toInt(), 0);
    EXPECT_EQ(ZString(u"\u20075").toInt(), 0);
}

TEST(ZStringNumbers, ToIntClampsOverflowToThe32BitRange) {
    EXPECT_EQ(ZString(u"2147483647").toInt(), INT32_MAX);
    EXPECT_EQ(ZString(u"2147483648").toInt(), INT32_MAX);
    EXPECT_EQ(ZString(u"99999999999999999999999").toInt(), INT32_MAX);
    EXPECT_EQ(ZString(u"-2147483648").toInt(), INT32_MIN);
    EXPECT_EQ(ZString(u"-2147483649").toInt(), INT32_MIN);
    EXPECT_EQ(ZString(u"0xFFFFFFFF").toInt(), INT32_MAX);
}

TEST(ZStringNumbers, ToIntWithAnExplicitBase) {
    EXPECT_EQ(ZString(u"ff").toInt(16), 255);
    EXPECT_EQ(ZString(u"0x1f").toInt(16), 31);
    EXPECT_EQ(ZString(u"010").toInt(10), 10);
    EXPECT_EQ(ZString(u"0x1f").toInt(10), 0);
    EXPECT_EQ(ZString(u"zZ").toInt(36), 35 * 36 + 35);
    EXPECT_EQ(ZString(u"1012").toInt(2), 5);
    EXPECT_EQ(ZString(u"10").toInt(1), 0);
    EXPECT_EQ(ZString(u"10").toInt(37), 0);
    EXPECT_EQ(ZString(u"10").toInt(-2), 0);
}

TEST(ZStringNumbers, ToDoubleReadsAsStrtodInTheCLocale) {
    EXPECT_EQ(ZString(u"1.5").toDouble(), 1.5);
    EXPECT_EQ(ZString(u"  -2.5e3x").toDouble(), -2500.0);
    EXPECT_EQ(ZString(u"+.5").toDouble(), 0.5);
    EXPECT_EQ(ZString(u"5.").toDouble(), 5.0);
    EXPECT_EQ(ZString(u"1e").toDouble(), 1.0);
    EXPECT_EQ(ZString(u"1e+").toDouble(), 1.0);
    EXPECT_EQ(ZString(u"2E-2").toDouble(), 0.02);
    EXPECT_EQ(ZString(u"1,5").toDouble(), 1.0);
    EXPECT_EQ(ZString(u"12px").toDouble(), 12.0);
    EXPECT_EQ(ZString(u"0x1p3").toDouble(), 8.0);
    EXPECT_EQ(ZString(u"-0X.8").toDouble(), -0.5);
    EXPECT_EQ(ZString(u"0x").toDouble(), 0.0);
    EXPECT_EQ(ZString(u"0xg").toDouble(), 0.0);
    EXPECT_EQ(ZString(u"\u00A01").toDouble(), 0.0);
    EXPECT_EQ(ZString(u"\u20001").toDouble(), 1.0);
}

TEST(ZStringNumbers, ToDoubleGivesZeroWithoutANumber) {
    for (const char16_t* text : {u"", u"abc", u"-", u"+", u".", u"--1", u"+-1", u"e5", u"- 1"})
        EXPECT_EQ(ZString(text).toDouble(), 0.0) << toUtf8(text);
    EXPECT_FALSE(std::signbit(ZString(u"-").toDouble()));
}

TEST(ZStringNumbers, ToDoubleHandlesInfinityNanAndRange) {
    EXPECT_EQ(ZString(u"inf").toDouble(), HUGE_VAL);
    EXPECT_EQ(ZString(u"-Infinity").toDouble(), -HUGE_VAL);
    EXPECT_TRUE(std::isnan(ZString(u"nan").toDouble()));
    EXPECT_TRUE(std::isnan(ZString(u"NaN(123)").toDouble()));
    EXPECT_EQ(ZString(u"1e400").toDouble(), HUGE_VAL);
    EXPECT_EQ(ZString(u"-1e400").toDouble(), -HUGE_VAL);
    EXPECT_EQ(ZString(u"0.0000001e-320").toDouble(), 0.0);
    EXPECT_EQ(ZString(u"1e-400").toDouble(), 0.0);
    EXPECT_EQ(ZString(u"0.0000000001e315").toDouble(), 1e305);
    EXPECT_EQ(ZString(u"100000000000e-330").toDouble(), 1e-319);
    EXPECT_EQ(ZString(u"0x1p2000").toDouble(), HUGE_VAL);
    EXPECT_EQ(ZString(u"0x1p-2000").toDouble(), 0.0);
    EXPECT_EQ(ZString(u"0.5e99999999999999999999").toDouble(), HUGE_VAL);
}

// A process that has switched to a locale with a decimal comma still reads and writes a
// point, and the locale stays as the caller set it.
TEST(ZStringNumbers, NumbersIgnoreTheProcessLocale) {
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    bool commaLocale = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "German_Germany.1252"}) {
        if (std::setlocale(LC_NUMERIC, name) &&
            std::string(std::localeconv()->decimal_point) == ",") {
            commaLocale = true;
            break;
        }
    }
    if (!commaLocale) {
        std::setlocale(LC_NUMERIC, previous.c_str());
        GTEST_SKIP() << "no locale with a decimal comma installed";
    }
    const std::string active = std::setlocale(LC_NUMERIC, nullptr);
    EXPECT_EQ(ZString(u"1.5").toDouble(), 1.5);
    EXPECT_EQ(ZString(u"1,5").toDouble(), 1.0);
    EXPECT_EQ(ZString::format(u"%.2f|%g", 1.5, 0.25), u"1.50|0.25");
    EXPECT_EQ(std::string(std::setlocale(LC_NUMERIC, nullptr)), active);
    std::setlocale(LC_NUMERIC, previous.c_str());
}

TEST(ZStringNumbers, AppendNumberWritesAsItow) {
    EXPECT_EQ(ZString().appendNumber(0), u"0");
    EXPECT_EQ(ZString(u"n=").appendNumber(-123), u"n=-123");
    EXPECT_EQ(ZString().appendNumber(INT32_MIN), u"-2147483648");
    EXPECT_EQ(ZString().appendNumber(INT32_MAX), u"2147483647");
    EXPECT_EQ(ZString().appendNumber(255, 16), u"ff");
    EXPECT_EQ(ZString().appendNumber(-1, 16), u"ffffffff");
    EXPECT_EQ(ZString().appendNumber(-1, 2), ZString(std::u16string(32, u'1').c_str()));
    EXPECT_EQ(ZString().appendNumber(-8, 8), u"37777777770");
    EXPECT_EQ(ZString().appendNumber(35, 36), u"z");
    EXPECT_EQ(ZString().appendNumber(5, 1), u"101"); // clamped to base 2
    EXPECT_EQ(ZString().appendNumber(35, 99), u"z"); // clamped to base 36
    EXPECT_EQ(ZString().appendNumber(-5, -7), u"11111111111111111111111111111011");
}

TEST(ZStringChanging, AppendVariants) {
    ZString s;
    s.append(u"abc").append(u'd').append(ZString(u"efg"), 2).append(u"xyz", 1);
    EXPECT_EQ(s, u"abcdefx");
    s.append(ZString(u"12"), 99).append(ZString(u"34"), -1);
    EXPECT_EQ(s, u"abcdefx1234");
    s.append(static_cast<const char16_t*>(nullptr))
        .append(static_cast<const char16_t*>(nullptr), 4);
    EXPECT_EQ(s, u"abcdefx1234");
    EXPECT_EQ(s.c_str()[s.length()], 0);
}

TEST(ZStringChanging, AppendingItselfSurvivesReallocation) {
    ZString s(u"0123456789");
    s.append(s);
    EXPECT_EQ(s, u"01234567890123456789");
    s.append(s.c_str() + 15, 5); // needs a larger buffer: the source is in the old one
    EXPECT_EQ(s, u"0123456789012345678956789");
    s.insert(0, s.c_str() + 20, 5);
    EXPECT_EQ(s, u"567890123456789012345678956789");
}

TEST(ZStringChanging, ConcatenationStartsWithTheSumOfLengths) {
    const ZString sum = ZString(u"abc") + ZString(u"de");
    EXPECT_EQ(sum, u"abcde");
    EXPECT_EQ(sum.capacity(), 5);
    const ZString withPointer = ZString(u"abc") + u"defg";
    EXPECT_EQ(withPointer, u"abcdefg");
    EXPECT_EQ(withPointer.capacity(), 7);
    EXPECT_EQ(ZString(u"abc") + static_cast<const char16_t*>(nullptr), u"abc");
}

TEST(ZStringChanging, ReserveGrowsByTheDoublingRule) {
    ZString s;
    s.reserve(1);
    EXPECT_EQ(s.capacity(), 16);
    s.reserve(17);
    EXPECT_EQ(s.capacity(), 32);
    s.reserve(20);
    EXPECT_EQ(s.capacity(), 32);
    s.reserve(100);
    EXPECT_EQ(s.capacity(), 100);

    ZString t(u"abcdefghij");
    t.append(u'k');
    EXPECT_EQ(t.capacity(), 20);
    EXPECT_EQ(t, u"abcdefghijk");
    ZString u(u"abc");
    u.append(u'd');
    EXPECT_EQ(u.capacity(), 16);
}

TEST(ZStringChanging, SetLengthAfterWritingIntoTheBuffer) {
    ZString s;
    s.reserve(8);
    char16_t* buffer = s.data();
    buffer[0] = u'o';
    buffer[1] = u'k';
    s.setLength(2);
    EXPECT_EQ(s, u"ok");
    s.setLength(-5);
    EXPECT_TRUE(s.isEmpty());
    s.setLength(1000);
    EXPECT_EQ(s.length(), s.capacity());
    EXPECT_EQ(s.c_str()[s.length()], 0);
}

TEST(ZStringChanging, InsertClampsThePosition) {
    EXPECT_EQ(ZString(u"ace").insert(1, u"b").insert(3, u"d"), u"abcde");
    EXPECT_EQ(ZString(u"bc").insert(-9, u"a"), u"abc");
    EXPECT_EQ(ZString(u"ab").insert(99, u"cdef", 1), u"abc");
    EXPECT_EQ(ZString(u"ab").insert(1, static_cast<const char16_t*>(nullptr)), u"ab");
}

TEST(ZStringChanging, ReplaceRangeClampsTheEnd) {
    EXPECT_EQ(ZString(u"abcdef").replace(1, 3, ZString(u"XYZ")), u"aXYZdef");
    EXPECT_EQ(ZString(u"abcdef").replace(4, 100, ZString(u"!")), u"abcd!");
    EXPECT_EQ(ZString(u"abcdef").replace(3, 3, ZString(u"!")), u"abcdef");
    EXPECT_EQ(ZString(u"abcdef").replace(4, 2, ZString(u"!")), u"abcdef");
    EXPECT_EQ(ZString(u"abc").replace(-2, 1, ZString(u"_")), u"_bc");
    EXPECT_EQ(ZString(u"abc").replace(3, 5, ZString(u"d")), u"abcd");
    ZString self(u"abc");
    self.replace(1, 2, self);
    EXPECT_EQ(self, u"aabcc");
}

TEST(ZStringChanging, ReplaceAllNeverSearchesInsertedText) {
    EXPECT_EQ(ZString(u"aXa").replaceAll(ZString(u"a"), ZString(u"aa")), u"aaXaa");
    EXPECT_EQ(ZString(u"aaaa").replaceAll(ZString(u"aa"), ZString(u"a")), u"aa");
    EXPECT_EQ(ZString(u"a-b-c").replaceAll(ZString(u"-"), ZString()), u"abc");
    EXPECT_EQ(ZString(u"abc").replaceAll(ZString(), ZString(u"x")), u"abc");
    EXPECT_EQ(ZString(u"abc").replaceAll(ZString(u"z"), ZString(u"x")), u"abc");
    ZString self(u"ab");
    self.replaceAll(self, ZString(u"<ab>"));
    EXPECT_EQ(self, u"<ab>");
}

TEST(ZStringChanging, ReplaceFirstAndLast) {
    EXPECT_EQ(ZString(u"a.b.c").replaceFirst(ZString(u"."), ZString(u"::")), u"a::b.c");
    EXPECT_EQ(ZString(u"a.b.c").replaceLast(ZString(u"."), ZString(u"::")), u"a.b::c");
    EXPECT_EQ(ZString(u"aaa").replaceLast(ZString(u"aa"), ZString(u"b")), u"ab");
    EXPECT_EQ(ZString(u"abc").replaceFirst(ZString(u"x"), ZString(u"y")), u"abc");
    EXPECT_EQ(ZString(u"abc").replaceLast(ZString(u"abcd"), ZString(u"y")), u"abc");
    EXPECT_EQ(ZString(u"abc").replaceLast(ZString(), ZString(u"y")), u"abc");
}

TEST(ZStringChanging, ReplaceCharsMapsEveryUnitOfTheSet) {
    EXPECT_EQ(ZString(u"a\\b/c").replaceChars(u"\\/", u'_'), u"a_b_c");
    EXPECT_EQ(ZString(u"abc").replaceChars(static_cast<const char16_t*>(nullptr), u'_'), u"abc");
    EXPECT_EQ(ZString(u"abc").replaceChars(u"", u'_'), u"abc");
}

TEST(ZStringChanging, TruncateAndEraseClamp) {
    EXPECT_EQ(ZString(u"abcdef").truncate(3), u"abc");
    EXPECT_EQ(ZString(u"abc").truncate(10), u"abc");
    EXPECT_EQ(ZString(u"abc").truncate(-1), u"");
    EXPECT_EQ(ZString(u"abcdef").erase(1, 3), u"adef");
    EXPECT_EQ(ZString(u"abcdef").erase(-5, 2), u"cdef");
    EXPECT_EQ(ZString(u"abcdef").erase(4, 100), u"abcd");
    EXPECT_EQ(ZString(u"abcdef").erase(3, 3), u"abcdef");
    EXPECT_EQ(ZString(u"abcdef").erase(-3, 0), u"abcdef");
    EXPECT_EQ(ZString(u"abcdef").erase(6, 9), u"abcdef");
}

TEST(ZStringChanging, ToLowerAndTrimUseTheirDocumentedSets) {
    EXPECT_EQ(ZString(u"MiXeD 123 \u00C4\u0130").toLower(), u"mixed 123 \u00C4\u0130");
    EXPECT_EQ(ZString(u" \t\r\n\v\f ").trim(), u"");
    EXPECT_EQ(ZString(u"\n  a b \r\n").trim(), u"a b");
    EXPECT_EQ(ZString(u"\u00A0a\u00A0").trim(), u"\u00A0a\u00A0");
    EXPECT_EQ(ZString(u"\u3000a").trim(), u"\u3000a");
    EXPECT_EQ(ZString().trim(), u"");
}

#ifdef _WIN32
TEST(ZStringWindows, TakesAndGivesWideText) {
    ZString s(L"wide");
    EXPECT_EQ(s, u"wide");
    EXPECT_EQ(std::wstring(s.w_str()), L"wide");
    s = L"other";
    EXPECT_EQ(s, u"other");
    s.reserve(10);
    s.wdata()[0] = L'O';
    EXPECT_EQ(s, u"Other");
    EXPECT_EQ(ZString(L"abc", 2), u"ab");
    EXPECT_EQ(ZString::format(u"%s|%c", L"w", L'c'), u"w|c");
}
#endif
