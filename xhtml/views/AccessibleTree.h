#pragma once

#include "base/ZString.h"
#include "xhtml/views/Geometry.h"

#include <cstdint>
#include <vector>

namespace xhtml {

class CompositeView;
class View;

// The roles and states are the numbers of the platform's accessibility interface (MSAA), so the
// window layer hands them on as they are.
enum AccessibleRole : int32_t {
    // A native control or a nested frame: its own window describes it.
    WindowRole = 0x09,
    LinkRole = 0x1E,
    GraphicRole = 0x28,
    StaticTextRole = 0x29,
    PushButtonRole = 0x2B,
    CheckButtonRole = 0x2C,
    RadioButtonRole = 0x2D,
};

enum AccessibleState : uint32_t {
    UnavailableState = 0x1,
    FocusedState = 0x4,
    CheckedState = 0x10,
    ReadOnlyState = 0x40,
    FocusableState = 0x100000,
    LinkedState = 0x400000,
};

// One thing a screen reader reads out or acts on.
struct AccessibleItem {
    // The serial of a view (View::serial): the item's own view, or, for a text, the view of the
    // block it begins (so a block's text keeps its id while the text changes) or its first word.
    // An id whose views are gone is never found again.
    int32_t id;
    AccessibleRole role;
    ZString name;
    uint32_t states;
    // In document coordinates; a check box or radio button includes the text that names it.
    Rect rect;
    // What the item stands for: the view acted on, hosting the native control, or the first word
    // of a text.
    View* view;
    // Where a click on the item lands: the middle of the control, or of a link's first word.
    Point press;
};

// A page as a screen reader sees it: its meaningful views in document order, one flat list.
// Texts are the words of a block up to the next item or block, joined with single blanks; a check
// box or radio button is named by its title, else by the words after it up to the next input or
// block; images count only with an alt text; views not shown are left out with all they hold.
// Built anew for each question, so it never points at a view that has gone.
class AccessibleTree {
public:
    AccessibleTree(View& root, const View* focused);

    const std::vector<AccessibleItem>& items() const { return items_; }
    // Null when no item has the id (any more).
    const AccessibleItem* find(int32_t id) const;
    // The first item whose rectangle holds the point, or null.
    const AccessibleItem* itemAt(Point point) const;
    // What a click on the item does ("Press", "Check", ...), or null when it does nothing.
    static const char16_t* defaultAction(const AccessibleItem& item);

private:
    void walk(View& view);
    void walkChildren(CompositeView& view);
    void walkBlock(CompositeView& block);
    void add(AccessibleRole role, const ZString& name, View& view, uint32_t states = 0);
    // A word, or a blank for a break or a word of blanks.
    void addWord(View& view);
    void endText();

    const View* focused_;
    std::vector<AccessibleItem> items_;
    // The text being gathered, and the view whose serial it takes.
    ZString text_;
    Rect textRect_;
    View* textView_ = nullptr;
    int32_t textId_ = 0;
    // The block around the words, until its first text has been taken.
    View* block_ = nullptr;
    // The index of the check box or radio button that the next words name; -1 when none.
    int labelled_ = -1;
};

} // namespace xhtml
