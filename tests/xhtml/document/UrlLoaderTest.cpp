// Loading by address from files in a folder of the temporary one and, on Windows, from the real
// resources of this test program and another module beside it (resource_module.dll).
#include "xhtml/document/UrlLoader.h"

#include "tests/ResourceFiles.h"
#include "tests/TemporaryFolder.h"
#include "tests/base/ZStringPrinter.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

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

// Loads that fail append nothing.
void expectNothing(const ZString& url, int result, const ZString& base = u"res:///") {
    const Loaded loaded = load(url, base);
    EXPECT_EQ(loaded.result, result) << toUtf8(url);
    EXPECT_EQ(loaded.bytes, "") << toUtf8(url);
}

TEST(UrlLoader, FilesInBlocksByAddressOrRelativeToAFileBaseWithTheirCaseKept) {
    const TemporaryFolder folder;
    std::string bytes;
    for (int i = 0; i < 5000; ++i)
        bytes += static_cast<char>(i * 7);
    std::ofstream(folder.path("Blocks.bin"), std::ios::binary) << bytes;
    const ZString page = fileUrl(folder.path("Page.xhtml"));

    // Two whole blocks and a part of a third.
    for (const ZString& url : {fileUrl(folder.path("Blocks.bin")), ZString(u"Blocks.bin")}) {
        const Loaded loaded = load(url, page);
        EXPECT_EQ(loaded.result, 5000) << toUtf8(url);
        EXPECT_TRUE(loaded.bytes == bytes) << toUtf8(url);
    }
    // Neither a missing file nor a folder can be read.
    expectNothing(u"missing.bin", 0, page);
    expectNothing(u"../Mixed-Case", 0, page);
}

TEST(UrlLoader, OtherSchemesGiveNothingAndAMalformedPortMinusOne) {
    expectNothing(u"http://localhost/logo.png", 0);
    expectNothing(u"http://localhost:x/logo.png", -1);
    EXPECT_EQ(UrlLoader(nullptr).resolve(u"http://localhost:x/logo.png"),
              u"http://localhost:x/logo.png");
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
    // A module without the file, or none at all, does not fall back to the program's.
    expectNothing(u"res://resource_module.dll/installer.xhtml", -1);
    expectNothing(u"res://no_such_module.dll/installer.xhtml", -1);
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
    expectNothing(u"logo.png", -1);
}
#endif

} // namespace
