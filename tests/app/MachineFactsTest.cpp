#include "app/MachineFacts.h"

#include "tests/base/ZStringPrinter.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <cstdlib>
#include <optional>
#include <utility>

namespace {

void setVariable(const wchar_t* name, const std::optional<ZString>& value) {
    SetEnvironmentVariableW(name, value ? value->w_str() : nullptr);
}

TEST(TempFolder, FirstExistingCandidateWithReferencesExpanded) {
    using Value = std::optional<ZString>;
    const wchar_t* names[] = {L"TMP", L"TEMP", L"TMPDIR"};
    const wchar_t* saved[] = {_wgetenv(L"TMP"), _wgetenv(L"TEMP"), _wgetenv(L"TMPDIR")};
    const ZString base = ZString::format(u"%s\\doxly-temp-test-%d", tempFolder(),
                                         static_cast<int>(GetCurrentProcessId()));
    const ZString missing = base + u"\\missing";
    ASSERT_TRUE(CreateDirectoryW(base.w_str(), nullptr));
    SetEnvironmentVariableW(L"DOXLY_TEST_BASE", base.w_str());
    const std::pair<std::array<Value, 3>, ZString> cases[] = {
        {{u"%DOXLY_TEST_BASE%\\/\\", missing, {}}, base},
        {{missing, base + u"\\", {}}, base},
        {{missing, missing, base}, base},
        {{missing, missing, {}}, u"."},
    };
    for (const auto& [values, expected] : cases) {
        for (int i = 0; i < 3; ++i)
            setVariable(names[i], values[i]);
        EXPECT_EQ(tempFolder(), expected) << toUtf8(values[0].value_or(u""));
    }
    for (int i = 0; i < 3; ++i) // the C library's copy of the environment keeps the old values
        SetEnvironmentVariableW(names[i], saved[i]);
    RemoveDirectoryW(base.w_str());
}

// The major version in the page the kernel shares with every process (KUSER_SHARED_DATA), which
// no compatibility layer adjusts: a second account of the version beside RtlGetVersion.
ULONG sharedPageMajorVersion() {
    return *reinterpret_cast<const volatile ULONG*>(static_cast<uintptr_t>(0x7FFE026C));
}

TEST(MachineFacts, AgreeWithTheKernelAndChooseTheAddress) {
    const MachineFacts facts = currentMachineFacts();
    EXPECT_EQ(facts.windows10OrLater, sharedPageMajorVersion() >= 10);
    // IsWow64Process2 is asked only on Windows 10 and later.
    if (facts.windows10OrLater && facts.nativeArchitecture == ArchitectureAmd64 &&
        GetProcAddress(GetModuleHandleW(L"kernel32"), "IsWow64Process2")) {
        EXPECT_EQ(facts.nativeMachine, IMAGE_FILE_MACHINE_AMD64);
    }

    const ZString url = downloadUrlFor(facts, u"downloads.example.test");
    const ZString prefix = u"https://downloads.example.test/doxly-creator-";
    EXPECT_TRUE(url.startsWith(prefix.c_str())) << toUtf8(url);
    EXPECT_EQ(url.find(0, u"-9-latest-") >= 0, !facts.windows10OrLater) << toUtf8(url);
}

} // namespace
