// The user's language and the program's own table. CTest also runs these once per locale
// (tests/app/CMakeLists.txt), naming the language that locale must give.
#include "app/Localisation.h"
#include "tests/ResourceFiles.h"
#include "tests/base/ZStringPrinter.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

bool isLanguageName(const ZString& language) {
    if (language.length() < 2 || language.length() > 3)
        return false;
    for (int i = 0; i < language.length(); ++i) {
        if (language.getAt(i) < u'a' || language.getAt(i) > u'z')
            return false;
    }
    return true;
}

} // namespace

TEST(UserLocale, TableIsTheProgramsOwnForTheUserLanguage) {
    const ZString language = userLanguage();
    EXPECT_TRUE(isLanguageName(language)) << toUtf8(language);
    TextTable table;
    loadTranslations(table);
    TextTable expected;
    parseTranslations(expected, resourceFileText("i18n.txt"), language);
    EXPECT_EQ(table, expected);
    EXPECT_EQ(table.size(), 11u);
}

TEST(UserLocale, LanguageFollowsTheLocale) {
    const char* expected = std::getenv("DOXLY_EXPECTED_LANGUAGE");
    if (!expected)
        GTEST_SKIP() << "run by CTest with a locale";
    EXPECT_EQ(toUtf8(userLanguage()), expected);
}
