// The user's language and the program's own table. CTest also runs these once per locale
// (tests/app/CMakeLists.txt), naming the language that locale must give.
#include "app/Localisation.h"
#include "tests/ResourceFiles.h"
#include "tests/base/ZStringPrinter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

TEST(UserLocale, LanguageFollowsTheLocaleAndPicksTheProgramsTable) {
    const std::string language = toUtf8(userLanguage());
    EXPECT_TRUE(std::regex_match(language, std::regex("[a-z]{2,3}"))) << language;
    if (const char* expected = std::getenv("DOXLY_EXPECTED_LANGUAGE")) {
        EXPECT_EQ(language, expected);
    }
    TextTable table;
    loadTranslations(table);
    TextTable expected;
    parseTranslations(expected, resourceFileText("i18n.txt"), userLanguage());
    EXPECT_EQ(table, expected);
}
