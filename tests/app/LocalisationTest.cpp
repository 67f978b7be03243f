#include "app/Localisation.h"
#include "tests/ResourceFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string utf8(const ZString& text) {
    return toUtf8(text);
}

TextTable parsed(const char* text, const char16_t* language) {
    TextTable table;
    parseTranslations(table, utf8Text(text), language);
    return table;
}

TextTable realTable(const char16_t* language) {
    TextTable table;
    parseTranslations(table, resourceFileText("i18n.txt"), language);
    return table;
}

// "key=text" lines in table order, so a whole table compares in one expectation.
std::string listed(const TextTable& table) {
    std::string out;
    for (const auto& [key, text] : table)
        out += utf8(key) + "=" + utf8(text) + "\n";
    return out;
}

std::string at(const TextTable& table, const char16_t* key) {
    const auto entry = table.find(key);
    return entry == table.end() ? "<missing>" : utf8(entry->second);
}

const char* const englishTable = "cancel=Cancel\n"
                                 "close=Close\n"
                                 "custom=Custom\n"
                                 "errorWhileDownloading=An error occurred while downloading.\n"
                                 "express=Express\n"
                                 "headline=Doxly Creator Installation\n"
                                 "install=Install\n"
                                 "startInstall=Start installation\n"
                                 "startText=This installation program downloads the latest "
                                 "version of Doxly Creator and installs it on your computer.\n"
                                 "startingInstallation=The installation is starting...\n"
                                 "tryAgain=Try again\n";

std::string withFirstStartingLine(std::string table) {
    const std::string last = "The installation is starting...";
    table.replace(table.find(last), last.size(), "The installation is started...");
    return table;
}

} // namespace

TEST(RealTranslations, EnglishUserReadsTheLastOfHisLines) {
    EXPECT_EQ(listed(realTable(u"en")), englishTable);
}

TEST(RealTranslations, GermanUserReadsGerman) {
    EXPECT_EQ(listed(realTable(u"de")),
              "cancel=Abbrechen\n"
              "close=Schließen\n"
              "custom=Benutzerdefiniert\n"
              "errorWhileDownloading=Beim Herunterladen ist ein Fehler aufgetreten.\n"
              "express=Express\n"
              "headline=Doxly Creator Installation\n"
              "install=Installieren\n"
              "startInstall=Installation starten\n"
              "startText=Dieses Installationsprogramm lädt die neueste Version von Doxly "
              "Creator herunter und installiert sie auf Ihrem Computer.\n"
              "startingInstallation=Die Installation wird gestartet...\n"
              "tryAgain=Erneut versuchen\n");
}

TEST(RealTranslations, FrenchUserReadsFrench) {
    const TextTable table = realTable(u"fr");
    EXPECT_EQ(table.size(), 11u);
    EXPECT_EQ(at(table, u"install"), "Installer");
    EXPECT_EQ(at(table, u"custom"), "Personnalisée");
    EXPECT_EQ(at(table, u"startingInstallation"), "Lancement de l’installation...");
    EXPECT_EQ(at(table, u"errorWhileDownloading"),
              "Une erreur s’est produite pendant le téléchargement.");
}

TEST(RealTranslations, LanguagesWithoutLinesReadTheFirstEnglishLines) {
    // Swedish has no lines; a three-letter code must not shift the keys of the English lines.
    EXPECT_EQ(listed(realTable(u"sv")), withFirstStartingLine(englishTable));
    EXPECT_EQ(listed(realTable(u"fil")), withFirstStartingLine(englishTable));
    EXPECT_EQ(listed(realTable(u"")), withFirstStartingLine(englishTable));
}

TEST(RealTranslations, EveryLanguageTranslatesEveryKey) {
    const TextTable english = realTable(u"en");
    for (const char16_t* language : {u"de", u"es", u"fr", u"it", u"pt", u"ru", u"uk", u"ja", u"zh",
                                     u"id", u"vi", u"pl", u"th", u"ko", u"ro", u"nl"}) {
        SCOPED_TRACE(utf8(language));
        const TextTable table = realTable(language);
        ASSERT_EQ(table.size(), english.size());
        for (const auto& [key, text] : table) {
            EXPECT_TRUE(english.count(key)) << utf8(key);
            EXPECT_FALSE(text.isEmpty()) << utf8(key);
        }
        // Not a single English fall-back: the language has lines of its own.
        EXPECT_NE(at(table, u"startText"), at(english, u"startText"));
    }
    EXPECT_EQ(at(realTable(u"ja"), u"install"), "インストール");
}

TEST(TranslationLines, BlanksAroundTheEqualsSignDoNotMatter) {
    EXPECT_EQ(listed(parsed("en.a=one\r\nen.b = two\nen.c\t=\t three \t\r\n", u"en")),
              "a=one\nb=two\nc=three\n");
}

TEST(TranslationLines, TextKeepsEverythingAfterTheFirstEqualsSign) {
    EXPECT_EQ(listed(parsed("en.formula = a = b == c", u"en")), "formula=a = b == c\n");
}

