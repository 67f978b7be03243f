#include "app/Localisation.h"
#include "tests/ResourceFiles.h"
#include "tests/base/ZStringPrinter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>

namespace {

TextTable parsed(const ZString& text, const ZString& language) {
    TextTable table;
    parseTranslations(table, text, language);
    return table;
}

TextTable realTable(const ZString& language) {
    return parsed(resourceFileText("i18n.txt"), language);
}

// "key=text" lines in table order, so a whole table compares in one expectation.
std::string listed(const TextTable& table) {
    std::string out;
    for (const auto& [key, text] : table)
        out += toUtf8(key) + "=" + toUtf8(text) + "\n";
    return out;
}

std::string listed(const char* text, const char16_t* language) {
    return listed(parsed(utf8Text(text), language));
}

} // namespace

TEST(RealTranslations, UserLanguageOrTheFirstEnglishLines) {
    const TextTable german = realTable(u"de");
    EXPECT_EQ(toUtf8(german.at(u"close")), "Schließen");
    EXPECT_EQ(toUtf8(german.at(u"startingInstallation")), "Die Installation wird gestartet...");
    EXPECT_EQ(toUtf8(realTable(u"fr").at(u"errorWhileDownloading")),
              "Une erreur s’est produite pendant le téléchargement.");
    // English has two lines for one key: its own users read the last, everyone else the first.
    TextTable english = realTable(u"en");
    EXPECT_EQ(toUtf8(english.at(u"startingInstallation")), "The installation is starting...");
    english[u"startingInstallation"] = u"The installation is started...";
    // Swedish has no lines; a three-letter code must not shift the keys of the English lines.
    for (const char16_t* language : {u"sv", u"fil", u""})
        EXPECT_EQ(listed(realTable(language)), listed(english)) << toUtf8(language);
}

// Precedence, letter case, malformed lines and the four filters are in the xhtml-dump cases.
TEST(TranslationLines, LanguageIsThePrefixUpToTheDotAndBlanksAroundTheTextGo) {
    EXPECT_EQ(listed("en.c\t=\t three \t\r\nenglish = x\r\nen.empty =\r\n  en.indented = kept\r\n"
                     "en.two words = kept\r\n",
                     u"en"),
              "c=three\nempty=\nindented=kept\ntwo words=kept\n");
    EXPECT_EQ(listed("deu.c = deu\nd.e = d\nde.a = de\n", u"de"), "a=de\n");

    TextTable table = parsed(u"en.install = Install", u"en");
    EXPECT_EQ(toUtf8(translate(table, u"install") + translate(table, u"nothing")), "Install");
    EXPECT_EQ(listed(table), "install=Install\nnothing=\n") << "a missing key is added empty";
}

// Known keys, unknown ones and an unclosed one at the end are in the xhtml-dump page case.
TEST(Placeholders, ReplacedOnceWhereClosedUnclosedOnesKept) {
    const TextTable sample = {{u"a", u"A"}, {u"self", u"{lang/self}"}};
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {"{lang/{lang/a}}", "{lang/{lang/a}}"},
        {"x {lang/a and {lang/a} {lang/a}", "x {lang/a and {lang/a} A"},
        {"{lang/self}{lang/a}", "{lang/self}A"}};
    // clang-format on
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(toUtf8(substitutePlaceholders(utf8Text(text), u"{lang/", sample, keepText)),
                  expected);
}

TEST(Placeholders, RealPageHasNoneLeftAfterThePagePasses) {
    const ZString german =
        substitutePagePlaceholders(resourceFileText("installer.xhtml"), realTable(u"de"));
    EXPECT_EQ(german.find(0, u"{lang"), -1) << toUtf8(german);
    EXPECT_NE(german.find(0, u"Benutzerdefiniert"), -1);
}

#ifdef _WIN32
// CTest runs this once per locale (tests/app/CMakeLists.txt), naming the language that locale must
// give; the run of all cases knows no locale and skips it.
TEST(UserLocale, LanguageFollowsTheLocaleAndPicksTheProgramsTable) {
    const char* expected = std::getenv("DOXLY_EXPECTED_LANGUAGE");
    if (!expected)
        GTEST_SKIP() << "no locale named";
    EXPECT_EQ(toUtf8(userLanguage()), expected);
    TextTable table;
    loadTranslations(table);
    EXPECT_EQ(listed(table), listed(realTable(utf8Text(expected))));
}
#endif
