// Form controls: their sizes, radio groups and check boxes under the mouse, select values.
#include "xhtml/views/FormViews.h"
#include "tests/xhtml/views/ViewTesting.h"
#include "xhtml/views/SelectView.h"

#include <functional>

using namespace xhtml;

namespace {

using FormViews = ViewsTest;

TEST_F(FormViews, ControlsTakeTheContentSizeOfTheirKind) {
    const struct {
        int dpi;
        const char16_t* markup;
        Size size;
    } cases[] = {
        {96, u"<input type=\"button\"/>", {35, 22}},
        {144, u"<input type=\"button\"/>", {52, 33}},
        {96, u"<input type=\"button\" value=\"OK\"/>", {22, 18}},
        {96, u"<input type=\"checkbox\"/>", {13, 13}},
        {144, u"<input type=\"checkbox\"/>", {19, 19}},
        {96, u"<input type=\"radio\" style=\"margin:2px\"/>", {17, 17}},
        {96, u"<input/>", {106, 18}},
        {144, u"<input type=\"text\" size=\"3\"/>", {51, 26}},
        {96, u"<textarea></textarea>", {100, 50}},
        {96, u"<select><option>Long option</option><option>x</option></select>", {91, 17}},
        {96, u"<object width=\"90%\" height=\"30\"></object>", {720, 30}},
        {96, u"<input type=\"hidden\" value=\"v\"/>", {0, 0}},
    };
    for (const auto& c : cases) {
        setDpi(c.dpi);
        EXPECT_EQ(layOut(c.markup)->childAt(0)->getSize(), c.size)
            << toUtf8(c.markup) << " at " << c.dpi;
    }
}

TEST_F(FormViews, AClickSelectsARadiosGroupAndTogglesACheckBoxADragEndingOnThemDoesNot) {
    const auto root = layOut(u"<input type=\"radio\" name=\"m\" value=\"a\" checked/>"
                             u"<input type=\"radio\" name=\"m\" value=\"b\"/>"
                             u"<input type=\"radio\" name=\"m\" value=\"b\"/>"
                             u"<input type=\"radio\" name=\"o\" value=\"a\" checked/>"
                             u"<input type=\"checkbox\" value=\"c\"/>");
    const auto checked = [&] {
        std::string out;
        for (const View* view : root->getChildren())
            out += static_cast<const ToggleView*>(view)->isChecked() ? '1' : '0';
        return out;
    };
    const struct {
        int target;
        bool click;
        const char* checked;
        const char* changes;
    } steps[] = {
        {0, true, "10010", ""},
        {1, false, "10010", ""},
        {1, true, "01110", "Radio:a Radio:b Radio:b"},
        {4, true, "01111", "Check:c"},
        {4, false, "01111", ""},
        {3, true, "01111", ""},
        {4, true, "01110", "Check:c"},
    };
    for (const auto& step : steps) {
        RecordingListener listener(context);
        click(*root, *root->childAt(step.target), step.click);
        EXPECT_EQ(checked(), step.checked) << &step - steps;
        EXPECT_EQ(listener.changes, step.changes) << &step - steps;
    }
}

TEST_F(FormViews, ASelectReportsItsSelectedOptionOrItsFirstVisibleOne) {
    const auto root = build(u"<select><option value=\"1\">One</option><option>Two</option>"
                            u"<p>x</p><option value=\"3\" selected> Three </option></select>"
                            u"<select multiple><option value=\"4\">Four</option></select>");
    auto& single = static_cast<SelectView&>(*root->childAt(0));
    auto& multiple = static_cast<SelectView&>(*root->childAt(1));
    std::string options;
    for (int i = 0; i < single.optionCount(); ++i) {
        const SelectView::Option& option = single.optionAt(i);
        options += toUtf8(option.label);
        options += '=';
        options += toUtf8(option.value);
        options += ' ';
    }
    EXPECT_EQ(options, "One=1 Two= Three=3 ");
    RecordingListener listener(context);
    const struct {
        const char* what;
        std::function<void()> act;
        const char16_t* value;
    } steps[] = {
        {"as built", [] {}, u"3"},
        {"the selected one hidden", [&] { single.setOptionsHidden(u"3", true); }, u"1"},
        {"the first one hidden too", [&] { single.setOptionsHidden(u"1", true); }, u""},
        {"both shown",
         [&] {
             single.setOptionsHidden(u"1", false);
             single.setOptionsHidden(u"3", false);
         },
         u"3"},
        {"another selected", [&] { single.selectValue(u"1", true); }, u"1"},
        {"a value it does not have", [&] { single.selectValue(u"9", true); }, u"1"},
        {"set as a form value", [&] { single.setValue(u""); }, u""},
    };
    for (const auto& step : steps) {
        step.act();
        EXPECT_EQ(single.getValue(), ZString(step.value)) << step.what;
    }
    EXPECT_EQ(listener.changes, "Selection:1");
    EXPECT_EQ(multiple.getValue(), ZString()) << "a multiple select selects nothing by itself";
}

} // namespace
