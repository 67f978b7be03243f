// The real page, as the program reads it: placeholders replaced with the English texts of the
// real localisation table, then parsed.

#include "tests/InstallerPage.h"
#include "tests/xhtml/document/TreeOutline.h"

#include <gtest/gtest.h>

using namespace xhtml;

TEST(InstallerPage, ParsesIntoTheTreeOfThePage) {
    const auto root = parseDocument(englishInstallerPage());
    EXPECT_EQ(
        outline(*root),
        "body(style=width:100%; -c-background-gradient: #FFF #EEE vertical; text-align:center; "
        "color:#333; vertical-align-content:middle; padding:5px)["
        "\"\r\n\t\" div[img(src=logo.png,width=50,height=50)] "
        "\"\r\n\t\" h1(id=headline,style=margin-bottom:0; margin-top:10px)"
        "[\"Doxly Creator Installation\"] "
        "\"\r\n\t\" div(id=messageBox,style=max-width:90%; margin-top:20px) "
        "\"\r\n\t\" div(id=licenseTextBox,style=margin-top:30px)[textarea(id=licenseText,"
        "style=width:95%; height:150px; font-size:12px,readonly=)[\"\"]] "
        "\"\r\n\t\" div(id=progressBarOuter,style=margin-top:50px; margin-bottom:20px)["
        "\"\r\n\t\t\" div(id=downloadFile,style=margin-bottom:5px) "
        "\"\r\n\t\t\" div[object(id=progressBar,width=90%,height=30)] "
        "\"\r\n\t\t\" div(id=downloadStatus,style=margin-top:5px) \"\r\n\t\"] "
        "\"\r\n\t\" div(id=installModeBox,style=margin-top:30px)["
        "\"\r\n\t\t\" span[input(type=radio,name=installMode,value=express,checked=) \" Express\"] "
        "\" &nbsp;&nbsp;&nbsp; \" "
        "span[input(type=radio,name=installMode,value=custom) \" Custom\"] \"\r\n\t\"] "
        "\"\r\n\t\" div(style=margin-top:30px; font-size:15px; margin-bottom:10px;)"
        "[input(id=actionButton,type=button)] \"\r\n\"] \" \"");
}
