// What a screen reader is told of a page: the items of the engine's elements with their roles,
// names, states and places, ids that never name another item, and the changes views announce.
#include "xhtml/views/AccessibleTree.h"
#include "tests/InstallerPage.h"
#include "tests/xhtml/views/ViewTesting.h"

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

using namespace xhtml;
using P = PropertyId;

namespace {

std::string roleName(AccessibleRole role) {
    switch (role) {
    case WindowRole:
        return "window";
    case LinkRole:
        return "link";
    case GraphicRole:
        return "graphic";
    case StaticTextRole:
        return "text";
    case PushButtonRole:
        return "button";
    case CheckButtonRole:
        return "check";
    case RadioButtonRole:
        return "radio";
    }
    return "?";
}

// One item as `role "name" states`, the states as letters: u(navailable) f(ocused) c(hecked)
// r(ead-only) F(ocusable) l(inked).
std::string describe(const AccessibleItem& item) {
    std::string out = roleName(item.role) + " \"" + toUtf8(item.name) + "\" ";
    const std::pair<uint32_t, char> letters[] = {{UnavailableState, 'u'}, {FocusedState, 'f'},
                                                 {CheckedState, 'c'},     {ReadOnlyState, 'r'},
                                                 {FocusableState, 'F'},   {LinkedState, 'l'}};
    for (const auto& [state, letter] : letters) {
        if (item.states & state)
            out += letter;
    }
    return out;
}

std::vector<std::string> describe(const AccessibleTree& tree) {
    std::vector<std::string> out;
    for (const AccessibleItem& item : tree.items())
        out.push_back(describe(item));
    return out;
}

using AccessibleTreeTest = ViewsTest;

TEST_F(AccessibleTreeTest, TheWelcomePageReadsAsItsTextsTheNamedRadiosAndTheButton) {
    const auto page = build(englishInstallerPage());
    TextTable texts;
    parseTranslations(texts, resourceFileText("i18n.txt"), u"en");
    // What the page controller does for the welcome state.
    page->getViewById(u"progressBarOuter")->changeProperty(P::Display, StyleValue::integer(0));
    static_cast<ButtonView*>(page->getViewById(u"actionButton"))->setValue(u"Install");
    static_cast<CompositeView*>(page->getViewById(u"messageBox"))
        ->setMarkup(translate(texts, u"startText"));
    layOut(*page);

    const AccessibleTree tree(*page, nullptr);
    // The licence's native control and the logo without a text are not here.
    EXPECT_EQ(describe(tree),
              (std::vector<std::string>{
                  "text \"Doxly Creator Installation\" r",
                  "text \"This installation program downloads the latest version of Doxly "
                  "Creator and installs it on your computer.\" r",
                  "radio \"Express\" cF", "radio \"Custom\" F", "button \"Install\" F"}));
    for (const AccessibleItem& item : tree.items()) {
        const Rect& r = item.rect;
        EXPECT_TRUE(!r.isEmpty() && r.left >= 0 && r.top >= 0 && r.right <= 800 && r.bottom <= 500)
            << describe(item) << ' ' << testing::PrintToString(r);
    }
    // A radio's place takes its glyph and the words that name it; a click lands on the glyph.
    const AccessibleItem& express = tree.items()[2];
    const Rect glyph = express.view->getRect();
    EXPECT_EQ(express.rect.left, glyph.left);
    EXPECT_GT(express.rect.right, glyph.right + 20);
    EXPECT_TRUE(glyph.contains(express.press));
    EXPECT_EQ(tree.itemAt({express.rect.right - 2, (glyph.top + glyph.bottom) / 2}), &express);
    EXPECT_EQ(tree.itemAt({1, 1}), nullptr);
}

TEST_F(AccessibleTreeTest, EachElementHasItsRoleNameAndStates) {
    const struct {
        const char16_t* markup;
        std::vector<std::string> items;
    } cases[] = {
        {u"<p>Hello <b>big</b>  world<br/>again&nbsp;&nbsp;</p><p> </p><div>Next</div>",
         {"text \"Hello big world again\" r", "text \"Next\" r"}},
        {u"<p>See <a href=\"x\">the <i>notes</i></a> first</p>",
         {"text \"See\" r", "link \"the notes\" Fl", "text \"first\" r"}},
        {u"<img alt=\"Logo\" width=\"5\" height=\"5\"/><img width=\"5\" height=\"5\"/>",
         {"graphic \"Logo\" r"}},
        // Named by the words after it, up to the next input or block; a title comes first.
        {u"<input type=\"checkbox\" checked/> Remember&nbsp;me <input type=\"radio\"/>One "
         u"<b>two</b><div>Block</div><input type=\"checkbox\" title=\"Agree\"/> terms",
         {"check \"Remember me\" cF", "radio \"One two\" F", "text \"Block\" r",
          "check \"Agree\" F", "text \"terms\" r"}},
        {u"<input type=\"button\" value=\"OK\"/><input type=\"button\" value=\"No\" "
         u"disabled=\"true\"/><div disabled=\"true\"><input type=\"radio\"/>Off</div>",
         {"button \"OK\" F", "button \"No\" u", "radio \"Off\" u"}},
        // What is not shown is left out with everything it holds.
        {u"<div style=\"display:none\"><input type=\"button\" value=\"A\"/>x</div>"
         u"<span style=\"visibility:hidden\">y</span><input type=\"hidden\" value=\"z\"/>z",
         {"text \"z\" r"}},
        // A file input is a text input (native, once it has its control) and its button.
        {u"<input type=\"file\"/>", {"button \"...\" F"}},
    };
    for (const auto& c : cases) {
        const auto root = layOut(c.markup);
        EXPECT_EQ(describe(AccessibleTree(*root, nullptr)), c.items) << toUtf8(c.markup);
    }
}

// A native control that only says which window it is.
class WindowOnly : public NativeControl {
public:
    Size size() const override { return {30, 10}; }
    void resize(Size) override {}
    void place(const Rect*) override {}
    ZString text() const override { return {}; }
    void setText(const ZString&) override {}
    void setFont(const Font&) override {}
    bool ownsWindow(const void* window) const override { return window == this; }
    bool isCursorOver() const override { return false; }
    void focus() override {}
    void setHorizontalScroll(bool) override {}
};

TEST_F(AccessibleTreeTest, NativeControlsAreWindowItemsOnceTheyHaveTheirControl) {
    const auto root = build(u"<textarea id=\"t\"></textarea><object id=\"o\"></object>"
                            u"<select id=\"s\"><option>a</option></select>");
    EXPECT_TRUE(AccessibleTree(*root, nullptr).items().empty());
    for (const char16_t* id : {u"t", u"s"})
        static_cast<ControlView*>(root->getViewById(id))
            ->setControl(std::make_unique<WindowOnly>());
    layOut(*root);
    const AccessibleTree tree(*root, nullptr);
    EXPECT_EQ(describe(tree), (std::vector<std::string>{"window \"\" F", "window \"\" F"}));
    EXPECT_EQ(tree.items()[1].view, root->getViewById(u"s"));
}

TEST_F(AccessibleTreeTest, FocusDefaultActionsAndThePlaceALinkIsPressed) {
    const auto root = layOut(u"<input id=\"c\" type=\"checkbox\"/>C<input type=\"radio\"/>R"
                             u"<input type=\"button\" value=\"B\"/><p>text <a href=\"x\">link "
                             u"words</a></p>");
    const View* check = root->getViewById(u"c");
    const AccessibleTree tree(*root, check);
    std::vector<std::string> actions;
    for (const AccessibleItem& item : tree.items()) {
        const char16_t* action = AccessibleTree::defaultAction(item);
        actions.push_back(action ? toUtf8(action) : "-");
    }
    EXPECT_EQ(actions, (std::vector<std::string>{"Check", "Check", "Press", "-", "Jump"}));
    EXPECT_EQ(describe(tree.items()[0]), "check \"C\" fF");
    static_cast<ToggleView*>(root->getViewById(u"c"))->setChecked(true, false);
    EXPECT_EQ(toUtf8(AccessibleTree::defaultAction(AccessibleTree(*root, nullptr).items()[0])),
              "Uncheck");

    // A link is pressed in its first word, where it surely takes the click.
    const AccessibleItem& link = tree.items()[4];
    std::vector<View*> words;
    link.view->collectViewsByKind(words, WordKind);
    ASSERT_EQ(words.size(), 3u);
    EXPECT_TRUE(words[0]->getRect().contains(link.press));
    EXPECT_EQ(link.rect.right, words[2]->getRect().right);
}

TEST_F(AccessibleTreeTest, IdsAreDistinctABlocksTextKeepsItsIdAndGoneItemsAreNotFound) {
    const auto root = layOut(u"<div id=\"status\">1 of 2</div><div id=\"mixed\">before "
                             u"<input type=\"button\" value=\"B\"/> after <a>l</a> end</div>");
    const auto ids = [&] {
        std::vector<int32_t> out;
        const AccessibleTree tree(*root, nullptr);
        for (const AccessibleItem& item : tree.items())
            out.push_back(item.id);
        return out;
    };
    const std::vector<int32_t> first = ids();
    ASSERT_EQ(first.size(), 6u);
    EXPECT_EQ(std::set<int32_t>(first.begin(), first.end()).size(), first.size());
    EXPECT_EQ(std::count(first.begin(), first.end(), 0), 0);
    EXPECT_EQ(first[0], root->getViewById(u"status")->serial());

    auto& status = static_cast<CompositeView&>(*root->getViewById(u"status"));
    status.setText(u"2 of 2");
    layOut(*root);
    const AccessibleTree changed(*root, nullptr);
    EXPECT_EQ(changed.items()[0].id, first[0]) << "the same text, changed";
    EXPECT_EQ(toUtf8(changed.find(first[0])->name), "2 of 2");

    // A new document: the old ids name nothing, even where views now live at the same places.
    root->setContent(u"<div>x</div><div>before <input type=\"button\" value=\"B\"/> after "
                     u"<a>l</a> end</div>",
                     nullptr);
    layOut(*root);
    const AccessibleTree rebuilt(*root, nullptr);
    for (int32_t id : first)
        EXPECT_EQ(rebuilt.find(id), nullptr) << id;
    EXPECT_EQ(rebuilt.items().size(), 6u);
}

// The root of a document as a frame is, recording what views announce as "Kind:id".
class AnnouncedFrame : public HtmlView {
public:
    explicit AnnouncedFrame(ViewContext* context) : HtmlView(context) { setKind(FrameKind); }
    void accessibleChange(AccessibleChange change, View& view) override {
        static const char* const names[] = {"Focus", "State", "Name", "Structure"};
        heard += heard.empty() ? "" : " ";
        heard += names[static_cast<int>(change)];
        heard += ':';
        heard += toUtf8(view.getId());
    }

