#pragma once

#include "app/Localisation.h"
#include "tests/ResourceFiles.h"

// The page as the program shows it in English: the placeholders of res/installer.xhtml replaced
// with the texts of the real localisation table.
inline ZString englishInstallerPage() {
    TextTable table;
    parseTranslations(table, resourceFileText("i18n.txt"), u"en");
    return substitutePagePlaceholders(resourceFileText("installer.xhtml"), table);
}
