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

} // namespace xhtml
