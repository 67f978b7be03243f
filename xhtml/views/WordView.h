#pragma once

#include "xhtml/views/View.h"

#include <array>
#include <optional>

namespace xhtml {

// One word, or a single blank, of a text: the atom the line layouter wraps. It measures itself
// with the font of its current state and keeps the size per state until a font property changes
// on it or an ancestor.
class WordView : public View {
public:
    WordView(ViewContext* context, const ZString& word);

    bool isSpace() const override;
    // The text's state when the word belongs to one.
    StyleState getState() const override;
    void onPropertyChanged(View* view, PropertyId id, StyleState state) override;
    void layout(Layouter& layouter) override;
    const ZString& getText() const { return text_; }

private:
    ZString text_;
    std::array<std::optional<Size>, kStyleStateCount> sizeCache_;
};

} // namespace xhtml
