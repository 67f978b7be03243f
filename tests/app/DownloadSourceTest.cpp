#include "app/DownloadSource.h"

#include "tests/base/ZStringPrinter.h"

#include <gtest/gtest.h>

TEST(DownloadUrl, EveryRowOfTheChoice) {
    const char16_t* x64 = u"https://files.test:8443/doxly-creator-latest-x64.exe";
    const char16_t* x86 = u"https://files.test:8443/doxly-creator-latest-x86.exe";
    const char16_t* arm64 = u"https://files.test:8443/doxly-creator-latest-arm64.exe";
    // Legacy addresses once had "https ://", which never opens.
    const char16_t* legacyX64 = u"https://files.test:8443/doxly-creator-9-latest-x64.exe";
    const char16_t* legacyX86 = u"https://files.test:8443/doxly-creator-9-latest-x86.exe";
    const struct {
        MachineFacts facts;
        const char16_t* url;
    } rows[] = {
        {{ArchitectureAmd64, true, 0}, x64},
        {{ArchitectureIntel, true, 0}, x86},
        {{ArchitectureAmd64, true, 0x8664}, x64},
        {{ArchitectureArm64, true, MachineArm64}, arm64},
        // A 32-bit process on ARM64 may be told an emulated Intel, AMD or ARM machine.
        {{ArchitectureIntel, true, MachineArm64}, arm64},
        {{5, true, MachineArm64}, arm64},
        // Without IsWow64Process2, or when it fails, ARM64 is unsupported.
        {{ArchitectureArm64, true, 0}, u""},
        {{ArchitectureAmd64, false, 0}, legacyX64},
        {{ArchitectureIntel, false, 0}, legacyX86},
        // Before Windows 10 IsWow64Process2 is never asked, so its answer cannot count.
        {{ArchitectureIntel, false, MachineArm64}, legacyX86},
        {{ArchitectureArm64, false, MachineArm64}, u""},
        {{5, true, 0}, u""},
        {{-1, false, 0}, u""},
        {{5, true, 0x8664}, u""},
    };
    for (const auto& [facts, url] : rows)
        EXPECT_EQ(downloadUrlFor(facts, u"files.test:8443"), url)
            << facts.nativeArchitecture << " " << facts.windows10OrLater << " "
            << facts.nativeMachine;
}

TEST(JoinPath, LeavesExactlyOneSeparatorAtTheSeam) {
    EXPECT_EQ(joinPath(u"C:\\Temp\\\\", u"\\doxly-creator.exe", u'\\'),
              u"C:\\Temp\\doxly-creator.exe");
    EXPECT_EQ(joinPath(u"/tmp/\\/", u"/\\name", u'/'), u"/tmp/name");
    // Separators inside either part stay as they are.
    EXPECT_EQ(joinPath(u"a\\\\b/c", u"d//e\\", u'\\'), u"a\\\\b/c\\d//e\\");
    EXPECT_EQ(joinPath(u"\\\\", u"name", u'\\'), u"\\name");
    EXPECT_EQ(joinPath(u"", u"\\name", u'\\'), u"\\name");
    EXPECT_EQ(joinPath(u"C:\\Temp", u"\\/", u'\\'), u"C:\\Temp\\");
    EXPECT_EQ(withoutTrailingSeparators(u"/\\/"), u"");
}
