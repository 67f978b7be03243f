#include "xhtml/views/InlineViews.h"

#include "xhtml/document/EntityDecoder.h"
#include "xhtml/views/Layouter.h"
#include "xhtml/views/WordView.h"

#include <algorithm>

namespace xhtml {

namespace {

// The blank tokens at the ends of a text count the no-break space as white space; inside the
// text it belongs to its word, so a run of "&nbsp;" never breaks.
bool isBlankAtEnd(char16_t c) {
    return isWideSpace(c) || c == 0xA0;
}

std::vector<ZString> wordsOf(const ZString& text) {
    std::vector<ZString> words;
    const char16_t* p = text.c_str();
    const char16_t* end = p + text.length();
    while (p < end) {
        while (p < end && isWideSpace(*p))
            ++p;
        const char16_t* start = p;
        while (p < end && !isWideSpace(*p))
            ++p;
        if (p > start)
            words.emplace_back(start, static_cast<int>(p - start));
    }
    return words;
}

} // namespace

InlineView::InlineView(ViewContext* context) : CompositeView(context) {
    setKind(InlineKind);
}

void InlineView::layout(Layouter& layouter) {
    const StyleValue* align = findOwnProperty(PropertyId::VerticalAlign);
    const int previous = align ? layouter.setItemAlign(integerOf(*align)) : 0;
    layoutChildViews(layouter);
    if (align)
        layouter.setItemAlign(previous);
}

bool InlineView::hitTest(Point point) const {
    const std::vector<View*>& children = getChildren();
    return std::any_of(children.begin(), children.end(), [point](const View* child) {
        return child->isVisible() && child->hitTest(point);
    });
}

TextView::TextView(ViewContext* context, const ZString& text) : InlineView(context), text_(text) {
    setKind(TextKind);
    ZString decoded = text;
    decodeEntities(decoded);
    const std::vector<ZString> words = wordsOf(decoded);
    if (words.empty())
        return;
    const ZString blank = u" ";
    if (isBlankAtEnd(decoded.getAt(0)))
        appendChild(new WordView(context, blank));
    for (size_t i = 0; i < words.size(); ++i) {
        if (i > 0)
            appendChild(new WordView(context, blank));
        appendChild(new WordView(context, words[i]));
    }
    if (isBlankAtEnd(decoded.getAt(decoded.length() - 1)))
        appendChild(new WordView(context, blank));
}

LinkView::LinkView(ViewContext* context) : InlineView(context) {
    setKind(LinkKind);
}

BreakView::BreakView(ViewContext* context, int minLineHeight)
    : View(context), minLineHeight_(minLineHeight) {
    setKind(BreakKind);
}

void BreakView::layout(Layouter& layouter) {
    layouter.lineBreak(minLineHeight_);
}

} // namespace xhtml
