#pragma once

#include "xhtml/views/FormViews.h"

#include <optional>
#include <utility>
#include <vector>

namespace xhtml {

// A select element: a list of options shown as a drop-down or a list box. Without a native
// control the selection lives in the option records; with one, the control's selection is the
// one that counts, and the records catch up with it whenever the items are rebuilt.
class SelectView : public ControlView, public FormElement {
public:
    struct Option {
        int index = 0;
        // The item in the native control; -1 when the option is not in it.
        int item = -1;
        ZString label;
        ZString value;
        bool selected = false;
        // Hidden options are never shown and never count as selected.
        bool hidden = false;
    };

    explicit SelectView(ViewContext* context);
    void layout(Layouter& layouter) override;
    // Only over the control, and not while it shows a list of its own over the page.
    bool allowsTooltip() const override;
    void onCommand(const void* window, int code) override;
    void onNotify(const void* window, const void* header) override;

    int optionCount() const { return static_cast<int>(options_.size()); }
    // The record as stored.
    const Option& optionAt(int index) const { return options_[static_cast<size_t>(index)]; }
    // A copy of the record; an option in the control is selected when the control says so.
    Option getOption(int index) const;
    void addOption(const ZString& label, const ZString& value);
    // Each pair's first string is the label when labelFirst is set, else the value; both are
    // trimmed.
    void addOptions(const std::vector<std::pair<ZString, ZString>>& pairs, bool labelFirst,
                    bool clearFirst);
    // Selects the first option with that value; a single select drops its other selection.
    void selectValue(const ZString& value, bool notify);
    // The first selected, visible option; a single select with none selected reports its first
    // visible option.
    std::optional<Option> getSelectedOption() const { return selectedOption(true); }
    std::vector<Option> getSelectedOptions() const;
    ZString getValue() const override;
    void setValue(const ZString& value) override { selectValue(value, false); }
    bool hasValue(const ZString& value) const;
    void setOptionsHidden(const ZString& value, bool hidden);
    bool isDropDown() const;
    bool isMultiple() const;
    bool isListBox() const { return isMultiple() || !isDropDown(); }
    // A multiple drop-down: a face that lists the checked labels over a list of check boxes.
    bool showsCheckBoxes() const { return isMultiple() && isDropDown(); }
    // A drop-down whose text the user may edit.
    bool isEditable() const;
    // The select asks for its options in order.
    bool isSorted() const;
    void sortOptions();
    void selectionChanged();

protected:
    bool createControl() override;

private:
    NativeList* nativeList() const;
    std::optional<Option> selectedOption(bool fromControl) const;
    // The user's choices in the control, into the records, before the items go.
    void takeSelectionFromControl();
    // The control's items again from the records: the visible options, in order.
    void rebuildItems();
    // Without a fixed size; relative tells whether a percentage took part.
    Size contentSize(const Layouter& layouter, bool& relative) const;

    std::vector<Option> options_;
    // The size the control settled on; the box keeps it from then on.
    std::optional<Size> fixedSize_;
};

} // namespace xhtml
