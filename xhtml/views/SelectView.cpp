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

Size SelectView::contentSize(const Layouter& layouter, bool& relative) const {
    ViewPlatform& platform = viewPlatform();
    const Font& font = getFont();
    int widest = 0;
    if (showsCheckBoxes()) {
        // Room for the face's caption with every label checked.
        ZString all;
        for (const Option& option : options_) {
            if (!all.isEmpty())
                all.append(u", ");
            all.append(option.label);
        }
        widest = platform.textExtent(font, all).width;
    } else {
        for (const Option& option : options_)
            widest = std::max(widest, platform.textExtent(font, option.label).width);
    }
    const int lineHeight = platform.fontMetrics(font).value_or(FontMetrics{}).charHeight;
    Size content{addSaturated(widest, scale(25)), addSaturated(lineHeight, scale(4))};
    relative = false;
    if (const StyleValue* width = findOwnProperty(PropertyId::Width)) {
        content.width = resolvedLength(*width, layouter.getWidth());
        relative = width->hasFlag(StyleValue::kPercent);
    }
    // A drop-down is one line high whatever it is told.
    if (isDropDown())
        return content;
    if (const StyleValue* height = findOwnProperty(PropertyId::Height)) {
        content.height = resolvedLength(*height, layouter.getHeight());
        relative = relative || height->hasFlag(StyleValue::kPercent);
    } else {
        const StyleValue* rows = findInStyleMap(PropertyId::Size, Normal);
        content.height =
            saturated(static_cast<long long>(rows ? integerOf(*rows) : 1) * lineHeight + scale(4));
    }
    return content;
}

void SelectView::layout(Layouter& layouter) {
    if (fixedSize_) {
        layoutAroundContent(layouter, *fixedSize_);
        return;
    }
    bool relative = false;
    Size content = contentSize(layouter, relative);
    if (NativeControl* control = getControl()) {
        // A control rounds sizes to whole lines of its font; the box follows it, unless the
        // box follows the space it is given.
        control->setFont(getFont());
        control->resize(content);
        if (!relative) {
            fixedSize_ = control->size();
            content = *fixedSize_;
        }
    }
    layoutAroundContent(layouter, content);
}

bool SelectView::allowsTooltip() const {
    const NativeList* list = nativeList();
    return list && list->allowsTooltip() && isCursorOverControl();
}

void SelectView::onCommand(const void* window, int code) {
    if (NativeList* list = nativeList())
        list->onCommand(window, code);
}

void SelectView::onNotify(const void* window, const void* header) {
    if (NativeList* list = nativeList())
        list->onNotify(window, header);
}

bool SelectView::createControl() {
    if (hasControl())
        return true;
    if (!ControlView::createControl())
        return false;
    rebuildItems();
    // The box was measured without the control; its size is the control's from now on.
    View::requestUpdate();
    return true;
}

NativeList* SelectView::nativeList() const {
    NativeControl* control = getControl();
    return control ? control->list() : nullptr;
}

SelectView::Option SelectView::getOption(int index) const {
    Option option = optionAt(index);
    if (const NativeList* list = nativeList(); list && option.item >= 0)
        option.selected = list->isItemSelected(option.item);
    return option;
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
    rebuildItems();
}

void SelectView::takeSelectionFromControl() {
    const NativeList* list = nativeList();
    if (!list)
        return;
    const bool multiple = isMultiple();
    const Option* chosen = nullptr;
    for (Option& option : options_) {
        if (option.item < 0)
            continue;
        const bool selected = list->isItemSelected(option.item);
        if (multiple)
            option.selected = selected;
        else if (selected && !chosen)
            chosen = &option;
    }
    // A single select keeps one selected record; with nothing chosen the records stand.
    if (chosen) {
        for (Option& option : options_)
            option.selected = &option == chosen;
    }
}

void SelectView::rebuildItems() {
    NativeList* list = nativeList();
    if (!list)
        return;
    takeSelectionFromControl();
    list->setRedraw(false);
    list->clearItems();
    for (Option& option : options_)
        option.item = option.hidden ? -1 : list->addItem(option.label);
    if (isMultiple()) {
        for (const Option& option : options_) {
            if (option.selected && option.item >= 0)
                list->selectItem(option.item);
        }
    } else if (const auto shown = selectedOption(false); shown && shown->item >= 0) {
        // The option a single select reports as its value is the one the user sees chosen.
        list->selectItem(shown->item);
    }
    list->setRedraw(true);
}

void SelectView::selectValue(const ZString& value, bool notify) {
    const auto found = std::find_if(options_.begin(), options_.end(),
                                    [&](const Option& o) { return o.value.equals(value); });
    if (found == options_.end())
        return;
    if (NativeList* list = nativeList(); list && found->item >= 0)
        list->selectItem(found->item);
    if (!isMultiple()) {
        for (Option& option : options_)
            option.selected = false;
    }
    found->selected = true;
    if (notify)
        selectionChanged();
}

std::optional<SelectView::Option> SelectView::selectedOption(bool fromControl) const {
    for (int i = 0; i < optionCount(); ++i) {
        const Option option = fromControl ? getOption(i) : optionAt(i);
        if (option.selected && !option.hidden)
            return option;
    }
    if (isMultiple())
        return std::nullopt;
    for (const Option& option : options_) {
        if (!option.hidden)
            return fromControl ? getOption(option.index) : option;
    }
    return std::nullopt;
}

std::vector<SelectView::Option> SelectView::getSelectedOptions() const {
    std::vector<Option> selected;
    for (int i = 0; i < optionCount(); ++i) {
        const Option option = getOption(i);
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
    bool changed = false;
    for (Option& option : options_) {
        if (option.value.equals(value) && option.hidden != hidden) {
            option.hidden = hidden;
            changed = true;
        }
    }
    if (changed)
        rebuildItems();
}

bool SelectView::isDropDown() const {
    const StyleValue* size = findInStyleMap(PropertyId::Size, Normal);
    return !size || integerOf(*size) <= 1;
}

bool SelectView::isMultiple() const {
    return findInStyleMap(PropertyId::Multiple, Normal) != nullptr;
}

bool SelectView::isEditable() const {
    return findInStyleMap(PropertyId::Combo, Normal) != nullptr;
}

bool SelectView::isSorted() const {
    return findInStyleMap(PropertyId::Sort, Normal) != nullptr;
}

void SelectView::sortOptions() {
    // By label, as people read the list, ignoring the case of letters; options of equal labels
    // keep their order. (Values are often codes, whose order means nothing to the reader.)
    const auto before = [](const Option& a, const Option& b) {
        const char16_t* x = a.label.c_str();
        const char16_t* y = b.label.c_str();
        return std::lexicographical_compare(
            x, x + a.label.length(), y, y + b.label.length(),
            [](char16_t p, char16_t q) { return toLowerAscii(p) < toLowerAscii(q); });
    };
    std::stable_sort(options_.begin(), options_.end(), before);
    for (int i = 0; i < optionCount(); ++i)
        options_[static_cast<size_t>(i)].index = i;
    rebuildItems();
}

void SelectView::selectionChanged() {
    if (getContext())
        getContext()->onSelectionChanged(this);
}

} // namespace xhtml
