#pragma once

#include "xhtml/views/FormViews.h"

#include <optional>
#include <utility>
#include <vector>

namespace xhtml {

// A select element: a list of options shown as a drop-down or a list box. Without a native
// control the selection lives in the option records.
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

    int optionCount() const { return static_cast<int>(options_.size()); }
    const Option& optionAt(int index) const { return options_[static_cast<size_t>(index)]; }
    void addOption(const ZString& label, const ZString& value);
    // Each pair's first string is the label when labelFirst is set, else the value; both are
    // trimmed.
    void addOptions(const std::vector<std::pair<ZString, ZString>>& pairs, bool labelFirst,
                    bool clearFirst);
    // Selects the first option with that value; a single select drops its other selection.
    void selectValue(const ZString& value, bool notify);
    // The first selected, visible option; a single select with none selected reports its first
    // visible option.
    std::optional<Option> getSelectedOption() const;
    std::vector<Option> getSelectedOptions() const;
    ZString getValue() const override;
    void setValue(const ZString& value) override { selectValue(value, false); }
    bool hasValue(const ZString& value) const;
    void setOptionsHidden(const ZString& value, bool hidden);
    bool isDropDown() const;
    bool isMultiple() const;
    bool isListBox() const { return isMultiple() || !isDropDown(); }
    void selectionChanged();

private:
    std::vector<Option> options_;
};

} // namespace xhtml
