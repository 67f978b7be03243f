#include "xhtml/views/AccessibleTree.h"

#include "xhtml/views/FormViews.h"
#include "xhtml/views/ImageView.h"
#include "xhtml/views/WordView.h"

#include <algorithm>

namespace xhtml {

namespace {

// An empty rectangle adds nothing: words that were never laid out have none.
Rect united(const Rect& a, const Rect& b) {
    if (a.isEmpty())
        return b;
    if (b.isEmpty())
        return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

Point middleOf(const Rect& r) {
    return {r.left + r.width() / 2, r.top + r.height() / 2};
}

// A disabled container takes no clicks for what it holds.
bool isDisabledInTree(const View& view) {
    for (const View* v = &view; v; v = v->getParent()) {
        if (v->isDisabled())
            return true;
    }
    return false;
}

// A word as it is read: no-break spaces are blanks, and a word of blanks is a blank (empty).
ZString readable(const ZString& word) {
    ZString text = word;
    text.replaceChars(u"\u00A0", u' ');
    return text.trim();
}

void dropEndingBlank(ZString& text) {
    if (text.endsWith(u' '))
        text.truncate(text.length() - 1);
}

} // namespace

AccessibleTree::AccessibleTree(View& root, const View* focused) : focused_(focused) {
    if (auto* composite = dynamic_cast<CompositeView*>(&root))
        walkBlock(*composite);
}

// Plain loops: the library's search is unrolled fourfold, which the release pays for in bytes.
const AccessibleItem* AccessibleTree::find(int32_t id) const {
    for (const AccessibleItem& item : items_) {
        if (item.id == id)
            return &item;
    }
    return nullptr;
}

const AccessibleItem* AccessibleTree::itemAt(Point point) const {
    for (const AccessibleItem& item : items_) {
        if (item.rect.contains(point))
            return &item;
    }
    return nullptr;
}

const char16_t* AccessibleTree::defaultAction(const AccessibleItem& item) {
    switch (item.role) {
    case PushButtonRole:
        return u"Press";
    case CheckButtonRole:
        return (item.states & CheckedState) ? u"Uncheck" : u"Check";
    case RadioButtonRole:
        return u"Check";
    case LinkRole:
        return u"Jump";
    default:
        return nullptr;
    }
}

void AccessibleTree::walk(View& view) {
    if (!view.isVisible())
        return;
    switch (view.getKind()) {
    case WordKind:
    case BreakKind:
        addWord(view);
        return;
    case ButtonKind:
        add(PushButtonRole, static_cast<ButtonView&>(view).getValue(), view);
        return;
    case CheckKind:
    case RadioKind: {
        const StyleValue* title = view.findInStyleMap(PropertyId::Title, Normal);
        const ZString name = title ? title->stringValue() : ZString();
        add(view.getKind() == CheckKind ? CheckButtonRole : RadioButtonRole, name, view,
            static_cast<ToggleView&>(view).isChecked() ? CheckedState : 0u);
        if (name.isEmpty())
            labelled_ = static_cast<int>(items_.size()) - 1;
        return;
    }
    case LinkKind:
        // Named by its words, which also give its place.
        add(LinkRole, {}, view, LinkedState);
        items_.back().rect = {};
        labelled_ = static_cast<int>(items_.size()) - 1;
        walkChildren(static_cast<CompositeView&>(view));
        endText();
        return;
    case ImageKind:
        if (const ZString& alt = static_cast<ImageView&>(view).getAlt(); !alt.isEmpty())
            add(GraphicRole, alt, view, ReadOnlyState);
        return;
    case EditKind:
    case TextAreaKind:
    case SelectKind:
    case ObjectKind:
        if (static_cast<ControlView&>(view).hasControl())
            add(WindowRole, {}, view);
        return;
    case IFrameKind:
        add(WindowRole, {}, view);
        return;
    case InlineKind:
    case TextKind:
    case FileChooseKind:
        walkChildren(static_cast<CompositeView&>(view));
        return;
    default:
        if (auto* block = dynamic_cast<CompositeView*>(&view))
            walkBlock(*block);
        return;
    }
}

void AccessibleTree::walkChildren(CompositeView& view) {
    for (View* child : view.getChildren())
        walk(*child);
}

void AccessibleTree::walkBlock(CompositeView& block) {
    endText();
    // An inner block never takes the outer one's serial: the outer's is only still free when
    // the outer has had no text yet.
    View* outer = block_;
    block_ = &block;
    walkChildren(block);
    endText();
    block_ = outer;
}

void AccessibleTree::add(AccessibleRole role, const ZString& name, View& view, uint32_t states) {
    endText();
    if (isDisabledInTree(view))
        states |= UnavailableState;
    else if (view.isFocusable())
        states |= FocusableState;
    if (&view == focused_)
        states |= FocusedState;
    const Rect& rect = view.getRect();
    items_.push_back({view.serial(), role, name, states, rect, &view, middleOf(rect)});
}

void AccessibleTree::addWord(View& view) {
    const ZString word =
        view.getKind() == WordKind ? readable(static_cast<WordView&>(view).getText()) : ZString();
    AccessibleItem* label = labelled_ >= 0 ? &items_[static_cast<size_t>(labelled_)] : nullptr;
    ZString& text = label ? label->name : text_;
    if (word.isEmpty()) {
        if (!text.isEmpty() && !text.endsWith(u' '))
            text.append(u' ');
        return;
    }
    if (label && label->role == LinkRole && text.isEmpty())
        label->press = middleOf(view.getRect());
    if (!label && text.isEmpty()) {
        textView_ = &view;
        textId_ = block_ ? block_->serial() : view.serial();
        block_ = nullptr;
    }
    text.append(word);
    Rect& rect = label ? label->rect : textRect_;
    rect = united(rect, view.getRect());
}

void AccessibleTree::endText() {
    if (labelled_ >= 0) {
        dropEndingBlank(items_[static_cast<size_t>(labelled_)].name);
        labelled_ = -1;
    }
    dropEndingBlank(text_);
    if (!text_.isEmpty())
        items_.push_back({textId_, StaticTextRole, text_, ReadOnlyState, textRect_, textView_, {}});
    text_ = ZString();
    textRect_ = {};
    textView_ = nullptr;
}

} // namespace xhtml
