// Loading by address from the real resources of this test program, another module beside it
// (resource_module.dll) and files in the temporary folder.
#include "xhtml/document/UrlLoader.h"

#include "tests/ResourceFiles.h"
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
    EXPECT_EQ(load(u"http://localhost/logo.png").result, 0);
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

TEST(UrlLoader, FilesByAddressAndRelativeToAFileBase) {
    // The loader lower-cases the whole address, so the names are lower case.
    wchar_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    const ZString folder = ZString(temp) + u"doxly-url-loader";
    CreateDirectoryW(folder.w_str(), nullptr);
    std::string bytes;
    for (int i = 0; i < 5000; ++i)
        bytes += static_cast<char>(i * 7);
    std::ofstream((folder + u"\\blocks.bin").w_str(), std::ios::binary) << bytes;
    const ZString folderUrl = (ZString(u"file:///") + folder + u"/").replaceChars(u"\\", u'/');

    const Loaded loaded = load(folderUrl + u"blocks.bin");
    EXPECT_EQ(loaded.result, 5000);
    EXPECT_TRUE(loaded.bytes == bytes);
    const ZString page = folderUrl + u"page.xhtml";
    EXPECT_EQ(load(u"./BLOCKS.BIN", page).result, 5000);
    EXPECT_EQ(load(u"missing.bin", page).result, 0);
    DeleteFileW((folder + u"\\blocks.bin").w_str());
    RemoveDirectoryW(folder.w_str());
}

} // namespace