    std::string heard;
};

TEST_F(AccessibleTreeTest, ViewsAnnounceCheckCaptionTextAndShownPartsOnlyWhenTheyChange) {
    AnnouncedFrame frame(&context);
    frame.setContent(u"<input id=\"c\" type=\"checkbox\"/><input id=\"r\" type=\"radio\" "
                     u"name=\"g\" value=\"1\"/><input id=\"b\" type=\"button\" value=\"Go\"/>"
                     u"<div id=\"t\">x</div><div id=\"m\"></div>",
                     nullptr);
    auto& check = static_cast<ToggleView&>(*frame.getViewById(u"c"));
    auto& button = static_cast<ButtonView&>(*frame.getViewById(u"b"));
    auto& text = static_cast<CompositeView&>(*frame.getViewById(u"t"));
    const struct {
        const char* what;
        std::function<void()> act;
        const char* heard;
    } steps[] = {
        {"checked", [&] { check.setChecked(true, false); }, "State:c"},
        {"checked again", [&] { check.setChecked(true, true); }, ""},
        {"a radio clicked", [&] { click(frame, *frame.getViewById(u"r")); }, "State:r"},
        {"a new caption", [&] { button.setValue(u"Stop"); }, "Name:b"},
        {"the same caption", [&] { button.setValue(u"Stop"); }, ""},
        {"a new text", [&] { text.setText(u"y"); }, "Name:t"},
        {"the same text", [&] { text.setText(u"y"); }, ""},
        {"hidden", [&] { text.setHidden(true); }, "Structure:t"},
        {"new markup",
         [&] { static_cast<CompositeView*>(frame.getViewById(u"m"))->setMarkup(u"<b>z</b>"); },
         "Structure:m"},
    };
    layOut(frame);
    for (const auto& step : steps) {
        frame.heard.clear();
        step.act();
        EXPECT_EQ(frame.heard, step.heard) << step.what;
    }
}

} // namespace
