#include "app/DownloadSource.h"

#include "tests/base/ZStringPrinter.h"

#include <gtest/gtest.h>

namespace {

const ZString host = u"files.test:8443";

ZString urlFor(int architecture, bool windows10, uint16_t nativeMachine = 0) {
    return downloadUrlFor({architecture, windows10, nativeMachine}, host);
}

TEST(DownloadUrl, CurrentBuildsOnWindows10AndLater) {
    EXPECT_EQ(urlFor(ArchitectureAmd64, true),
              u"https://files.test:8443/doxly-creator-latest-x64.exe");
    EXPECT_EQ(urlFor(ArchitectureIntel, true),
              u"https://files.test:8443/doxly-creator-latest-x86.exe");
    // IsWow64Process2 confirming the machine it runs on changes nothing for Intel and AMD.
    EXPECT_EQ(urlFor(ArchitectureAmd64, true, 0x8664),
              u"https://files.test:8443/doxly-creator-latest-x64.exe");
    EXPECT_EQ(urlFor(ArchitectureIntel, true, 0x014C),
              u"https://files.test:8443/doxly-creator-latest-x86.exe");
}

TEST(DownloadUrl, Arm64OnlyWhenIsWow64Process2ConfirmsIt) {
    const ZString arm64 = u"https://files.test:8443/doxly-creator-latest-arm64.exe";
    EXPECT_EQ(urlFor(ArchitectureArm64, true, MachineArm64), arm64);
    // A 32-bit process on ARM64 may be told an emulated Intel or AMD machine.
    EXPECT_EQ(urlFor(ArchitectureIntel, true, MachineArm64), arm64);
    EXPECT_EQ(urlFor(ArchitectureAmd64, true, MachineArm64), arm64);
    EXPECT_EQ(urlFor(5, true, MachineArm64), arm64);
    // Missing IsWow64Process2, or a failed call, leaves an ARM64 architecture unsupported.
    EXPECT_EQ(urlFor(ArchitectureArm64, true, 0), u"");
}

TEST(DownloadUrl, LegacyBuildsBeforeWindows10AreOpenableAddresses) {
    EXPECT_EQ(urlFor(ArchitectureAmd64, false),
              u"https://files.test:8443/doxly-creator-9-latest-x64.exe");
    EXPECT_EQ(urlFor(ArchitectureIntel, false),
              u"https://files.test:8443/doxly-creator-9-latest-x86.exe");
    // Without the Windows 10 check IsWow64Process2 is never asked, so its answer cannot count.
    EXPECT_EQ(urlFor(ArchitectureIntel, false, MachineArm64),
              u"https://files.test:8443/doxly-creator-9-latest-x86.exe");
    EXPECT_EQ(urlFor(ArchitectureArm64, false, MachineArm64), u"");
    EXPECT_EQ(urlFor(ArchitectureArm64, false), u"");
}

TEST(DownloadUrl, UnsupportedArchitecturesGetNoAddress) {
    for (const bool windows10 : {true, false}) {
        SCOPED_TRACE(windows10 ? "Windows 10" : "older Windows");
        EXPECT_EQ(urlFor(5, windows10), u"");  // ARM
        EXPECT_EQ(urlFor(6, windows10), u"");  // IA-64
        EXPECT_EQ(urlFor(-1, windows10), u""); // nothing reported
        EXPECT_EQ(urlFor(0xFFFF, windows10), u"");
        EXPECT_EQ(urlFor(5, windows10, 0x8664), u"");
    }
}

TEST(DownloadUrl, EveryAddressUsesTheGivenHost) {
    EXPECT_EQ(downloadUrlFor({ArchitectureAmd64, true, 0}, u"localhost"),
              u"https://localhost/doxly-creator-latest-x64.exe");
    EXPECT_EQ(downloadUrlFor({ArchitectureIntel, false, 0}, u"127.0.0.1:1"),
              u"https://127.0.0.1:1/doxly-creator-9-latest-x86.exe");
}

TEST(DownloadTarget, FileNameIsFixed) {
    EXPECT_EQ(targetFileName(), u"doxly-creator.exe");
}

TEST(JoinPath, LeavesExactlyOneSeparatorAtTheSeam) {
    EXPECT_EQ(joinPath(u"C:\\Temp\\\\", u"\\doxly-creator.exe", u'\\'),
              u"C:\\Temp\\doxly-creator.exe");
    EXPECT_EQ(joinPath(u"C:\\Temp", u"doxly-creator.exe", u'\\'), u"C:\\Temp\\doxly-creator.exe");
    EXPECT_EQ(joinPath(u"/tmp/\\/", u"/\\name", u'/'), u"/tmp/name");
    // Separators inside either part stay as they are.
    EXPECT_EQ(joinPath(u"a\\\\b/c", u"d//e\\", u'\\'), u"a\\\\b/c\\d//e\\");
}

TEST(JoinPath, EmptyFolderOrOnlySeparators) {
    EXPECT_EQ(joinPath(u"", u"\\name", u'\\'), u"\\name");
    EXPECT_EQ(joinPath(u"", u"", u'\\'), u"");
    EXPECT_EQ(joinPath(u"\\\\", u"name", u'\\'), u"\\name");
    EXPECT_EQ(joinPath(u"C:\\Temp", u"", u'\\'), u"C:\\Temp\\");
    EXPECT_EQ(joinPath(u"C:\\Temp", u"\\/", u'\\'), u"C:\\Temp\\");
}

TEST(JoinPath, TrailingSeparatorsOfTheFolderGo) {
    EXPECT_EQ(withoutTrailingSeparators(u"C:\\Temp\\/\\"), u"C:\\Temp");
    EXPECT_EQ(withoutTrailingSeparators(u"C:\\"), u"C:");
    EXPECT_EQ(withoutTrailingSeparators(u"/\\/"), u"");
    EXPECT_EQ(withoutTrailingSeparators(u"\\name"), u"\\name");
}

} // namespace
