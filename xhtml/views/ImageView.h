#pragma once

#include "xhtml/views/BoxView.h"
#include "xhtml/views/ImageCache.h"

namespace xhtml {

// An image of the document's image cache, sized by the box model with its proportions kept.
class ImageView : public BoxView {
public:
    explicit ImageView(ViewContext* context);
    bool isContainer() const override { return false; }
    void layout(Layouter& layouter) override;
    // The cache entry of the ImageSource address, loaded on first use; null without a source.
    ImageCache::Entry* getImage();
};

} // namespace xhtml
