#include "app/Localisation.h"

#include "base/BaseInstance.h"

#include <windows.h>

ZString userLanguage() {
    ZString language = u"en";
    wchar_t name[64];
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SISO639LANGNAME, name, 64) != 0)
        language = name;
    language.toLower();
    return language;
}

void loadTranslations(TextTable& table) {
    ZString text;
    BaseInstance().loadTextResource(u"i18n.txt", text);
    parseTranslations(table, text, userLanguage());
}
