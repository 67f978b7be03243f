// The real resources, compiled into this test program by the program's own resource script.
#include "base/BaseInstance.h"
#include "tests/ResourceFiles.h"
#include "tests/base/ZStringPrinter.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string utf8(const ZString& text) {
    return toUtf8(text);
}

std::string bytesOf(const BaseInstance& module, const char16_t* name) {
    const auto bytes = module.findDataResource(name);
    if (!bytes)
        return "<missing>";
    return std::string(reinterpret_cast<const char*>(bytes->data()), bytes->size());
}

bool moduleCodeRan() {
    return GetEnvironmentVariableW(L"DOXLY_RESOURCE_MODULE_RAN", nullptr, 0);
}

} // namespace

TEST(TextResource, AppendsTheWholeTableAndReturnsItsSize) {
    const std::string file = resourceFileBytes("i18n.txt");
    ZString out = u"before:";
    EXPECT_EQ(BaseInstance().loadTextResource(u"i18n.txt", out), static_cast<int>(file.size()));
    EXPECT_EQ(out, ZString(u"before:") + utf8Text(file));
    EXPECT_GT(out.find(0, u"de.close = Schließen"), 0);
}

TEST(TextResource, NamesIgnoreLetterCase) {
    const int size = static_cast<int>(resourceFileBytes("installer.xhtml").size());
    for (const char16_t* name : {u"installer.xhtml", u"INSTALLER.XHTML", u"Installer.Xhtml"}) {
        ZString out;
        EXPECT_EQ(BaseInstance().loadTextResource(name, out), size) << utf8(name);
        EXPECT_EQ(out, resourceFileText("installer.xhtml"));
    }
}

TEST(TextResource, LicenceKeepsItsByteOrderMark) {
    for (const char* name : {"license_English.txt", "license_German.txt"}) {
        const std::string file = resourceFileBytes(name);
        ZString out;
        EXPECT_EQ(BaseInstance().loadTextResource(utf8Text(name), out),
                  static_cast<int>(file.size()));
        EXPECT_EQ(out.getAt(0), u'\xFEFF') << name;
        EXPECT_EQ(out, utf8Text(file));
    }
}

TEST(TextResource, MissingResourceLeavesTheTextAlone) {
    ZString out = u"unchanged";
    EXPECT_EQ(BaseInstance().loadTextResource(u"missing.txt", out), -1);
    EXPECT_EQ(BaseInstance().loadTextResource(u"", out), -1);
    EXPECT_EQ(out, u"unchanged");
}

TEST(DataResource, LogoBytesAsInTheFile) {
    EXPECT_EQ(bytesOf(BaseInstance(), u"logo.png"), resourceFileBytes("logo.png"));
    EXPECT_EQ(bytesOf(BaseInstance(), u"logo.png").substr(1, 3), "PNG");
}

TEST(ProgramModule, IconAndFileName) {
    const BaseInstance program;
    EXPECT_EQ(program.getInstance(), GetModuleHandleW(nullptr));
    EXPECT_NE(program.loadIcon(100), nullptr);
    EXPECT_NE(program.loadIcon(100, 16, 16), nullptr);
    EXPECT_NE(program.loadIcon(100, 48, 48), nullptr);
    EXPECT_EQ(program.loadIcon(101), nullptr);
    EXPECT_EQ(program.loadBitmap(100), nullptr);
    EXPECT_EQ(program.loadMenu(100), nullptr);
    ZString name = program.getModuleFileName();
    EXPECT_TRUE(utf8(name.toLower()).ends_with("\\base_tests.exe")) << utf8(name);
}

TEST(LibraryModule, ResourcesAreReadWithoutRunningItsCode) {
    ASSERT_FALSE(moduleCodeRan());
    {
        const BaseInstance library(u"resource_module.dll");
        ASSERT_NE(library.getInstance(), nullptr);
        EXPECT_EQ(bytesOf(library, u"module.txt"), "read from the module");
        EXPECT_EQ(bytesOf(library, u"empty.txt"), "");
        ZString out = u"x";
        EXPECT_EQ(library.loadTextResource(u"empty.txt", out), 0);
        EXPECT_EQ(out, u"x");
        // The library's own resources only, never the program's.
        EXPECT_EQ(library.loadTextResource(u"i18n.txt", out), -1);
    }
    EXPECT_FALSE(moduleCodeRan());

    // The mark is real: loading the library as code leaves it.
    HMODULE loaded = LoadLibraryW(L"resource_module.dll");
    ASSERT_NE(loaded, nullptr);
    FreeLibrary(loaded);
    EXPECT_TRUE(moduleCodeRan());
}

TEST(LibraryModule, MissingLibraryGivesNoModule) {
    EXPECT_EQ(BaseInstance(u"no_such_module.dll").getInstance(), nullptr);
}

TEST(LibraryModule, ProgramFileAsLibrary) {
    const BaseInstance self(BaseInstance().getModuleFileName());
    ASSERT_NE(self.getInstance(), nullptr);
    EXPECT_EQ(bytesOf(self, u"I18N.TXT"), resourceFileBytes("i18n.txt"));
    EXPECT_NE(self.loadIcon(100, 32, 32), nullptr);
}
