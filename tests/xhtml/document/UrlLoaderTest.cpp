// Loading by address from files in a folder of the temporary one and, on Windows, from the real
// resources of this test program and another module beside it (resource_module.dll).
#include "xhtml/document/UrlLoader.h"

#include "tests/ResourceFiles.h"
#include "tests/base/ZStringPrinter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>
#include <utility>

using namespace xhtml;

namespace {

// The result of one load into a buffer that already holds "kept", and the bytes it appended.
struct Loaded {
    int result;
    std::string bytes;
};

Loaded load(const ZString& url, const ZString& base = u"res:///") {
    UrlLoader loader(nullptr, base);
    ByteBuffer buffer;
    buffer.append("kept", 4);
    const int result = loader.load(url, buffer);
    return {result,
            std::string(reinterpret_cast<const char*>(buffer.data()), buffer.length()).substr(4)};
}

// "file://" and the path with forward slashes; a Windows path has no leading slash, so a third
// one goes before its drive.
ZString fileUrl(const std::filesystem::path& path) {
    const std::u16string generic = path.generic_u16string();
    const ZString local(generic.c_str(), static_cast<int>(generic.size()));
    return ZString(local.startsWith(u'/') ? u"file://" : u"file:///") + local;
}

// A folder of its own, removed with everything in it, so parallel runs do not meet; upper-case
// letters in its path catch a loader that changes the case of what it reads.
class TemporaryFolder {
public:
    TemporaryFolder()
        : root_(std::filesystem::temp_directory_path() /
                ("Doxly-UrlLoader-" + std::to_string(std::random_device()()))) {
        std::filesystem::create_directories(root_ / "Mixed-Case");
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    // A folder left behind must not end the whole run from a destructor.
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

    std::filesystem::path path(const char* name) const { return root_ / "Mixed-Case" / name; }

private:
    std::filesystem::path root_;
};

TEST(UrlLoader, FilesInBlocksByAddressOrRelativeToAFileBaseWithTheirCaseKept) {
    const TemporaryFolder folder;
    std::string bytes;
    for (int i = 0; i < 5000; ++i)
        bytes += static_cast<char>(i * 7);
    std::ofstream(folder.path("Blocks.bin"), std::ios::binary) << bytes;
    const ZString page = fileUrl(folder.path("Page.xhtml"));

    // Two whole blocks and a part of a third.
    const ZString urls[] = {fileUrl(folder.path("Blocks.bin")), u"Blocks.bin",
                            u"./../Mixed-Case/Blocks.bin"};
    for (const ZString& url : urls) {
        const Loaded loaded = load(url, page);
        EXPECT_EQ(loaded.result, 5000) << toUtf8(url);
        EXPECT_TRUE(loaded.bytes == bytes) << toUtf8(url);
    }
    // Neither a missing file nor a folder can be read.
    for (const char16_t* url : {u"missing.bin", u"../Mixed-Case"}) {
        const Loaded loaded = load(url, page);
        EXPECT_EQ(loaded.result, 0) << toUtf8(url);
        EXPECT_EQ(loaded.bytes, "") << toUtf8(url);
    }
}

TEST(UrlLoader, OtherSchemesGiveNothingAndAMalformedPortMinusOne) {
    const std::pair<const char16_t*, int> cases[] = {{u"http://localhost/logo.png", 0},
                                                     {u"http://localhost:x/logo.png", -1}};
    for (const auto& [url, result] : cases) {
        const Loaded loaded = load(url);
        EXPECT_EQ(loaded.result, result) << toUtf8(url);
        EXPECT_EQ(loaded.bytes, "") << toUtf8(url);
    }
}

#ifdef _WIN32
TEST(UrlLoader, ResourcesOfTheProgramOrOfANamedModuleOnly) {
    const std::string logo = resourceFileBytes("logo.png");
    for (const char16_t* url : {u"logo.png", u"RES:///LOGO.PNG"}) {
        const Loaded loaded = load(url);
        EXPECT_EQ(loaded.result, static_cast<int>(logo.size())) << toUtf8(url);
        EXPECT_TRUE(loaded.bytes == logo) << toUtf8(url);
    }
    EXPECT_EQ(load(u"res://RESOURCE_MODULE.DLL/Module.Txt").bytes, "read from the module");
    EXPECT_EQ(load(u"res://resource_module.dll/empty.txt").result, 0);
    // Missing resources, modules without the file (no fall-back to the program's) and malformed
    // ports give -1 and append nothing.
    for (const char16_t* url :
         {u"res:///missing.txt", u"res://resource_module.dll/installer.xhtml",
          u"res://no_such_module.dll/installer.xhtml", u"res://resource_module.dll:x/module.txt"}) {
        const Loaded loaded = load(url);
        EXPECT_EQ(loaded.result, -1) << toUtf8(url);
        EXPECT_EQ(loaded.bytes, "") << toUtf8(url);
    }
}

TEST(UrlLoader, ResourceTextIsAppendedDecoded) {
    ZString text = u"> ";
    EXPECT_EQ(UrlLoader::loadResourceText(u"res:///license_German.txt", text),
              static_cast<int>(resourceFileBytes("license_German.txt").size()));
    EXPECT_EQ(text, ZString(u"> ") + resourceFileText("license_German.txt"));
    for (const char16_t* url : {u"res://no_such_module.dll/i18n.txt",
                                u"res://resource_module.dll/i18n.txt", u"res://x:/i18n.txt"})
        EXPECT_EQ(UrlLoader::loadResourceText(url, text), -1) << toUtf8(url);
}
#else
TEST(UrlLoader, ResourcesAreMissingNatively) {
    for (const char16_t* url : {u"logo.png", u"res://resource_module.dll/module.txt"}) {
        const Loaded loaded = load(url);
        EXPECT_EQ(loaded.result, -1) << toUtf8(url);
        EXPECT_EQ(loaded.bytes, "") << toUtf8(url);
    }
}
#endif

} // namespace
