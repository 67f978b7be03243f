// The document's keyboard focus and keys, as in a dialog: the Tab order over every kind of view
// that takes the focus, what Enter, Space, Escape and the arrows do to the focused view, and
// where the focus goes when its view is hidden or deleted.
#include "tests/xhtml/views/ViewTesting.h"
#include "xhtml/views/FileChooser.h"

#include <string>
#include <vector>

using namespace xhtml;

namespace {

using Keyboard = ViewsTest;

KeyEvent down(KeyEvent::Key key, bool shift = false) {
    return {key, true, shift, false};
}

KeyEvent up(KeyEvent::Key key) {
    return {key, false, false, false};
}

// The focused view: its id, else its class.
std::string focusOf(const HtmlView& root) {
    const View* view = root.focusedView();
    if (!view)
        return "none";
    const ZString id = view->getId();
    return id.isEmpty() ? viewKindName(view->getKind()) : toUtf8(id);
}

// The focus after each of `count` presses of Tab (backwards with shift), joined by blanks.
std::string tabs(HtmlView& root, int count, bool shift = false) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        EXPECT_TRUE(root.handleKey(down(KeyEvent::Tab, shift)));
        out += out.empty() ? "" : " ";
        out += focusOf(root);
    }
    return out;
}

std::string checkedRadios(HtmlView& root) {
    std::vector<View*> radios;
    root.collectViewsByKind(radios, RadioKind);
    std::string out;
    for (const View* radio : radios)
        out += static_cast<const RadioView*>(radio)->isChecked() ? '1' : '0';
    return out;
}

TEST_F(Keyboard, TabStopsAtEveryViewThatTakesInputInDocumentOrderOnceARadioGroupAndWraps) {
    const auto root =
        layOut(u"<p>Read <a id=\"link\" href=\"x\">this</a></p>"
               u"<input type=\"button\" id=\"button\" value=\"B\"/>"
               u"<input type=\"checkbox\" id=\"check\"/>"
               u"<input type=\"radio\" name=\"m\" id=\"m1\" value=\"1\"/>"
               u"<input type=\"radio\" name=\"m\" id=\"m2\" value=\"2\" checked/>"
               u"<input type=\"radio\" name=\"n\" id=\"n1\" value=\"1\" disabled=\"true\"/>"
               u"<input type=\"radio\" name=\"n\" id=\"n2\" value=\"2\"/>"
               u"<input type=\"radio\" name=\"n\" id=\"n3\" value=\"3\"/>"
               u"<input id=\"edit\"/><textarea id=\"licence\" readonly></textarea>"
               u"<select id=\"select\"><option>o</option></select>"
               u"<input type=\"file\"/>"
               u"<object id=\"bar\" width=\"9\" height=\"9\"></object>"
               u"<input type=\"hidden\" id=\"hidden\"/>"
               u"<input type=\"button\" id=\"gone\" style=\"display:none\"/>"
               u"<div style=\"display:none\"><input type=\"checkbox\" id=\"inside\"/></div>"
               u"<input type=\"button\" id=\"off\" disabled=\"true\"/>");
    EXPECT_EQ(root->focusedView(), nullptr) << "no default button named";
    // The checked radio of a group, the first one that can take the focus of a group with none
    // checked; a file input's text input and button; never the progress placeholder.
    const std::string order =
        "link button check m2 n2 edit licence select EditView ButtonView link";
    EXPECT_EQ(tabs(*root, 11), order);
    EXPECT_EQ(tabs(*root, 3, true), "ButtonView EditView select");

    const auto fresh =
        layOut(u"<input type=\"button\" id=\"a\"/><input type=\"button\" id=\"b\"/>");
    EXPECT_EQ(tabs(*fresh, 1, true), "b") << "backwards from no focus starts at the end";
    EXPECT_EQ(layOut(u"<p>text only</p>")->nextFocusStop(false), nullptr);
}

