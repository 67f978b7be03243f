// Form controls: their sizes, radio groups and check boxes under the mouse, select values, what
// a file input asks of the system's chooser.
#include "xhtml/views/FormViews.h"
#include "tests/xhtml/views/ViewTesting.h"
#include "xhtml/views/FileChooser.h"
#include "xhtml/views/SelectView.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

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
        {96, u"<input type=\"button\" value=\"OK\"/>", {22, 18}},
        {96, u"<input/>", {106, 18}},
        {144, u"<input type=\"text\" size=\"3\"/>", {51, 26}},
        {96, u"<textarea></textarea>", {100, 50}},
        {96, u"<select><option>Long option</option><option>x</option></select>", {91, 17}},
        // A multiple select of one row is a drop-down: its face lists every label ("A, B").
        {96,
         u"<select multiple size=\"1\"><option>A</option><option>B</option></select>",
         {49, 17}},
        {96,
         u"<select multiple size=\"2\"><option>A</option><option>B</option></select>",
         {31, 30}},
    };
    for (const auto& c : cases) {
        setDpi(c.dpi);
        EXPECT_EQ(layOut(c.markup)->childAt(0)->getSize(), c.size)
            << toUtf8(c.markup) << " at " << c.dpi;
    }
}

// Fixed metrics, except that no font can be measured.
class UnmeasurablePlatform : public FixedMetricsPlatform {
public:
    std::optional<FontMetrics> fontMetrics(const Font&) override { return std::nullopt; }
};

TEST_F(FormViews, TextControlsTake80By21ScaledPixelsWhenTheirFontCannotBeMeasured) {
    UnmeasurablePlatform unmeasurable;
    setViewPlatform(&unmeasurable);
    setDpi(144);
    for (const char16_t* markup :
         {u"<input/>", u"<input size=\"3\"/>", u"<textarea rows=\"2\" cols=\"4\"></textarea>"})
        EXPECT_EQ(layOut(markup)->childAt(0)->getSize(), (Size{120, 31})) << toUtf8(markup);
    // Without rows and columns a text area needs no metrics.
    EXPECT_EQ(layOut(u"<textarea></textarea>")->childAt(0)->getSize(), (Size{150, 75}));
    setViewPlatform(&platform);
}

