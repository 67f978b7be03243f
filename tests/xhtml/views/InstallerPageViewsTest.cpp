// The real page, built and laid out as the installer's window shows it.
#include "tests/InstallerPage.h"
#include "tests/xhtml/views/ViewTesting.h"

#include <cstdlib>

using namespace xhtml;
using P = PropertyId;

namespace {

class InstallerPageViews : public ViewsTest {
protected:
    const std::unique_ptr<HtmlView> page = build(englishInstallerPage());
};

TEST_F(InstallerPageViews, BuildEveryPartOfThePage) {
    EXPECT_EQ(outline(*page),
              "BodyView[BlockView[ImageView] "
              "ParagraphView#headline[TextView\"Doxly Creator Installation\"] "
              "BlockView#messageBox BlockView#licenseTextBox[TextAreaView#licenseText] "
              "BlockView#progressBarOuter[BlockView#downloadFile BlockView[ObjectView#progressBar] "
              "BlockView#downloadStatus] "
              "BlockView#installModeBox[InlineView[WordView\" \" RadioView TextView\" Express\"] "
              "TextView\" &nbsp;&nbsp;&nbsp; \" InlineView[RadioView TextView\" Custom\"]] "
              "BlockView[ButtonView#actionButton]]");

    std::vector<View*> images, radios;
    page->collectViewsByKind(images, ImageKind);
    page->collectViewsByKind(radios, RadioKind);
    ASSERT_EQ(images.size(), 1u);
    ASSERT_EQ(radios.size(), 2u);
    const View* headline = page->getViewById(u"headline");
    const View* licence = page->getViewById(u"licenseText");
    const View* progress = page->getViewById(u"progressBar");
    const View* button = page->getViewById(u"actionButton");
    const auto integer = [](int value) { return StyleValue::integer(value); };
    const auto string = [](const char16_t* text) { return StyleValue::string(text); };
    const struct {
        const View* view;
        PropertyId id;
        StyleValue value;
    } cases[] = {
        {images[0], P::ImageSource, string(u"logo.png")},
        {images[0], P::Width, integer(50)},
        {images[0], P::Height, integer(50)},
        {headline, P::FontSize, integer(25)},
        {headline, P::FontWeight, integer(700)},
        {headline, P::MarginTop, integer(10)},
        {headline, P::MarginBottom, integer(0)},
        {licence, P::ReadOnly, StyleValue::boolean(true)},
        {licence, P::Value, string(u"")},
        {progress, P::Width, percent(90)},
        {progress, P::Height, integer(30)},
        {radios[0], P::Name, string(u"installMode")},
        {radios[0], P::Value, string(u"express")},
        {radios[0], P::Checked, StyleValue::boolean(true)},
        {radios[1], P::Name, string(u"installMode")},
        {radios[1], P::Value, string(u"custom")},
        {radios[1], P::Checked, StyleValue::boolean(false)},
        {button, P::InputType, string(u"button")},
        {button, P::Value, string(u"")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(own(*c.view, c.id), c.value)
            << viewKindName(c.view->getKind()) << ' ' << propertyName(c.id);
    const auto& modes = static_cast<const CompositeView&>(*page->getViewById(u"installModeBox"));
    EXPECT_EQ(wordsOf(*modes.childAt(1)),
              (std::vector<std::string>{" ", "\xC2\xA0\xC2\xA0\xC2\xA0", " "}));
}

bool inside(const Rect& r, const Rect& area) {
    return r.left >= area.left && r.top >= area.top && r.right <= area.right &&
           r.bottom <= area.bottom;
}

TEST_F(InstallerPageViews, TheWelcomePageFillsTheWindowWithItsContentCentred) {
    // The page controller hides the progress bar until a download starts.
    page->getViewById(u"progressBarOuter")->changeProperty(P::Display, StyleValue::integer(0));
    layOut(*page);

    const auto& body = static_cast<const BoxView&>(*page->childAt(0));
    EXPECT_EQ(body.getRect(), (Rect{0, 0, 800, 500}));
    EXPECT_TRUE(body.isLaidOut());

    // Everything that takes room on the screen: the boxes and the words.
    std::vector<View*> shown;
    page->collectViews(shown, [](View& v) {
        return v.isVisibleInTree() && v.getSize() != Size{} &&
               (v.getKind() == WordKind || dynamic_cast<BoxView*>(&v));
    });
    // 13 boxes and 12 words: the progress bar's are hidden, the dropped blank has no room.
    EXPECT_EQ(shown.size(), 25u);
    for (const View* view : shown) {
        EXPECT_TRUE(inside(view->getRect(), {0, 0, 800, 500}))
            << viewKindName(view->getKind()) << ' ' << testing::PrintToString(view->getRect());
    }

    std::vector<const View*> blocks;
    for (const View* child : body.getChildren()) {
        if (child->isDisplayed())
            blocks.push_back(child);
    }
    const Rect content = body.getContentRect();
    const int above = blocks.front()->getRect().top - content.top;
    const int below = content.bottom - blocks.back()->getRect().bottom;
    EXPECT_GT(above, 0);
    EXPECT_LE(std::abs(above - below), 1) << above << " above, " << below << " below";

    const View* button = page->getViewById(u"actionButton");
    const Rect line = static_cast<const BoxView*>(button->getParent())->getContentRect();
    const int left = button->getRect().left - line.left;
    const int right = line.right - button->getRect().right;
    EXPECT_GT(left, 0);
    EXPECT_LE(std::abs(left - right), 1) << left << " left, " << right << " right";
}

} // namespace
