// The real page, built and laid out as the installer's window shows it; the dump cases show the
// properties and places of a copy of it.
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

TEST_F(InstallerPageViews, BuildsEveryViewOfThePageWithTheBlanksBetweenTheModes) {
    EXPECT_EQ(outline(*page),
              "BodyView[BlockView[ImageView] "
              "ParagraphView#headline[TextView\"Doxly Creator Installation\"] "
              "BlockView#messageBox BlockView#licenseTextBox[TextAreaView#licenseText] "
              "BlockView#progressBarOuter[BlockView#downloadFile BlockView[ObjectView#progressBar] "
              "BlockView#downloadStatus] "
              "BlockView#installModeBox[InlineView[WordView\" \" RadioView TextView\" Express\"] "
              "TextView\" &nbsp;&nbsp;&nbsp; \" InlineView[RadioView TextView\" Custom\"]] "
              "BlockView[ButtonView#actionButton]]");

    const auto& modes = static_cast<const CompositeView&>(*page->getViewById(u"installModeBox"));
    EXPECT_EQ(outline(*modes.childAt(1)),
              "WordView\" \" WordView\"\xC2\xA0\xC2\xA0\xC2\xA0\" WordView\" \"");
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
        const Rect& r = view->getRect();
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= 800 && r.bottom <= 500)
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