TEST(TranslationLines, MalformedLinesAreIgnored) {
    EXPECT_EQ(listed(parsed("en.noEquals\r\n"
                            "en. = empty key\r\n"
                            "en.=also empty\r\n"
                            "\r\n   \r\n"
                            "EN.upper = x\r\n"
                            "english = x\r\n"
                            "en.empty =\r\n"
                            "  en.indented = kept\r\n"
                            "en.two words = kept\r\n",
                            u"en")),
              "empty=\nindented=kept\ntwo words=kept\n");
}

TEST(TranslationLines, OnlyTheExactLanguagePrefixCounts) {
    EXPECT_EQ(listed(parsed("de.a = de\nDE.b = DE\ndeu.c = deu\nd.e = d\nfr.f = fr\n", u"de")),
              "a=de\n");
}

TEST(TranslationPrecedence, UserLanguageWinsInAnyOrder) {
    EXPECT_EQ(listed(parsed("de.k = de1\nen.k = en1\nen.k = en2\nde.k = de2\nen.m = en\n", u"de")),
              "k=de2\nm=en\n");
}

TEST(TranslationPrecedence, FirstEnglishLineWinsForOtherLanguages) {
    EXPECT_EQ(listed(parsed("en.k = first\nen.k = second\n", u"sv")), "k=first\n");
    EXPECT_EQ(listed(parsed("en.k = first\nen.k = second\n", u"en")), "k=second\n");
}

TEST(TranslationPrecedence, ThreeLetterLanguageKeepsItsKeys) {
    EXPECT_EQ(listed(parsed("en.install = Install\nen.cancel = Cancel\nfil.cancel = Kanselahin\n",
                            u"fil")),
              "cancel=Kanselahin\ninstall=Install\n");
}

TEST(Translate, MissingKeyIsAddedEmpty) {
    TextTable table = parsed("en.install = Install", u"en");
    EXPECT_EQ(utf8(translate(table, u"install")), "Install");
    EXPECT_EQ(utf8(translate(table, u"nothing")), "");
    EXPECT_EQ(listed(table), "install=Install\nnothing=\n");
}

namespace {

const TextTable sample = {{u"a", u"A"}, {u"quote", u"it's \"x\" & <y>"}, {u"self", u"{lang/self}"}};

std::string substituted(const char* text, const char16_t* prefix = u"{lang/",
                        TextFilter filter = keepText) {
    return utf8(substitutePlaceholders(utf8Text(text), prefix, sample, filter));
}

} // namespace

TEST(Placeholders, KnownKeysAreReplacedUnknownOnesKept) {
    EXPECT_EQ(substituted("<h1>{lang/a}</h1>{lang/a}{lang/b} {lang/ a}!"),
              "<h1>A</h1>A{lang/b} {lang/ a}!");
    EXPECT_EQ(substituted("no placeholder {lang-esq/a}"), "no placeholder {lang-esq/a}");
    EXPECT_EQ(substituted(""), "");
}

TEST(Placeholders, UnclosedPlaceholders) {
    EXPECT_EQ(substituted("x {lang/a and more {lang/a"), "x {lang/a and more {lang/a");
    EXPECT_EQ(substituted("{lang/a} then {lang/a"), "A then {lang/a");
}

TEST(Placeholders, KeyMayHoldAnotherPrefix) {
    EXPECT_EQ(substituted("{lang/{lang/a}"), "{lang/{lang/a}");
    EXPECT_EQ(substituted("x {lang/a and {lang/a} {lang/a}"), "x {lang/a and {lang/a} A");
    EXPECT_EQ(substituted("{lang/{lang/a}}"), "{lang/{lang/a}}");
}

TEST(Placeholders, InsertedTextIsNotSearchedAgain) {
    EXPECT_EQ(substituted("{lang/self}{lang/a}"), "{lang/self}A");
}

TEST(Placeholders, Filters) {
    EXPECT_EQ(utf8(escapeSingleQuotes(u"it's 'x'")), "it\\'s \\'x\\'");
    EXPECT_EQ(utf8(escapeDoubleQuotes(u"say \"hi\"")), "say \\\"hi\\\"");
    EXPECT_EQ(utf8(escapeHtml(u"a&b<'\">&amp;")), "a&amp;b&lt;&apos;&quot;&gt;&amp;amp;");
}

TEST(Placeholders, PagePassesUseTheirFilters) {
    EXPECT_EQ(
        utf8(substitutePagePlaceholders(
            u"[{lang/quote}] [{lang-esq/quote}] [{lang-edq/quote}] [{lang-hsc/quote}]", sample)),
        "[it's \"x\" & <y>] [it\\'s \"x\" & <y>] [it's \\\"x\\\" & <y>] "
        "[it&apos;s &quot;x&quot; &amp; &lt;y&gt;]");
}

TEST(Placeholders, RealPageHasNoPlaceholderLeftForAnyLanguage) {
    const ZString page = resourceFileText("installer.xhtml");
    const ZString german = substitutePagePlaceholders(page, realTable(u"de"));
    EXPECT_EQ(german.find(0, u"{lang"), -1) << utf8(german);
    EXPECT_NE(german.find(0, u"Benutzerdefiniert"), -1);
    EXPECT_EQ(substitutePagePlaceholders(page, TextTable()), page);
}
