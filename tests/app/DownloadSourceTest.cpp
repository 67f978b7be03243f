#include "app/DownloadSource.h"

#include "tests/base/ZStringPrinter.h"

#include <gtest/gtest.h>

#include <string>

TEST(DownloadUrl, EveryRowOfTheChoice) {
    const struct {
        MachineFacts facts;
        const char* file; // none: unsupported
    } rows[] = {
        {{ArchitectureAmd64, true, 0}, "latest-x64"},
        {{ArchitectureIntel, true, 0}, "latest-x86"},
        {{ArchitectureArm64, true, MachineArm64}, "latest-arm64"},
        // A 32-bit process on ARM64 may be told an emulated Intel, AMD or ARM machine.
        {{ArchitectureIntel, true, MachineArm64}, "latest-arm64"},
        // Without IsWow64Process2, or when it fails, ARM64 is unsupported.
        {{ArchitectureArm64, true, 0}, nullptr},
        {{5, true, 0}, nullptr},
        // Legacy addresses once had "https ://", which never opens.
        {{ArchitectureAmd64, false, 0}, "9-latest-x64"},
        {{ArchitectureIntel, false, 0}, "9-latest-x86"},
        // Before Windows 10 IsWow64Process2 is never asked, so its answer cannot count.
        {{ArchitectureIntel, false, MachineArm64}, "9-latest-x86"},
        {{ArchitectureArm64, false, MachineArm64}, nullptr},
    };
    for (const auto& [facts, file] : rows)
        EXPECT_EQ(toUtf8(downloadUrlFor(facts, u"files.test:8443")),
                  file ? "https://files.test:8443/doxly-creator-" + std::string(file) + ".exe" : "")
            << facts.nativeArchitecture << " " << facts.windows10OrLater << " "
            << facts.nativeMachine;
}

TEST(JoinPath, LeavesExactlyOneSeparatorAtTheSeam) {
    EXPECT_EQ(joinPath(u"C:\\Temp\\\\", u"\\doxly-creator.exe", u'\\'),
              u"C:\\Temp\\doxly-creator.exe");
    // Separators inside either part stay as they are.
    EXPECT_EQ(joinPath(u"a\\\\b/c", u"d//e\\", u'\\'), u"a\\\\b/c\\d//e\\");
    EXPECT_EQ(joinPath(u"\\\\", u"name", u'\\'), u"\\name");
    EXPECT_EQ(joinPath(u"C:\\Temp", u"\\/", u'\\'), u"C:\\Temp\\");
    EXPECT_EQ(withoutTrailingSeparators(u"/\\/"), u"");
}
