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
    // The frame of an animated image that painting shows.
    unsigned currentFrame() const { return currentFrame_; }
    // Painting showed the current frame: an animated image then waits for that frame's delay.
    // An animation runs only while the view is painted.
    void frameShown();
    void onTimer(unsigned id) override;
    // The text that stands for the image where it cannot be seen.
    const ZString& getAlt() const { return alt_; }
    void setAlt(const ZString& alt) { alt_ = alt; }

private:
    ZString alt_;
    unsigned currentFrame_ = 0;
    unsigned animationTimer_ = 0;
};

} // namespace xhtml
