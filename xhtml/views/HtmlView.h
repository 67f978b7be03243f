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

private:
    // White space between elements: blanks survive where a reader would see them.
    void spaceBefore(CompositeView* parent, const ZString& name, bool& block);
    void buildText(CompositeView* parent, const ZString& text);
    void storeAttributes(View& view, const HtmlTagNode& element) const;

    bool pendingSpace_ = false;
    bool endsWithSpace_ = false;
    bool afterReplaced_ = false;
    std::unique_ptr<HtmlTagNode> root_;
};

} // namespace xhtml
