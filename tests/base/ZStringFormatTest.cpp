#include "tests/base/ZStringPrinter.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

TEST(ZStringFormat, IntegersWithFlagsWidthAndPrecision) {
    EXPECT_EQ(ZString::format(u"%d|%i|%u", -12, 34, 56u), u"-12|34|56");
    EXPECT_EQ(ZString::format(u"[%5d][%-5d][%05d][%+d][% d]", 42, 42, -42, 42, 42),
              u"[   42][42   ][-0042][+42][ 42]");
    EXPECT_EQ(ZString::format(u"%.3d|%6.3d|%.0d", 7, -7, 0), u"007|  -007|");
    EXPECT_EQ(ZString::format(u"%x %X %o %#x %#o", 255, 255, 8, 255, 8), u"ff FF 10 0xff 010");
    EXPECT_EQ(ZString::format(u"%#d", 5), u"5");
}

TEST(ZStringFormat, IntegersKeepTheirOwnWidth) {
    EXPECT_EQ(ZString::format(u"%x", -1), u"ffffffff");
    EXPECT_EQ(ZString::format(u"%u", -1), u"4294967295");
    EXPECT_EQ(ZString::format(u"%x", -1LL), u"ffffffffffffffff");
    EXPECT_EQ(ZString::format(u"%d", 4294967295u), u"-1");
    EXPECT_EQ(ZString::format(u"%lld|%I64d|%ld|%hd", 9000000000LL, -9000000000LL, 7L, 70000),
              u"9000000000|-9000000000|7|70000");
    EXPECT_EQ(ZString::format(u"%d %d", INT_MIN, true), u"-2147483648 1");
}

TEST(ZStringFormat, FloatingPointAlwaysWithAPoint) {
    EXPECT_EQ(ZString::format(u"%f|%.2f|%8.3f|%-8.1f|", 1.5, 2.345678, -3.14159, 2.0),
              u"1.500000|2.35|  -3.142|2.0     |");
    EXPECT_EQ(ZString::format(u"%e|%.2E", 1.5, 12345.0), u"1.500000e+00|1.23E+04");
    EXPECT_EQ(ZString::format(u"%g|%g|%G|%#g", 0.0001, 1e20, 1e-10, 1.0),
              u"0.0001|1e+20|1E-10|1.00000");
    EXPECT_EQ(ZString::format(u"%+.1f|%08.2f|%F", 1.0, -1.5, 0.25f), u"+1.0|-0001.50|0.250000");
    EXPECT_EQ(ZString::format(u"%.0f|%.0f", 0.5, 1.5), u"0|2");
}

TEST(ZStringFormat, StringsAndCharacters) {
    const ZString z(u"zed");
    const std::u16string std16(u"std");
    const char16_t* pointer = u"ptr";
    EXPECT_EQ(ZString::format(u"%s %s %s %s", z, std16, pointer, u"lit"), u"zed std ptr lit");
    EXPECT_EQ(ZString::format(u"[%5s][%-5s][%.2s][%5.1s]", z, z, z, pointer),
              u"[  zed][zed  ][ze][    p]");
    EXPECT_EQ(ZString::format(u"%s|%.3s", static_cast<const char16_t*>(nullptr), nullptr),
              u"(null)|(nu");
    EXPECT_EQ(ZString::format(u"%c%c%c|%3c|%-3c|", u'a', 'b', 0x263A, u'x', u'y'),
              u"ab\u263A|  x|y  |");
    EXPECT_EQ(ZString::format(u"%ls %hs", z, z), u"zed zed");
    const ZString withNul(u"a\0b", 3);
    EXPECT_EQ(ZString::format(u"%s", withNul), withNul);
}

TEST(ZStringFormat, StarTakesWidthAndPrecisionFromTheArguments) {
    EXPECT_EQ(ZString::format(u"[%*d]", 5, 42), u"[   42]");
    EXPECT_EQ(ZString::format(u"[%*d]", -5, 42), u"[42   ]");
    EXPECT_EQ(ZString::format(u"[%.*f]", 2, 3.14159), u"[3.14]");
    EXPECT_EQ(ZString::format(u"[%.*s]", -1, u"whole"), u"[whole]");
    EXPECT_EQ(ZString::format(u"[%*.*s]", 6, 3, u"abcdef"), u"[   abc]");
    // A '*' without an integer spoils its conversion, which still uses up its argument.
    EXPECT_EQ(ZString::format(u"[%*d][%d]", u"x", 1, 2), u"[][2]");
}

TEST(ZStringFormat, MissingOrMismatchedArgumentsPrintNothing) {
    EXPECT_EQ(ZString::format(u"a%db%sc"), u"abc");
    EXPECT_EQ(ZString::format(u"%d|%d", 1), u"1|");
    EXPECT_EQ(ZString::format(u"[%s][%d][%f][%c]", 5, u"text", 7, 2.5), u"[][][][]");
    EXPECT_EQ(ZString::format(u"%s|%s", 1, u"second"), u"|second");
    EXPECT_EQ(ZString::format(u"%d", 1, 2, 3), u"1");
    EXPECT_EQ(ZString::format(u"no directives", 1, u"x"), u"no directives");
    EXPECT_EQ(ZString::format(nullptr, 1), u"");
}

TEST(ZStringFormat, DirectivesNotUnderstoodAreCopied) {
    EXPECT_EQ(ZString::format(u"100%% sure"), u"100% sure");
    EXPECT_EQ(ZString::format(u"trailing %"), u"trailing %");
    EXPECT_EQ(ZString::format(u"%5"), u"%5");
    EXPECT_EQ(ZString::format(u"%n|%p|%y", 1, 2, 3), u"%n|%p|%y");
    EXPECT_EQ(ZString::format(u"%!d", 1), u"%!d");
    EXPECT_EQ(ZString::format(u"%\u00E9", 1), u"%\u00E9");
}

TEST(ZStringFormat, HugeWidthsAndLongStringsStayBounded) {
    const std::u16string longText(100000, u'x');
    const ZString result = ZString::format(u"<%s>", longText);
    EXPECT_EQ(result.length(), 100002);
    EXPECT_EQ(result.capacity(), result.length());
    EXPECT_EQ(ZString::format(u"%99999999999d", 1).length(), 4096);
    EXPECT_EQ(ZString::format(u"%.99999999999d", 1).length(), 4096);
    EXPECT_EQ(ZString::format(u"%*s", INT_MIN, u"a").length(), 4096);
    EXPECT_EQ(ZString::format(u"%.5000f", 1e300).length(), 301 + 1 + 4096);
    EXPECT_EQ(ZString::format(u"%f", 1e308).length(), 309 + 1 + 6);
    EXPECT_EQ(ZString::format(u"%-4000s|%4000s", longText, longText).length(), 200001);
}
