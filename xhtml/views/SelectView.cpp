#include "xhtml/views/SelectView.h"

#include "xhtml/views/Dpi.h"
#include "xhtml/views/ViewContext.h"
#include "xhtml/views/ViewPlatform.h"

#include <algorithm>

namespace xhtml {

SelectView::SelectView(ViewContext* context) : ControlView(context) {
    setKind(SelectKind);
    setView(this);
}

void SelectView::layout(Layouter& layouter) {
    ViewPlatform& platform = viewPlatform();
    const Font& font = getFont();
    int widest = 0;
    for (const Option& option : options_)
        widest = std::max(widest, platform.textExtent(font, option.label).width);
    const int lineHeight = platform.fontMetrics(font).charHeight;
    Size content{addSaturated(widest, scale(25)), addSaturated(lineHeight, scale(4))};
    if (!isDropDown()) {
        const StyleValue* rows = findInStyleMap(PropertyId::Size, Normal);
        content.height =
            saturated(static_cast<long long>(rows ? integerOf(*rows) : 1) * lineHeight + scale(4));
    }
    layoutAroundContent(layouter, content);
}

void SelectView::addOption(const ZString& label, const ZString& value) {
    addOptions({{label, value}}, true, false);
}

void SelectView::addOptions(const std::vector<std::pair<ZString, ZString>>& pairs, bool labelFirst,
                            bool clearFirst) {
    if (clearFirst)
        options_.clear();
    for (const auto& [first, second] : pairs) {
        Option option;
        option.index = optionCount();
        option.label = labelFirst ? first : second;
        option.value = labelFirst ? second : first;
        option.label.trim();
        option.value.trim();
        options_.push_back(std::move(option));
    }
}

void SelectView::selectValue(const ZString& value, bool notify) {
    const auto found = std::find_if(options_.begin(), options_.end(),
                                    [&](const Option& o) { return o.value.equals(value); });
    if (found == options_.end())
        return;
    if (!isMultiple()) {
        for (Option& option : options_)
            option.selected = false;
    }
    found->selected = true;
    if (notify)
        selectionChanged();
}

std::optional<SelectView::Option> SelectView::getSelectedOption() const {
    for (const Option& option : options_) {
        if (option.selected && !option.hidden)
            return option;
    }
    if (isMultiple())
        return std::nullopt;
    for (const Option& option : options_) {
        if (!option.hidden)
            return option;
    }
    return std::nullopt;
}

std::vector<SelectView::Option> SelectView::getSelectedOptions() const {
    std::vector<Option> selected;
    for (const Option& option : options_) {
        if (option.selected && !option.hidden)
            selected.push_back(option);
    }
    return selected;
}

ZString SelectView::getValue() const {
    const auto option = getSelectedOption();
    return option ? option->value : ZString();
}

bool SelectView::hasValue(const ZString& value) const {
    return std::any_of(options_.begin(), options_.end(),
                       [&](const Option& o) { return o.value.equals(value); });
}

void SelectView::setOptionsHidden(const ZString& value, bool hidden) {
    for (Option& option : options_) {
        if (option.value.equals(value))
            option.hidden = hidden;
    }
}

bool SelectView::isDropDown() const {
    const StyleValue* size = findInStyleMap(PropertyId::Size, Normal);
    return !size || integerOf(*size) <= 1;
}

bool SelectView::isMultiple() const {
    return findInStyleMap(PropertyId::Multiple, Normal) != nullptr;
}

void SelectView::selectionChanged() {
    if (getContext())
        getContext()->onSelectionChanged(this);
}

} // namespace xhtml