TEST_F(Keyboard, EnterPressesTheDefaultButtonExceptFromAnEditableTextAreaSpaceAndEnterTheFocused) {
    const auto root = layOut(u"<input type=\"button\" id=\"ok\" value=\"OK\"/>"
                             u"<input type=\"button\" id=\"other\" value=\"Other\"/>"
                             u"<input type=\"checkbox\" id=\"check\" value=\"c\"/>"
                             u"<a id=\"link\" href=\"x\">link</a>"
                             u"<textarea id=\"notes\"></textarea>"
                             u"<textarea id=\"licence\" readonly></textarea>");
    root->setDefaultButton(u"ok");
    View& ok = *root->getViewById(u"ok");
    View& other = *root->getViewById(u"other");
    const auto keys = [&](const char16_t* focus, std::initializer_list<KeyEvent> events) {
        root->setFocus(root->getViewById(focus));
        RecordingListener listener(context);
        std::string handled;
        for (const KeyEvent& event : events)
            handled += root->handleKey(event) ? '+' : '-';
        return handled + " " + listener.heard + (listener.changes.empty() ? "" : " ") +
               listener.changes;
    };
    const std::string click = "LeftDown ButtonClicked Clicked LeftUp";
    const struct {
        const char16_t* focus;
        std::initializer_list<KeyEvent> keys;
        std::string outcome;
    } cases[] = {
        {u"check", {down(KeyEvent::Enter), up(KeyEvent::Enter)}, "+- " + click},
        {u"licence", {down(KeyEvent::Enter)}, "+ " + click},
        {u"notes", {down(KeyEvent::Enter)}, "- "},
        {u"other", {down(KeyEvent::Enter)}, "+ " + click},
        {u"ok", {{KeyEvent::Enter, true, false, true}}, "+ "},
        {u"link", {down(KeyEvent::Enter)}, "+ LeftDown LinkClicked Clicked LeftUp"},
        {u"link", {down(KeyEvent::Space)}, "- "},
        {u"check",
         {down(KeyEvent::Space), up(KeyEvent::Space)},
         "++ LeftDown Clicked LeftUp Check:true"},
        {u"other", {down(KeyEvent::Escape)}, "- "},
        {u"notes", {down(KeyEvent::Left)}, "- "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(keys(c.focus, c.keys), c.outcome) << toUtf8(c.focus);

    // Space shows the pressed look while it is down and clicks when it comes up.
    root->setFocus(&other);
    {
        RecordingListener listener(context, &other);
        root->handleKey(down(KeyEvent::Space));
        root->handleKey({KeyEvent::Space, true, false, true});
        EXPECT_EQ(other.getState(), LeftDown);
        EXPECT_EQ(listener.heard, "LeftDown");
        root->handleKey(up(KeyEvent::Space));
        EXPECT_EQ(other.getState(), Normal);
        EXPECT_EQ(listener.heard, "LeftDown ButtonClicked Clicked LeftUp");
        // The focus moving on while the key is down drops the press.
        root->handleKey(down(KeyEvent::Space));
        root->handleKey(down(KeyEvent::Tab));
        root->handleKey(up(KeyEvent::Space));
        EXPECT_EQ(other.getState(), Normal);
        EXPECT_EQ(listener.heard, "LeftDown ButtonClicked Clicked LeftUp LeftDown");
    }

    // Escape presses the cancel button when the page names one.
    root->setCancelButton(u"other");
    EXPECT_TRUE(root->handleKey(down(KeyEvent::Escape)));
    EXPECT_EQ(keys(u"notes", {down(KeyEvent::Escape)}), "+ " + click);
    // A default button that is hidden is pressed by nobody.
    ok.changeProperty(PropertyId::Display, StyleValue::integer(0));
    EXPECT_EQ(keys(u"check", {down(KeyEvent::Enter)}), "+ ");
}

TEST_F(Keyboard, ArrowsMoveTheCheckWithinARadioGroupAsAClickWouldSkippingDisabledOnes) {
    const auto root =
        layOut(u"<input type=\"radio\" name=\"m\" id=\"a\" value=\"a\" checked/>"
               u"<input type=\"radio\" name=\"m\" id=\"b\" value=\"b\"/>"
               u"<input type=\"radio\" name=\"o\" id=\"x\" value=\"x\"/>"
               u"<input type=\"radio\" name=\"m\" id=\"c\" value=\"c\" disabled=\"true\"/>"
               u"<input type=\"radio\" name=\"m\" id=\"d\" value=\"d\"/>");
    root->setFocus(root->getViewById(u"a"));
    const struct {
        KeyEvent::Key key;
        const char* focus;
        const char* checked;
        const char* changes;
    } steps[] = {
        {KeyEvent::Right, "b", "01000", "Radio:a Radio:b"},
        {KeyEvent::Down, "d", "00001", "Radio:b Radio:d"},
        {KeyEvent::Down, "a", "10000", "Radio:a Radio:d"},
        {KeyEvent::Up, "d", "00001", "Radio:a Radio:d"},
        {KeyEvent::Left, "b", "01000", "Radio:b Radio:d"},
    };
    for (const auto& step : steps) {
        RecordingListener listener(context);
        EXPECT_TRUE(root->handleKey(down(step.key)));
        EXPECT_EQ(focusOf(*root), step.focus);
        EXPECT_EQ(checkedRadios(*root), step.checked);
        EXPECT_EQ(listener.changes, step.changes);
        EXPECT_EQ(listener.heard, "LeftDown Clicked LeftUp") << "the notifications of a click";
    }
}

TEST_F(Keyboard, TheDefaultButtonTakesAFirstFocusAndOneWhoseViewWasHiddenOrDeleted) {
    const auto root = build(u"<div id=\"box\"><input type=\"checkbox\" id=\"check\"/></div>"
                            u"<div id=\"links\"><a id=\"link\" href=\"x\">x</a></div>"
                            u"<input type=\"button\" id=\"ok\"/>");
    root->setDefaultButton(u"ok");
    layOut(*root);
    EXPECT_EQ(focusOf(*root), "ok");
    root->setFocus(root->getViewById(u"check"));
    layOut(*root);
    EXPECT_EQ(focusOf(*root), "check") << "a focus in sight stays";
    root->getViewById(u"box")->changeProperty(PropertyId::Display, StyleValue::integer(0));
    EXPECT_FALSE(root->handleKey(down(KeyEvent::Space))) << "a hidden view takes no keys";
    layOut(*root);
    EXPECT_EQ(focusOf(*root), "ok");

    root->setFocus(root->getViewById(u"link"));
    static_cast<CompositeView*>(root->getViewById(u"links"))->setMarkup(u"gone");
    EXPECT_EQ(root->focusedView(), nullptr) << "the focus went with its view";
    EXPECT_EQ(tabs(*root, 1), "ok");
    root->setFocus(root->getViewById(u"box"));
    EXPECT_EQ(focusOf(*root), "ok") << "a view that takes no focus gets none";
}

// A chooser that only counts how often it was asked.
int choosersOpened = 0;
std::optional<ZString> countChooser(View&, const FileChoice&) {
    ++choosersOpened;
    return std::nullopt;
}

TEST_F(Keyboard, SpaceOnAFileInputsButtonOpensTheChooser) {
    setFileChooser(countChooser);
    const auto root = layOut(u"<input type=\"file\"/>");
    choosersOpened = 0;
    EXPECT_EQ(tabs(*root, 2), "EditView ButtonView");
    root->handleKey(down(KeyEvent::Space));
    EXPECT_EQ(choosersOpened, 0);
    root->handleKey(up(KeyEvent::Space));
    EXPECT_EQ(choosersOpened, 1);
    setFileChooser(nullptr);
}

} // namespace
