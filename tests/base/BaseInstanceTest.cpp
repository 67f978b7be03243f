// The real resources, compiled into this test program by the program's own resource script.
#include "base/BaseInstance.h"
#include "tests/ResourceFiles.h"
#include "tests/base/ZStringPrinter.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

std::string bytesOf(const BaseInstance& module, const char16_t* name) {
    const auto bytes = module.findDataResource(name);
    return bytes ? std::string(reinterpret_cast<const char*>(bytes->data()), bytes->size())
                 : "<missing>";
}

bool moduleCodeRan() {
    return GetEnvironmentVariableW(L"DOXLY_RESOURCE_MODULE_RAN", nullptr, 0);
}

} // namespace

TEST(ProgramResources, TextIconAndFileName) {
    // Any letter case finds a resource.
    const std::pair<const char16_t*, const char*> resources[] = {
        {u"Installer.XHTML", "installer.xhtml"}, {u"license_German.txt", "license_German.txt"}};
    for (const auto& [name, file] : resources) {
        const std::string bytes = resourceFileBytes(file);
        ZString out = u"before:";
        EXPECT_EQ(BaseInstance().loadTextResource(name, out), static_cast<int>(bytes.size()))
            << file;
        EXPECT_EQ(out, ZString(u"before:") + utf8Text(bytes)) << file;
    }
    // The licence's byte-order mark stays in the text.
    const BaseInstance program;
    EXPECT_EQ(bytesOf(program, u"license_German.txt").substr(0, 3), "\xEF\xBB\xBF");
    ZString licence;
    program.loadTextResource(u"license_German.txt", licence);
    EXPECT_EQ(licence.mid(0, 1), u"\uFEFF");

    ZString out = u"unchanged";
    EXPECT_EQ(program.loadTextResource(u"missing.txt", out), -1);
    EXPECT_EQ(out, u"unchanged");
    EXPECT_NE(program.loadIcon(100, 16, 16), nullptr);
    EXPECT_EQ(program.loadIcon(101), nullptr);
    EXPECT_TRUE(toUtf8(program.getModuleFileName().toLower()).ends_with("\\base_tests.exe"));
}

TEST(LibraryResources, AreReadWithoutRunningTheLibrarysCode) {
    ASSERT_FALSE(moduleCodeRan());
    {
        const BaseInstance library(u"resource_module.dll");
        EXPECT_EQ(bytesOf(library, u"module.txt"), "read from the module");
        ZString out = u"x";
        EXPECT_EQ(library.loadTextResource(u"empty.txt", out), 0);
        EXPECT_EQ(out, u"x");
        // The library's own resources only, never the program's.
        EXPECT_EQ(library.loadTextResource(u"i18n.txt", out), -1);
    }
    EXPECT_FALSE(moduleCodeRan());
    // The mark is real: loading the library as code leaves it.
    FreeLibrary(LoadLibraryW(L"resource_module.dll"));
    EXPECT_TRUE(moduleCodeRan());

    EXPECT_EQ(BaseInstance(u"no_such_module.dll").getInstance(), nullptr);
    const BaseInstance self(BaseInstance().getModuleFileName());
    EXPECT_EQ(bytesOf(self, u"logo.png"), resourceFileBytes("logo.png"));
    EXPECT_NE(self.loadIcon(100, 32, 32), nullptr);
}
