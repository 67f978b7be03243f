#include "xhtml/views/ViewContext.h"

#include "xhtml/views/View.h"
#include "xhtml/views/ViewPlatform.h"

namespace xhtml {

ViewContext::ViewContext(const void* module)
    : module_(module), loader_(std::make_unique<UrlLoader>(module, u"res:///")) {
    images_.setLoader(loader_.get());
}

ViewContext::~ViewContext() = default;

void ViewContext::setLoader(std::unique_ptr<UrlLoader> loader) {
    loader_ = std::move(loader);
    images_.setLoader(loader_.get());
}

void ViewContext::setCursor(int cursor) {
    if (cursor == 0 || cursor == 1)
        viewPlatform().setCursor(cursor);
}

void ViewContext::onLeftButtonDown(View* view) {
    if (listener_)
        listener_->onLeftButtonDown(view);
}

void ViewContext::onLeftButtonUp(View* view) {
    if (view->getFlags() & View::LeftClick) {
        if (view->getKind() == LinkKind)
            onLinkClicked(view);
        else if (view->getKind() == ButtonKind)
            onButtonClicked(view);
        onClicked(view);
    }
    if (listener_)
        listener_->onLeftButtonUp(view);
}

void ViewContext::onRightButtonDown(View* view) {
    if (listener_)
        listener_->onRightButtonDown(view);
}

void ViewContext::onRightButtonUp(View* view) {
    if (listener_)
        listener_->onRightButtonUp(view);
}

void ViewContext::onButtonClicked(View* view) {
    if (listener_)
        listener_->onButtonClicked(view);
}

void ViewContext::onLinkClicked(View* view) {
    if (listener_)
        listener_->onLinkClicked(view);
}

void ViewContext::onClicked(View* view) {
    if (listener_)
        listener_->onClicked(view);
}

void ViewContext::onSelectionChanged(View* view) {
    if (listener_)
        listener_->onSelectionChanged(view);
}

void ViewContext::onCheckChanged(View* view) {
    if (listener_)
        listener_->onCheckChanged(view);
}

void ViewContext::onRadioChanged(View* view) {
    if (listener_)
        listener_->onRadioChanged(view);
}

} // namespace xhtml
