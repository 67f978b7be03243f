// What the page accepts as a setup before it starts one. Signed files, tampered ones and other
// publishers' are checked end to end against the real program (installer_e2e.py), which signs
// them with throw-away certificates.
#include "app/SetupCheck.h"
#include "tests/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>

namespace {

// The headers a loader reads first: a DOS header whose last field points at "PE\0\0" and the
// file header after it, which says which processor the image is for and what kind it is.
struct Image {
    std::string bytes = std::string(0x58, '\0');

    Image() {
        bytes[0] = 'M';
        bytes[1] = 'Z';
        setLong(0x3C, 0x40);
        std::memcpy(&bytes[0x40], "PE\0\0", 4);
        setWord(0x44, IMAGE_FILE_MACHINE_I386);
        setWord(0x56, IMAGE_FILE_EXECUTABLE_IMAGE | IMAGE_FILE_32BIT_MACHINE);
    }
    Image& setWord(size_t at, WORD value) {
        std::memcpy(&bytes[at], &value, sizeof value);
        return *this;
    }
    Image& setLong(size_t at, LONG value) {
        std::memcpy(&bytes[at], &value, sizeof value);
        return *this;
    }
    Image& machine(WORD value) { return setWord(0x44, value); }
    Image& characteristics(WORD value) { return setWord(0x56, value); }
    Image& headerAt(LONG offset) { return setLong(0x3C, offset); }
};

class SetupFile : public testing::Test {
protected:
    // Whether the file with these bytes passes for a Windows program.
    bool program(const std::string& bytes) {
        const std::filesystem::path path = folder_.path("setup.exe");
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr);
        EXPECT_NE(file, INVALID_HANDLE_VALUE);
        const bool result = isWindowsProgram(file);
        CloseHandle(file);
        return result;
    }

    TemporaryFolder folder_;
};

TEST_F(SetupFile, OnlyAnExecutableImageForAMachineWindowsRunsOnIsAProgram) {
    EXPECT_TRUE(program(Image().bytes));
    EXPECT_TRUE(program(Image().machine(IMAGE_FILE_MACHINE_AMD64).bytes));
    EXPECT_TRUE(program(Image().machine(IMAGE_FILE_MACHINE_ARM64).bytes));
    EXPECT_FALSE(program(Image().machine(IMAGE_FILE_MACHINE_ARMNT).bytes));
    EXPECT_FALSE(program(Image().machine(IMAGE_FILE_MACHINE_IA64).bytes));
    EXPECT_FALSE(program(Image().machine(0).bytes));
    EXPECT_FALSE(
        program(Image().characteristics(IMAGE_FILE_EXECUTABLE_IMAGE | IMAGE_FILE_DLL).bytes))
        << "a library";
    EXPECT_FALSE(program(Image().characteristics(IMAGE_FILE_32BIT_MACHINE).bytes))
        << "an object file the linker could not finish";
}

TEST_F(SetupFile, AHeaderOutsideTheFileOrWithoutItsSignaturesIsNoProgram) {
    EXPECT_FALSE(program(""));
    EXPECT_FALSE(program("MZ"));
    EXPECT_FALSE(program("<html><body>502 Bad Gateway</body></html>" + std::string(200, ' ')));
    Image noMz;
    noMz.bytes[1] = 'X';
    EXPECT_FALSE(program(noMz.bytes));
    Image noPe;
    noPe.bytes[0x41] = 'F';
    EXPECT_FALSE(program(noPe.bytes));
    EXPECT_FALSE(program(Image().headerAt(-4).bytes));
    EXPECT_FALSE(program(Image().headerAt(0x7FFFFFF0).bytes));
    // The file header would end one byte after the file.
    EXPECT_FALSE(program(Image().headerAt(0x41).bytes));
    EXPECT_TRUE(program(Image().headerAt(0x40).bytes + std::string(1, '\0')));
    // A download cut inside the header.
    EXPECT_FALSE(program(Image().bytes.substr(0, 0x50)));
}

TEST_F(SetupFile, AProgramWithoutSignatureOrAFileThatIsNoneIsNeverTrusted) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const HANDLE file =
        CreateFileW(self, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    // This test program is a real one, built without a signature.
    EXPECT_TRUE(isWindowsProgram(file));
    EXPECT_EQ(checkSetup(file, ZString(self), u"Doxly"), SetupVerdict::NotSigned);
    CloseHandle(file);

    const std::filesystem::path text = folder_.path("setup.exe");
    std::ofstream(text) << "not a program";
    const HANDLE other = CreateFileW(text.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(checkSetup(other, ZString(text.c_str()), u"Doxly"), SetupVerdict::NotAProgram);
    CloseHandle(other);
}

} // namespace
