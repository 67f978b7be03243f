// Loading by address from the real resources of this test program, another module beside it
// (resource_module.dll) and files in the temporary folder.
#include "xhtml/document/UrlLoader.h"

#include "tests/ResourceFiles.h"
#include "tests/base/ZStringPrinter.h"

#include <gtest/gtest.h>

#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

using namespace xhtml;

namespace {

std::string utf8(const ZString& text) {
    return toUtf8(text);
}

// The result and the bytes of one load into an empty buffer.
struct Loaded {
    int result;
    std::string bytes;
};

Loaded load(UrlLoader& loader, const char16_t* url) {
    ByteBuffer buffer;
    const int result = loader.load(url, buffer);
    return {result, std::string(reinterpret_cast<const char*>(buffer.data()), buffer.length())};
}

Loaded load(const char16_t* url) {
    UrlLoader loader(nullptr);
    return load(loader, url);
}

// A folder of the temporary folder for the files of one test, as a "file:///" address; the
// files are written with lower-case names, since the loader lower-cases the whole address.
class FileAddresses : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
        folder_ = ZString(temp) + u"doxly-url-loader";
        CreateDirectoryW(folder_.w_str(), nullptr);
    }
    void TearDown() override {
        for (const ZString& name : written_)
            DeleteFileW(name.w_str());
        RemoveDirectoryW(folder_.w_str());
    }

    void write(const char16_t* name, const std::string& bytes) {
        const ZString path = folder_ + u"\\" + name;
        std::ofstream(path.w_str(), std::ios::binary) << bytes;
        written_.push_back(path);
    }
    ZString address(const char16_t* name) const {
        ZString url = ZString(u"file:///") + folder_ + u"/" + name;
        return url.replaceChars(u"\\", u'/');
    }

    ZString folder_;
    std::vector<ZString> written_;
};

} // namespace

TEST(UrlLoaderResolve, RelativeReferencesAgainstTheBase) {
    UrlLoader loader(nullptr);
    EXPECT_EQ(loader.baseUrl(), u"res:///");
    EXPECT_EQ(loader.resolve(u"logo.png"), u"res:///logo.png");
    EXPECT_EQ(loader.resolve(u"RES:///Logo.PNG"), u"RES:///Logo.PNG");
    EXPECT_EQ(loader.resolve(u"res://other.dll/page.xhtml"), u"res://other.dll/page.xhtml");
    loader.setBaseUrl(u"file:///c:/x/page.xhtml");
    EXPECT_EQ(loader.resolve(u"pic.png"), u"file:///c:/x/pic.png");
    EXPECT_EQ(loader.resolve(u"../img/pic.png#top"), u"file:///c:/img/pic.png#top");
    EXPECT_THROW(loader.resolve(u"http://host:port/"), std::invalid_argument);
}

TEST(UrlLoaderResources, ProgramResourcesByAnyLetterCase) {
    const std::string logo = resourceFileBytes("logo.png");
    const std::string page = resourceFileBytes("installer.xhtml");
    for (const char16_t* url :
         {u"logo.png", u"res:///logo.png", u"RES:///LOGO.PNG", u"/logo.png"}) {
        const Loaded loaded = load(url);
        EXPECT_EQ(loaded.result, static_cast<int>(logo.size())) << utf8(url);
        EXPECT_TRUE(loaded.bytes == logo) << utf8(url);
    }
    EXPECT_EQ(load(u"RES:///INSTALLER.XHTML").bytes, page);
    EXPECT_EQ(load(u"installer.xhtml").bytes, page);
}

TEST(UrlLoaderResources, MissingResourceAppendsNothing) {
    UrlLoader loader(nullptr);
    ByteBuffer buffer;
    buffer.append("kept", 4);
    EXPECT_EQ(loader.load(u"res:///missing.txt", buffer), -1);
    EXPECT_EQ(loader.load(u"missing.txt", buffer), -1);
    EXPECT_EQ(loader.load(u"res:///", buffer), -1);
    EXPECT_EQ(std::string(buffer.text()), "kept");
}

TEST(UrlLoaderResources, OtherModules) {
    EXPECT_EQ(load(u"res://resource_module.dll/module.txt").bytes, "read from the module");
    EXPECT_EQ(load(u"res://RESOURCE_MODULE.DLL/Module.Txt").result, 20);
    EXPECT_EQ(load(u"res://resource_module.dll/empty.txt").result, 0);
    // Only that module's resources: neither a missing resource there nor a module that cannot
    // be found falls back to the program's own file.
    EXPECT_EQ(load(u"res://resource_module.dll/installer.xhtml").result, -1);
    EXPECT_EQ(load(u"res://no_such_module.dll/installer.xhtml").result, -1);
    // The program's own file named as a module.
    const std::string table = resourceFileBytes("i18n.txt");
    EXPECT_EQ(load(u"res://xhtml_document_tests.exe/i18n.txt").bytes, table);
}

