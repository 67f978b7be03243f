#include "xhtml/views/ImageView.h"

#include "xhtml/views/Dpi.h"
#include "xhtml/views/ViewContext.h"

namespace xhtml {

ImageView::ImageView(ViewContext* context) : BoxView(context) {
    setKind(ImageKind);
}

ImageCache::Entry* ImageView::getImage() {
    const StyleValue* source = findOwnProperty(PropertyId::ImageSource);
    if (!source || !getContext())
        return nullptr;
    return getContext()->getImageCache().get(source->stringValue());
}

void ImageView::layout(Layouter& layouter) {
    Size natural;
    if (ImageCache::Entry* entry = getImage(); entry && entry->image) {
        const Size pixels = entry->image->pixelSize();
        natural = {scale(pixels.width), scale(pixels.height)};
    }
    const Size initial = outerSizeOf(natural);
    Size size =
        resolveSize(layouter.getWidth(), layouter.getHeight(), initial.width, initial.height);
    // One given side scales the other; an image without pixels has no proportions to keep.
    const bool widthGiven = size.width != initial.width;
    const bool heightGiven = size.height != initial.height;
    if (widthGiven && !heightGiven && initial.width != 0)
        size.height = saturated(static_cast<double>(size.width) * initial.height / initial.width);
    else if (heightGiven && !widthGiven && initial.height != 0)
        size.width = saturated(static_cast<double>(size.height) * initial.width / initial.height);
    layoutInFlow(layouter, size.width, size.height);
}

void ImageView::frameShown() {
    ImageCache::Entry* entry = getImage();
    if (animationTimer_ != 0 || !entry || !entry->image)
        return;
    const auto& frames = entry->image->frames();
    if (frames.size() >= 2)
        animationTimer_ =
            setTimer(static_cast<int>(frames[currentFrame_ % frames.size()].delayMs), 0);
}

void ImageView::onTimer(unsigned id) {
    if (id == 0 || id != animationTimer_) {
        BoxView::onTimer(id);
        return;
    }
    killTimer(id);
    animationTimer_ = 0;
    ImageCache::Entry* entry = getImage();
    const size_t count = entry && entry->image ? entry->image->frames().size() : 0;
    currentFrame_ = count == 0 ? 0 : static_cast<unsigned>((currentFrame_ + 1) % count);
    invalidate();
}

} // namespace xhtml
