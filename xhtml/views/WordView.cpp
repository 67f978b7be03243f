#include "xhtml/views/WordView.h"

#include "xhtml/views/Layouter.h"
#include "xhtml/views/ViewPlatform.h"

namespace xhtml {

WordView::WordView(ViewContext* context, const ZString& word) : View(context), text_(word) {
    setKind(WordKind);
}

bool WordView::isSpace() const {
    return text_.length() == 1 && text_.getAt(0) == u' ';
}

StyleState WordView::getState() const {
    const View* parent = getParent();
    return parent && parent->getKind() == TextKind ? parent->getState() : View::getState();
}

void WordView::onPropertyChanged(View* view, PropertyId id, StyleState state) {
    // Cleared before the update, which measures the word again.
    if (id == PropertyId::Italic || id == PropertyId::FontFamily || id == PropertyId::FontWeight ||
        id == PropertyId::FontSize)
        sizeCache_.fill(std::nullopt);
    View::onPropertyChanged(view, id, state);
}

void WordView::layout(Layouter& layouter) {
    if (text_.isEmpty())
        return;
    std::optional<Size>& cached = sizeCache_[static_cast<size_t>(getState())];
    if (!cached)
        cached = viewPlatform().textExtent(getFont(), text_);
    setSize(*cached);
    layouter.addView(this);
}

} // namespace xhtml