TEST_F(FormViews, AClickSelectsARadiosGroupAndTogglesACheckBoxADragEndingOnThemDoesNot) {
    const auto root = layOut(u"<input type=\"radio\" name=\"m\" value=\"a\" checked/>"
                             u"<input type=\"radio\" name=\"m\" value=\"b\"/>"
                             u"<input type=\"radio\" name=\"m\" value=\"b\"/>"
                             u"<input type=\"radio\" name=\"o\" value=\"a\" checked/>"
                             u"<input type=\"radio\" name=\"o\" value=\"b\"/>"
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
        {0, true, "100100", ""},
        {1, false, "100100", ""},
        // The group of the other name has a "b" too; it stays as it was.
        {1, true, "011100", "Radio:a Radio:b Radio:b"},
        {5, true, "011101", "Check:true"},
        {5, false, "011101", ""},
        {3, true, "011101", ""},
        {5, true, "011100", "Check:false"},
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
    RecordingListener listener(context);
    const struct {
        const char* what;
        std::function<void()> act;
        const char16_t* value;
    } steps[] = {
        {"as built", [] {}, u"3"},
        {"the selected one hidden", [&] { single.setOptionsHidden(u"3", true); }, u"1"},
        {"the first one hidden too", [&] { single.setOptionsHidden(u"1", true); }, u""},
        {"the first one shown", [&] { single.setOptionsHidden(u"1", false); }, u"1"},
        {"the selected one shown", [&] { single.setOptionsHidden(u"3", false); }, u"3"},
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

TEST_F(FormViews, ASortedSelectOrdersItsOptionsByLabelIgnoringCaseEqualLabelsKeepTheirOrder) {
    const auto root = build(u"<select sort><option value=\"b\">banana</option>"
                            u"<option value=\"A\">Apple</option><option value=\"c\" selected>"
                            u"Cherry</option><option value=\"a\">apple</option>"
                            u"<option value=\"s\">Apples</option></select>"
                            u"<select><option value=\"2\">b</option><option value=\"1\">a</option>"
                            u"</select>");
    auto& sorted = static_cast<SelectView&>(*root->childAt(0));
    auto& plain = static_cast<SelectView&>(*root->childAt(1));
    // The values in order, each with the index the record holds.
    const auto order = [](const SelectView& select) {
        std::string out;
        for (int i = 0; i < select.optionCount(); ++i) {
            out += toUtf8(select.optionAt(i).value);
            out += select.optionAt(i).index == i ? " " : "? ";
        }
        return out;
    };
    EXPECT_TRUE(sorted.isSorted());
    EXPECT_EQ(order(sorted), "A a s b c ");
    EXPECT_EQ(sorted.getValue(), ZString(u"c"));
    EXPECT_FALSE(plain.isSorted());
    EXPECT_EQ(order(plain), "2 1 ");
    sorted.addOption(u"Banana", u"B");
    sorted.sortOptions();
    EXPECT_EQ(order(sorted), "A a s b B c ");
    EXPECT_EQ(sorted.getValue(), ZString(u"c"));
}

// The whole literal, its own terminating NUL included: a filter list as it is stored.
template <size_t N> std::u16string filterList(const char16_t (&text)[N]) {
    return {text, N};
}

TEST(FileChoice, FilterStringsAndTheProposedNameComeFromTheInput) {
    const struct {
        const char16_t* filterText;
        const char16_t* text;
        std::u16string filter;
        const char16_t* start;
    } cases[] = {
        // ";" separates entries as "/" does: three strings, not one pattern list.
        {u"Images/*.png;*.jpg", u"C:\\pics\\cat.png", filterList(u"Images\0*.png\0*.jpg\0"),
         u"cat.png"},
        {u"Text|*.txt", u"/home/ada/notes//", filterList(u"Text\0*.txt\0"), u"notes"},
        // An empty string would end the list early.
        {u"a//b;", u"x", filterList(u"a\0b\0"), u"x"},
        {u"", u"", filterList(u"All Files\0*.*\0"), u""},
    };
    for (const auto& c : cases) {
        const FileChoice choice = fileChoiceFor(c.filterText, c.text);
        EXPECT_FALSE(choice.folder) << toUtf8(c.filterText);
        EXPECT_EQ(choice.filter, c.filter) << toUtf8(c.filterText);
        EXPECT_EQ(choice.start, ZString(c.start)) << toUtf8(c.filterText);
    }
    const FileChoice folder = fileChoiceFor(u"directories", u"C:\\work\\");
    EXPECT_TRUE(folder.folder);
    EXPECT_EQ(folder.start, ZString(u"C:\\work\\")) << "a folder starts at the whole path";
}

// A chooser that records what it was asked and answers as told.
struct ChooserProbe {
    static std::optional<ZString> choose(View& owner, const FileChoice& choice) {
        asked.push_back(&owner);
        lastChoice = choice;
        return answer;
    }
    static inline std::vector<const View*> asked;
    static inline FileChoice lastChoice;
    static inline std::optional<ZString> answer;
};

TEST_F(FormViews, AClickOnAFileInputsButtonAsksTheChooserAndTakesWhatItConfirms) {
    ChooserProbe::asked.clear();
    setFileChooser(ChooserProbe::choose);
    const auto root =
        layOut(u"<input type=\"file\" filter=\"Text/*.txt\" value=\"C:\\a\\b.txt\"/>");
    auto& input = static_cast<FileChooseView&>(*root->childAt(0));
    const View& edit = *input.childAt(0);
    const View& button = *input.childAt(1);
    EXPECT_EQ(input.getValue(), ZString(u"C:\\a\\b.txt")) << "the text input shows the value";
    ChooserProbe::answer = std::nullopt;
    click(*root, button);
    ASSERT_EQ(ChooserProbe::asked.size(), 1u);
    EXPECT_EQ(ChooserProbe::asked[0], &input);
    EXPECT_EQ(ChooserProbe::lastChoice.filter, filterList(u"Text\0*.txt\0"));
    EXPECT_EQ(ChooserProbe::lastChoice.start, ZString(u"b.txt"));
    EXPECT_EQ(input.getValue(), ZString(u"C:\\a\\b.txt")) << "cancelled";
    ChooserProbe::answer = ZString(u"D:\\c.txt");
    click(*root, button, false);
    click(*root, edit);
    EXPECT_EQ(ChooserProbe::asked.size(), 1u) << "a drag ending on the button, a click beside it";
    click(*root, button);
    EXPECT_EQ(ChooserProbe::asked.size(), 2u);
    EXPECT_EQ(input.getValue(), ZString(u"D:\\c.txt"));
    setFileChooser(nullptr);
}

} // namespace
