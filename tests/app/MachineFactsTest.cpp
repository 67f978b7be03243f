#include "app/MachineFacts.h"

#include "tests/EnvironmentVariable.h"
#include "tests/base/ZStringPrinter.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>

namespace {

void setVariable(const wchar_t* name, const std::optional<ZString>& value) {
    SetEnvironmentVariableW(name, value ? value->w_str() : nullptr);
}

// Gives each case its own folder under the real temporary folder and puts TMP, TEMP and TMPDIR
// back afterwards.
class TempFolder : public testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 3; ++i)
            saved_[i] = environmentVariable(names_[i]);
        base_ = tempFolder() + u"\\doxly-temp-test-";
        base_.appendNumber(static_cast<int>(GetCurrentProcessId()));
        ASSERT_TRUE(CreateDirectoryW(base_.w_str(), nullptr));
        existing_ = base_ + u"\\existing";
        ASSERT_TRUE(CreateDirectoryW(existing_.w_str(), nullptr));
        missing_ = base_ + u"\\missing";
        SetEnvironmentVariableW(L"DOXLY_TEST_BASE", base_.w_str());
    }

    void TearDown() override {
        for (int i = 0; i < 3; ++i)
            setVariable(names_[i], saved_[i]);
        SetEnvironmentVariableW(L"DOXLY_TEST_BASE", nullptr);
        RemoveDirectoryW(existing_.w_str());
        RemoveDirectoryW(base_.w_str());
    }

    static void set(const ZString& tmp, const ZString& temp, const std::optional<ZString>& tmpdir) {
        SetEnvironmentVariableW(L"TMP", tmp.w_str());
        SetEnvironmentVariableW(L"TEMP", temp.w_str());
        setVariable(L"TMPDIR", tmpdir);
    }

    ZString base_;
    ZString existing_;
    ZString missing_;

private:
    const wchar_t* names_[3] = {L"TMP", L"TEMP", L"TMPDIR"};
    std::optional<ZString> saved_[3];
};

TEST_F(TempFolder, ExpandsReferencesAndDropsTrailingSeparators) {
    set(u"%DOXLY_TEST_BASE%\\existing\\/\\", missing_, std::nullopt);
    EXPECT_EQ(tempFolder(), existing_);
}

TEST_F(TempFolder, SkipsCandidatesThatDoNotExist) {
    set(missing_, existing_ + u"\\", std::nullopt);
    EXPECT_EQ(tempFolder(), existing_);
    set(missing_, missing_, existing_);
    EXPECT_EQ(tempFolder(), existing_);
    set(missing_, missing_, u"%DOXLY_TEST_BASE%");
    EXPECT_EQ(tempFolder(), base_);
}

TEST_F(TempFolder, CurrentDirectoryWhenNoCandidateExists) {
    set(missing_, missing_, std::nullopt);
    EXPECT_EQ(tempFolder(), u".");
    set(missing_, missing_, missing_ + u"\\");
    EXPECT_EQ(tempFolder(), u".");
}

// The major version in the page the kernel shares with every process (KUSER_SHARED_DATA), which
// no compatibility layer adjusts: a second account of the version beside RtlGetVersion.
ULONG sharedPageMajorVersion() {
    return *reinterpret_cast<const volatile ULONG*>(static_cast<uintptr_t>(0x7FFE026C));
}

TEST(MachineFacts, AgreeWithTheKernelsSharedPage) {
    const MachineFacts facts = currentMachineFacts();
    EXPECT_EQ(facts.windows10OrLater, sharedPageMajorVersion() >= 10);
    const bool supported = facts.nativeArchitecture == ArchitectureIntel ||
                           facts.nativeArchitecture == ArchitectureAmd64 ||
                           facts.nativeMachine == MachineArm64;
    ASSERT_TRUE(supported) << "architecture " << facts.nativeArchitecture;

    const ZString url = chooseDownloadUrl();
    const ZString prefix = u"https://" DOXLY_DOWNLOAD_HOST u"/doxly-creator-";
    EXPECT_TRUE(url.startsWith(prefix.c_str())) << toUtf8(url);
    const bool legacy = url.find(0, u"-9-latest-") >= 0;
    EXPECT_EQ(legacy, !facts.windows10OrLater) << toUtf8(url);
}

TEST(MachineFacts, NativeMachineMatchesTheNativeArchitecture) {
    const MachineFacts facts = currentMachineFacts();
    if (!facts.windows10OrLater ||
        !GetProcAddress(GetModuleHandleW(L"kernel32"), "IsWow64Process2")) {
        EXPECT_EQ(facts.nativeMachine, 0);
        return;
    }
    switch (facts.nativeArchitecture) {
    case ArchitectureAmd64:
        EXPECT_EQ(facts.nativeMachine, IMAGE_FILE_MACHINE_AMD64);
        break;
    case ArchitectureIntel:
        EXPECT_TRUE(facts.nativeMachine == IMAGE_FILE_MACHINE_I386 ||
                    facts.nativeMachine == MachineArm64);
        break;
    default:
        EXPECT_EQ(facts.nativeMachine, MachineArm64);
    }
}

} // namespace