TEST(UrlLoaderResources, MalformedPortIsAMissingResource) {
    UrlLoader loader(nullptr);
    ByteBuffer buffer;
    EXPECT_EQ(loader.load(u"res://resource_module.dll:x/module.txt", buffer), -1);
    EXPECT_EQ(loader.load(u"res://host:123456/logo.png", buffer), -1);
    EXPECT_EQ(loader.load(u"file://host:/c:/x.txt", buffer), -1);
    EXPECT_EQ(loader.load(u":x", buffer), -1);
    loader.setBaseUrl(u"res://broken:port/");
    EXPECT_EQ(loader.load(u"logo.png", buffer), -1);
    EXPECT_EQ(buffer.length(), 0);
}

TEST(UrlLoaderResources, OtherSchemesGiveNothing) {
    for (const char16_t* url : {u"http://localhost/logo.png", u"https://localhost/", u"ftp://x/y",
                                u"mailto://someone", u"about://blank"}) {
        const Loaded loaded = load(url);
        EXPECT_EQ(loaded.result, 0) << utf8(url);
        EXPECT_EQ(loaded.bytes, "") << utf8(url);
    }
}

TEST(UrlLoaderText, DecodesTheResourceOfTheAddress) {
    const std::string licence = resourceFileBytes("license_German.txt");
    ZString text = u"> ";
    EXPECT_EQ(UrlLoader::loadResourceText(u"res:///license_German.txt", text),
              static_cast<int>(licence.size()));
    EXPECT_EQ(text, ZString(u"> ") + utf8Text(licence));
    EXPECT_EQ(text.getAt(2), u'\xFEFF');

    ZString page;
    EXPECT_EQ(
        UrlLoader::loadResourceText(u"res:///installer.xhtml", page, GetModuleHandleW(nullptr)),
        static_cast<int>(resourceFileBytes("installer.xhtml").size()));
    EXPECT_EQ(page, resourceFileText("installer.xhtml"));

    ZString module;
    EXPECT_EQ(UrlLoader::loadResourceText(u"res://resource_module.dll/module.txt", module), 20);
    EXPECT_EQ(module, u"read from the module");
}

TEST(UrlLoaderText, MissingOrMalformedGivesMinusOne) {
    ZString text = u"kept";
    EXPECT_EQ(UrlLoader::loadResourceText(u"res:///missing.txt", text), -1);
    EXPECT_EQ(UrlLoader::loadResourceText(u"res://no_such_module.dll/i18n.txt", text), -1);
    EXPECT_EQ(UrlLoader::loadResourceText(u"res://resource_module.dll/i18n.txt", text), -1);
    EXPECT_EQ(UrlLoader::loadResourceText(u"res://x:/i18n.txt", text), -1);
    EXPECT_EQ(text, u"kept");
}

TEST_F(FileAddresses, ReadsWholeFilesInBlocks) {
    std::string bytes;
    for (int i = 0; i < 5000; ++i)
        bytes += static_cast<char>(i * 7);
    write(u"blocks.bin", bytes);
    write(u"empty.bin", "");
    const Loaded loaded = load(address(u"blocks.bin").c_str());
    EXPECT_EQ(loaded.result, 5000);
    EXPECT_TRUE(loaded.bytes == bytes);
    EXPECT_EQ(load(address(u"empty.bin").c_str()).result, 0);
}

TEST_F(FileAddresses, MissingFileOrFolderGivesZero) {
    const Loaded missing = load(address(u"missing.bin").c_str());
    EXPECT_EQ(missing.result, 0);
    EXPECT_EQ(missing.bytes, "");
    EXPECT_EQ(load(address(u"").c_str()).result, 0);
}

TEST_F(FileAddresses, RelativeReferencesAgainstAFileBase) {
    write(u"pic.png", "picture");
    write(u"page.xhtml", "<p/>");
    UrlLoader loader(nullptr, address(u"page.xhtml"));
    EXPECT_EQ(load(loader, u"pic.png").bytes, "picture");
    EXPECT_EQ(load(loader, u"./PIC.PNG").bytes, "picture");
    EXPECT_EQ(load(loader, u"../doxly-url-loader/pic.png").bytes, "picture");
    EXPECT_EQ(load(loader, u"").bytes, "<p/>");
    // A "res:" address in a file document still names the program's resources.
    EXPECT_EQ(load(loader, u"res:///logo.png").result,
              static_cast<int>(resourceFileBytes("logo.png").size()));
}
