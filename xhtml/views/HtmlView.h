#pragma once

#include "xhtml/document/HtmlNode.h"
#include "xhtml/views/BlockViews.h"

#include <memory>

namespace xhtml {

// The view that owns a document: it parses markup and builds a view below itself for every
// element that means something, with the element's attributes as properties and the style
// cascade run on each new view.
class HtmlView : public BlockView {
public:
    explicit HtmlView(ViewContext* context);

    // A given base address becomes the loader's base, against which the document's relative
    // addresses resolve.
    virtual void setContent(const ZString& markup, const ZString* baseUrl);
    // Reads the address as UTF-8 and makes it the document and the base address; a failed read
    // gives an empty document.
    void load(const ZString& url);
    void buildChildren(CompositeView* parent, const HtmlTagNode& element);
    // The element's view, not yet appended; null for an element that makes none.
    virtual View* createView(CompositeView* parent, const HtmlTagNode& element);

    // The keyboard, as in a dialog. The document's focus is on one view or none; every change
    // goes through setFocus. The page names the buttons Enter and Escape press by their ids;
    // with no cancel button Escape is left to the host, which closes the window.
    View* focusedView() const;
    void setFocus(View* view);
    void setDefaultButton(const ZString& id) { defaultButton_ = id; }
    void setCancelButton(const ZString& id) { cancelButton_ = id; }
    // Tab's next stop after the focus, or before it backwards, wrapping; null when none.
    View* nextFocusStop(bool backwards);
    // False for a key the document leaves to its host.
    bool handleKey(const KeyEvent& event);
    // After a layout, a focus that is out of sight, or none, goes to the default button.
    void handleEvent(ViewEvent& event) override;

protected:
    virtual void onFocusChanged(View* /*view*/) {}

private:
    View* namedButton(const ZString& id);
    void moveInRadioGroup(View& radio, bool backwards);
    // White space between elements: blanks survive where a reader would see them.
    void spaceBefore(CompositeView* parent, const ZString& name, bool& block);
    void buildText(CompositeView* parent, const ZString& text);
    void storeAttributes(View& view, const HtmlTagNode& element) const;

    bool pendingSpace_ = false;
    bool endsWithSpace_ = false;
    bool afterReplaced_ = false;
    std::unique_ptr<HtmlTagNode> root_;
    ZString defaultButton_;
    ZString cancelButton_;
};

// Can take the focus now: focusable, shown and enabled.
bool canTakeFocus(const View& view);
// Where the focus ring goes: one pixel around the border box, around the words of a link.
Rect focusRingOf(const View& view);

} // namespace xhtml
