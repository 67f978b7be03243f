// The real page, as the program reads it: placeholders replaced with the English texts of the
// real localisation table, then parsed.

#include "app/Localisation.h"
#include "tests/xhtml/document/TreeOutline.h"
#include "xhtml/document/EntityDecoder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

using namespace xhtml;

namespace {

ZString resourceText(const char* name) {
    std::ifstream file(std::string(DOXLY_RES_DIR "/") + name, std::ios::binary);
    EXPECT_TRUE(file) << "cannot read " << name;
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    const std::u16string text = fromUtf8(bytes.data(), static_cast<int>(bytes.size()));
    return ZString(text.data(), static_cast<int>(text.size()));
}

std::unique_ptr<HtmlTagNode> parsedPage() {
    TextTable table;
    parseTranslations(table, resourceText("i18n.txt"), u"en");
    return parseDocument(substitutePagePlaceholders(resourceText("installer.xhtml"), table));
}

std::vector<const HtmlTagNode*> elementChildren(const HtmlTagNode& parent) {
    std::vector<const HtmlTagNode*> elements;
    for (const auto& child : parent.children) {
        if (child->kind == HtmlNode::Element)
            elements.push_back(static_cast<const HtmlTagNode*>(child.get()));
    }
    return elements;
}

const HtmlTagNode* findById(const HtmlTagNode& element, const char16_t* id) {
    const ZString* own = getAttribute(&element, u"id");
    if (own != nullptr && own->equals(id))
        return &element;
    for (const HtmlTagNode* child : elementChildren(element)) {
        if (const HtmlTagNode* found = findById(*child, id))
            return found;
    }
    return nullptr;
}

// The element with the id; fails the test when there is none.
const HtmlTagNode& byId(const HtmlTagNode& root, const char16_t* id) {
    const HtmlTagNode* found = findById(root, id);
    if (found == nullptr)
        throw std::runtime_error("no element with id " + toUtf8(id));
    return *found;
}

bool onlyLineBreaksAndTabs(const HtmlNode& node) {
    if (node.kind != HtmlNode::Text)
        return false;
    const ZString& text = static_cast<const HtmlTextNode&>(node).text;
    for (int i = 0; i < text.length(); ++i) {
        if (text.getAt(i) != u'\r' && text.getAt(i) != u'\n' && text.getAt(i) != u'\t')
            return false;
    }
    return !text.isEmpty();
}

TEST(InstallerPage, RootHoldsBodyAndOneBlank) {
    const auto root = parsedPage();
    ASSERT_EQ(root->children.size(), 2u);
    EXPECT_EQ(elementChildren(*root).at(0)->name, u"body");
    EXPECT_EQ(outline(*root->children[1]), "\" \"");
}

TEST(InstallerPage, BodyAlternatesWhiteSpaceAndBlocks) {
    const auto root = parsedPage();
    const HtmlTagNode& body = *elementChildren(*root).at(0);
    EXPECT_EQ(*getAttribute(&body, u"style"),
              u"width:100%; -c-background-gradient: #FFF #EEE vertical; text-align:center; "
              u"color:#333; vertical-align-content:middle; padding:5px");
    std::string names;
    for (std::size_t i = 0; i < body.children.size(); ++i) {
        const HtmlNode& child = *body.children[i];
        if (i % 2 == 0) {
            EXPECT_TRUE(onlyLineBreaksAndTabs(child)) << "child " << i << ": " << outline(child);
        } else {
            ASSERT_EQ(child.kind, HtmlNode::Element) << "child " << i;
            names += toUtf8(static_cast<const HtmlTagNode&>(child).name) + ' ';
        }
    }
    EXPECT_EQ(names, "div h1 div div div div div ");
}

TEST(InstallerPage, LogoHeadlineAndMessageBox) {
    const auto root = parsedPage();
    const HtmlTagNode& body = *elementChildren(*root).at(0);
    EXPECT_EQ(outline(*elementChildren(body).at(0)), "div[img(src=logo.png,width=50,height=50)]");
    EXPECT_EQ(outline(byId(*root, u"headline")),
              "h1(id=headline,style=margin-bottom:0; margin-top:10px)[\"Doxly Creator "
              "Installation\"]");
    EXPECT_EQ(outline(byId(*root, u"messageBox")),
              "div(id=messageBox,style=max-width:90%; margin-top:20px)");
}

TEST(InstallerPage, LicenceTextAreaIsReadOnlyWithOneEmptyText) {
    const auto root = parsedPage();
    const HtmlTagNode& box = byId(*root, u"licenseTextBox");
    EXPECT_EQ(*getAttribute(&box, u"style"), u"margin-top:30px");
    EXPECT_EQ(outlineChildren(box), "textarea(id=licenseText,style=width:95%; height:150px; "
                                    "font-size:12px,readonly=)[\"\"]");
}

TEST(InstallerPage, ProgressAreaHoldsFileNameBarAndStatus) {
    const auto root = parsedPage();
    const HtmlTagNode& outer = byId(*root, u"progressBarOuter");
    EXPECT_EQ(*getAttribute(&outer, u"style"), u"margin-top:50px; margin-bottom:20px");
    const auto blocks = elementChildren(outer);
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(outline(*blocks[0]), "div(id=downloadFile,style=margin-bottom:5px)");
    EXPECT_EQ(outline(*blocks[1]), "div[object(id=progressBar,width=90%,height=30)]");
    EXPECT_EQ(outline(*blocks[2]), "div(id=downloadStatus,style=margin-top:5px)");
}

TEST(InstallerPage, InstallModesAreTwoRadioButtonsApart) {
    const auto root = parsedPage();
    const HtmlTagNode& box = byId(*root, u"installModeBox");
    EXPECT_EQ(*getAttribute(&box, u"style"), u"margin-top:30px");
    const auto spans = elementChildren(box);
    ASSERT_EQ(spans.size(), 2u);
    EXPECT_EQ(outline(*spans[0]),
              "span[input(type=radio,name=installMode,value=express,checked=) \" Express\"]");
    EXPECT_EQ(outline(*spans[1]),
              "span[input(type=radio,name=installMode,value=custom) \" Custom\"]");
    // Between them, three no-break spaces once the text view decodes the references.
    ASSERT_EQ(box.children.size(), 5u);
    ZString gap = static_cast<const HtmlTextNode&>(*box.children[2]).text;
    decodeEntities(gap);
    EXPECT_EQ(gap, u" \u00A0\u00A0\u00A0 ");
}

TEST(InstallerPage, ActionButtonIsTheLastBlock) {
    const auto root = parsedPage();
    const HtmlTagNode& last = *elementChildren(*elementChildren(*root).at(0)).back();
    EXPECT_EQ(outline(last), "div(style=margin-top:30px; font-size:15px; margin-bottom:10px;)"
                             "[input(id=actionButton,type=button)]");
}

} // namespace
